// Chooses the transport from a device name: "auto" (hidraw, the first mouse
// found), "/dev/hidrawN" (hidraw, the mouse that owns that node: the node and its sibling
// interfaces) or "sim:STATE_FILE" (the simulated mouse
// whose state lives in the file).
#pragma once

#include "platform/Transport.h"

#include <memory>
#include <string>

namespace z417 {

Result<std::unique_ptr<Transport>> makeTransport(const std::string& device);

// Passes everything through to another transport but enumerates only the device that owns
// one path: the collections of that path and of every path in the same device group.
class OneMouseTransport final : public Transport {
public:
    OneMouseTransport(std::unique_ptr<Transport> inner, std::string path)
        : inner_(std::move(inner)), path_(std::move(path)) {}
    Result<std::vector<HidCollection>> enumerate() override;
    Result<Handle> open(const std::string& path) override { return inner_->open(path); }
    Status setFeature(Handle h, const uint8_t* data, size_t length) override {
        return inner_->setFeature(h, data, length);
    }
    Status getFeature(Handle h, uint8_t* data, size_t length) override {
        return inner_->getFeature(h, data, length);
    }
    Status close(Handle h) override { return inner_->close(h); }

private:
    std::unique_ptr<Transport> inner_;
    std::string path_;
};

} // namespace z417
