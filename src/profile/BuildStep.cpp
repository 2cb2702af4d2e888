#include "profile/BuildStep.h"

#include "profile/DpiCodes.h"

#include <cstring>

namespace z417 {
namespace {

// Consumer page usages: entries 0..6 are the multimedia keys, 7..15 the launch keys.
constexpr uint16_t kConsumerUsage[16] = {0x00B5, 0x00B6, 0x00B7, 0x00CD, 0x00E2, 0x00E9,
                                         0x00EA, 0x0183, 0x018A, 0x0192, 0x0194, 0x0221,
                                         0x0223, 0x0224, 0x0225, 0x0227};
// Left Control with C, X, V, A, O, N, S, Z.
constexpr uint8_t kComboModifier = 0xE0;
constexpr uint8_t kComboKeys[8] = {0x06, 0x1B, 0x19, 0x04, 0x12, 0x11, 0x16, 0x1D};

constexpr uint8_t kWindowsTableBase = 7;
constexpr uint8_t kHotKeyTableBase = 0x10;

// Set B stores slots 3 and 4 the other way round.
int setBPosition(int slot) {
    if (slot == 3)
        return 4;
    if (slot == 4)
        return 3;
    return slot;
}

} // namespace

void writeFixedTables(ProfileBlock& block) {
    DeviceImage& img = block.deviceImage;
    for (int n = 0; n < 16; ++n) {
        img.consumerUsage[n][0] = static_cast<uint8_t>(kConsumerUsage[n] & 0xFF);
        img.consumerUsage[n][1] = static_cast<uint8_t>(kConsumerUsage[n] >> 8);
    }
    for (int n = 0; n < 8; ++n) {
        img.comboKey[n][0] = kComboModifier;
        img.comboKey[n][1] = kComboKeys[n];
    }
}

ButtonEntry encodeButton(const SettingsRecord& r, int set, int s) {
    switch (r.keyFunction[set][s]) {
    case kFnLeftClick:
        return {0xF0, 0};
    case kFnRightClick:
        return {0xF1, 0};
    case kFnMidClick:
        return {0xF2, 0};
    case kFnForward:
        return {0xF4, 0};
    case kFnBackward:
        return {0xF3, 0};
    case kFnDpiSwitch:
        return {r.dpiSwitchParam[set][s], 3};
    case kFnWindows:
        return {static_cast<uint8_t>(r.windowsIndex[set][s] + kWindowsTableBase), 2};
    case kFnMultimedia:
        return {r.mediaIndex[set][s], 2};
    case kFnHotKey:
        return {static_cast<uint8_t>(r.hotKeyIndex[set][s] + kHotKeyTableBase), 2};
    case kFnFireKey:
        return {r.fireKeyCode[set][s], static_cast<uint8_t>(r.fireTimes[set][s] - 0x80)};
    case kFnSingleKey:
        return {r.singleKeyUsage[set][s], 0};
    case kFnSnipeKey:
        return {0x0A, 3};
    case kFnKeyOff:
        return {0, 0};
    case kFnShift:
        return {0x06, 3};
    default:
        return {0, 0};
    }
}

void buildProfileBlock(const SettingsRecord& r, uint8_t variant, ProfileBlock& block) {
    DeviceImage& img = block.deviceImage;

    block.reportRate = r.reportRate;

    img.lightMode = r.lightMode;
    if (r.lightMode == 1) {
        img.lightLevel = r.lightBrightness;
        img.lightKind = 2;
        img.lightSub = 1;
    } else if (r.lightMode == 2) {
        img.lightLevel = r.breathSpeed;
        if (r.breathEffect == 1) {
            img.lightKind = 2;
            img.lightSub = 1;
        } else if (r.breathEffect == 2) {
            img.lightKind = 3;
            img.lightSub = 2;
            img.lightTimeA = 125;
            img.lightTimeB = 3;
        }
    }

    std::memset(img.stageColor, 0, sizeof img.stageColor);
    std::memcpy(img.stageColor, r.dpiColor, sizeof img.stageColor);

    img.lightConst = 6;
    img.snipeDpi = r.snipeDpi;

    for (int j = 0; j < kDpiStageCount; ++j)
        img.dpiCode[j] = dpiCode(variant, r.dpiLevel[j], r.dpiStageEnabled[j] != 0);

    img.fireMakeTime = r.fireMakeTime;
    img.fireBreakTime = r.fireBreakTime;

    for (int s = 0; s < kShownSlotCount; ++s) {
        const ButtonEntry a = encodeButton(r, 0, s);
        img.buttonEntryA[s][0] = a.code;
        img.buttonEntryA[s][1] = a.type;
        const ButtonEntry b = encodeButton(r, 1, s);
        img.buttonEntryB[setBPosition(s)][0] = b.code;
        img.buttonEntryB[setBPosition(s)][1] = b.type;
    }
}

} // namespace z417
