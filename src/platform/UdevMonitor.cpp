#include "platform/UdevMonitor.h"

#include "platform/HidrawTransport.h"

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <memory>

#include <libudev.h>
#include <unistd.h>

namespace z417 {

namespace {

std::string errnoText(int err) {
    return std::string(std::strerror(err)) + " (errno " + std::to_string(err) + ")";
}

void append(std::vector<DeviceNotification>& to, std::vector<DeviceNotification>&& from) {
    to.insert(to.end(), std::make_move_iterator(from.begin()), std::make_move_iterator(from.end()));
}

bool sameNode(const KnownNode& a, const KnownNode& b) {
    return a.vendorId == b.vendorId && a.productId == b.productId &&
           a.collectionCount == b.collectionCount;
}

struct DeviceUnref {
    void operator()(udev_device* d) const { udev_device_unref(d); }
};

} // namespace

std::vector<DeviceNotification> notificationsForNode(bool arrival, const std::string& node,
                                                     uint16_t vendor, uint16_t product,
                                                     size_t collectionCount) {
    char ids[32];
    std::snprintf(ids, sizeof ids, "#VID_%04X&PID_%04X#col", static_cast<unsigned>(vendor),
                  static_cast<unsigned>(product));
    std::vector<DeviceNotification> result;
    result.reserve(collectionCount);
    for (size_t i = 1; i <= collectionCount; ++i) {
        char index[24];
        std::snprintf(index, sizeof index, "%02zu", i);
        result.push_back({arrival, node + ids + index});
    }
    return result;
}

std::vector<DeviceNotification> HidrawNodeRegistry::added(const std::string& node,
                                                          const KnownNode& info) {
    nodes_[node] = info;
    return notificationsForNode(true, node, info.vendorId, info.productId, info.collectionCount);
}

std::vector<DeviceNotification> HidrawNodeRegistry::removed(const std::string& node) {
    const auto it = nodes_.find(node);
    if (it == nodes_.end())
        return {};
    const KnownNode info = it->second;
    nodes_.erase(it);
    return notificationsForNode(false, node, info.vendorId, info.productId, info.collectionCount);
}

std::vector<DeviceNotification>
HidrawNodeRegistry::resync(const std::map<std::string, KnownNode>& present) {
    std::vector<DeviceNotification> result;
    for (auto it = nodes_.begin(); it != nodes_.end();) {
        const auto now = present.find(it->first);
        if (now == present.end() || !sameNode(now->second, it->second)) {
            const KnownNode& old = it->second;
            append(result, notificationsForNode(false, it->first, old.vendorId, old.productId,
                                                old.collectionCount));
            it = nodes_.erase(it);
        } else {
            ++it;
        }
    }
    for (const auto& [node, info] : present) {
        if (nodes_.count(node) == 0)
            append(result, added(node, info));
    }
    return result;
}

UdevMonitor::UdevMonitor() {
    udev_ = udev_new();
    if (udev_ == nullptr) {
        error_ = "udev_new: " + errnoText(errno);
        return;
    }
    // Events from the udev daemon arrive after its rules ran (the node has its access rights).
    // Without a daemon libudev would listen to a group nobody sends to; then the kernel's own
    // events are the only ones there are.
    const bool daemonRunning = ::access("/run/udev/control", F_OK) == 0 || errno != ENOENT;
    udev_monitor* monitor = udev_monitor_new_from_netlink(udev_, daemonRunning ? "udev" : "kernel");
    if (monitor == nullptr) {
        error_ = "udev_monitor_new_from_netlink: " + errnoText(errno);
        return;
    }
    int rc = udev_monitor_filter_add_match_subsystem_devtype(monitor, "hidraw", nullptr);
    if (rc < 0) {
        error_ = "udev_monitor_filter_add_match_subsystem_devtype: " + errnoText(-rc);
        udev_monitor_unref(monitor);
        return;
    }
    rc = udev_monitor_enable_receiving(monitor);
    if (rc < 0) {
        error_ = "udev_monitor_enable_receiving: " + errnoText(-rc);
        udev_monitor_unref(monitor);
        return;
    }
    monitor_ = monitor;

    // Listed after the monitor is receiving, so a node added in between is not missed (its
    // add event then only refreshes what is remembered).
    std::map<std::string, KnownNode> present;
    if (presentNodes(present))
        registry_.resync(present);
}

UdevMonitor::~UdevMonitor() {
    if (monitor_ != nullptr)
        udev_monitor_unref(monitor_);
    if (udev_ != nullptr)
        udev_unref(udev_);
}

int UdevMonitor::fd() const {
    return monitor_ != nullptr ? udev_monitor_get_fd(monitor_) : -1;
}

bool UdevMonitor::presentNodes(std::map<std::string, KnownNode>& present) {
    std::vector<HidrawNode> nodes;
    std::vector<std::string> nodeProblems;
    std::string error;
    const bool listed = listHidrawNodes(nodes, nodeProblems, error);
    problems_.insert(problems_.end(), nodeProblems.begin(), nodeProblems.end());
    if (!listed) {
        problems_.push_back("listing hidraw nodes: " + error);
        return false;
    }
    for (const HidrawNode& node : nodes)
        present[node.name] = KnownNode{node.vendorId, node.productId, node.collections.size()};
    return true;
}

std::vector<DeviceNotification> UdevMonitor::readPending() {
    problems_.clear();
    std::vector<DeviceNotification> result;
    if (monitor_ == nullptr)
        return result;

    bool lost = false;
    for (;;) {
        errno = 0;
        std::unique_ptr<udev_device, DeviceUnref> dev(udev_monitor_receive_device(monitor_));
        if (!dev) {
            const int err = errno;
            if (err == EINTR)
                continue;
            if (err == EAGAIN || err == EWOULDBLOCK || err == 0)
                break; // nothing more pending
            if (err == ENOBUFS) {
                // The kernel dropped events; what is queued after the overrun is still read.
                problems_.push_back("udev events were lost; the hidraw nodes are listed again");
                lost = true;
                continue;
            }
            problems_.push_back("udev_monitor_receive_device: " + errnoText(err));
            lost = true;
            break;
        }
        const char* action = udev_device_get_action(dev.get());
        const char* sysname = udev_device_get_sysname(dev.get());
        if (action == nullptr || sysname == nullptr)
            continue;
        if (std::strcmp(action, "add") == 0) {
            HidrawNode node;
            std::string problem;
            const bool described = describeHidrawNode(dev.get(), node, problem);
            if (!problem.empty())
                problems_.push_back(problem);
            if (described)
                append(result, registry_.added(sysname, KnownNode{node.vendorId, node.productId,
                                                                  node.collections.size()}));
        } else if (std::strcmp(action, "remove") == 0) {
            append(result, registry_.removed(sysname));
        }
        // "change" and other actions leave the node's collections as they were.
    }

    if (lost) {
        std::map<std::string, KnownNode> present;
        if (presentNodes(present))
            append(result, registry_.resync(present));
    }
    return result;
}

} // namespace z417
