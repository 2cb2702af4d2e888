// The simulated mouse itself: its collections, its memory, and the state file that lets
// separate processes share one mouse.
#include "device/SimulatedMouse.h"
#include "support/MessageLog.h"

#include "device/DeviceLink.h"
#include "device/MouseConnection.h"

#include <gtest/gtest.h>

#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <dirent.h>
#include <fcntl.h>
#include <fstream>
#include <stdexcept>
#include <sys/stat.h>
#include <unistd.h>

namespace z417 {
namespace {

class TempDir {
public:
    TempDir() {
        std::string tmpl = ::testing::TempDir() + "z417-sim-XXXXXX";
        if (::mkdtemp(tmpl.data()) == nullptr)
            throw std::runtime_error(std::string("mkdtemp: ") + std::strerror(errno));
        path_ = tmpl;
    }
    ~TempDir() {
        for (const std::string& name : entries())
            ::unlink((path_ + "/" + name).c_str());
        ::rmdir(path_.c_str());
    }
    std::string file(const std::string& name) const { return path_ + "/" + name; }
    std::vector<std::string> entries() const {
        std::vector<std::string> names;
        if (DIR* d = ::opendir(path_.c_str())) {
            while (dirent* e = ::readdir(d))
                if (std::strcmp(e->d_name, ".") != 0 && std::strcmp(e->d_name, "..") != 0)
                    names.push_back(e->d_name);
            ::closedir(d);
        }
        return names;
    }

private:
    std::string path_;
};

TEST(SimulatedMouse, PresentsFourCollectionsOfTheMouse) {
    SimulatedMouse mouse(1, 4, 2, {}, "m");
    Result<std::vector<HidCollection>> listed = mouse.enumerate();
    ASSERT_TRUE(listed);
    const std::vector<HidCollection>& list = *listed;
    ASSERT_EQ(list.size(), 4u);
    struct Expected {
        const char* path;
        uint16_t page, usage, length;
    } expected[] = {{"sim:m/input0", 0x01, 0x02, 65},
                    {"sim:m/input1", 0x01, 0x06, 8},
                    {"sim:m/input2", 0x0C, 0x01, 0},
                    {"sim:m/input3", 0xFF00, 0x01, 0}};
    for (size_t i = 0; i < 4; ++i) {
        EXPECT_EQ(list[i].path, expected[i].path);
        EXPECT_EQ(list[i].vendorId, 0x04D9);
        EXPECT_EQ(list[i].productId, 0xA09E);
        EXPECT_EQ(list[i].usagePage, expected[i].page);
        EXPECT_EQ(list[i].usage, expected[i].usage);
        EXPECT_EQ(list[i].featureReportLength, expected[i].length);
    }

    mouse.unplug();
    Result<std::vector<HidCollection>> none = mouse.enumerate();
    ASSERT_TRUE(none);
    EXPECT_TRUE(none->empty());
    EXPECT_EQ(mouse.open("sim:m/input0").status().systemError, ENODEV);
    mouse.plug();
    EXPECT_EQ(mouse.open("sim:m/input9").status().systemError, ENOENT);
}

// Plugging the mouse in announces its collections as nodes of one group; the last connects.
TEST(SimulatedMouse, HotplugEventsConnectOnceTheChannelsAreThere) {
    SimulatedMouse mouse(1);
    VirtualClock clock;
    test::MessageLog shown;
    DeviceLink link(mouse, clock);
    ProfileBlock block{};
    MouseConnection connection(link, block);
    std::vector<MouseConnection::Change> changes;
    for (const HidrawEvent& e : mouse.hotplugEvents(HidrawEvent::Kind::Added)) {
        MouseConnection::Outcome o = connection.handle(e);
        shown(o.status);
        changes.push_back(o.change);
    }
    using C = MouseConnection::Change;
    EXPECT_EQ(changes, (std::vector<C>{C::None, C::Connected, C::None, C::None}));
    EXPECT_TRUE(link.connected());
    EXPECT_EQ(link.sensorVariant(), 1);
}

TEST(SimulatedMouse, MemoryHasNoZeroDeviceByteAndTheChosenVariant) {
    for (uint8_t variant : {0, 1, 2, 3, 7}) {
        SimulatedMouse mouse(variant);
        const auto& m = mouse.memory();
        EXPECT_EQ(m[0xC1], variant);
        EXPECT_EQ(mouse.sensorVariant(), variant);
        for (size_t i = 0; i < m.size(); ++i) {
            if (i != 0xC1) {
                EXPECT_NE(m[i], 0) << "byte " << i;
            }
        }
    }
}

TEST(SimulatedMouse, CollectionsWithoutFeatureReportsRefuseTransfers) {
    SimulatedMouse mouse(0, 1, 0, {}, "m");
    Result<Transport::Handle> h = mouse.open("sim:m/input2");
    ASSERT_TRUE(h);
    uint8_t buf[65] = {};
    EXPECT_FALSE(mouse.setFeature(*h, buf, 65));
    EXPECT_FALSE(mouse.getFeature(*h, buf, 65));
    // A data-channel read that no read command asked for is refused as well.
    Result<Transport::Handle> d = mouse.open("sim:m/input0");
    ASSERT_TRUE(d);
    EXPECT_FALSE(mouse.getFeature(*d, buf, 65));
    EXPECT_FALSE(mouse.setFeature(*d, buf, 65));
    EXPECT_TRUE(mouse.close(*h));
    EXPECT_TRUE(mouse.close(*d));
}

TEST(SimFaultText, ParsesAndFormats) {
    struct Case {
        const char* text;
        bool valid;
        SimFault fault;
    } cases[] = {
        {"none", true, {}},
        {"unscrambled", true, {SimFault::Kind::Unscrambled, 0}},
        {"bad-signature", true, {SimFault::Kind::BadSignature, 0}},
        {"bad-report-id", true, {SimFault::Kind::BadReportId, 0}},
        {"silent", true, {SimFault::Kind::Silent, 0}},
        {"unplug-after:0", true, SimFault::unplugAfter(0)},
        {"unplug-after:17", true, SimFault::unplugAfter(17)},
        {"unplug-after:", false, {}},
        {"unplug-after:-1", false, {}},
        {"unplug-after:1x", false, {}},
        {"unplug-after:99999999999", false, {}},
        {"short-reply:33", true, {SimFault::Kind::ShortReply, 33}},
        {"slow-reply:1500", true, {SimFault::Kind::SlowReply, 1500}},
        {"short-reply", false, {}},
        {"Silent", false, {}},
        {"", false, {}},
    };
    for (const Case& c : cases) {
        SimFault f{SimFault::Kind::Silent, 99};
        EXPECT_EQ(parseSimFault(c.text, f), c.valid) << c.text;
        if (c.valid) {
            EXPECT_EQ(f, c.fault) << c.text;
            EXPECT_EQ(formatSimFault(f), c.text);
        }
    }
}

// Two objects on one state file are one mouse: what one process writes, the other reads.
TEST(SimulatedMouseFile, SeparateObjectsShareOneMouse) {
    TempDir dir;
    const std::string path = dir.file("mouse.state");
    SimulatedMouse::createStateFile(path, 3, 2, 5);

    VirtualClock clock;
    test::MessageLog shown;
    SimulatedMouse writerMouse(path);
    SimulatedMouse readerMouse(path);
    EXPECT_EQ(readerMouse.sensorVariant(), 3);

    DeviceLink writer(writerMouse, clock);
    ProfileBlock block;
    ASSERT_TRUE(shown(writer.connect(block)));
    EXPECT_EQ(block.reportRate, 2);
    EXPECT_EQ(block.dpiStage, 5);
    for (int i = kChunkSize; i < kImageSize; ++i)
        block.deviceImage.bytes()[i] = static_cast<uint8_t>(i);
    block.reportRate = 8;
    ASSERT_TRUE(shown(writer.WriteOperation(block)));

    DeviceLink reader(readerMouse, clock);
    ProfileBlock back;
    ASSERT_TRUE(shown(reader.connect(back)));
    EXPECT_EQ(0, std::memcmp(back.bytes(), block.bytes(), sizeof block));
    EXPECT_TRUE(shown.messages.empty());

    // Plugging is shared too; a fresh object sees the same.
    writerMouse.unplug();
    EXPECT_FALSE(readerMouse.present());
    EXPECT_FALSE(SimulatedMouse(path).present());
    readerMouse.plug();
    EXPECT_TRUE(writerMouse.present());

    // Every write replaced the file whole: no temporary file is left in the folder.
    EXPECT_EQ(dir.entries(), std::vector<std::string>{"mouse.state"});
}

// A change that changes nothing leaves the state file alone; a real change replaces it.
TEST(SimulatedMouseFile, UnchangedStateIsNotRewritten) {
    TempDir dir;
    const std::string path = dir.file("mouse.state");
    SimulatedMouse::createStateFile(path, 0, 1, 0);
    SimulatedMouse mouse(path);
    // Held open, so that a replacement can never get the same inode number.
    const int original = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
    ASSERT_GE(original, 0);
    auto stillOriginal = [&] {
        struct stat now {};
        struct stat held {};
        return ::stat(path.c_str(), &now) == 0 && ::fstat(original, &held) == 0 &&
               now.st_ino == held.st_ino;
    };
    mouse.plug();
    mouse.setOpenError(0);
    mouse.setMemory(mouse.memory());
    EXPECT_TRUE(stillOriginal());

    mouse.unplug();
    EXPECT_FALSE(stillOriginal());
    ::close(original);
    EXPECT_FALSE(SimulatedMouse(path).present());
}

TEST(SimulatedMouseFile, FaultCounterLivesInTheFile) {
    TempDir dir;
    const std::string path = dir.file("mouse.state");
    SimulatedMouse::createStateFile(path, 0, 1, 0, SimFault::unplugAfter(5));
    VirtualClock clock;
    test::MessageLog shown;
    ProfileBlock block{};
    for (int run = 0; run < 2; ++run) { // two "processes", two transfers each
        SimulatedMouse mouse(path);
        DeviceLink link(mouse, clock);
        ASSERT_TRUE(shown(link.openMouse()));
        link.startSession();
        ASSERT_TRUE(shown(link.GetDPIStage(block)));
    }
    SimulatedMouse mouse(path);
    EXPECT_EQ(mouse.transferCount(), 4u);
    DeviceLink link(mouse, clock);
    ASSERT_TRUE(shown(link.openMouse()));
    link.startSession();
    std::vector<TraceEntry> trace;
    link.setTrace([&](const TraceEntry& e) { trace.push_back(e); });
    EXPECT_FALSE(shown(link.GetDPIStage(block))); // transfer 5 passes, 6 fails
    ASSERT_EQ(trace.size(), 2u);
    EXPECT_TRUE(trace[0].ok);
    EXPECT_FALSE(trace[1].ok);
    EXPECT_FALSE(SimulatedMouse(path).present());
    EXPECT_FALSE(shown(link.openMouse()));
}

TEST(SimulatedMouseFile, UnreadableStateIsRefused) {
    TempDir dir;
    const std::string good = dir.file("good.state");
    SimulatedMouse::createStateFile(good, 1, 1, 0);
    std::string text;
    {
        std::ifstream in(good);
        text.assign(std::istreambuf_iterator<char>(in), {});
    }
    auto writeBad = [&](const std::string& content) {
        std::string p = dir.file("bad.state");
        std::ofstream(p) << content;
        return p;
    };
    auto replaced = [&](const std::string& from, const std::string& to) {
        std::string t = text;
        size_t at = t.find(from);
        EXPECT_NE(at, std::string::npos) << from;
        return t.replace(at, from.size(), to);
    };
    const std::string broken[] = {
        "",
        "z417-simulated-mouse 2\n" + text.substr(text.find('\n') + 1),
        replaced("plugged 1", "plugged 2"),
        replaced("fault none", "fault sometimes"),
        replaced("pending-read 0", "pending-read 6"),
        replaced("memory ", "memory 00"),
        replaced("scratch ", "scratch zz"),
        replaced("transfers 0\n", ""),
        text + "plugged 1\n",
    };
    for (const std::string& content : broken)
        EXPECT_THROW(SimulatedMouse{writeBad(content)}, std::runtime_error) << content;
    EXPECT_THROW(SimulatedMouse{dir.file("missing.state")}, std::runtime_error);
    EXPECT_NO_THROW(SimulatedMouse{writeBad(text)});

    // A state file that goes bad under a running mouse makes its transfers fail.
    SimulatedMouse mouse(good);
    Result<Transport::Handle> h = mouse.open(mouse.collectionPath(1));
    ASSERT_TRUE(h);
    std::ofstream(good) << "garbage\n";
    uint8_t report[8] = {0x01};
    const Status refused = mouse.setFeature(*h, report, 8);
    EXPECT_FALSE(refused);
    EXPECT_NE(refused.reason.find("good.state"), std::string::npos) << refused.reason;
    Result<std::vector<HidCollection>> listed = mouse.enumerate();
    EXPECT_FALSE(listed);
    EXPECT_NE(listed.status().reason.find("good.state"), std::string::npos);
    // Plugging it in or out from a front end says so instead of throwing.
    for (bool plugged : {true, false}) {
        const Status moved = mouse.setPlugged(plugged);
        EXPECT_FALSE(moved);
        EXPECT_NE(moved.reason.find("good.state"), std::string::npos) << moved.reason;
    }
}

TEST(SimulatedMouseFile, CreatingInAMissingFolderThrows) {
    TempDir dir;
    EXPECT_THROW(SimulatedMouse::createStateFile(dir.file("no/such/folder/m.state"), 0, 1, 0),
                 std::runtime_error);
}

} // namespace
} // namespace z417
