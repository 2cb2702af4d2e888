#include "platform/UdevMonitor.h"

#include "platform/HidrawTransport.h"

#include <cerrno>
#include <cstring>
#include <memory>

#include <libudev.h>
#include <unistd.h>

namespace z417 {

namespace {

Status fault(const char* call, int err) {
    return Status::failedCall(call, err);
}

struct DeviceUnref {
    void operator()(udev_device* d) const { udev_device_unref(d); }
};

KnownNode knownNodeOf(const HidrawNode& node) {
    return KnownNode{node.vendorId, node.productId, node.deviceGroup, node.collections};
}

} // namespace

bool KnownNode::operator==(const KnownNode& o) const {
    if (vendorId != o.vendorId || productId != o.productId || deviceGroup != o.deviceGroup ||
        collections.size() != o.collections.size())
        return false;
    for (size_t i = 0; i < collections.size(); ++i) {
        const TopLevelCollection &a = collections[i], &b = o.collections[i];
        if (a.usagePage != b.usagePage || a.usage != b.usage ||
            a.featureReportLength != b.featureReportLength)
            return false;
    }
    return true;
}

HidrawEvent HidrawNodeRegistry::added(const std::string& node, const KnownNode& info) {
    nodes_[node] = info;
    return HidrawEvent{HidrawEvent::Kind::Added, node, info};
}

std::vector<HidrawEvent> HidrawNodeRegistry::removed(const std::string& node) {
    const auto it = nodes_.find(node);
    if (it == nodes_.end())
        return {};
    HidrawEvent event{HidrawEvent::Kind::Removed, node, std::move(it->second)};
    nodes_.erase(it);
    return {std::move(event)};
}

std::vector<HidrawEvent>
HidrawNodeRegistry::resync(const std::map<std::string, KnownNode>& present) {
    std::vector<HidrawEvent> result;
    for (auto it = nodes_.begin(); it != nodes_.end();) {
        const auto now = present.find(it->first);
        if (now == present.end() || !(now->second == it->second)) {
            result.push_back({HidrawEvent::Kind::Removed, it->first, std::move(it->second)});
            it = nodes_.erase(it);
        } else {
            ++it;
        }
    }
    for (const auto& [node, info] : present) {
        if (nodes_.count(node) == 0)
            result.push_back(added(node, info));
    }
    return result;
}

std::vector<HidrawEvent> HidrawNodeRegistry::present() const {
    std::vector<HidrawEvent> result;
    for (const auto& [node, info] : nodes_)
        result.push_back({HidrawEvent::Kind::Added, node, info});
    return result;
}

Result<std::unique_ptr<UdevMonitor>> UdevMonitor::start() {
    udev* context = udev_new();
    if (context == nullptr)
        return fault("udev_new", errno);
    // Events from the udev daemon arrive after its rules ran (the node has its access rights).
    // Without a daemon libudev would listen to a group nobody sends to; then the kernel's own
    // events are the only ones there are.
    const bool daemonRunning = ::access("/run/udev/control", F_OK) == 0 || errno != ENOENT;
    udev_monitor* monitor =
        udev_monitor_new_from_netlink(context, daemonRunning ? "udev" : "kernel");
    if (monitor == nullptr) {
        const int err = errno;
        udev_unref(context);
        return fault("udev_monitor_new_from_netlink", err);
    }
    std::unique_ptr<UdevMonitor> result(new UdevMonitor(context, monitor));
    int rc = udev_monitor_filter_add_match_subsystem_devtype(monitor, "hidraw", nullptr);
    if (rc < 0)
        return fault("udev_monitor_filter_add_match_subsystem_devtype", -rc);
    rc = udev_monitor_enable_receiving(monitor);
    if (rc < 0)
        return fault("udev_monitor_enable_receiving", -rc);

    // Listed after the monitor is receiving, so a node added in between is not missed (its
    // add event then only refreshes what is remembered).
    std::map<std::string, KnownNode> present;
    std::vector<std::string> problems;
    if (result->listPresent(present, problems))
        result->registry_.resync(present);
    return result;
}

UdevMonitor::UdevMonitor(udev* context, udev_monitor* monitor)
    : udev_(context), monitor_(monitor) {}

UdevMonitor::~UdevMonitor() {
    udev_monitor_unref(monitor_);
    udev_unref(udev_);
}

int UdevMonitor::fd() const {
    return udev_monitor_get_fd(monitor_);
}

bool UdevMonitor::listPresent(std::map<std::string, KnownNode>& present,
                              std::vector<std::string>& problems) {
    Result<HidrawListing> listing = listHidrawNodes();
    if (!listing) {
        problems.push_back("listing hidraw nodes: " + listing.status().reason);
        return false;
    }
    problems.insert(problems.end(), listing->problems.begin(), listing->problems.end());
    for (const HidrawNode& node : listing->nodes)
        present[node.name] = knownNodeOf(node);
    return true;
}

HidrawEvents UdevMonitor::readPending() {
    HidrawEvents result;
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
                result.problems.push_back(
                    "udev events were lost; the hidraw nodes are listed again");
                lost = true;
                continue;
            }
            result.problems.push_back(fault("udev_monitor_receive_device", err).reason);
            lost = true;
            break;
        }
        const char* action = udev_device_get_action(dev.get());
        const char* sysname = udev_device_get_sysname(dev.get());
        if (action == nullptr || sysname == nullptr)
            continue;
        if (std::strcmp(action, "add") == 0) {
            Result<HidrawNode> node = describeHidrawNode(dev.get());
            if (!node) {
                result.problems.push_back(node.status().reason);
                continue;
            }
            if (!node->problem.empty())
                result.problems.push_back(node->problem);
            result.events.push_back(registry_.added(sysname, knownNodeOf(*node)));
        } else if (std::strcmp(action, "remove") == 0) {
            for (HidrawEvent& e : registry_.removed(sysname))
                result.events.push_back(std::move(e));
        }
        // "change" and other actions leave the node's collections as they were.
    }

    if (lost) {
        std::map<std::string, KnownNode> present;
        if (listPresent(present, result.problems))
            for (HidrawEvent& e : registry_.resync(present))
                result.events.push_back(std::move(e));
    }
    return result;
}

} // namespace z417
