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
    Result<std::vector<uint8_t>> read = readBinaryFile(file);
    ASSERT_TRUE(read) << read.status().reason;
    EXPECT_EQ(*read, bytes);

    writeFile(file, {});
    read = readBinaryFile(file);
    ASSERT_TRUE(read) << read.status().reason;
    EXPECT_TRUE(read->empty());

    const std::string missing = dir.path() + "/missing";
    read = readBinaryFile(missing);
    ASSERT_FALSE(read);
    const std::string& error = read.status().reason;
    EXPECT_NE(error.find(missing), std::string::npos) << error;
    EXPECT_NE(error.find("errno " + std::to_string(ENOENT)), std::string::npos) << error;
    EXPECT_EQ(read.status().systemError, ENOENT);

    // A folder opens but cannot be read.
    read = readBinaryFile(dir.path());
    ASSERT_FALSE(read);
    EXPECT_NE(read.status().reason.find("read"), std::string::npos) << read.status().reason;

    // Nothing sensible is that large; the file is refused, not truncated.
    writeFile(file, std::vector<uint8_t>(64 * 1024 + 1, 0x05));
    EXPECT_FALSE(readBinaryFile(file));
}

TEST(HidrawTransport, OpenReportsErrno) {
    HidrawTransport t;
    EXPECT_EQ(t.open("/dev/hidraw-z417-does-not-exist").status().systemError, ENOENT);

    TempDir dir;
    ASSERT_FALSE(dir.path().empty());
    EXPECT_EQ(t.open(dir.path()).status().systemError, EISDIR);
}

TEST(HidrawTransport, FeatureTransfersOnANonHidNodeFailWithErrno) {
    HidrawTransport t;
    const Result<Transport::Handle> opened = t.open("/dev/null");
    ASSERT_TRUE(opened) << opened.status().reason;
    const Transport::Handle h = *opened;
    // The descriptor is close-on-exec.
    EXPECT_TRUE(fcntl(h, F_GETFD) & FD_CLOEXEC);

    uint8_t report[8] = {0x01, 0xAA, 0xCC, 0xEE, 0xDD, 0x80, 0, 0};
    EXPECT_EQ(t.setFeature(h, report, sizeof report).systemError, ENOTTY);
    uint8_t answer[8] = {0x01, 9, 9, 9, 9, 9, 9, 9};
    EXPECT_EQ(t.getFeature(h, answer, sizeof answer).systemError, ENOTTY);

    // Lengths the ioctl cannot carry are refused before any system call.
    EXPECT_EQ(t.setFeature(h, report, 0).systemError, EINVAL);
    std::vector<uint8_t> huge(16384);
    EXPECT_EQ(t.getFeature(h, huge.data(), huge.size()).systemError, EINVAL);

    EXPECT_TRUE(t.close(h));
    // The handle is gone now: every use fails with EBADF.
    const Status stale = t.setFeature(h, report, sizeof report);
    EXPECT_FALSE(stale);
    EXPECT_EQ(stale.systemError, EBADF);
    EXPECT_EQ(t.close(h).systemError, EBADF);
    EXPECT_TRUE(t.close(Transport::kInvalidHandle));
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
    Result<std::vector<HidCollection>> listed = t.enumerate();
    ASSERT_TRUE(listed) << listed.status().reason;
    const std::vector<HidCollection>& list = *listed;
    Result<HidrawListing> nodes = listHidrawNodes();
    ASSERT_TRUE(nodes) << nodes.status().reason;
    for (const std::string& problem : nodes->problems)
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
        Result<std::vector<uint8_t>> descriptor =
            readBinaryFile(entry.path().string() + "/device/report_descriptor");
        if (!descriptor)
            continue;
        std::vector<TopLevelCollection> collections;
        if (!parseReportDescriptor(descriptor->data(), descriptor->size(), collections).ok)
            continue;
        const auto it = perPath.find("/dev/" + name);
        EXPECT_EQ(it == perPath.end() ? 0u : it->second, collections.size());
    }
    EXPECT_FALSE(ec) << ec.message();
}

KnownNode nodeOf(uint16_t vendor, uint16_t product, size_t collections,
                 const std::string& group = "g") {
    KnownNode n{vendor, product, group, {}};
    for (size_t i = 0; i < collections; ++i)
        n.collections.push_back(TopLevelCollection{1, static_cast<uint16_t>(i + 1), 0});
    return n;
}

