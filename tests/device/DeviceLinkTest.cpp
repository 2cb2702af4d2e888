// The device link against the simulated mouse: wire bytes, order of transfers and waits,
// every misbehaviour of the mouse, discovery and pairing the channels.
#include "support/MessageLog.h"

#include "device/DeviceLink.h"
#include "device/Scramble.h"
#include "device/SimulatedMouse.h"

#include <gtest/gtest.h>

#include <cerrno>
#include <cstring>
#include <map>
#include <random>
#include <sstream>

namespace z417 {
namespace {

using Bytes = std::vector<uint8_t>;

ProfileBlock filledBlock(uint8_t v) {
    ProfileBlock b;
    std::memset(b.bytes(), v, sizeof b);
    return b;
}

Bytes blockBytes(const ProfileBlock& b) {
    return Bytes(b.bytes(), b.bytes() + sizeof b);
}

Bytes memoryBytes(SimulatedMouse& m) {
    return Bytes(m.memory().begin(), m.memory().end());
}

// A trace entry's report as the mouse reads it.
Bytes plainOf(const TraceEntry& e) {
    Bytes b = e.bytes;
    if (e.command)
        scrambleCommandReport(b.data(), false);
    else
        scrambleDataReport(b.data(), false);
    return b;
}

// Stands between the link and the simulated mouse: lists other devices' collections ahead of
// the mouse's, changes the mouse's collections, fails chosen opens and counts handles.
class ShapedTransport final : public Transport {
public:
    explicit ShapedTransport(Transport& inner) : inner_(inner) {}

    std::vector<HidCollection> ahead;            // listed before the mouse
    std::function<void(HidCollection&)> reshape; // applied to the mouse's collections
    std::map<std::string, int> openErrors;       // path -> errno
    std::map<std::string, int> opens;            // open attempts per path
    int liveHandles = 0;

    Result<std::vector<HidCollection>> enumerate() override {
        Result<std::vector<HidCollection>> out = inner_.enumerate();
        if (!out)
            return out;
        if (reshape)
            for (auto& c : *out)
                reshape(c);
        out->insert(out->begin(), ahead.begin(), ahead.end());
        return out;
    }
    Result<Handle> open(const std::string& path) override {
        ++opens[path];
        if (auto it = openErrors.find(path); it != openErrors.end())
            return Status::failedCall(path, it->second);
        Result<Handle> h = inner_.open(path);
        if (h)
            ++liveHandles;
        return h;
    }
    Status setFeature(Handle h, const uint8_t* d, size_t n) override {
        return inner_.setFeature(h, d, n);
    }
    Status getFeature(Handle h, uint8_t* d, size_t n) override {
        return inner_.getFeature(h, d, n);
    }
    Status close(Handle h) override {
        --liveHandles;
        return inner_.close(h);
    }

private:
    Transport& inner_;
};

class DeviceLinkTest : public ::testing::Test {
protected:
    static constexpr uint8_t kVariant = 2, kRate = 8, kStage = 3;

    VirtualClock clock;
    test::MessageLog shown;
    SimulatedMouse mouse{kVariant, kRate, kStage};
    DeviceLink link{mouse, clock};
    std::vector<TraceEntry> trace;

