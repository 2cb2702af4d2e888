// The Linux transport: HID collections found through libudev and the kernel's hidraw nodes,
// feature reports exchanged with HIDIOCSFEATURE / HIDIOCGFEATURE.
#pragma once

#include "platform/ReportDescriptor.h"
#include "platform/Transport.h"

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

struct udev_device;

namespace z417 {

// Parses a udev HID_ID value "BUS:VENDOR:PRODUCT" (hex, e.g. "0003:000004D9:0000A09E").
// Each field must be 1..8 hex digits and vendor and product must fit 16 bits.
bool parseHidId(const std::string& hidId, uint16_t& vendor, uint16_t& product);

// Reads a whole binary file such as sysfs "report_descriptor" (at most 64 KiB). A failure's
// reason names the path and the system's text.
Result<std::vector<uint8_t>> readBinaryFile(const std::string& path);

// What is known of one hidraw node, learnt without opening it: vendor and product from the
// HID_ID of its "hid" parent, the collections from the parent's sysfs report_descriptor. Only
// when that file cannot be read is the node itself opened (read-only) for HIDIOCGRDESC.
struct HidrawNode {
    std::string name;    // "hidraw3"
    std::string devnode; // "/dev/hidraw3"
    uint16_t vendorId = 0;
    uint16_t productId = 0;
    std::string deviceGroup; // see deviceGroupOf
    std::vector<TopLevelCollection> collections;
    // A descriptor that parsed only in part: what went wrong (empty otherwise).
    std::string problem;
};

// The physical device a HID interface belongs to, from what real (USB) and virtual (uhid)
// devices both carry in the hid parent's uevent: HID_PHYS without its "/inputN" tail plus
// HID_UNIQ. A USB mouse's interfaces share "usb-0000:00:14.0-2" and its serial; a uhid device's
// phys and uniq are what its creator gave. The USB parent is never used (uhid devices have
// none). Without HID_PHYS the hid device's parent path stands in (e.g. Bluetooth).
std::string deviceGroupOf(const std::string& phys, const std::string& uniq,
                          const std::string& parentSyspath);

// Describes the hidraw device dev. Fails with a reason when the node cannot be described at
// all (no hid parent, missing or bad HID_ID, no readable descriptor). A descriptor that parses
// only in part gives the collections before the fault and a note in the node's problem.
Result<HidrawNode> describeHidrawNode(udev_device* dev);

// Every hidraw node present, ordered by node number. Nodes that cannot be described are left
// out; each such node and each partly parsed descriptor adds one line to problems.
struct HidrawListing {
    std::vector<HidrawNode> nodes;
    std::vector<std::string> problems;
};
// Fails only when udev itself cannot be asked.
Result<HidrawListing> listHidrawNodes();

class HidrawTransport final : public Transport {
public:
    // One entry per top-level collection of every hidraw node that can be described; no node
    // is opened. (listHidrawNodes tells which nodes were left out.)
    Result<std::vector<HidCollection>> enumerate() override;
    // open(2) with O_RDWR | O_CLOEXEC.
    Result<Handle> open(const std::string& path) override;
    // Failures carry errno (EIO for a short transfer, EINVAL for a length of 0 or beyond what
    // the ioctl can carry).
    Status setFeature(Handle h, const uint8_t* data, size_t length) override;
    // An answer shorter than length is a failure (EIO): the bytes behind it never came from the
    // device. They are zeroed, so nothing the buffer held before can pass as an answer.
    Status getFeature(Handle h, uint8_t* data, size_t length) override;
    // Linux releases the descriptor even when close fails, so it is never retried.
    Status close(Handle h) override;
};

} // namespace z417
