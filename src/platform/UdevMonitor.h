// HID arrival and removal from udev, one typed event per hidraw node added or removed.
//
// What the kernel sends when the mouse (two USB interfaces) is plugged in: per interface "add"
// for the hid device, its input devices and its hidraw node, then "bind" of the hid device; on
// unplug "remove" of the input devices and the hidraw node, "unbind" and "remove" of the hid
// device. Only the hidraw subsystem is listened to, so a plug is two "added" events (interface
// 0 with one top-level collection, interface 1 with three) and an unplug two "removed" events.
// "bind", "unbind" and "change" carry nothing for us.
#pragma once

#include "platform/ReportDescriptor.h"
#include "platform/Status.h"

#include <cstddef>
#include <cstdint>
#include <map>
#include <memory>
#include <string>
#include <vector>

struct udev;
struct udev_monitor;

namespace z417 {

// What a node looked like when it was last seen present.
struct KnownNode {
    uint16_t vendorId = 0;
    uint16_t productId = 0;
    std::string deviceGroup; // the physical device, as deviceGroupOf gives it
    std::vector<TopLevelCollection> collections;
    bool operator==(const KnownNode& o) const;
};

struct HidrawEvent {
    enum class Kind { Added, Removed };
    Kind kind = Kind::Added;
    std::string node; // "hidraw3"
    KnownNode device; // for a removal: as the node was when it was added
};

// Remembers every present node, because a removed node can no longer be read and its removal
// has to be announced as its arrival was.
class HidrawNodeRegistry {
public:
    // The node is present (again). A node already known is replaced.
    HidrawEvent added(const std::string& node, const KnownNode& info);
    // The node is gone: its removal as it was known, nothing for an unknown node.
    std::vector<HidrawEvent> removed(const std::string& node);
    // Brings the registry in line with the nodes present now, after events were lost: removals
    // for nodes gone or changed, then arrivals for nodes new or changed.
    std::vector<HidrawEvent> resync(const std::map<std::string, KnownNode>& present);
    const std::map<std::string, KnownNode>& nodes() const { return nodes_; }
    // The nodes present, as arrivals (to bring a listener up to date without reacting).
    std::vector<HidrawEvent> present() const;

private:
    std::map<std::string, KnownNode> nodes_;
};

// What one read brought: the events, and non-fatal trouble (nodes that could not be described,
// lost events, receive errors), one line each.
struct HidrawEvents {
    std::vector<HidrawEvent> events;
    std::vector<std::string> problems;
};

class UdevMonitor {
public:
    // Netlink monitor on subsystem "hidraw" (events as the udev daemon announces them, after
    // its rules have run, so access granted by a rule is in place; the kernel's events when no
    // udev daemon runs); remembers the nodes present at start.
    static Result<std::unique_ptr<UdevMonitor>> start();
    ~UdevMonitor();
    UdevMonitor(const UdevMonitor&) = delete;
    UdevMonitor& operator=(const UdevMonitor&) = delete;

    // Non-blocking descriptor to watch for readability.
    int fd() const;

    // Reads every pending event. When the kernel dropped events (receive buffer overrun) the
    // nodes present are listed again and the differences announced.
    HidrawEvents readPending();
    // The nodes present as far as the events read so far tell.
    const std::map<std::string, KnownNode>& knownNodes() const { return registry_.nodes(); }
    std::vector<HidrawEvent> presentNodes() const { return registry_.present(); }

private:
    UdevMonitor(udev* context, udev_monitor* monitor);
    bool listPresent(std::map<std::string, KnownNode>& present, std::vector<std::string>& problems);

    udev* udev_ = nullptr;
    udev_monitor* monitor_ = nullptr;
    HidrawNodeRegistry registry_;
};

} // namespace z417
