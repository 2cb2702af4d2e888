#include "assign/KeyTables.h"

#include <gtest/gtest.h>

#include <set>
#include <string>
#include <vector>

namespace z417 {
namespace {

struct NameCase {
    const char* name;
    uint8_t usage;
};

TEST(KeyTables, NameLookupGivesTheUsageOfTheNamedKey) {
    const NameCase cases[] = {
        {"A", 0x04},
        {"Z", 0x1D},
        {"1", 0x1E},
        {"0", 0x27},
        {"\\", 0x31},
        {"Eurpo(Note 2)", 0x32},
        {"'", 0x34},
        {"Caps Lock", 0x39},
        {"F12", 0x45},
        {"Prnt Scrn", 0x46},
        {"Up", 0x52},
        {"Num Lock", 0x53},
        {"Num Enter", 0x58},
        {"Num 1", 0x59},
        {"Num 5", 0x5D},
        {"Num 0", 0x62},
        {"Num Del", 0x63},
        {"Ctrl", 0xE0},
        {"Shift", 0xE1},
        {"Alt", 0xE2},
        {"Left Windows", 0xE3},
        {"Right Ctrl", 0xE4},
        {"Right Shift", 0xE5},
        {"Right Alt", 0xE6},
        {"Right Windows", 0xE7},
        {"L-Button", 0xF0},
        {"R-Button", 0xF1},
        {"M-Button", 0xF2},
    };
    for (const NameCase& c : cases) {
        EXPECT_EQ(usageOfKeyName(c.name), c.usage) << c.name;
    }
}

TEST(KeyTables, NameLookupIsExactAndCaseSensitive) {
    // Names that are close to rows but are not rows give 0.
    const char* misses[] = {"",          "ctrl",       "CTRL",       "a",         "Right ctrl",
                            "Left Ctrl", "Left Shift", "Prnt  Scrn", "PrntScrn",  "Num5",
                            "Ctrl ",     " Ctrl",      "B4-Button",  "B5-Button", "Euro",
                            "F13",       "F0"};
    for (const char* name : misses) {
        EXPECT_EQ(usageOfKeyName(name), 0) << '"' << name << '"';
    }
    // A name is compared whole, so an embedded NUL does not end it early.
    EXPECT_EQ(usageOfKeyName(std::string_view("A\0B", 3)), 0);
}

TEST(KeyTables, KeyNameTableShape) {
    ASSERT_EQ(kKeyNameTable.size(), 107u);
    // Rows 1..96 carry the usages 0x04..0x63 without a gap.
    for (std::size_t i = 0; i < 96; ++i) {
        EXPECT_EQ(kKeyNameTable[i].usage, 0x04 + i) << "row " << i + 1;
    }
    // Then the modifiers 0xE0..0xE7 and the mouse buttons 0xF0..0xF2.
    for (std::size_t i = 0; i < 8; ++i) {
        EXPECT_EQ(kKeyNameTable[96 + i].usage, 0xE0 + i) << "row " << 97 + i;
    }
    for (std::size_t i = 0; i < 3; ++i) {
        EXPECT_EQ(kKeyNameTable[104 + i].usage, 0xF0 + i) << "row " << 105 + i;
    }
    // No two rows share a name, so every name finds its own row.
    std::set<std::string> names;
    for (const KeyNameRow& row : kKeyNameTable) {
        EXPECT_TRUE(names.insert(row.name).second) << "duplicate " << row.name;
        EXPECT_EQ(usageOfKeyName(row.name), row.usage) << row.name;
    }
}

TEST(KeyTables, EveryUsageIsNamedFromOneTable) {
    // Each row of the key name table names its own usage.
    for (const KeyNameRow& row : kKeyNameTable)
        EXPECT_EQ(keyNameOfUsage(row.usage), row.name) << int(row.usage);
    // Keys the mouse cannot send are named, but their names give usage 0.
    const std::pair<uint8_t, const char*> unassignable[] = {
        {0x65, "Application"}, {0x67, "Num ="}, {0x68, "F13"}, {0x73, "F24"}, {0x76, "Menu"}};
    for (const auto& [usage, name] : unassignable) {
        EXPECT_EQ(keyNameOfUsage(usage), name) << int(usage);
        EXPECT_EQ(usageOfKeyName(name), 0) << name;
    }
    // The ISO extra key shares the backslash's name, which stands for the backslash's usage.
    EXPECT_EQ(keyNameOfUsage(0x64), "\\");
    for (uint8_t usage : {0x00, 0x03, 0x66, 0x74, 0xE8, 0xF3, 0xFF})
        EXPECT_EQ(keyNameOfUsage(usage), "") << int(usage);
}

TEST(KeyTables, FireKeyPositions) {
    const struct {
        unsigned position;
        const char* name;
        uint8_t usage;
    } cases[] = {
        {0, "L-Button", 0xF0}, {3, "B4-Button", 0xF3}, {4, "B5-Button", 0xF4}, {5, "A", 0x04},
        {30, "Z", 0x1D},       {31, "1", 0x1E},        {39, "9", 0x26},        {40, "0", 0x27},
        {41, "L-CTRL", 0xE0},  {42, "L-SHIFT", 0xE1},  {43, "L-ALT", 0xE2},    {44, "R-CTRL", 0xE4},
        {45, "R-SHIFT", 0xE5}, {46, "R-ALT", 0xE6},    {47, "F1", 0x3A},       {58, "F12", 0x45},
    };
    const std::vector<std::string>& list = fireKeyList();
    ASSERT_EQ(list.size(), 59u);
    for (const auto& c : cases) {
        EXPECT_EQ(list[c.position], c.name) << c.position;
        EXPECT_EQ(usageOfFireKeyPosition(c.position), c.usage) << c.position;
    }
    // The fifth button is the same code as the Forward button function.
    EXPECT_EQ(usageOfFireKeyPosition(4), kUsageForwardButton);
    for (unsigned position : {59u, 60u, 255u, 256u, 0xFFFFFFFFu}) {
        EXPECT_EQ(usageOfFireKeyPosition(position), 0) << position;
    }
}

TEST(KeyTables, FireKeyLettersAndDigitsAgreeWithTheKeyNameTable) {
    // Positions 5..40 are the letter and digit keys, which the capture table names alike.
    const std::vector<std::string>& list = fireKeyList();
    for (unsigned p = 5; p <= 40; ++p) {
        EXPECT_EQ(usageOfFireKeyPosition(p), usageOfKeyName(list[p])) << list[p];
    }
    for (unsigned p = 47; p <= 58; ++p) {
        EXPECT_EQ(usageOfFireKeyPosition(p), usageOfKeyName(list[p])) << list[p];
    }
}

TEST(KeyTables, DpiSubList) {
    EXPECT_EQ(dpiSubList(), (std::vector<std::string>{"DPI +", "DPI -", "DPI Loop"}));
    EXPECT_EQ(dpiSubListValue(0), 3);
    EXPECT_EQ(dpiSubListValue(1), 4);
    EXPECT_EQ(dpiSubListValue(2), 5);
    EXPECT_EQ(dpiSubListValue(-1), 0);
    EXPECT_EQ(dpiSubListValue(3), 0);
}

TEST(KeyTables, DpiValueListIsTheVariantZeroLabelRow) {
    const std::vector<std::string> expected{"400",  "800",  "1200", "1600", "2000",
                                            "2400", "2800", "3200", "4000"};
    EXPECT_EQ(dpiValueList(), expected);
    EXPECT_EQ(dpiLabelRow(0), expected);
}

TEST(KeyTables, DpiLabelRowsPerVariant) {
    EXPECT_EQ(dpiLabelRow(1), (std::vector<std::string>{"250", "500", "1000", "1250", "1500",
                                                        "1750", "2000", "2500", "3000", "3500"}));
    EXPECT_EQ(dpiLabelRow(2), (std::vector<std::string>{"250", "500", "750", "1000", "1250", "1500",
                                                        "2000", "2500"}));
    EXPECT_EQ(dpiLabelRow(3), (std::vector<std::string>{"400", "800", "1200", "1600", "2000",
                                                        "2400", "2800", "3200"}));
    EXPECT_TRUE(dpiLabelRow(4).empty());
    EXPECT_TRUE(dpiLabelRow(255).empty());
}

TEST(KeyTables, DpiLevelNameEnds) {
    EXPECT_EQ(dpiLevelName(0, 0), "400");
    EXPECT_EQ(dpiLevelName(0, 8), "4000");
    EXPECT_EQ(dpiLevelName(0, 9), "");
    EXPECT_EQ(dpiLevelName(1, 9), "3500"); // the only variant with a tenth name
    EXPECT_EQ(dpiLevelName(1, 10), "");
    EXPECT_EQ(dpiLevelName(2, 7), "2500");
    EXPECT_EQ(dpiLevelName(2, 8), "");
    EXPECT_EQ(dpiLevelName(3, 7), "3200");
    EXPECT_EQ(dpiLevelName(3, 8), "");
    EXPECT_EQ(dpiLevelName(4, 0), "");
    EXPECT_EQ(dpiLevelName(0, 0xFFFFFFFFu), "");
}

TEST(KeyTables, SnipeListsPerVariant) {
    EXPECT_EQ(snipeList(0),
              (std::vector<std::string>{"250", "500", "750", "1000", "1250", "1500", "1750", "2000",
                                        "2500", "3000", "3500", "4000"}));
    EXPECT_EQ(snipeList(1), (std::vector<std::string>{"600", "800", "1000", "1200", "1600", "2000",
                                                      "2400", "3200"}));
    EXPECT_EQ(snipeList(2), (std::vector<std::string>{"250", "500", "750", "1000", "1250", "1500",
                                                      "2000", "2500"}));
    EXPECT_EQ(snipeList(3), (std::vector<std::string>{"400", "800", "1200", "1600", "2000", "2400",
                                                      "2800", "3200"}));
    EXPECT_TRUE(snipeList(4).empty());
}

} // namespace
} // namespace z417
