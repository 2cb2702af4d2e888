// The narrow interface through which the device layer reaches HID collections. hidraw and
// the simulated mouse both implement it; nothing above it knows which one is in use.
#pragma once

#include "platform/Status.h"

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

namespace z417 {

// One top-level collection of a HID interface. A node with several top-level collections
// gives several entries with the same path.
struct HidCollection {
    std::string path; // for hidraw: /dev/hidrawN
    uint16_t vendorId = 0;
    uint16_t productId = 0;
    uint16_t usagePage = 0;
    uint16_t usage = 0;
    // Largest feature report of the collection in bytes plus one for the report ID byte
    // (which is 0 for a collection without report IDs); 0 when the collection has no
    // feature report. This is what Windows' HidP_GetCaps reports.
    uint16_t featureReportLength = 0;
    // The physical device the collection belongs to: collections with the same non-empty
    // group are interfaces of one mouse. Empty when the transport cannot tell.
    std::string deviceGroup;
};

// Failures carry a reason and, for a failed system call, its errno value (Status::systemError).
class Transport {
public:
    using Handle = int;
    static constexpr Handle kInvalidHandle = -1;

    virtual ~Transport() = default;

    // Lists the collections without opening any node.
    virtual Result<std::vector<HidCollection>> enumerate() = 0;
    // Opens a path for feature transfers.
    virtual Result<Handle> open(const std::string& path) = 0;
    // Byte 0 of the buffer is the report ID (0 for a collection without report IDs).
    virtual Status setFeature(Handle h, const uint8_t* data, size_t length) = 0;
    // Succeeds only with a whole answer of length bytes.
    virtual Status getFeature(Handle h, uint8_t* data, size_t length) = 0;
    // The handle is gone afterwards, whatever the result says.
    virtual Status close(Handle h) = 0;
};

} // namespace z417
