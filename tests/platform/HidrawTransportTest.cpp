#include "platform/HidrawTransport.h"
#include "platform/UdevMonitor.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cerrno>
#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <map>
#include <regex>
#include <set>
#include <string>
#include <vector>

#include <fcntl.h>
#include <unistd.h>

namespace z417 {
namespace {

namespace fs = std::filesystem;

TEST(ParseHidId, Cases) {
    struct Case {
        const char* text;
        bool ok;
        uint16_t vendor;
        uint16_t product;
    };
    const Case cases[] = {
        {"0003:000004D9:0000A09E", true, 0x04D9, 0xA09E}, // USB, as udev writes it
        {"0003:000004d9:0000a09e", true, 0x04D9, 0xA09E}, // lower-case hex
        {"0018:000004D9:0000A09E", true, 0x04D9, 0xA09E}, // I2C bus
        {"0005:0000046D:0000B01A", true, 0x046D, 0xB01A}, // Bluetooth
        {"3:4D9:A09E", true, 0x04D9, 0xA09E},             // short fields
        {"0003:0000FFFF:00000000", true, 0xFFFF, 0x0000}, // range ends
        {"", false, 0, 0},
        {"0003", false, 0, 0},
        {"0003:000004D9", false, 0, 0},               // product missing
        {"0003:000004D9:", false, 0, 0},              // empty product
        {":000004D9:0000A09E", false, 0, 0},          // empty bus
        {"0003:000004D9:0000A09E:0001", false, 0, 0}, // a fourth field
        {"0003:000104D9:0000A09E", false, 0, 0},      // vendor beyond 16 bits
        {"0003:000004D9:0001A09E", false, 0, 0},      // product beyond 16 bits
        {"0003:0000000004D9:0000A09E", false, 0, 0},  // more than 8 digits
        {"0003:000004G9:0000A09E", false, 0, 0},      // not hex
        {"0003: 00004D9:0000A09E", false, 0, 0},      // space
        {"0003:+00004D9:0000A09E", false, 0, 0},      // sign
        {"0003:0x04D9:0000A09E", false, 0, 0},        // prefix
        {"0003:000004D9:0000A09E\n", false, 0, 0},    // trailing newline
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.text);
        uint16_t vendor = 0x1111, product = 0x2222;
        EXPECT_EQ(parseHidId(c.text, vendor, product), c.ok);
        if (c.ok) {
            EXPECT_EQ(vendor, c.vendor);
            EXPECT_EQ(product, c.product);
        }
    }
}

class TempDir {
public:
    TempDir() {
        char pattern[] = "/tmp/z417-hidraw-test-XXXXXX";
        const char* made = mkdtemp(pattern);
        if (made == nullptr)
            ADD_FAILURE() << "mkdtemp failed, errno " << errno;
        else
            path_ = made;
    }
    ~TempDir() {
        if (!path_.empty()) {
            std::error_code ec;
            fs::remove_all(path_, ec);
        }
    }
    const std::string& path() const { return path_; }

private:
    std::string path_;
};

void writeFile(const std::string& path, const std::vector<uint8_t>& bytes) {
    std::ofstream f(path, std::ios::binary);
    f.write(reinterpret_cast<const char*>(bytes.data()),
            static_cast<std::streamsize>(bytes.size()));
    ASSERT_TRUE(f.good());
}

TEST(ReadBinaryFile, ReadsEveryByteAndReportsFailures) {
    TempDir dir;
    ASSERT_FALSE(dir.path().empty());

    // Zeros and 0xFF survive; more than one read buffer's worth arrives whole.
    std::vector<uint8_t> bytes(5000);
    for (size_t i = 0; i < bytes.size(); ++i)
        bytes[i] = static_cast<uint8_t>(i * 7);
    const std::string file = dir.path() + "/report_descriptor";
    writeFile(file, bytes);
    std::vector<uint8_t> read{1, 2, 3};
    std::string error;
    EXPECT_TRUE(readBinaryFile(file, read, error)) << error;
    EXPECT_EQ(read, bytes);

    writeFile(file, {});
    EXPECT_TRUE(readBinaryFile(file, read, error)) << error;
    EXPECT_TRUE(read.empty());

    const std::string missing = dir.path() + "/missing";
    EXPECT_FALSE(readBinaryFile(missing, read, error));
    EXPECT_NE(error.find(missing), std::string::npos) << error;
    EXPECT_NE(error.find("errno " + std::to_string(ENOENT)), std::string::npos) << error;

    // A folder opens but cannot be read.
    EXPECT_FALSE(readBinaryFile(dir.path(), read, error));
    EXPECT_NE(error.find("read"), std::string::npos) << error;

    // Nothing sensible is that large; the file is refused, not truncated.
    writeFile(file, std::vector<uint8_t>(64 * 1024 + 1, 0x05));
    EXPECT_FALSE(readBinaryFile(file, read, error));
    EXPECT_TRUE(read.empty());
}

TEST(HidrawTransport, OpenReportsErrno) {
    HidrawTransport t;
    int err = 0;
    EXPECT_EQ(t.open("/dev/hidraw-z417-does-not-exist", err), Transport::kInvalidHandle);
    EXPECT_EQ(err, ENOENT);

    TempDir dir;
    ASSERT_FALSE(dir.path().empty());
    EXPECT_EQ(t.open(dir.path(), err), Transport::kInvalidHandle);
    EXPECT_EQ(err, EISDIR);
}

TEST(HidrawTransport, FeatureTransfersOnANonHidNodeFailWithErrno) {
    HidrawTransport t;
    int err = -1;
    const Transport::Handle h = t.open("/dev/null", err);
    ASSERT_NE(h, Transport::kInvalidHandle) << "errno " << err;
    EXPECT_EQ(err, 0);
    // The descriptor is close-on-exec.
    EXPECT_TRUE(fcntl(h, F_GETFD) & FD_CLOEXEC);

    uint8_t report[8] = {0x01, 0xAA, 0xCC, 0xEE, 0xDD, 0x80, 0, 0};
    errno = 0;
    EXPECT_FALSE(t.setFeature(h, report, sizeof report));
    EXPECT_EQ(errno, ENOTTY);
    uint8_t answer[8] = {0x01, 9, 9, 9, 9, 9, 9, 9};
    errno = 0;
    EXPECT_FALSE(t.getFeature(h, answer, sizeof answer));
    EXPECT_EQ(errno, ENOTTY);

    // Lengths the ioctl cannot carry are refused before any system call.
    errno = 0;
    EXPECT_FALSE(t.setFeature(h, report, 0));
    EXPECT_EQ(errno, EINVAL);
    std::vector<uint8_t> huge(16384);
    errno = 0;
    EXPECT_FALSE(t.getFeature(h, huge.data(), huge.size()));
    EXPECT_EQ(errno, EINVAL);

    t.close(h);
    EXPECT_EQ(t.lastCloseError(), 0);
    // The handle is gone now: every use fails with EBADF.
    errno = 0;
    EXPECT_FALSE(t.setFeature(h, report, sizeof report));
    EXPECT_EQ(errno, EBADF);
    t.close(h);
    EXPECT_EQ(t.lastCloseError(), EBADF);
    t.close(Transport::kInvalidHandle);
    EXPECT_EQ(t.lastCloseError(), 0);
}

// Reads "HID_ID=..." from a hid device's uevent file, independently of libudev.
std::string hidIdFromUevent(const std::string& ueventPath) {
    std::ifstream f(ueventPath);
    std::string line;
    while (std::getline(f, line)) {
        if (line.rfind("HID_ID=", 0) == 0)
            return line.substr(7);
    }
    return {};
}

TEST(HidrawTransport, EnumerateListsThisMachinesHidrawNodes) {
    HidrawTransport t;
    std::vector<HidCollection> list;
    std::string error;
    ASSERT_TRUE(t.enumerate(list, error)) << error;
    for (const std::string& problem : t.enumerateProblems())
        std::printf("note: %s\n", problem.c_str());

    const std::regex nodePath("/dev/(hidraw([0-9]+))");
    std::set<std::string> finished; // a node's collections are listed together
    std::string previous;
    long previousNumber = -1;
    for (const HidCollection& c : list) {
        SCOPED_TRACE(c.path);
        std::smatch m;
        ASSERT_TRUE(std::regex_match(c.path, m, nodePath));
        const std::string name = m[1];
        if (c.path != previous) {
            EXPECT_EQ(finished.count(c.path), 0u);
            EXPECT_GT(std::stol(m[2]), previousNumber); // ascending node numbers
            previousNumber = std::stol(m[2]);
            finished.insert(previous);
            previous = c.path;
        }
        // The node exists in sysfs, and vendor and product are what its hid parent's uevent
        // file says.
        const std::string sys = "/sys/class/hidraw/" + name;
        ASSERT_TRUE(fs::exists(sys));
        uint16_t vendor = 0, product = 0;
        ASSERT_TRUE(parseHidId(hidIdFromUevent(sys + "/device/uevent"), vendor, product));
        EXPECT_EQ(c.vendorId, vendor);
        EXPECT_EQ(c.productId, product);
    }

    // Every node whose descriptor sysfs gives and parses cleanly is listed, once per
    // top-level collection.
    std::map<std::string, size_t> perPath;
    for (const HidCollection& c : list)
        ++perPath[c.path];
    std::error_code ec;
    if (!fs::exists("/sys/class/hidraw"))
        return;
    for (const auto& entry : fs::directory_iterator("/sys/class/hidraw", ec)) {
        const std::string name = entry.path().filename().string();
        SCOPED_TRACE(name);
        std::vector<uint8_t> descriptor;
        std::string readError;
        if (!readBinaryFile(entry.path().string() + "/device/report_descriptor", descriptor,
                            readError))
            continue;
        std::vector<TopLevelCollection> collections;
        if (!parseReportDescriptor(descriptor.data(), descriptor.size(), collections))
            continue;
        const auto it = perPath.find("/dev/" + name);
        EXPECT_EQ(it == perPath.end() ? 0u : it->second, collections.size());
    }
    EXPECT_FALSE(ec) << ec.message();
}

TEST(DeviceNotifications, NamesCarryNodeVendorProductAndCollection) {
    const auto two = notificationsForNode(true, "hidraw3", 0x04D9, 0xA09E, 2);
    ASSERT_EQ(two.size(), 2u);
    EXPECT_TRUE(two[0].arrival);
    EXPECT_EQ(two[0].interfaceName, "hidraw3#VID_04D9&PID_A09E#col01");
    EXPECT_EQ(two[1].interfaceName, "hidraw3#VID_04D9&PID_A09E#col02");

    // Upper-case hex with leading zeros, whatever the values.
    const auto removal = notificationsForNode(false, "hidraw12", 0x00AB, 0x0C0D, 1);
    ASSERT_EQ(removal.size(), 1u);
    EXPECT_FALSE(removal[0].arrival);
    EXPECT_EQ(removal[0].interfaceName, "hidraw12#VID_00AB&PID_0C0D#col01");

    EXPECT_TRUE(notificationsForNode(true, "hidraw0", 0x04D9, 0xA09E, 0).empty());

    const auto many = notificationsForNode(true, "hidraw1", 0x04D9, 0xA09E, 100);
    ASSERT_EQ(many.size(), 100u);
    EXPECT_EQ(many[9].interfaceName, "hidraw1#VID_04D9&PID_A09E#col10");
    EXPECT_EQ(many[99].interfaceName, "hidraw1#VID_04D9&PID_A09E#col100");
}

std::vector<std::string> names(const std::vector<DeviceNotification>& list, bool arrival) {
    std::vector<std::string> out;
    for (const DeviceNotification& n : list) {
        EXPECT_EQ(n.arrival, arrival) << n.interfaceName;
        out.push_back(n.interfaceName);
    }
    return out;
}

TEST(HidrawNodeRegistry, RemovalIsAnnouncedAsTheArrivalWas) {
    HidrawNodeRegistry registry;
    const KnownNode mouse{0x04D9, 0xA09E, 2};
    const auto arrived = names(registry.added("hidraw4", mouse), true);
    ASSERT_EQ(arrived.size(), 2u);
    const auto removed = names(registry.removed("hidraw4"), false);
    EXPECT_EQ(removed, arrived);
    // Gone now: a second removal and a never-seen node announce nothing.
    EXPECT_TRUE(registry.removed("hidraw4").empty());
    EXPECT_TRUE(registry.removed("hidraw9").empty());
    EXPECT_TRUE(registry.nodes().empty());

    // A node number reused by another device is announced as the new device on removal.
    registry.added("hidraw4", mouse);
    registry.added("hidraw4", KnownNode{0x046D, 0xC077, 1});
    EXPECT_EQ(names(registry.removed("hidraw4"), false),
              std::vector<std::string>{"hidraw4#VID_046D&PID_C077#col01"});
}

TEST(HidrawNodeRegistry, ResyncAnnouncesTheDifferences) {
    HidrawNodeRegistry registry;
    registry.added("hidraw0", KnownNode{0x046D, 0xC077, 1}); // stays
    registry.added("hidraw1", KnownNode{0x04D9, 0xA09E, 2}); // goes
    registry.added("hidraw2", KnownNode{0x04D9, 0xA09E, 2}); // replaced by another device

    const std::map<std::string, KnownNode> present = {
        {"hidraw0", {0x046D, 0xC077, 1}},
        {"hidraw2", {0x1234, 0x5678, 1}},
        {"hidraw3", {0x04D9, 0xA09E, 3}},
    };
    const auto changes = registry.resync(present);
    std::vector<std::string> got;
    for (const DeviceNotification& n : changes)
        got.push_back(std::string(n.arrival ? "+" : "-") + n.interfaceName);
    const std::vector<std::string> expected = {
        // removals first, so a counter sees the old device leave before the new one comes
        "-hidraw1#VID_04D9&PID_A09E#col01", "-hidraw1#VID_04D9&PID_A09E#col02",
        "-hidraw2#VID_04D9&PID_A09E#col01", "-hidraw2#VID_04D9&PID_A09E#col02",
        "+hidraw2#VID_1234&PID_5678#col01", "+hidraw3#VID_04D9&PID_A09E#col01",
        "+hidraw3#VID_04D9&PID_A09E#col02", "+hidraw3#VID_04D9&PID_A09E#col03",
    };
    EXPECT_EQ(got, expected);
    EXPECT_EQ(registry.nodes().size(), 3u);
    EXPECT_TRUE(registry.resync(present).empty()); // in line now
}

TEST(UdevMonitor, StartsOrSaysWhy) {
    UdevMonitor monitor;
    if (!monitor.ok()) {
        // A machine without netlink access (some containers): the reason is given and the
        // monitor stays inert.
        EXPECT_FALSE(monitor.error().empty());
        EXPECT_EQ(monitor.fd(), -1);
        EXPECT_TRUE(monitor.readPending().empty());
        return;
    }
    ASSERT_GE(monitor.fd(), 0);
    // The GUI reads it when a socket notifier fires; a read must never block.
    const int flags = fcntl(monitor.fd(), F_GETFL);
    ASSERT_NE(flags, -1);
    EXPECT_TRUE(flags & O_NONBLOCK);
    EXPECT_TRUE(fcntl(monitor.fd(), F_GETFD) & FD_CLOEXEC);
    const std::regex name("hidraw[0-9]+#VID_[0-9A-F]{4}&PID_[0-9A-F]{4}#col[0-9]{2,}");
    for (const DeviceNotification& n : monitor.readPending())
        EXPECT_TRUE(std::regex_match(n.interfaceName, name)) << n.interfaceName;
}

} // namespace
} // namespace z417
