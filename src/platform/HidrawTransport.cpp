#include "platform/HidrawTransport.h"

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <memory>

#include <fcntl.h>
#include <libudev.h>
#include <linux/hidraw.h>
#include <sys/ioctl.h>
#include <unistd.h>

namespace z417 {

namespace {

// The ioctl number carries the buffer length in _IOC_SIZEBITS (14) bits.
constexpr size_t kMaxIoctlLength = (size_t{1} << _IOC_SIZEBITS) - 1;
constexpr size_t kMaxBinaryFileSize = 64 * 1024;

std::string errnoText(int err) {
    return std::string(std::strerror(err)) + " (errno " + std::to_string(err) + ")";
}

bool parseHexField(const std::string& s, uint32_t& value) {
    if (s.empty() || s.size() > 8)
        return false;
    uint32_t v = 0;
    for (char ch : s) {
        unsigned digit;
        if (ch >= '0' && ch <= '9')
            digit = static_cast<unsigned>(ch - '0');
        else if (ch >= 'a' && ch <= 'f')
            digit = static_cast<unsigned>(ch - 'a' + 10);
        else if (ch >= 'A' && ch <= 'F')
            digit = static_cast<unsigned>(ch - 'A' + 10);
        else
            return false;
        v = (v << 4) | digit;
    }
    value = v;
    return true;
}

// Closes a descriptor opened only to read something; a failing close adds its reason to an
// earlier failure's, or is the failure.
Status closeAfter(int fd, Status earlier) {
    if (::close(fd) == 0)
        return earlier;
    const int err = errno;
    if (!earlier.ok) {
        earlier.reason += "; close: " + errnoText(err);
        return earlier;
    }
    return {false, {}, "close: " + errnoText(err), err};
}

Status fault(const std::string& what, int err) {
    return {false, {}, what + ": " + errnoText(err), err};
}

template <class Request, class Argument> int retryIoctl(int fd, Request request, Argument arg) {
    int rc;
    do {
        rc = ::ioctl(fd, request, arg);
    } while (rc < 0 && errno == EINTR);
    return rc;
}

// The fallback when sysfs cannot be read: ask the node itself.
Result<std::vector<uint8_t>> readDescriptorFromNode(const std::string& devnode) {
    int fd;
    do {
        fd = ::open(devnode.c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK);
    } while (fd < 0 && errno == EINTR);
    if (fd < 0)
        return fault(devnode + ": open", errno);
    int descriptorSize = 0;
    if (retryIoctl(fd, HIDIOCGRDESCSIZE, &descriptorSize) < 0)
        return closeAfter(fd, fault(devnode + ": HIDIOCGRDESCSIZE", errno));
    if (descriptorSize < 0 || descriptorSize > HID_MAX_DESCRIPTOR_SIZE)
        return closeAfter(fd, Status::silentFailure(devnode +
                                                    ": HIDIOCGRDESCSIZE gave an impossible size " +
                                                    std::to_string(descriptorSize)));
    auto descriptor = std::make_unique<hidraw_report_descriptor>();
    descriptor->size = static_cast<uint32_t>(descriptorSize);
    if (retryIoctl(fd, HIDIOCGRDESC, descriptor.get()) < 0)
        return closeAfter(fd, fault(devnode + ": HIDIOCGRDESC", errno));
    Status closed = closeAfter(fd, {});
    if (!closed) {
        closed.reason = devnode + ": " + closed.reason;
        return closed;
    }
    return std::vector<uint8_t>(descriptor->value, descriptor->value + descriptorSize);
}

unsigned long nodeNumber(const std::string& name) {
    const size_t digits = name.find_first_of("0123456789");
    if (digits == std::string::npos)
        return 0;
    return std::strtoul(name.c_str() + digits, nullptr, 10);
}

std::string propertyOf(udev_device* dev, const char* key) {
    const char* value = udev_device_get_property_value(dev, key);
    return value ? value : "";
}

std::string groupOfHidDevice(udev_device* hid) {
    udev_device* parent = udev_device_get_parent(hid);
    const char* parentPath = parent ? udev_device_get_syspath(parent) : nullptr;
    return deviceGroupOf(propertyOf(hid, "HID_PHYS"), propertyOf(hid, "HID_UNIQ"),
                         parentPath ? parentPath : "");
}

struct UdevDeleter {
    void operator()(udev* u) const { udev_unref(u); }
    void operator()(udev_enumerate* e) const { udev_enumerate_unref(e); }
    void operator()(udev_device* d) const { udev_device_unref(d); }
};

} // namespace

bool parseHidId(const std::string& hidId, uint16_t& vendor, uint16_t& product) {
    const size_t first = hidId.find(':');
    if (first == std::string::npos)
        return false;
    const size_t second = hidId.find(':', first + 1);
    if (second == std::string::npos || hidId.find(':', second + 1) != std::string::npos)
        return false;
    uint32_t bus = 0, v = 0, p = 0;
    if (!parseHexField(hidId.substr(0, first), bus) ||
        !parseHexField(hidId.substr(first + 1, second - first - 1), v) ||
        !parseHexField(hidId.substr(second + 1), p))
        return false;
    if (v > 0xFFFF || p > 0xFFFF)
        return false;
    vendor = static_cast<uint16_t>(v);
    product = static_cast<uint16_t>(p);
    return true;
}

Result<std::vector<uint8_t>> readBinaryFile(const std::string& path) {
    int fd;
    do {
        fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
    } while (fd < 0 && errno == EINTR);
    if (fd < 0)
        return fault(path + ": open", errno);
    std::vector<uint8_t> out;
    uint8_t buffer[4096];
    for (;;) {
        const ssize_t n = ::read(fd, buffer, sizeof buffer);
        if (n < 0) {
            if (errno == EINTR)
                continue;
            return closeAfter(fd, fault(path + ": read", errno));
        }
        if (n == 0)
            break;
        if (out.size() + static_cast<size_t>(n) > kMaxBinaryFileSize)
            return closeAfter(fd,
                              Status::silentFailure(path + ": larger than " +
                                                    std::to_string(kMaxBinaryFileSize) + " bytes"));
        out.insert(out.end(), buffer, buffer + n);
    }
    Status closed = closeAfter(fd, {});
    if (!closed) {
        closed.reason = path + ": " + closed.reason;
        return closed;
    }
    return out;
}

std::string deviceGroupOf(const std::string& phys, const std::string& uniq,
                          const std::string& parentSyspath) {
    if (phys.empty())
        return "parent:" + parentSyspath;
    std::string prefix = phys;
    const size_t tail = prefix.rfind("/input");
    if (tail != std::string::npos &&
        prefix.find_first_not_of("0123456789", tail + 6) == std::string::npos)
        prefix.erase(tail);
    return "phys:" + prefix + " uniq:" + uniq;
}

Result<HidrawNode> describeHidrawNode(udev_device* dev) {
    HidrawNode node;
    const char* sysname = udev_device_get_sysname(dev);
    node.name = sysname ? sysname : "";
    const char* devnode = udev_device_get_devnode(dev);
    node.devnode = devnode ? devnode : "/dev/" + node.name;

    // The parent belongs to the child; it is not unreferenced here.
    udev_device* hid = udev_device_get_parent_with_subsystem_devtype(dev, "hid", nullptr);
    if (hid == nullptr)
        return Status::silentFailure(node.name + ": no parent device of subsystem hid");
    const char* hidId = udev_device_get_property_value(hid, "HID_ID");
    if (hidId == nullptr)
        return Status::silentFailure(node.name + ": the hid parent has no HID_ID");
    if (!parseHidId(hidId, node.vendorId, node.productId))
        return Status::silentFailure(node.name + ": unreadable HID_ID \"" + hidId + "\"");
    const char* hidSyspath = udev_device_get_syspath(hid);
    node.deviceGroup = groupOfHidDevice(hid);
    Result<std::vector<uint8_t>> descriptor =
        hidSyspath ? readBinaryFile(std::string(hidSyspath) + "/report_descriptor")
                   : Result<std::vector<uint8_t>>(
                         Status::silentFailure("the hid parent has no sysfs path"));
    if (!descriptor) {
        Result<std::vector<uint8_t>> fromNode = readDescriptorFromNode(node.devnode);
        if (!fromNode)
            return Status::silentFailure(node.name +
                                         ": no report descriptor: " + descriptor.status().reason +
                                         "; " + fromNode.status().reason);
        descriptor = std::move(fromNode);
    }
    const Status parsed =
        parseReportDescriptor(descriptor->data(), descriptor->size(), node.collections);
    if (!parsed)
        node.problem = node.name + ": " + parsed.reason;
    return node;
}

Result<HidrawListing> listHidrawNodes() {
    std::unique_ptr<udev, UdevDeleter> context(udev_new());
    if (!context)
        return fault("udev_new", errno);
    std::unique_ptr<udev_enumerate, UdevDeleter> enumerator(udev_enumerate_new(context.get()));
    if (!enumerator)
        return fault("udev_enumerate_new", errno);
    int rc = udev_enumerate_add_match_subsystem(enumerator.get(), "hidraw");
    if (rc < 0)
        return fault("udev_enumerate_add_match_subsystem", -rc);
    rc = udev_enumerate_scan_devices(enumerator.get());
    if (rc < 0)
        return fault("udev_enumerate_scan_devices", -rc);
    HidrawListing listing;
    for (udev_list_entry* entry = udev_enumerate_get_list_entry(enumerator.get()); entry != nullptr;
         entry = udev_list_entry_get_next(entry)) {
        const char* syspath = udev_list_entry_get_name(entry);
        if (syspath == nullptr)
            continue;
        errno = 0;
        std::unique_ptr<udev_device, UdevDeleter> dev(
            udev_device_new_from_syspath(context.get(), syspath));
        if (!dev) {
            // The node may have gone between the scan and now.
            listing.problems.push_back(std::string(syspath) + ": " + errnoText(errno));
            continue;
        }
        Result<HidrawNode> node = describeHidrawNode(dev.get());
        if (!node) {
            listing.problems.push_back(node.status().reason);
            continue;
        }
        if (!node->problem.empty())
            listing.problems.push_back(node->problem);
        listing.nodes.push_back(std::move(node).value());
    }
    std::stable_sort(listing.nodes.begin(), listing.nodes.end(),
                     [](const HidrawNode& a, const HidrawNode& b) {
                         const unsigned long na = nodeNumber(a.name), nb = nodeNumber(b.name);
                         return na != nb ? na < nb : a.name < b.name;
                     });
    return listing;
}

Result<std::vector<HidCollection>> HidrawTransport::enumerate() {
    Result<HidrawListing> listing = listHidrawNodes();
    if (!listing)
        return listing.takeStatus();
    std::vector<HidCollection> out;
    for (const HidrawNode& node : listing->nodes) {
        for (const TopLevelCollection& c : node.collections) {
            HidCollection entry;
            entry.path = node.devnode;
            entry.vendorId = node.vendorId;
            entry.productId = node.productId;
            entry.usagePage = c.usagePage;
            entry.usage = c.usage;
            entry.featureReportLength = c.featureReportLength;
            entry.deviceGroup = node.deviceGroup;
            out.push_back(entry);
        }
    }
    return out;
}

Result<Transport::Handle> HidrawTransport::open(const std::string& path) {
    int fd;
    do {
        fd = ::open(path.c_str(), O_RDWR | O_CLOEXEC);
    } while (fd < 0 && errno == EINTR);
    if (fd < 0)
        return fault(path + ": open", errno);
    return Handle{fd};
}

Status HidrawTransport::setFeature(Handle h, const uint8_t* data, size_t length) {
    if (data == nullptr || length == 0 || length > kMaxIoctlLength)
        return fault("HIDIOCSFEATURE", EINVAL);
    // The kernel only reads the buffer for HIDIOCSFEATURE.
    const int rc = retryIoctl(h, HIDIOCSFEATURE(length), const_cast<uint8_t*>(data));
    if (rc < 0)
        return fault("HIDIOCSFEATURE", errno);
    if (static_cast<size_t>(rc) != length)
        return fault("HIDIOCSFEATURE sent " + std::to_string(rc) + " bytes", EIO);
    return {};
}

Status HidrawTransport::getFeature(Handle h, uint8_t* data, size_t length) {
    if (data == nullptr || length == 0 || length > kMaxIoctlLength)
        return fault("HIDIOCGFEATURE", EINVAL);
    const int rc = retryIoctl(h, HIDIOCGFEATURE(length), data);
    if (rc < 0)
        return fault("HIDIOCGFEATURE", errno);
    // The answer counts the report ID byte.
    if (static_cast<size_t>(rc) < length) {
        std::memset(data + rc, 0, length - static_cast<size_t>(rc));
        return fault("HIDIOCGFEATURE answered " + std::to_string(rc) + " bytes", EIO);
    }
    return {};
}

Status HidrawTransport::close(Handle h) {
    if (h < 0)
        return {};
    if (::close(h) != 0)
        return fault("close", errno);
    return {};
}

} // namespace z417
