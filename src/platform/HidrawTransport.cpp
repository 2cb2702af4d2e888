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

// Closes a descriptor opened only to read something.
bool closeQuietly(int fd, std::string& error) {
    if (::close(fd) != 0) {
        error = "close: " + errnoText(errno);
        return false;
    }
    return true;
}

// Closes after an earlier failure whose reason is already in error; a failing close adds its own.
void closeAfterFailure(int fd, std::string& error) {
    if (::close(fd) != 0)
        error += "; close: " + errnoText(errno);
}

// The fallback when sysfs cannot be read: ask the node itself.
bool readDescriptorFromNode(const std::string& devnode, std::vector<uint8_t>& out,
                            std::string& error) {
    int fd;
    do {
        fd = ::open(devnode.c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK);
    } while (fd < 0 && errno == EINTR);
    if (fd < 0) {
        error = devnode + ": open: " + errnoText(errno);
        return false;
    }
    int descriptorSize = 0;
    int rc;
    do {
        rc = ::ioctl(fd, HIDIOCGRDESCSIZE, &descriptorSize);
    } while (rc < 0 && errno == EINTR);
    if (rc < 0) {
        error = devnode + ": HIDIOCGRDESCSIZE: " + errnoText(errno);
        closeAfterFailure(fd, error);
        return false;
    }
    if (descriptorSize < 0 || descriptorSize > HID_MAX_DESCRIPTOR_SIZE) {
        error = devnode + ": HIDIOCGRDESCSIZE gave an impossible size " +
                std::to_string(descriptorSize);
        closeAfterFailure(fd, error);
        return false;
    }
    auto descriptor = std::make_unique<hidraw_report_descriptor>();
    descriptor->size = static_cast<uint32_t>(descriptorSize);
    do {
        rc = ::ioctl(fd, HIDIOCGRDESC, descriptor.get());
    } while (rc < 0 && errno == EINTR);
    if (rc < 0) {
        error = devnode + ": HIDIOCGRDESC: " + errnoText(errno);
        closeAfterFailure(fd, error);
        return false;
    }
    out.assign(descriptor->value, descriptor->value + descriptorSize);
    if (!closeQuietly(fd, error)) {
        error = devnode + ": " + error;
        return false;
    }
    return true;
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

bool readBinaryFile(const std::string& path, std::vector<uint8_t>& out, std::string& error) {
    out.clear();
    int fd;
    do {
        fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
    } while (fd < 0 && errno == EINTR);
    if (fd < 0) {
        error = path + ": open: " + errnoText(errno);
        return false;
    }
    uint8_t buffer[4096];
    for (;;) {
        const ssize_t n = ::read(fd, buffer, sizeof buffer);
        if (n < 0) {
            if (errno == EINTR)
                continue;
            error = path + ": read: " + errnoText(errno);
            closeAfterFailure(fd, error);
            out.clear();
            return false;
        }
        if (n == 0)
            break;
        if (out.size() + static_cast<size_t>(n) > kMaxBinaryFileSize) {
            error = path + ": larger than " + std::to_string(kMaxBinaryFileSize) + " bytes";
            closeAfterFailure(fd, error);
            out.clear();
            return false;
        }
        out.insert(out.end(), buffer, buffer + n);
    }
    if (!closeQuietly(fd, error)) {
        error = path + ": " + error;
        out.clear();
        return false;
    }
    return true;
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

bool describeHidrawNode(udev_device* dev, HidrawNode& node, std::string& problem) {
    problem.clear();
    node = HidrawNode{};
    const char* sysname = udev_device_get_sysname(dev);
    node.name = sysname ? sysname : "";
    const char* devnode = udev_device_get_devnode(dev);
    node.devnode = devnode ? devnode : "/dev/" + node.name;

    // The parent belongs to the child; it is not unreferenced here.
    udev_device* hid = udev_device_get_parent_with_subsystem_devtype(dev, "hid", nullptr);
    if (hid == nullptr) {
        problem = node.name + ": no parent device of subsystem hid";
        return false;
    }
    const char* hidId = udev_device_get_property_value(hid, "HID_ID");
    if (hidId == nullptr) {
        problem = node.name + ": the hid parent has no HID_ID";
        return false;
    }
    if (!parseHidId(hidId, node.vendorId, node.productId)) {
        problem = node.name + ": unreadable HID_ID \"" + hidId + "\"";
        return false;
    }
    const char* hidSyspath = udev_device_get_syspath(hid);
    node.deviceGroup = groupOfHidDevice(hid);
    std::vector<uint8_t> descriptor;
    std::string fileError;
    if (hidSyspath == nullptr ||
        !readBinaryFile(std::string(hidSyspath) + "/report_descriptor", descriptor, fileError)) {
        if (hidSyspath == nullptr)
            fileError = "the hid parent has no sysfs path";
        std::string ioctlError;
        if (!readDescriptorFromNode(node.devnode, descriptor, ioctlError)) {
            problem = node.name + ": no report descriptor: " + fileError + "; " + ioctlError;
            return false;
        }
    }
    std::string parseError;
    if (!parseReportDescriptor(descriptor.data(), descriptor.size(), node.collections, &parseError))
        problem = node.name + ": " + parseError;
    return true;
}

bool listHidrawNodes(std::vector<HidrawNode>& nodes, std::vector<std::string>& problems,
                     std::string& error) {
    nodes.clear();
    problems.clear();
    std::unique_ptr<udev, UdevDeleter> context(udev_new());
    if (!context) {
        error = "udev_new: " + errnoText(errno);
        return false;
    }
    std::unique_ptr<udev_enumerate, UdevDeleter> enumerator(udev_enumerate_new(context.get()));
    if (!enumerator) {
        error = "udev_enumerate_new: " + errnoText(errno);
        return false;
    }
    int rc = udev_enumerate_add_match_subsystem(enumerator.get(), "hidraw");
    if (rc < 0) {
        error = "udev_enumerate_add_match_subsystem: " + errnoText(-rc);
        return false;
    }
    rc = udev_enumerate_scan_devices(enumerator.get());
    if (rc < 0) {
        error = "udev_enumerate_scan_devices: " + errnoText(-rc);
        return false;
    }
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
            problems.push_back(std::string(syspath) + ": " + errnoText(errno));
            continue;
        }
        HidrawNode node;
        std::string problem;
        const bool described = describeHidrawNode(dev.get(), node, problem);
        if (!problem.empty())
            problems.push_back(problem);
        if (described)
            nodes.push_back(std::move(node));
    }
    std::stable_sort(nodes.begin(), nodes.end(), [](const HidrawNode& a, const HidrawNode& b) {
        const unsigned long na = nodeNumber(a.name), nb = nodeNumber(b.name);
        return na != nb ? na < nb : a.name < b.name;
    });
    return true;
}

