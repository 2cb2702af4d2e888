#include "profile/BuildStep.h"
#include "profile/DpiCodes.h"

#include <gtest/gtest.h>

#include <cstring>
#include <set>
#include <vector>

namespace z417 {
namespace {

// A block whose every byte is distinct from zero, as a mouse that has been in use reports it.
ProfileBlock patternedBlock() {
    ProfileBlock b{};
    for (size_t i = 0; i < sizeof b; ++i)
        b.bytes()[i] = static_cast<uint8_t>(0x5A ^ (i * 7 + 3));
    return b;
}

// Image offsets the build step owns (block offsets are two more).
std::set<size_t> ownedImageBytes() {
    std::set<size_t> owned;
    auto range = [&](size_t from, size_t count) {
        for (size_t i = 0; i < count; ++i)
            owned.insert(from + i);
    };
    range(0x80, 12);  // buttonEntry A
    range(0xA0, 12);  // buttonEntry B
    range(0xC6, 7);   // lightConst .. lightKind
    range(0xCE, 2);   // fire times
    range(0xD7, 1);   // snipeDpi
    range(0xD8, 8);   // dpiCode
    range(0x118, 24); // stageColor
    return owned;
}

TEST(BuildStep, ButtonEntriesOfEveryFunctionInBothKeySets) {
    struct Case {
        uint8_t function;
        uint8_t code;
        uint8_t type;
    };
    // Parameters used for every slot: dpiSwitch 4, windows 2, media 5, hotkey 3,
    // fire key 0x1D x 9 times, single key 0x2C.
    const std::vector<Case> cases = {
        {0, 0xF0, 0x00},   {1, 0xF1, 0x00},   {2, 0xF2, 0x00},  {3, 0xF4, 0x00},  {4, 0xF3, 0x00},
        {5, 0x04, 0x03},   {6, 0x09, 0x02},   {7, 0x05, 0x02},  {8, 0x13, 0x02},  {9, 0x1D, 0x89},
        {10, 0x2C, 0x00},  {11, 0x0A, 0x03},  {12, 0x00, 0x00}, {13, 0x06, 0x03}, {14, 0x00, 0x00},
        {200, 0x00, 0x00}, {255, 0x00, 0x00},
    };
    for (const Case& c : cases) {
        for (int set = 0; set < 2; ++set) {
            SettingsRecord r{};
            for (int s = 0; s < 8; ++s) {
                r.keyFunction[set][s] = c.function;
                r.dpiSwitchParam[set][s] = 4;
                r.windowsIndex[set][s] = 2;
                r.mediaIndex[set][s] = 5;
                r.hotKeyIndex[set][s] = 3;
                r.fireKeyCode[set][s] = 0x1D;
                r.fireTimes[set][s] = 9;
                r.singleKeyUsage[set][s] = 0x2C;
            }
            ProfileBlock b = patternedBlock();
            buildProfileBlock(r, 0, b);
            const uint8_t(*entries)[2] =
                set == 0 ? b.deviceImage.buttonEntryA : b.deviceImage.buttonEntryB;
            for (int p = 0; p < 6; ++p) {
                EXPECT_EQ(entries[p][0], c.code)
                    << "function " << int(c.function) << " set " << set;
                EXPECT_EQ(entries[p][1], c.type)
                    << "function " << int(c.function) << " set " << set;
            }
        }
    }
}

TEST(BuildStep, DefaultButtonsAndTheSetBSwap) {
    SettingsRecord r{};
    restoreDefaultKeys(r);
    ProfileBlock b{};
    buildProfileBlock(r, 0, b);
    // set A at image 0x80: |L F0 00|R F1 00|M F2 00|Fwd F4 00|Back F3 00|DPI Loop 05 03|
    const uint8_t expectA[12] = {0xF0, 0, 0xF1, 0, 0xF2, 0, 0xF4, 0, 0xF3, 0, 0x05, 0x03};
    // set B at image 0xA0: slots 3 and 4 change places, so Backward comes before Forward.
    const uint8_t expectB[12] = {0xF0, 0, 0xF1, 0, 0xF2, 0, 0xF3, 0, 0xF4, 0, 0x05, 0x03};
    EXPECT_EQ(0, std::memcmp(b.deviceImage.bytes() + 0x80, expectA, 12));
    EXPECT_EQ(0, std::memcmp(b.deviceImage.bytes() + 0xA0, expectB, 12));
}

TEST(BuildStep, SetBSlotsThreeAndFourLandSwappedWithTheirParameters) {
    SettingsRecord r{};
    for (int s = 0; s < 6; ++s)
        r.keyFunction[1][s] = kFnSingleKey;
    const uint8_t usage[6] = {0x04, 0x05, 0x06, 0x07, 0x08, 0x09};
    std::memcpy(r.singleKeyUsage[1], usage, 6);
    ProfileBlock b{};
    buildProfileBlock(r, 0, b);
    const uint8_t expect[12] = {0x04, 0, 0x05, 0, 0x06, 0, 0x08, 0, 0x07, 0, 0x09, 0};
    EXPECT_EQ(0, std::memcmp(b.deviceImage.buttonEntryB, expect, 12));
}

TEST(BuildStep, ParameterArithmetic) {
    SettingsRecord r{};
    r.keyFunction[0][0] = kFnFireKey; // times 0: fire until released
    r.fireKeyCode[0][0] = 0xF0;
    r.fireTimes[0][0] = 0;
    r.keyFunction[0][1] = kFnFireKey; // times 127
    r.fireKeyCode[0][1] = 0x45;
    r.fireTimes[0][1] = 127;
    r.keyFunction[0][2] = kFnWindows; // index 0 is table entry 7 (0x0183)
    r.windowsIndex[0][2] = 0;
    r.keyFunction[0][3] = kFnHotKey; // index 0 is table entry 16 (Ctrl+C)
    r.hotKeyIndex[0][3] = 0;
    r.keyFunction[0][4] = kFnWindows; // code bytes wrap at 256
    r.windowsIndex[0][4] = 250;
    r.keyFunction[0][5] = kFnHotKey;
    r.hotKeyIndex[0][5] = 7;
    ProfileBlock b{};
    buildProfileBlock(r, 0, b);
    const uint8_t expect[12] = {0xF0, 0x80, 0x45, 0xFF, 0x07, 0x02,
                                0x10, 0x02, 0x01, 0x02, 0x17, 0x02};
    EXPECT_EQ(0, std::memcmp(b.deviceImage.buttonEntryA, expect, 12));
}

TEST(BuildStep, SlotsSixAndSevenNeverReachTheBlock) {
    SettingsRecord r{};
    ProfileBlock before = patternedBlock();
    ProfileBlock a = before, b = before;
    buildProfileBlock(r, 0, a);
    for (int set = 0; set < 2; ++set)
        for (int s = 6; s < 8; ++s) {
            r.keyFunction[set][s] = kFnSingleKey;
            r.singleKeyUsage[set][s] = 0x33;
        }
    buildProfileBlock(r, 0, b);
    EXPECT_EQ(0, std::memcmp(&a, &b, sizeof a));
}

TEST(DpiCodes, EveryVariantWithTheOffBit) {
    struct Row {
        uint8_t variant;
        std::vector<uint8_t> codes;
    };
    const std::vector<Row> rows = {
        {0, {0x02, 0x03, 0x04, 0x06, 0x07, 0x08, 0x25, 0x26, 0x27, 0, 0, 0, 0, 0, 0, 0}},
        {1, {0x01, 0x02, 0x03, 0x04, 0x05, 0x23, 0x24, 0x25}},
        {2, {0x02, 0x04, 0x06, 0x08, 0x0A, 0x26, 0x28, 0x2A}},
        {3, {0x01, 0x02, 0x03, 0x04, 0x05, 0x06, 0x07, 0x08}},
    };
    for (const Row& row : rows) {
        for (size_t level = 0; level < row.codes.size(); ++level) {
            EXPECT_EQ(dpiCode(row.variant, uint8_t(level), true), row.codes[level]);
            EXPECT_EQ(dpiCode(row.variant, uint8_t(level), false), row.codes[level] | 0x80);
        }
        // Past the table: code 0, with the off bit for a stage that is off.
        EXPECT_EQ(dpiCode(row.variant, 16, true), 0);
        EXPECT_EQ(dpiCode(row.variant, 255, false), 0x80);
    }
    for (uint8_t variant : {4, 9, 255}) {
        EXPECT_EQ(dpiCode(variant, 0, true), 0);
        EXPECT_EQ(dpiCode(variant, 3, false), 0x80);
        EXPECT_EQ(dpiCodeCount(variant), 0);
    }
    EXPECT_EQ(dpiCodeCount(0), 9);
    EXPECT_EQ(dpiCodeCount(2), 8);
}

TEST(BuildStep, DpiStagesFollowTheVariantAndEnabledFlags) {
    SettingsRecord r{};
    const uint8_t levels[8] = {0, 1, 0, 8, 7, 2, 9, 15};
    const uint8_t enabled[8] = {1, 1, 0, 1, 0, 1, 1, 0};
    std::memcpy(r.dpiLevel, levels, 8);
    std::memcpy(r.dpiStageEnabled, enabled, 8);
    struct Case {
        uint8_t variant;
        uint8_t codes[8];
    };
    const Case cases[] = {
        {0, {0x02, 0x03, 0x82, 0x27, 0xA6, 0x04, 0x00, 0x80}},
        {1, {0x01, 0x02, 0x81, 0x00, 0xA5, 0x03, 0x00, 0x80}},
        {3, {0x01, 0x02, 0x81, 0x00, 0x88, 0x03, 0x00, 0x80}},
        {7, {0x00, 0x00, 0x80, 0x00, 0x80, 0x00, 0x00, 0x80}},
    };
    for (const Case& c : cases) {
        ProfileBlock b = patternedBlock();
        buildProfileBlock(r, c.variant, b);
        EXPECT_EQ(0, std::memcmp(b.deviceImage.dpiCode, c.codes, 8))
            << "variant " << int(c.variant);
    }
}

TEST(BuildStep, LightingSequenceKeepsTimesOnceWritten) {
    SettingsRecord r{};
    ProfileBlock b = patternedBlock();
    const DeviceImage& img = b.deviceImage;

    r.lightMode = 2; // Respiration, second effect
    r.breathSpeed = 3;
    r.breathEffect = 2;
    buildProfileBlock(r, 0, b);
    EXPECT_EQ(img.lightMode, 2);
    EXPECT_EQ(img.lightLevel, 3);
    EXPECT_EQ(img.lightKind, 3);
    EXPECT_EQ(img.lightSub, 2);
    EXPECT_EQ(img.lightTimeA, 125);
    EXPECT_EQ(img.lightTimeB, 3);
    EXPECT_EQ(img.lightConst, 6);

    r.lightMode = 1; // Standard afterwards: the times stay
    r.lightBrightness = 9;
    buildProfileBlock(r, 0, b);
    EXPECT_EQ(img.lightMode, 1);
    EXPECT_EQ(img.lightLevel, 9);
    EXPECT_EQ(img.lightKind, 2);
    EXPECT_EQ(img.lightSub, 1);
    EXPECT_EQ(img.lightTimeA, 125);
    EXPECT_EQ(img.lightTimeB, 3);

    r.lightMode = 2; // Respiration, first effect: kind and sub only
    r.breathEffect = 1;
    r.breathSpeed = 0;
    buildProfileBlock(r, 0, b);
    EXPECT_EQ(img.lightLevel, 0);
    EXPECT_EQ(img.lightKind, 2);
    EXPECT_EQ(img.lightSub, 1);

    // Modes 0, 3 and others, and Respiration with an unknown effect, touch only lightMode.
    for (uint8_t mode : {0, 3, 7}) {
        ProfileBlock before = patternedBlock();
        ProfileBlock after = before;
        r.lightMode = mode;
        buildProfileBlock(r, 0, after);
        EXPECT_EQ(after.deviceImage.lightMode, mode);
        EXPECT_EQ(0, std::memcmp(&before.deviceImage.lightSub, &after.deviceImage.lightSub, 3));
        EXPECT_EQ(after.deviceImage.lightLevel, before.deviceImage.lightLevel);
        EXPECT_EQ(after.deviceImage.lightKind, before.deviceImage.lightKind);
    }
    ProfileBlock before = patternedBlock();
    ProfileBlock after = before;
    r.lightMode = 2;
    r.breathEffect = 0;
    r.breathSpeed = 4;
    buildProfileBlock(r, 0, after);
    EXPECT_EQ(after.deviceImage.lightLevel, 4);
    EXPECT_EQ(after.deviceImage.lightKind, before.deviceImage.lightKind);
    EXPECT_EQ(after.deviceImage.lightSub, before.deviceImage.lightSub);
}

TEST(BuildStep, ScalarFieldsAndColours) {
    SettingsRecord r{};
    r.reportRate = 4;
    r.snipeDpi = 0x26;
    r.fireMakeTime = 5;
    r.fireBreakTime = 255;
    for (int i = 0; i < 24; ++i)
        r.dpiColor[i / 3][i % 3] = static_cast<uint8_t>(i * 10);
    ProfileBlock b = patternedBlock();
    const uint8_t stageBefore = b.dpiStage;
    buildProfileBlock(r, 0, b);
    EXPECT_EQ(b.reportRate, 4);
    EXPECT_EQ(b.dpiStage, stageBefore);
    EXPECT_EQ(b.deviceImage.snipeDpi, 0x26);
    EXPECT_EQ(b.deviceImage.fireMakeTime, 5);
    EXPECT_EQ(b.deviceImage.fireBreakTime, 255);
    EXPECT_EQ(0, std::memcmp(b.deviceImage.stageColor, r.dpiColor, 24));
}

TEST(BuildStep, EveryByteItDoesNotOwnIsPreserved) {
    SettingsRecord r{};
    for (size_t i = 0; i < sizeof r; ++i)
        r.bytes()[i] = static_cast<uint8_t>(i * 13 + 1);
    r.lightMode = 2;
    r.breathEffect = 2; // the mode that writes the most lighting bytes
    const ProfileBlock before = patternedBlock();
    ProfileBlock after = before;
    buildProfileBlock(r, 0, after);
    const std::set<size_t> owned = ownedImageBytes();
    for (size_t i = 0; i < kImageSize; ++i) {
        if (owned.count(i) == 0) {
            EXPECT_EQ(after.deviceImage.bytes()[i], before.deviceImage.bytes()[i])
                << "image byte 0x" << std::hex << i;
        }
    }
    EXPECT_EQ(after.deviceImage.sensorVariant, before.deviceImage.sensorVariant);
    EXPECT_EQ(after.deviceImage.deviceDataCD, before.deviceImage.deviceDataCD);
}

TEST(BuildStep, FixedTablesAreWrittenLittleEndianAndNothingElse) {
    const ProfileBlock before = patternedBlock();
    ProfileBlock b = before;
    writeFixedTables(b);
    const uint8_t* img = b.deviceImage.bytes();
    // |0xB5 Next|0xB6 Prev|0xB7 Stop|0xCD Play|0xE2 Mute|0xE9 Vol+|0xEA Vol-|0x183 Config|...
    const uint8_t consumer[32] = {0xB5, 0x00, 0xB6, 0x00, 0xB7, 0x00, 0xCD, 0x00, 0xE2, 0x00, 0xE9,
                                  0x00, 0xEA, 0x00, 0x83, 0x01, 0x8A, 0x01, 0x92, 0x01, 0x94, 0x01,
                                  0x21, 0x02, 0x23, 0x02, 0x24, 0x02, 0x25, 0x02, 0x27, 0x02};
    // Left Control with C, X, V, A, O, N, S, Z.
    const uint8_t combo[16] = {0xE0, 0x06, 0xE0, 0x1B, 0xE0, 0x19, 0xE0, 0x04,
                               0xE0, 0x12, 0xE0, 0x11, 0xE0, 0x16, 0xE0, 0x1D};
    EXPECT_EQ(0, std::memcmp(img + 0xE0, consumer, 32));
    EXPECT_EQ(0, std::memcmp(img + 0x130, combo, 16));
    for (size_t i = 0; i < kImageSize; ++i) {
        const bool table = (i >= 0xE0 && i < 0x100) || (i >= 0x130 && i < 0x140);
        if (!table) {
            EXPECT_EQ(img[i], before.deviceImage.bytes()[i]);
        }
    }
    EXPECT_EQ(b.reportRate, before.reportRate);
}

TEST(SettingsRecord, RestoreDefaultKeysTouchesOnlyFunctionsAndSlotFiveSwitch) {
    SettingsRecord r{};
    for (size_t i = 0; i < sizeof r; ++i)
        r.bytes()[i] = 0xEE;
    SettingsRecord expected = r;
    restoreDefaultKeys(r);
    const uint8_t defaults[8] = {0, 1, 2, 3, 4, 5, 12, 12};
    for (int set = 0; set < 2; ++set) {
        std::memcpy(expected.keyFunction[set], defaults, 8);
        expected.dpiSwitchParam[set][5] = 5;
    }
    EXPECT_EQ(0, std::memcmp(&r, &expected, sizeof r));
}

} // namespace
} // namespace z417
