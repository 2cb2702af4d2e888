#include "device/TransportFactory.h"
#include "platform/HidrawTransport.h"

#include <gtest/gtest.h>

namespace z417 {
namespace {

// Lists fixed collections; transfers are not used here.
class ListedTransport final : public Transport {
public:
    explicit ListedTransport(std::vector<HidCollection> list) : list_(std::move(list)) {}
    Result<std::vector<HidCollection>> enumerate() override { return list_; }
    Result<Handle> open(const std::string& path) override {
        return Status::failedCall(path, ENOENT);
    }
    Status setFeature(Handle, const uint8_t*, size_t) override { return Status::silentFailure(); }
    Status getFeature(Handle, uint8_t*, size_t) override { return Status::silentFailure(); }
    Status close(Handle) override { return {}; }

private:
    std::vector<HidCollection> list_;
};

TEST(OneMouseTransport, ANodeBringsItsSiblingsAndNothingElse) {
    const std::vector<HidCollection> list = {
        {"/dev/hidraw0", 0x04D9, 0xA09E, 1, 2, 65, "mouse A"},
        {"/dev/hidraw1", 0x04D9, 0xA09E, 1, 6, 8, "mouse A"},
        {"/dev/hidraw1", 0x04D9, 0xA09E, 0x0C, 1, 0, "mouse A"},
        {"/dev/hidraw2", 0x04D9, 0xA09E, 1, 2, 65, "mouse B"},
        {"/dev/hidraw3", 0x04D9, 0xA09E, 1, 6, 8, "mouse B"},
        {"/dev/hidraw4", 0x04D9, 0xA09E, 1, 6, 8, ""},
        {"/dev/hidraw5", 0x04D9, 0xA09E, 1, 2, 65, ""},
    };
    const struct {
        const char* node;
        std::vector<std::string> paths;
    } cases[] = {
        {"/dev/hidraw1", {"/dev/hidraw0", "/dev/hidraw1", "/dev/hidraw1"}},
        {"/dev/hidraw2", {"/dev/hidraw2", "/dev/hidraw3"}},
        {"/dev/hidraw4", {"/dev/hidraw4"}}, // no group: no siblings known
        {"/dev/hidraw9", {}},
    };
    for (const auto& c : cases) {
        OneMouseTransport t(std::make_unique<ListedTransport>(list), c.node);
        Result<std::vector<HidCollection>> out = t.enumerate();
        ASSERT_TRUE(out);
        std::vector<std::string> paths;
        for (const HidCollection& h : *out)
            paths.push_back(h.path);
        EXPECT_EQ(paths, c.paths) << c.node;
    }
}

TEST(DeviceGroup, InterfacesOfOneDeviceShareItOthersDoNot) {
    const std::string usb0 = deviceGroupOf("usb-0000:00:14.0-2/input0", "SN1", "/sys/a");
    EXPECT_EQ(usb0, deviceGroupOf("usb-0000:00:14.0-2/input1", "SN1", "/sys/b"));
    EXPECT_EQ(deviceGroupOf("z417-uhid/A/input0", "A", "/sys/misc/uhid"),
              deviceGroupOf("z417-uhid/A/input1", "A", "/sys/misc/uhid"));
    // Identical mice: another port, or the same phys with another serial.
    EXPECT_NE(usb0, deviceGroupOf("usb-0000:00:14.0-3/input0", "SN1", "/sys/a"));
    EXPECT_NE(usb0, deviceGroupOf("usb-0000:00:14.0-2/input0", "SN2", "/sys/a"));
    // Only a numbered "/inputN" tail is dropped.
    EXPECT_NE(deviceGroupOf("bus/inputX", "", ""), deviceGroupOf("bus/inputY", "", ""));
    // Without phys the parent device decides.
    EXPECT_EQ(deviceGroupOf("", "", "/sys/p"), deviceGroupOf("", "x", "/sys/p"));
    EXPECT_NE(deviceGroupOf("", "", "/sys/p"), deviceGroupOf("", "", "/sys/q"));
}

} // namespace
} // namespace z417
