// Whole mice from hidraw node events: one reaction per arrival and per removal, whatever the
// events' order, doubling or loss, and none for other devices.
#include "support/MessageLog.h"

#include "device/MouseConnection.h"
#include "device/SimulatedMouse.h"

#include <gtest/gtest.h>

#include <cerrno>
#include <cstring>
#include <memory>
#include <sstream>

namespace z417 {
namespace {

using Kind = HidrawEvent::Kind;

class MouseConnectionTest : public ::testing::Test {
protected:
    VirtualClock clock;
    SimulatedMouse mouse{2, 8, 3};
    DeviceLink link{mouse, clock};
    ProfileBlock block{};
    std::unique_ptr<MouseConnection> connection = std::make_unique<MouseConnection>(link, block);
    void restart() {
        link.closeHandles();
        connection = std::make_unique<MouseConnection>(link, block);
    }
    test::MessageLog shown;

    HidrawEvent simNode(Kind kind, int n) { return mouse.hotplugEvents(kind)[n]; }
    // A node with the mouse's ids and one collection, in a group of its own choosing.
    static HidrawEvent node(Kind kind, const std::string& name, const std::string& group,
                            uint16_t vendor, TopLevelCollection collection) {
        return HidrawEvent{kind, name, KnownNode{vendor, 0xA09E, group, {collection}}};
    }

    // Plays a script and gives one letter per reaction: C connected, L lost.
    //   +N / -N   node N of the simulated mouse added / removed
    //   in / out  the simulated mouse plugged in / pulled out (no event)
    //   +BN / -BN node N of a second mouse of the same model (another group)
    //   +F / -F   a device with the mouse's ids whose collections carry no channel
    //   +V        another maker's device with collections shaped like the channels
    std::string play(const std::string& script) {
        std::string reactions;
        std::istringstream words(script);
        for (std::string w; words >> w;) {
            if (w == "in" || w == "out") {
                w == "in" ? mouse.plug() : mouse.unplug();
                continue;
            }
            const Kind kind = w[0] == '+' ? Kind::Added : Kind::Removed;
            HidrawEvent e;
            if (w[1] == 'B')
                e = node(kind, "b" + w.substr(2), "second", 0x04D9,
                         w[2] == '0' ? TopLevelCollection{1, 2, 65} : TopLevelCollection{1, 6, 8});
            else if (w[1] == 'F')
                e = node(kind, "f", "foreign", 0x04D9, {1, 2, 64});
            else if (w[1] == 'V')
                e = node(kind, "v", "vendor", 0x046D, {1, 2, 65});
            else
                e = simNode(kind, w[1] - '0');
            MouseConnection::Outcome o = connection->handle(e);
            shown(o.status);
            if (o.change != MouseConnection::Change::None)
                reactions += o.change == MouseConnection::Change::Connected ? 'C' : 'L';
        }
        return reactions;
    }
};

TEST_F(MouseConnectionTest, OneReactionPerWholeMouse) {
    const struct Case {
        const char* script;
        const char* reactions;
        bool connected;
    } cases[] = {
        {"+0 +1 +2 +3", "C", true},                         // plugged in: both channels there
        {"+0 +1 out -0 -1 -2 -3", "CL", false},             // pulled out
        {"+0 +0 +1 +1 +1", "C", true},                      // doubled arrivals
        {"+0 +1 out -1 -1 -0 -0", "CL", false},             // doubled removals
        {"+1 out -1 in +0 +1", "C", true},                  // an arrival lost: in step at the next
        {"+0 +1 out -0 in +0 +1 out -0 -1", "CLCL", false}, // a removal lost
        {"out +0 +1 +2 in +0", "LC", true},    // a failed connect, then the channel comes again
        {"-0 -1 -2", "", false},               // removals of nodes never seen
        {"+0 +1 +B0 +B1 -B0 -B1", "C", true},  // a second mouse comes and goes
        {"+0 +1 +B0 +B1 out -0", "CL", false}, // the open one goes, the second stays
        {"+F +V", "", false},                  // the mouse's ids, other collections
        {"+F +0 +1 -F +V", "C", true},
        {"+0 +1 -0", "C", true}, // a removal while the mouse is still there: opened again
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.script);
        mouse.plug();
        restart();
        EXPECT_EQ(play(c.script), c.reactions);
        EXPECT_EQ(link.connected(), c.connected);
        EXPECT_TRUE(shown.messages.empty());
    }
}

TEST_F(MouseConnectionTest, ArrivalReadsTheMouseAndRemovalKeepsTheBlock) {
    std::memset(block.bytes(), 0x33, sizeof block);
    std::vector<TraceEntry> trace;
    link.setTrace([&](const TraceEntry& e) { trace.push_back(e); });
    play("+0");
    EXPECT_TRUE(trace.empty()); // half a mouse: nothing is opened or read
    play("+1");
    EXPECT_TRUE(link.sessionStarted());
    EXPECT_EQ(link.sensorVariant(), 2);
    EXPECT_EQ(block.reportRate, 8);
    EXPECT_EQ(0, std::memcmp(block.deviceImage.bytes(), mouse.memory().data(), kImageSize));

    const ProfileBlock kept = block;
    trace.clear();
    play("-0"); // still there: opened again, nothing read
    EXPECT_TRUE(trace.empty());
    play("out -1");
    EXPECT_EQ(0, std::memcmp(block.bytes(), kept.bytes(), sizeof block));
    // The old channels are dead; only the next arrival opens new ones.
    play("in");
    EXPECT_FALSE(shown(link.GetDPIStage(block)));
    EXPECT_EQ(play("+0 +1"), "C");
    EXPECT_TRUE(shown(link.GetDPIStage(block)));
}

// What opening and reading had to say on an arrival comes back with the reaction.
TEST_F(MouseConnectionTest, ArrivalCarriesTheMessagesOfOpeningAndReading) {
    const struct Case {
        const char* name;
        int openError;
        SimFault::Kind fault;
        const char* reactions;
        Message message;
    } cases[] = {
        {"read fails",
         0,
         SimFault::Kind::BadSignature,
         "C",
         {"ReadOperation", "The system did not detect the gaming mouse!"}},
        {"open fails",
         EIO,
         SimFault::Kind::None,
         "L",
         {"Z417 Gaming mouse", "CreateFile Error Code:5"}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        restart();
        shown.messages.clear();
        mouse.setOpenError(c.openError);
        mouse.setFault(SimFault{c.fault});
        EXPECT_EQ(play("+0 +1"), c.reactions);
        EXPECT_EQ(shown.messages, std::vector<Message>{c.message});
    }
}

// The nodes present when listening began are known: their removal is a reaction.
TEST_F(MouseConnectionTest, SeededNodesAreFollowedWithoutAReaction) {
    ASSERT_TRUE(shown(link.connect(block)));
    connection->seed(mouse.hotplugEvents(Kind::Added));
    EXPECT_EQ(play("+0 +1"), "");
    EXPECT_EQ(play("out -0 -1"), "L");
    EXPECT_FALSE(link.connected());
}

} // namespace
} // namespace z417