    void SetUp() override {
        link.setTrace([this](const TraceEntry& e) { trace.push_back(e); });
    }
    void openScrambled() {
        ASSERT_TRUE(shown(link.openMouse()));
        link.startSession();
    }
    void expectOneFailure(const char* caption) {
        ASSERT_EQ(shown.messages.size(), 1u);
        EXPECT_EQ(shown.messages[0].text, "The system did not detect the gaming mouse!");
        EXPECT_EQ(shown.messages[0].caption, caption);
    }
    // The image as the mouse holds it, behind the header the status query reports.
    ProfileBlock mouseBlock() {
        ProfileBlock b;
        b.reportRate = mouse.reportRate();
        b.dpiStage = mouse.dpiStage();
        std::memcpy(b.deviceImage.bytes(), mouse.memory().data(), kImageSize);
        return b;
    }
};

// ---- wire bytes ----

TEST_F(DeviceLinkTest, ScrambledStatusQueryOnTheWire) {
    openScrambled();
    ProfileBlock block = filledBlock(0);
    ASSERT_TRUE(shown(link.GetDPIStage(block)));
    ASSERT_EQ(trace.size(), 2u);
    // Status query, field by field:
    //   byte 0      01                    report ID, never scrambled
    //   bytes 1..4  AA CC EE DD           signature
    //   byte 5      80                    status query
    //   bytes 6..7  00 00                 no parameters
    // Unit AA CC EE DD 80 00 00 as one 56-bit number:
    //   rotate left 2  -> AB 33 BB 76 00 00 02  (the top bits 10 of AA enter byte 6 from below)
    //   xor the key    -> 97 69 CA 78 93 28 B4  (key 3C 5A 71 0E 93 28 B6)
    //   rotate right 3 -> 92 ED 39 4F 12 65 16  (the low bits 100 of B4 go on top: 100|10010)
    EXPECT_TRUE(trace[0].command);
    EXPECT_TRUE(trace[0].set);
    EXPECT_EQ(trace[0].bytes, (Bytes{0x01, 0x92, 0xED, 0x39, 0x4F, 0x12, 0x65, 0x16}));
    // The answer is read with report ID 01 and, unscrambled, echoes the query with
    // |01|AA CC EE DD|80|08 = report rate|03 = DPI stage|.
    EXPECT_TRUE(trace[1].command);
    EXPECT_FALSE(trace[1].set);
    EXPECT_EQ(plainOf(trace[1]), (Bytes{0x01, 0xAA, 0xCC, 0xEE, 0xDD, 0x80, kRate, kStage}));
    EXPECT_EQ(block.reportRate, kRate);
    EXPECT_EQ(block.dpiStage, kStage);
}

TEST_F(DeviceLinkTest, PlainQueryWhileScramblingIsOffIsNotUnderstood) {
    ASSERT_TRUE(shown(link.openMouse()));
    ProfileBlock block = filledBlock(0x11);
    EXPECT_FALSE(shown(link.GetDPIStage(block)));
    // |01|AA CC EE DD|80|00 00| sent as it is
    EXPECT_EQ(trace[0].bytes, (Bytes{0x01, 0xAA, 0xCC, 0xEE, 0xDD, 0x80, 0x00, 0x00}));
    EXPECT_EQ(blockBytes(block), blockBytes(filledBlock(0x11)));
    expectOneFailure("GetDPIStage");
}

TEST_F(DeviceLinkTest, UploadWireBytesOfEveryChunk) {
    openScrambled();
    ProfileBlock block = filledBlock(0);
    std::mt19937 rng(417);
    for (uint8_t* p = block.bytes(); p != block.bytes() + sizeof block; ++p)
        *p = static_cast<uint8_t>(rng());
    ASSERT_TRUE(shown(link.WriteOperation(block)));

    std::vector<const TraceEntry*> dataSets;
    for (const TraceEntry& e : trace)
        if (!e.command)
            dataSets.push_back(&e);
    ASSERT_EQ(dataSets.size(), 5u);

    // After command 6: a chunk of zeros. Byte 0 and every byte 8g+1 are 00, every unit is the
    // scrambled zero unit C7 8B 4E 21 D2 65 16.
    Bytes zeroChunk = {0x00};
    for (int g = 0; g < 8; ++g)
        zeroChunk.insert(zeroChunk.end(), {0x00, 0xC7, 0x8B, 0x4E, 0x21, 0xD2, 0x65, 0x16});
    EXPECT_EQ(dataSets[0]->bytes, zeroChunk);

    // Then chunks 5, 4, 3, 2: chunk bytes 0, 8, ..., 56 cross as they are in the image.
    for (int i = 1; i < 5; ++i) {
        int n = 6 - i;
        const uint8_t* chunk = block.deviceImage.chunk(n);
        const Bytes& wire = dataSets[static_cast<size_t>(i)]->bytes;
        ASSERT_EQ(wire.size(), 65u);
        EXPECT_EQ(wire[0], 0x00);
        for (int g = 0; g < 8; ++g)
            EXPECT_EQ(wire[static_cast<size_t>(8 * g + 1)], chunk[8 * g])
                << "chunk " << n << " byte " << 8 * g;
        EXPECT_NE(0, std::memcmp(wire.data() + 1, chunk, kChunkSize)) << "chunk " << n;
        Bytes plain = plainOf(*dataSets[static_cast<size_t>(i)]);
        EXPECT_EQ(0, std::memcmp(plain.data() + 1, chunk, kChunkSize)) << "chunk " << n;
    }
}

// ---- the three operations: results, order of transfers, waits ----

struct Step {
    bool command;
    bool set;
    int code; // command byte of a command set, -1 otherwise
    double ms;
};

void expectSteps(const std::vector<TraceEntry>& trace, const std::vector<Step>& steps) {
    ASSERT_EQ(trace.size(), steps.size());
    for (size_t i = 0; i < steps.size(); ++i) {
        SCOPED_TRACE("transfer " + std::to_string(i));
        EXPECT_TRUE(trace[i].ok);
        EXPECT_EQ(trace[i].command, steps[i].command);
        EXPECT_EQ(trace[i].set, steps[i].set);
        EXPECT_DOUBLE_EQ(trace[i].ms, steps[i].ms);
        EXPECT_EQ(trace[i].bytes.size(), steps[i].command ? 8u : 65u);
        if (steps[i].code >= 0) {
            EXPECT_EQ(plainOf(trace[i])[5], steps[i].code);
        }
    }
}

TEST_F(DeviceLinkTest, ReadOperationReadsEverythingInOrder) {
    openScrambled();
    ProfileBlock block = filledBlock(0x11);
    double start = clock.nowMs();
    ASSERT_TRUE(shown(link.ReadOperation(block)));
    EXPECT_DOUBLE_EQ(clock.nowMs() - start, 500.0);
    EXPECT_EQ(blockBytes(block), blockBytes(mouseBlock()));
    EXPECT_TRUE(shown.messages.empty());

    std::vector<Step> steps = {{true, true, 0x80, 0}, {true, false, -1, 0}};
    for (int k = 1; k <= 5; ++k) {
        double t = 100.0 * (k - 1);
        steps.push_back({true, true, 0x80 + k, t});
        steps.push_back({true, false, -1, t});
        steps.push_back({false, false, -1, t});
    }
    expectSteps(trace, steps);
}

TEST_F(DeviceLinkTest, WriteOperationSendsStatusAndChunksInOrder) {
    openScrambled();
    ProfileBlock block = mouseBlock();
    for (int i = 0; i < kImageSize; ++i)
        block.deviceImage.bytes()[i] ^= 0xFF;
    block.reportRate = 1;
    block.dpiStage = 6;
    Bytes before = memoryBytes(mouse);
    double start = clock.nowMs();
    ASSERT_TRUE(shown(link.WriteOperation(block)));
    EXPECT_DOUBLE_EQ(clock.nowMs() - start, 520.0);
    EXPECT_TRUE(shown.messages.empty());

    std::vector<Step> steps = {{true, true, 0x80, 0}, {true, false, -1, 0}, {true, true, 0x00, 0}};
    for (int n = 6; n >= 2; --n) {
        double t = 20.0 + 100.0 * (6 - n);
        steps.push_back({true, true, n, t});
        steps.push_back({true, false, -1, t});
        steps.push_back({false, true, -1, t});
    }
    expectSteps(trace, steps);
    // Set status: |01|AA CC EE DD|00 set status|01 report rate|06 DPI stage|
    EXPECT_EQ(plainOf(trace[2]), (Bytes{0x01, 0xAA, 0xCC, 0xEE, 0xDD, 0x00, 0x01, 0x06}));

    // The mouse now holds chunks 2..5 of the block; chunk 1 is never written.
    Bytes after = memoryBytes(mouse);
    EXPECT_TRUE(std::equal(after.begin(), after.begin() + kChunkSize, before.begin()));
    EXPECT_TRUE(std::equal(after.begin() + kChunkSize, after.end(),
                           block.deviceImage.bytes() + kChunkSize));
    EXPECT_EQ(mouse.reportRate(), 1);
    EXPECT_EQ(mouse.dpiStage(), 6);
    for (uint8_t b : mouse.scratchChunk())
        EXPECT_EQ(b, 0);
}

TEST_F(DeviceLinkTest, GetDPIStageChangesOnlyTheHeaderAndWaitsNothing) {
    openScrambled();
    ProfileBlock block = filledBlock(0x11);
    ASSERT_TRUE(shown(link.GetDPIStage(block)));
    ProfileBlock expected = filledBlock(0x11);
    expected.reportRate = kRate;
    expected.dpiStage = kStage;
    EXPECT_EQ(blockBytes(block), blockBytes(expected));
    EXPECT_DOUBLE_EQ(clock.nowMs(), 0.0);
}

TEST_F(DeviceLinkTest, ConnectReadsTheMouseAndTakesItsSensorVariant) {
    ProfileBlock block = filledBlock(0x77);
    ASSERT_TRUE(shown(link.connect(block)));
    EXPECT_TRUE(link.connected());
    EXPECT_TRUE(link.sessionStarted());
    EXPECT_EQ(link.sensorVariant(), kVariant);
    EXPECT_EQ(blockBytes(block), blockBytes(mouseBlock()));
    EXPECT_DOUBLE_EQ(clock.nowMs(), 500.0);
    EXPECT_TRUE(shown.messages.empty());
}

TEST_F(DeviceLinkTest, ConnectWithAFailedFirstCheckLeavesTheBlockZero) {
    ProfileBlock block = filledBlock(0x77);
    ASSERT_TRUE(shown(link.connect(block)));
    ASSERT_EQ(link.sensorVariant(), kVariant);
    mouse.setFault(SimFault{SimFault::Kind::BadSignature});
    ASSERT_TRUE(shown(link.connect(block))); // the mouse was opened
    EXPECT_EQ(blockBytes(block), Bytes(sizeof(ProfileBlock), 0));
    EXPECT_EQ(link.sensorVariant(), 0); // image byte 0xC1 of the zeroed block
    EXPECT_TRUE(link.connected());
    expectOneFailure("ReadOperation");
}

TEST_F(DeviceLinkTest, ConnectToAnAbsentMouseChangesNothing) {
    mouse.unplug();
    ProfileBlock block = filledBlock(0x77);
    EXPECT_FALSE(shown(link.connect(block)));
    EXPECT_FALSE(link.connected());
    EXPECT_FALSE(link.sessionStarted());
    EXPECT_EQ(blockBytes(block), blockBytes(filledBlock(0x77)));
    EXPECT_TRUE(shown.messages.empty());
    const Status absent = link.openMouse();
    EXPECT_TRUE(absent.messages.empty());
    EXPECT_EQ(absent.reason, "the gaming mouse was not found");
}

TEST_F(DeviceLinkTest, UploadThenReadGivesBackWhatWasWritten) {
    ProfileBlock block;
    ASSERT_TRUE(shown(link.connect(block)));
    ProfileBlock original = block;
    for (int i = 0; i < kImageSize; ++i)
        block.deviceImage.bytes()[i] = static_cast<uint8_t>(i * 3 + 1);
    block.reportRate = 2;
    ASSERT_TRUE(shown(link.WriteOperation(block)));
    ProfileBlock back = filledBlock(0);
    ASSERT_TRUE(shown(link.ReadOperation(back)));
    EXPECT_EQ(back.reportRate, 2);
    EXPECT_EQ(back.dpiStage, kStage);
    EXPECT_EQ(0, std::memcmp(back.deviceImage.chunk(1), original.deviceImage.chunk(1), kChunkSize));
    EXPECT_EQ(0,
              std::memcmp(back.deviceImage.chunk(2), block.deviceImage.chunk(2), 4 * kChunkSize));
}

// ---- a misbehaving mouse ----

TEST_F(DeviceLinkTest, MisbehavingMouse) {
    struct Case {
        const char* name;
        SimFault::Kind kind;
        bool getPasses, readPasses, writePasses;
    } cases[] = {
        {"unscrambled", SimFault::Kind::Unscrambled, false, false, false},
        {"bad-signature", SimFault::Kind::BadSignature, false, false, false},
        {"bad-report-id", SimFault::Kind::BadReportId, false, false, true},
        {"silent", SimFault::Kind::Silent, false, false, false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        SimulatedMouse m(kVariant, kRate, kStage);
        test::MessageLog messages;
        DeviceLink l(m, clock);
        std::vector<TraceEntry> t;
        l.setTrace([&](const TraceEntry& e) { t.push_back(e); });
        ASSERT_TRUE(messages(l.openMouse()));
        l.startSession();
        m.setFault(SimFault{c.kind});
        const Bytes memoryBefore = memoryBytes(m);
        const ProfileBlock untouched = filledBlock(0x11);

        auto expectOutcome = [&](bool passed, bool shouldPass, const char* op) {
            EXPECT_EQ(passed, shouldPass) << op;
            if (shouldPass) {
                EXPECT_TRUE(messages.messages.empty()) << op;
            } else {
                ASSERT_EQ(messages.messages.size(), 1u) << op;
                EXPECT_EQ(messages.messages[0].caption, op);
                EXPECT_EQ(messages.messages[0].text, "The system did not detect the gaming mouse!");
                // Nothing but the status query and its answer crossed.
                EXPECT_EQ(t.size(), 2u) << op;
            }
            messages.messages.clear();
            t.clear();
        };

        ProfileBlock block = untouched;
        expectOutcome(messages(l.GetDPIStage(block)), c.getPasses, "GetDPIStage");
        EXPECT_EQ(blockBytes(block), blockBytes(untouched));

        block = untouched;
        expectOutcome(messages(l.ReadOperation(block)), c.readPasses, "ReadOperation");
        EXPECT_EQ(blockBytes(block), blockBytes(untouched));

        m.receivedSets.clear();
        block = untouched;
        bool wrote = messages(l.WriteOperation(block));
        size_t sets = m.receivedSets.size();
        expectOutcome(wrote, c.writePasses, "WriteOperation");
        if (c.writePasses) {
            EXPECT_EQ(sets, 1u + 1u + 2u * 5u); // query, set status, 5 x (command, chunk)
            EXPECT_EQ(m.reportRate(), 0x11);
            EXPECT_EQ(m.memory()[kChunkSize], 0x11);
        } else {
            EXPECT_EQ(sets, 1u); // the status query only
            EXPECT_EQ(memoryBytes(m), memoryBefore);
            EXPECT_EQ(m.reportRate(), kRate);
        }
    }
}

TEST_F(DeviceLinkTest, AShortDataAnswerFailsTheReadAndKeepsTheBlock) {
    openScrambled();
    mouse.setFault(SimFault{SimFault::Kind::ShortReply, 33});
    ProfileBlock block = filledBlock(0x11);
    EXPECT_FALSE(shown(link.ReadOperation(block)));
    expectOneFailure("ReadOperation");
    EXPECT_EQ(blockBytes(block), blockBytes(filledBlock(0x11)));
}

// The mouse vanishes at each transfer of a read in turn: the block keeps every byte it had.
TEST_F(DeviceLinkTest, ReadIsAllOrNothingWhenTheMouseVanishes) {
    constexpr unsigned kReadTransfers = 2 + 3 * 5;
    for (unsigned i = 0; i <= kReadTransfers; ++i) {
        SCOPED_TRACE("vanishes at transfer " + std::to_string(i));
        mouse.plug();
        openScrambled();
        mouse.setFault(SimFault::unplugAfter(i));
        trace.clear();
        shown.messages.clear();
        ProfileBlock block = filledBlock(0xEE);
        double start = clock.nowMs();
        bool ok = shown(link.ReadOperation(block));
        if (i == kReadTransfers) {
            EXPECT_TRUE(ok);
            EXPECT_EQ(blockBytes(block), blockBytes(mouseBlock()));
            continue;
        }
        EXPECT_FALSE(ok);
        EXPECT_EQ(blockBytes(block), blockBytes(filledBlock(0xEE)));
        expectOneFailure("ReadOperation");
        ASSERT_EQ(trace.size(), i + 1);
        EXPECT_FALSE(trace.back().ok);
        double chunksDone = i < 2 ? 0 : (i - 2) / 3;
        EXPECT_DOUBLE_EQ(clock.nowMs() - start, 100.0 * chunksDone);
    }
}

// The mouse vanishes at each transfer of an upload in turn: nothing is sent after the failed
// transfer, and the mouse holds exactly the chunks that arrived before it.
TEST_F(DeviceLinkTest, UploadStopsAtTheFirstFailedTransfer) {
    constexpr unsigned kUploadTransfers = 3 + 3 * 5;
    for (unsigned i = 0; i <= kUploadTransfers; ++i) {
        SCOPED_TRACE("vanishes at transfer " + std::to_string(i));
        mouse.plug();
        openScrambled();
        const Bytes before = memoryBytes(mouse);
        ProfileBlock block = mouseBlock();
        for (int b = 0; b < kImageSize; ++b)
            block.deviceImage.bytes()[b] ^= 0x5A;
        mouse.setFault(SimFault::unplugAfter(i));
        trace.clear();
        shown.messages.clear();
        double start = clock.nowMs();
        bool ok = shown(link.WriteOperation(block));

        // The chunk sent after command n goes out at transfer 3 + 3 * (6 - n) + 2.
        Bytes expected = before;
        int chunksDone = 0;
        for (int n = 6; n >= 2; --n) {
            unsigned at = 3 + 3 * static_cast<unsigned>(6 - n) + 2;
            if (at >= i)
                break;
            ++chunksDone;
            if (n <= 5)
                std::memcpy(expected.data() + (n - 1) * kChunkSize, block.deviceImage.chunk(n),
                            kChunkSize);
        }
        EXPECT_EQ(memoryBytes(mouse), expected);
        if (i == kUploadTransfers) {
            EXPECT_TRUE(ok);
            EXPECT_TRUE(shown.messages.empty());
            continue;
        }
        EXPECT_FALSE(ok);
        expectOneFailure("WriteOperation");
        ASSERT_EQ(trace.size(), i + 1);
        EXPECT_FALSE(trace.back().ok);
        double waited = (i >= 3 ? 20.0 : 0.0) + 100.0 * chunksDone;
        EXPECT_DOUBLE_EQ(clock.nowMs() - start, waited);
    }
}

TEST_F(DeviceLinkTest, OperationsWithoutChannelsFailWithTheirMessage) {
    ProfileBlock block = filledBlock(0x11);
    EXPECT_FALSE(shown(link.GetDPIStage(block)));
    EXPECT_FALSE(shown(link.ReadOperation(block)));
    EXPECT_FALSE(shown(link.WriteOperation(block)));
    ASSERT_EQ(shown.messages.size(), 3u);
    EXPECT_EQ(shown.messages[2].caption, "WriteOperation");
    EXPECT_TRUE(trace.empty());
    EXPECT_EQ(blockBytes(block), blockBytes(filledBlock(0x11)));
}

TEST_F(DeviceLinkTest, FailureMessageUsesTheLocalisedText) {
    link.setNotDetectedText("系统没有检测到游戏鼠标！");
    ProfileBlock block = filledBlock(0);
    EXPECT_FALSE(shown(link.GetDPIStage(block)));
    ASSERT_EQ(shown.messages.size(), 1u);
    EXPECT_EQ(shown.messages[0].text, "系统没有检测到游戏鼠标！");
    EXPECT_EQ(shown.messages[0].caption, "GetDPIStage");
}

// ---- discovery ----

TEST_F(DeviceLinkTest, CollectionsWithOtherReportLengthsAreNotTaken) {
    struct Case {
        uint16_t dataLength, commandLength;
        bool accepted;
    } cases[] = {{65, 8, true},  {64, 8, false}, {66, 8, false}, {65, 7, false},
                 {65, 9, false}, {8, 65, false}, {0, 0, false}};
    for (const Case& c : cases) {
        SCOPED_TRACE(std::to_string(c.dataLength) + "/" + std::to_string(c.commandLength));
        ShapedTransport shaped(mouse);
        shaped.reshape = [&](HidCollection& h) {
            if (h.usagePage == 1 && h.usage == 2)
                h.featureReportLength = c.dataLength;
            if (h.usagePage == 1 && h.usage == 6)
                h.featureReportLength = c.commandLength;
        };
        DeviceLink l(shaped, clock);
        EXPECT_EQ(shown(l.openMouse()), c.accepted);
        EXPECT_EQ(l.connected(), c.accepted);
        EXPECT_EQ(shaped.liveHandles, c.accepted ? 2 : 0);
        EXPECT_TRUE(shown.messages.empty());
        if (!c.accepted) {
            EXPECT_EQ(shaped.opens.size(), 0u);
        }
    }
}

// Another device's node that cannot be opened does not hide the mouse, and only the mouse's
// two channels are ever opened.
TEST_F(DeviceLinkTest, OnlyTheMouseChannelsAreOpened) {
    ShapedTransport shaped(mouse);
    shaped.ahead = {{"/dev/hidraw0", 0x046D, 0xC52B, 1, 2, 65, "a"}, // another maker's mouse
                    {"/dev/hidraw1", 0x04D9, 0x1702, 1, 6, 8, "b"}}; // another product, same maker
    shaped.openErrors = {{"/dev/hidraw0", EACCES}, {"/dev/hidraw1", EACCES}};
    DeviceLink l(shaped, clock);
    ASSERT_TRUE(shown(l.openMouse()));
    EXPECT_TRUE(shown.messages.empty());
    EXPECT_EQ(shaped.opens, (std::map<std::string, int>{{mouse.collectionPath(0), 1},
                                                        {mouse.collectionPath(1), 1}}));
    EXPECT_EQ(l.devicePath(), mouse.collectionPath(1));
}

TEST_F(DeviceLinkTest, BothChannelsComeFromOneMouse) {
    // A second mouse listed first whose command collection has the wrong length: its data
    // channel must not be paired with the first mouse's command channel.
    ShapedTransport shaped(mouse);
    const uint16_t vendor = defaultModel().vendorId, product = defaultModel().productId;
    shaped.ahead = {{"/dev/hidraw0", vendor, product, 1, 2, 65, "usb-1/input SN"},
                    {"/dev/hidraw1", vendor, product, 1, 6, 9, "usb-1/input SN"}};
    DeviceLink shapedLink(shaped, clock);
    ASSERT_TRUE(shown(shapedLink.openMouse()));
    EXPECT_EQ(shaped.opens.count("/dev/hidraw0"), 0u);
    EXPECT_EQ(shaped.opens.count("/dev/hidraw1"), 0u);
    EXPECT_EQ(shaped.liveHandles, 2);
}

TEST_F(DeviceLinkTest, ChannelThatCannotBeOpenedIsReported) {
    struct Case {
        int error;
        int failingCollection;
        std::string text;
    } cases[] = {
        {EACCES, 1,
         "CreateFile Error Code:13\nNo permission to open the mouse: install the udev rule file "
         "70-z417-gaming-mouse.rules and plug the mouse in again."},
        {EPERM, 0,
         "CreateFile Error Code:1\nNo permission to open the mouse: install the udev rule file "
         "70-z417-gaming-mouse.rules and plug the mouse in again."},
        {EIO, 1, "CreateFile Error Code:5"},
        {ENODEV, 0, "CreateFile Error Code:19"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.error);
        ShapedTransport shaped(mouse);
        shaped.openErrors = {{mouse.collectionPath(c.failingCollection), c.error}};
        test::MessageLog messages;
        DeviceLink l(shaped, clock);
        EXPECT_FALSE(messages(l.openMouse()));
        EXPECT_FALSE(l.connected());
        ASSERT_EQ(messages.messages.size(), 1u);
        EXPECT_EQ(messages.messages[0].text, c.text);
        EXPECT_EQ(messages.messages[0].caption, "Z417 Gaming mouse");
        EXPECT_EQ(shaped.liveHandles, 0); // a channel opened before the failure is closed again
    }
}

TEST_F(DeviceLinkTest, NewOpenReplacesTheHandlesAndTheLinkClosesThemAtTheEnd) {
    ShapedTransport shaped(mouse);
    {
        DeviceLink l(shaped, clock);
        ASSERT_TRUE(shown(l.openMouse()));
        ASSERT_TRUE(shown(l.openMouse()));
        EXPECT_EQ(shaped.liveHandles, 2);
        // A failed open keeps the channels it had.
        mouse.setOpenError(EIO);
        EXPECT_FALSE(shown(l.openMouse()));
        EXPECT_EQ(shaped.liveHandles, 2);
        mouse.setOpenError(0);
    }
    EXPECT_EQ(shaped.liveHandles, 0);
}

// ---- pairing the channels ----

// Collections named by letter: D a data channel, C a command channel, O another collection
// of the mouse, F a foreign device; the digit is the physical mouse.
TEST(FindMouse, PairsChannelsWithinOneMouseInListingOrder) {
    struct Case {
        const char* listing;
        const char* data; // paths chosen, "" for none
        const char* command;
        const char* completedBy;
    } cases[] = {
        {"D1 C1", "D1", "C1", "C1"},
        {"C1 O1 D1", "D1", "C1", "D1"},      // order inside the mouse is free
        {"D1 D1' C1 C1'", "D1", "C1", "C1"}, // the first of each kind
        {"D1 D2 C2 C1", "D1", "C1", "C1"},   // the first mouse listed wins
        {"D1 O1 D2 C2", "D2", "C2", "C2"},   // an incomplete one is passed over
        {"F1 D2 C1", "", "", ""},            // foreign or split: no pair
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.listing);
        std::vector<HidCollection> collections;
        std::istringstream words(c.listing);
        for (std::string w; words >> w;) {
            const bool data = w[0] == 'D', command = w[0] == 'C';
            const uint16_t vendor = w[0] == 'F' ? 0x046D : defaultModel().vendorId;
            collections.push_back({w, vendor, defaultModel().productId, 1,
                                   static_cast<uint16_t>(command ? 6 : 2),
                                   static_cast<uint16_t>(data      ? 65
                                                         : command ? 8
                                                                   : 0),
                                   std::string(1, w[1])});
        }
        const std::optional<MouseChannels> mouse = findMouse(collections);
        auto path = [](const HidCollection* h) { return h ? h->path : std::string(); };
        EXPECT_EQ(path(mouse ? mouse->data : nullptr), c.data);
        EXPECT_EQ(path(mouse ? mouse->command : nullptr), c.command);
        EXPECT_EQ(path(mouse ? mouse->completedBy() : nullptr), c.completedBy);
    }
}

} // namespace
} // namespace z417
