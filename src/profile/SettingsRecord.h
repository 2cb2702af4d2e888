// The user's choices as the main window and the parameter dialogs edit them; bytes 1..219 of
// "config.bin". Every field sits at a fixed offset because the layout is a file format.
#pragma once

#include <cstddef>
#include <cstdint>

namespace z417 {

constexpr int kKeySetCount = 2;
constexpr int kSlotCount = 8;      // slots per key set; 0..5 are uploaded, 6 and 7 only stored
constexpr int kShownSlotCount = 6; // the buttons that reach the mouse
constexpr int kDpiStageCount = 8;

struct SettingsRecord {
    uint8_t reserved00[5];
    uint8_t reportRate; // polling interval in ms: 1, 2, 4, 8
    uint8_t reserved06;
    uint8_t dpiLevel[kDpiStageCount];
    uint8_t dpiStageEnabled[kDpiStageCount];
    uint8_t dpiColor[kDpiStageCount][3]; // R, G, B
    uint8_t lightMode;                   // 0 Off, 1 Standard, 2 Respiration, 3 Neon
    uint8_t lightBrightness;             // 0..9
    uint8_t breathSpeed;                 // 0..4
    uint8_t neonSpeed;
    uint8_t reserved33;
    uint8_t breathEffect; // 1 or 2
    uint8_t reserved35[2];
    uint8_t activeKeySet; // 0 = set A, 1 = set B
    uint8_t fireMakeTime;
    uint8_t fireBreakTime;
    uint8_t snipeDpi;
    uint8_t keyFunction[kKeySetCount][kSlotCount];
    uint8_t mediaIndex[kKeySetCount][kSlotCount];
    uint8_t windowsIndex[kKeySetCount][kSlotCount];
    uint8_t hotKeyIndex[kKeySetCount][kSlotCount];
    uint8_t singleKeyUsage[kKeySetCount][kSlotCount];
    uint8_t snipeChoice[kKeySetCount][kSlotCount];
    uint8_t fireChoice[kKeySetCount][kSlotCount];
    uint8_t fireKeyCode[kKeySetCount][kSlotCount];
    uint8_t fireTimes[kKeySetCount][kSlotCount];
    uint8_t dpiSwitchParam[kKeySetCount][kSlotCount];

    uint8_t* bytes() { return reinterpret_cast<uint8_t*>(this); }
    const uint8_t* bytes() const { return reinterpret_cast<const uint8_t*>(this); }
};

static_assert(sizeof(SettingsRecord) == 219);
static_assert(offsetof(SettingsRecord, reportRate) == 0x05);
static_assert(offsetof(SettingsRecord, dpiLevel) == 0x07);
static_assert(offsetof(SettingsRecord, dpiStageEnabled) == 0x0F);
static_assert(offsetof(SettingsRecord, dpiColor) == 0x17);
static_assert(offsetof(SettingsRecord, lightMode) == 0x2F);
static_assert(offsetof(SettingsRecord, lightBrightness) == 0x30);
static_assert(offsetof(SettingsRecord, breathSpeed) == 0x31);
static_assert(offsetof(SettingsRecord, neonSpeed) == 0x32);
static_assert(offsetof(SettingsRecord, reserved33) == 0x33);
static_assert(offsetof(SettingsRecord, breathEffect) == 0x34);
static_assert(offsetof(SettingsRecord, activeKeySet) == 0x37);
static_assert(offsetof(SettingsRecord, fireMakeTime) == 0x38);
static_assert(offsetof(SettingsRecord, fireBreakTime) == 0x39);
static_assert(offsetof(SettingsRecord, snipeDpi) == 0x3A);
static_assert(offsetof(SettingsRecord, keyFunction) == 0x3B);
static_assert(offsetof(SettingsRecord, mediaIndex) == 0x4B);
static_assert(offsetof(SettingsRecord, windowsIndex) == 0x5B);
static_assert(offsetof(SettingsRecord, hotKeyIndex) == 0x6B);
static_assert(offsetof(SettingsRecord, singleKeyUsage) == 0x7B);
static_assert(offsetof(SettingsRecord, snipeChoice) == 0x8B);
static_assert(offsetof(SettingsRecord, fireChoice) == 0x9B);
static_assert(offsetof(SettingsRecord, fireKeyCode) == 0xAB);
static_assert(offsetof(SettingsRecord, fireTimes) == 0xBB);
static_assert(offsetof(SettingsRecord, dpiSwitchParam) == 0xCB);

// Function codes of a button slot; the value is the function's row in the assignment list.
enum FunctionCode : uint8_t {
    kFnLeftClick = 0,
    kFnRightClick = 1,
    kFnMidClick = 2,
    kFnForward = 3,
    kFnBackward = 4,
    kFnDpiSwitch = 5,
    kFnWindows = 6,
    kFnMultimedia = 7,
    kFnHotKey = 8,
    kFnFireKey = 9,
    kFnSingleKey = 10,
    kFnSnipeKey = 11,
    kFnKeyOff = 12,
    kFnShift = 13,
};
constexpr int kFunctionCount = 14;

// "Default": both key sets back to the six buttons' own functions, slots 6 and 7 off,
// DPI Switch parameter of slot 5 = 5 ("DPI Loop"). Nothing else changes.
void restoreDefaultKeys(SettingsRecord& record);

} // namespace z417