bool HidrawTransport::enumerate(std::vector<HidCollection>& out, std::string& error) {
    out.clear();
    std::vector<HidrawNode> nodes;
    if (!listHidrawNodes(nodes, problems_, error))
        return false;
    for (const HidrawNode& node : nodes) {
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
    return true;
}

Transport::Handle HidrawTransport::open(const std::string& path, int& errorCode) {
    int fd;
    do {
        fd = ::open(path.c_str(), O_RDWR | O_CLOEXEC);
    } while (fd < 0 && errno == EINTR);
    if (fd < 0) {
        errorCode = errno;
        return kInvalidHandle;
    }
    errorCode = 0;
    return fd;
}

bool HidrawTransport::setFeature(Handle h, const uint8_t* data, size_t length) {
    if (data == nullptr || length == 0 || length > kMaxIoctlLength) {
        errno = EINVAL;
        return false;
    }
    int rc;
    do {
        // The kernel only reads the buffer for HIDIOCSFEATURE.
        rc = ::ioctl(h, HIDIOCSFEATURE(length), const_cast<uint8_t*>(data));
    } while (rc < 0 && errno == EINTR);
    if (rc < 0)
        return false;
    if (static_cast<size_t>(rc) != length) {
        errno = EIO;
        return false;
    }
    return true;
}

bool HidrawTransport::getFeature(Handle h, uint8_t* data, size_t length) {
    if (data == nullptr || length == 0 || length > kMaxIoctlLength) {
        errno = EINVAL;
        return false;
    }
    int rc;
    do {
        rc = ::ioctl(h, HIDIOCGFEATURE(length), data);
    } while (rc < 0 && errno == EINTR);
    if (rc < 0)
        return false;
    // The answer counts the report ID byte.
    if (static_cast<size_t>(rc) < length) {
        std::memset(data + rc, 0, length - static_cast<size_t>(rc));
        errno = EIO;
        return false;
    }
    return true;
}

void HidrawTransport::close(Handle h) {
    if (h < 0) {
        lastCloseError_ = 0;
        return;
    }
    // Linux releases the descriptor even when close fails, so it is never retried.
    lastCloseError_ = ::close(h) == 0 ? 0 : errno;
}

} // namespace z417
