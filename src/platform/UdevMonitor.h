// HID arrival and removal notifications from udev. Each added or removed hidraw node gives one
// notification per top-level collection, the way a HID interface gives one per collection, and
// each name carries the node's vendor and product as "VID_04D9&PID_A09E".
//
// What the kernel sends when the mouse (two USB interfaces) is plugged in: per interface "add"
// for the hid device, its input devices and its hidraw node, then "bind" of the hid device; on
// unplug "remove" of the input devices and the hidraw node, "unbind" and "remove" of the hid
// device. Only the hidraw subsystem is listened to, so a plug is two "add" events (interface 0
// with one top-level collection, interface 1 with three) and an unplug two "remove" events.
// That makes four notifications per plug and four per unplug, and DeviceLink, which reacts on
// every fourth, reacts exactly once to each. "bind", "unbind" and "change" carry nothing for us.
#pragma once

#include <cstddef>
#include <cstdint>
#include <map>
#include <string>
#include <vector>

struct udev;
struct udev_monitor;

namespace z417 {

struct DeviceNotification {
    bool arrival = false;
    // "<node>#VID_XXXX&PID_XXXX#colNN": upper-case hex, 4 digits; NN counts the node's
    // top-level collections from 01, e.g. "hidraw3#VID_04D9&PID_A09E#col02".
    std::string interfaceName;
};

// The notifications for one node with collectionCount top-level collections.
std::vector<DeviceNotification> notificationsForNode(bool arrival, const std::string& node,
                                                     uint16_t vendor, uint16_t product,
                                                     size_t collectionCount);

// What a node looked like when it was last seen present.
struct KnownNode {
    uint16_t vendorId = 0;
    uint16_t productId = 0;
    size_t collectionCount = 0;
};

// Remembers every present node, because a removed node can no longer be read and its removal
// has to be announced under the names its arrival had.
class HidrawNodeRegistry {
public:
    // The node is present (again): arrival notifications. A node already known is replaced.
    std::vector<DeviceNotification> added(const std::string& node, const KnownNode& info);
    // The node is gone: removal notifications as it was known, none for an unknown node.
    std::vector<DeviceNotification> removed(const std::string& node);
    // Brings the registry in line with the nodes present now, after events were lost: removals
    // for nodes gone or changed, then arrivals for nodes new or changed.
    std::vector<DeviceNotification> resync(const std::map<std::string, KnownNode>& present);
    const std::map<std::string, KnownNode>& nodes() const { return nodes_; }

private:
    std::map<std::string, KnownNode> nodes_;
};

class UdevMonitor {
public:
    // Netlink monitor on subsystem "hidraw" (events as the udev daemon announces them, after
    // its rules have run, so access granted by a rule is in place; the kernel's events when no
    // udev daemon runs); remembers the nodes present at start.
    UdevMonitor();
    ~UdevMonitor();
    UdevMonitor(const UdevMonitor&) = delete;
    UdevMonitor& operator=(const UdevMonitor&) = delete;

    bool ok() const { return monitor_ != nullptr; }
    const std::string& error() const { return error_; }
    // Non-blocking descriptor to watch for readability; -1 when !ok().
    int fd() const;

    // Reads every pending event. One notification per top-level collection of each node added
    // or removed. When the kernel dropped events (receive buffer overrun) the nodes present
    // are listed again and the differences announced.
    std::vector<DeviceNotification> readPending();
    // Non-fatal trouble met by the constructor or the last readPending(): nodes that could not
    // be described, lost events, receive errors. One line each.
    const std::vector<std::string>& problems() const { return problems_; }
    // The nodes present as far as the events read so far tell.
    const std::map<std::string, KnownNode>& knownNodes() const { return registry_.nodes(); }

private:
    bool presentNodes(std::map<std::string, KnownNode>& present);

    udev* udev_ = nullptr;
    udev_monitor* monitor_ = nullptr;
    std::string error_;
    HidrawNodeRegistry registry_;
    std::vector<std::string> problems_;
};

} // namespace z417
