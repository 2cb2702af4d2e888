// Key names of the single key capture: every key that the key name table knows must be named
// so that the table gives back that key's own keyboard usage.
#include "assign/KeyNames.h"

#include "assign/KeyTables.h"

#include <gtest/gtest.h>

#include <set>
#include <string>

namespace z417 {
namespace {

struct Key {
    unsigned evdev; // Linux input event code
    uint8_t usage;  // HID keyboard usage of the same key
};

// The HID usage of each evdev key code, as the kernel's HID input driver maps them, for every
// key with a row in the key name table. (Usage 0x32, the non-US hash key, reaches Linux as the
// backslash code 43 and has no code of its own.)
const Key kKeys[] = {
    {30, 0x04},  {48, 0x05},  {46, 0x06},  {32, 0x07},  {18, 0x08},  {33, 0x09},  {34, 0x0A},
    {35, 0x0B},  {23, 0x0C},  {36, 0x0D},  {37, 0x0E},  {38, 0x0F},  {50, 0x10},  {49, 0x11},
    {24, 0x12},  {25, 0x13},  {16, 0x14},  {19, 0x15},  {31, 0x16},  {20, 0x17},  {22, 0x18},
    {47, 0x19},  {17, 0x1A},  {45, 0x1B},  {21, 0x1C},  {44, 0x1D}, // A..Z
    {2, 0x1E},   {3, 0x1F},   {4, 0x20},   {5, 0x21},   {6, 0x22},   {7, 0x23},   {8, 0x24},
    {9, 0x25},   {10, 0x26},  {11, 0x27}, // 1..9, 0
    {28, 0x28},  {1, 0x29},   {14, 0x2A},  {15, 0x2B},  {57, 0x2C},  {12, 0x2D},  {13, 0x2E},
    {26, 0x2F},  {27, 0x30},  {43, 0x31},  {39, 0x33},  {40, 0x34},  {41, 0x35},  {51, 0x36},
    {52, 0x37},  {53, 0x38},  {58, 0x39}, // Enter .. Caps Lock
    {59, 0x3A},  {60, 0x3B},  {61, 0x3C},  {62, 0x3D},  {63, 0x3E},  {64, 0x3F},  {65, 0x40},
    {66, 0x41},  {67, 0x42},  {68, 0x43},  {87, 0x44},  {88, 0x45}, // F1..F12
    {99, 0x46},  {70, 0x47},  {119, 0x48}, {110, 0x49}, {102, 0x4A}, {104, 0x4B}, {111, 0x4C},
    {107, 0x4D}, {109, 0x4E}, {106, 0x4F}, {105, 0x50}, {108, 0x51}, {103, 0x52}, // navigation
    {69, 0x53},  {98, 0x54},  {55, 0x55},  {74, 0x56},  {78, 0x57},  {96, 0x58},  {79, 0x59},
    {80, 0x5A},  {81, 0x5B},  {75, 0x5C},  {76, 0x5D},  {77, 0x5E},  {71, 0x5F},  {72, 0x60},
    {73, 0x61},  {82, 0x62},  {83, 0x63}, // keypad
    {29, 0xE0},  {42, 0xE1},  {56, 0xE2},  {125, 0xE3}, {97, 0xE4},  {54, 0xE5},  {100, 0xE6},
    {126, 0xE7}, // modifiers, left ones first
};

TEST(KeyNamesTest, EveryKeyOfTheNameTableMapsBackToItsOwnUsage) {
    for (const Key& key : kKeys) {
        const std::string name = keyNameForEvdevCode(key.evdev);
        EXPECT_EQ(usageOfKeyName(name), key.usage)
            << "evdev " << key.evdev << " named \"" << name << "\"";
    }
}

TEST(KeyNamesTest, EveryRowWithAPhysicalKeyIsReachable) {
    std::set<std::string> named;
    for (unsigned code = 0; code < 0x300; ++code)
        named.insert(keyNameForEvdevCode(code));
    for (const KeyNameRow& row : kKeyNameTable) {
        const std::string name = row.name;
        if (name == "Eurpo(Note 2)" || row.usage >= kUsageLeftButton)
            continue; // no key of its own / mouse buttons
        EXPECT_TRUE(named.count(name)) << name;
    }
}

TEST(KeyNamesTest, LeftAndRightVariantsAndKeypadKeysHaveNamesOfTheirOwn) {
    const std::pair<unsigned, const char*> pairs[] = {
        {29, "Ctrl"},
        {97, "Right Ctrl"},
        {42, "Shift"},
        {54, "Right Shift"},
        {56, "Alt"},
        {100, "Right Alt"},
        {125, "Left Windows"},
        {126, "Right Windows"},
        {28, "Enter"},
        {96, "Num Enter"},
        {111, "Delete"},
        {83, "Num Del"},
        {53, "/"},
        {98, "Num /"},
        {12, "-"},
        {74, "Num -"},
        {102, "Home"},
        {71, "Num 7"},
    };
    for (const auto& [code, name] : pairs)
        EXPECT_EQ(keyNameForEvdevCode(code), name) << code;
}

TEST(KeyNamesTest, KeysOutsideTheTableAreNamedButGiveUsageZero) {
    const std::pair<unsigned, const char*> outside[] = {
        {183, "F13"}, {194, "F24"}, {127, "Application"}, {139, "Menu"}, {117, "Num ="},
    };
    for (const auto& [code, name] : outside) {
        EXPECT_EQ(keyNameForEvdevCode(code), name) << code;
        EXPECT_EQ(usageOfKeyName(keyNameForEvdevCode(code)), 0) << code;
    }
    // The extra key of ISO keyboards carries a backslash on a US layout.
    EXPECT_EQ(keyNameForEvdevCode(86), "\\");
}

TEST(KeyNamesTest, KeysWithoutANameGiveAnEmptyName) {
    for (unsigned code : {0u, 84u, 113u, 240u, 0x2FFu, 100000u}) {
        EXPECT_EQ(keyNameForEvdevCode(code), "") << code;
    }
}

TEST(KeyNamesTest, NamesAreCutToTheCaptureBuffer) {
    EXPECT_EQ(fitKeyNameBuffer(""), "");
    EXPECT_EQ(fitKeyNameBuffer("Right Windows"), "Right Windows");
    const std::string fits(31, 'x');
    EXPECT_EQ(fitKeyNameBuffer(fits), fits);
    EXPECT_EQ(fitKeyNameBuffer(fits + "y"), fits);
    EXPECT_EQ(fitKeyNameBuffer(std::string(200, 'z')), std::string(31, 'z'));
}

} // namespace
} // namespace z417