std::vector<std::string> described(const std::vector<HidrawEvent>& events) {
    std::vector<std::string> out;
    for (const HidrawEvent& e : events) {
        char ids[16];
        std::snprintf(ids, sizeof ids, "%04X:%04X", e.device.vendorId, e.device.productId);
        out.push_back(std::string(e.kind == HidrawEvent::Kind::Added ? "+" : "-") + e.node + " " +
                      ids + " x" + std::to_string(e.device.collections.size()));
    }
    return out;
}

TEST(HidrawNodeRegistry, RemovalIsAnnouncedAsTheArrivalWas) {
    HidrawNodeRegistry registry;
    const KnownNode mouse = nodeOf(0x04D9, 0xA09E, 2);
    const HidrawEvent arrived = registry.added("hidraw4", mouse);
    EXPECT_EQ(described({arrived}), std::vector<std::string>{"+hidraw4 04D9:A09E x2"});
    const std::vector<HidrawEvent> removed = registry.removed("hidraw4");
    EXPECT_EQ(described(removed), std::vector<std::string>{"-hidraw4 04D9:A09E x2"});
    EXPECT_EQ(removed[0].device.deviceGroup, "g");
    // Gone now: a second removal and a never-seen node announce nothing.
    EXPECT_TRUE(registry.removed("hidraw4").empty());
    EXPECT_TRUE(registry.removed("hidraw9").empty());
    EXPECT_TRUE(registry.nodes().empty());

    // A node number reused by another device is announced as the new device on removal.
    registry.added("hidraw4", mouse);
    registry.added("hidraw4", nodeOf(0x046D, 0xC077, 1));
    EXPECT_EQ(described(registry.removed("hidraw4")),
              std::vector<std::string>{"-hidraw4 046D:C077 x1"});
}

TEST(HidrawNodeRegistry, ResyncAnnouncesTheDifferences) {
    HidrawNodeRegistry registry;
    registry.added("hidraw0", nodeOf(0x046D, 0xC077, 1)); // stays
    registry.added("hidraw1", nodeOf(0x04D9, 0xA09E, 2)); // goes
    registry.added("hidraw2", nodeOf(0x04D9, 0xA09E, 2)); // replaced by another device
    registry.added("hidraw5", nodeOf(0x04D9, 0xA09E, 1)); // another mouse on the same number

    const std::map<std::string, KnownNode> present = {
        {"hidraw0", nodeOf(0x046D, 0xC077, 1)},
        {"hidraw2", nodeOf(0x1234, 0x5678, 1)},
        {"hidraw3", nodeOf(0x04D9, 0xA09E, 3)},
        {"hidraw5", nodeOf(0x04D9, 0xA09E, 1, "other")},
    };
    const std::vector<std::string> expected = {
        // removals first, so a listener sees the old device leave before the new one comes
        "-hidraw1 04D9:A09E x2", "-hidraw2 04D9:A09E x2", "-hidraw5 04D9:A09E x1",
        "+hidraw2 1234:5678 x1", "+hidraw3 04D9:A09E x3", "+hidraw5 04D9:A09E x1",
    };
    EXPECT_EQ(described(registry.resync(present)), expected);
    EXPECT_EQ(registry.nodes().size(), 4u);
    EXPECT_TRUE(registry.resync(present).empty()); // in line now
    EXPECT_EQ(described(registry.present()).size(), 4u);
}

TEST(UdevMonitor, StartsOrSaysWhy) {
    Result<std::unique_ptr<UdevMonitor>> started = UdevMonitor::start();
    if (!started) {
        // A machine without netlink access (some containers): the reason is given.
        EXPECT_FALSE(started.status().reason.empty());
        return;
    }
    UdevMonitor& monitor = **started;
    ASSERT_GE(monitor.fd(), 0);
    // The GUI reads it when a socket notifier fires; a read must never block.
    const int flags = fcntl(monitor.fd(), F_GETFL);
    ASSERT_NE(flags, -1);
    EXPECT_TRUE(flags & O_NONBLOCK);
    EXPECT_TRUE(fcntl(monitor.fd(), F_GETFD) & FD_CLOEXEC);
    const std::regex name("hidraw[0-9]+");
    for (const HidrawEvent& e : monitor.readPending().events)
        EXPECT_TRUE(std::regex_match(e.node, name)) << e.node;
    for (const HidrawEvent& e : monitor.presentNodes())
        EXPECT_TRUE(std::regex_match(e.node, name)) << e.node;
}

} // namespace
} // namespace z417
