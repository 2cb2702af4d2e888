#include "assign/KeyTables.h"

namespace z417 {

const std::array<KeyNameRow, kKeyNameRowCount> kKeyNameTable = {{
    // Rows 1..96: usages 0x04..0x63 in order.
    {"A", 0x04},
    {"B", 0x05},
    {"C", 0x06},
    {"D", 0x07},
    {"E", 0x08},
    {"F", 0x09},
    {"G", 0x0A},
    {"H", 0x0B},
    {"I", 0x0C},
    {"J", 0x0D},
    {"K", 0x0E},
    {"L", 0x0F},
    {"M", 0x10},
    {"N", 0x11},
    {"O", 0x12},
    {"P", 0x13},
    {"Q", 0x14},
    {"R", 0x15},
    {"S", 0x16},
    {"T", 0x17},
    {"U", 0x18},
    {"V", 0x19},
    {"W", 0x1A},
    {"X", 0x1B},
    {"Y", 0x1C},
    {"Z", 0x1D},
    {"1", 0x1E},
    {"2", 0x1F},
    {"3", 0x20},
    {"4", 0x21},
    {"5", 0x22},
    {"6", 0x23},
    {"7", 0x24},
    {"8", 0x25},
    {"9", 0x26},
    {"0", 0x27},
    {"Enter", 0x28},
    {"Esc", 0x29},
    {"Backspace", 0x2A},
    {"Tab", 0x2B},
    {"Space", 0x2C},
    {"-", 0x2D},
    {"=", 0x2E},
    {"[", 0x2F},
    {"]", 0x30},
    {"\\", 0x31},
    {"Eurpo(Note 2)", 0x32}, // non-US hash and tilde
    {";", 0x33},
    {"'", 0x34},
    {"`", 0x35},
    {",", 0x36},
    {".", 0x37},
    {"/", 0x38},
    {"Caps Lock", 0x39},
    {"F1", 0x3A},
    {"F2", 0x3B},
    {"F3", 0x3C},
    {"F4", 0x3D},
    {"F5", 0x3E},
    {"F6", 0x3F},
    {"F7", 0x40},
    {"F8", 0x41},
    {"F9", 0x42},
    {"F10", 0x43},
    {"F11", 0x44},
    {"F12", 0x45},
    {"Prnt Scrn", 0x46},
    {"Scroll Lock", 0x47},
    {"Pause", 0x48},
    {"Insert", 0x49},
    {"Home", 0x4A},
    {"Page Up", 0x4B},
    {"Delete", 0x4C},
    {"End", 0x4D},
    {"Page Down", 0x4E},
    {"Right", 0x4F},
    {"Left", 0x50},
    {"Down", 0x51},
    {"Up", 0x52},
    {"Num Lock", 0x53},
    {"Num /", 0x54},
    {"Num *", 0x55},
    {"Num -", 0x56},
    {"Num +", 0x57},
    {"Num Enter", 0x58},
    {"Num 1", 0x59},
    {"Num 2", 0x5A},
    {"Num 3", 0x5B},
    {"Num 4", 0x5C},
    {"Num 5", 0x5D},
    {"Num 6", 0x5E},
    {"Num 7", 0x5F},
    {"Num 8", 0x60},
    {"Num 9", 0x61},
    {"Num 0", 0x62},
    {"Num Del", 0x63}, // keypad dot/Delete
    // The plain modifier names stand for the left keys.
    {"Ctrl", 0xE0},
    {"Shift", 0xE1},
    {"Alt", 0xE2},
    {"Left Windows", 0xE3},
    {"Right Ctrl", 0xE4},
    {"Right Shift", 0xE5},
    {"Right Alt", 0xE6},
    {"Right Windows", 0xE7},
    // Mouse buttons.
    {"L-Button", 0xF0},
    {"R-Button", 0xF1},
    {"M-Button", 0xF2},
}};

const std::array<KeyNameRow, kFireKeyCount> kFireKeyTable = {{
    {"L-Button", 0xF0},  {"R-Button", 0xF1}, {"M-Button", 0xF2}, {"B4-Button", 0xF3},
    {"B5-Button", 0xF4}, {"A", 0x04},        {"B", 0x05},        {"C", 0x06},
    {"D", 0x07},         {"E", 0x08},        {"F", 0x09},        {"G", 0x0A},
    {"H", 0x0B},         {"I", 0x0C},        {"J", 0x0D},        {"K", 0x0E},
    {"L", 0x0F},         {"M", 0x10},        {"N", 0x11},        {"O", 0x12},
    {"P", 0x13},         {"Q", 0x14},        {"R", 0x15},        {"S", 0x16},
    {"T", 0x17},         {"U", 0x18},        {"V", 0x19},        {"W", 0x1A},
    {"X", 0x1B},         {"Y", 0x1C},        {"Z", 0x1D},        {"1", 0x1E},
    {"2", 0x1F},         {"3", 0x20},        {"4", 0x21},        {"5", 0x22},
    {"6", 0x23},         {"7", 0x24},        {"8", 0x25},        {"9", 0x26},
    {"0", 0x27},         {"L-CTRL", 0xE0},   {"L-SHIFT", 0xE1},  {"L-ALT", 0xE2},
    {"R-CTRL", 0xE4},    {"R-SHIFT", 0xE5},  {"R-ALT", 0xE6},    {"F1", 0x3A},
    {"F2", 0x3B},        {"F3", 0x3C},       {"F4", 0x3D},       {"F5", 0x3E},
    {"F6", 0x3F},        {"F7", 0x40},       {"F8", 0x41},       {"F9", 0x42},
    {"F10", 0x43},       {"F11", 0x44},      {"F12", 0x45},
}};

namespace {

// Keys a keyboard has but the key name table has no row for, named as a US English Windows
// layout names them.
constexpr KeyNameRow kUnassignableKeyNames[] = {
    {"\\", 0x64}, // the extra key of ISO keyboards
    {"Application", 0x65}, {"Num =", 0x67}, {"F13", 0x68},  {"F14", 0x69},
    {"F15", 0x6A},         {"F16", 0x6B},   {"F17", 0x6C},  {"F18", 0x6D},
    {"F19", 0x6E},         {"F20", 0x6F},   {"F21", 0x70},  {"F22", 0x71},
    {"F23", 0x72},         {"F24", 0x73},   {"Help", 0x75}, {"Menu", 0x76},
};

constexpr std::size_t kSensorVariantCount = 4;

// Names of the stored DPI levels, one row per sensor variant.
const std::array<std::vector<std::string>, kSensorVariantCount>& dpiLabelTable() {
    static const std::array<std::vector<std::string>, kSensorVariantCount> table = {{
        {"400", "800", "1200", "1600", "2000", "2400", "2800", "3200", "4000"},
        {"250", "500", "1000", "1250", "1500", "1750", "2000", "2500", "3000", "3500"},
        {"250", "500", "750", "1000", "1250", "1500", "2000", "2500"},
        {"400", "800", "1200", "1600", "2000", "2400", "2800", "3200"},
    }};
    return table;
}

// The snipe DPI values, one row per sensor variant.
const std::array<std::vector<std::string>, kSensorVariantCount>& snipeTable() {
    static const std::array<std::vector<std::string>, kSensorVariantCount> table = {{
        {"250", "500", "750", "1000", "1250", "1500", "1750", "2000", "2500", "3000", "3500",
         "4000"},
        {"600", "800", "1000", "1200", "1600", "2000", "2400", "3200"},
        {"250", "500", "750", "1000", "1250", "1500", "2000", "2500"},
        {"400", "800", "1200", "1600", "2000", "2400", "2800", "3200"},
    }};
    return table;
}

struct DpiSubRow {
    const char* name;
    uint8_t value;
};

constexpr std::array<DpiSubRow, 3> kDpiSubTable = {{
    {"DPI +", 3},
    {"DPI -", 4},
    {"DPI Loop", 5},
}};

const std::vector<std::string>& emptyList() {
    static const std::vector<std::string> empty;
    return empty;
}

} // namespace

uint8_t usageOfKeyName(std::string_view name) {
    for (const KeyNameRow& row : kKeyNameTable) {
        if (name == row.name) {
            return row.usage;
        }
    }
    return 0;
}

std::string_view keyNameOfUsage(uint8_t usage) {
    for (const KeyNameRow& row : kKeyNameTable) {
        if (row.usage == usage) {
            return row.name;
        }
    }
    for (const KeyNameRow& row : kUnassignableKeyNames) {
        if (row.usage == usage) {
            return row.name;
        }
    }
    return {};
}

uint8_t usageOfFireKeyPosition(unsigned position) {
    if (position >= kFireKeyTable.size()) {
        return 0;
    }
    return kFireKeyTable[position].usage;
}

const std::vector<std::string>& fireKeyList() {
    static const std::vector<std::string> names = [] {
        std::vector<std::string> out;
        out.reserve(kFireKeyTable.size());
        for (const KeyNameRow& row : kFireKeyTable) {
            out.emplace_back(row.name);
        }
        return out;
    }();
    return names;
}

const std::vector<std::string>& dpiSubList() {
    static const std::vector<std::string> names = [] {
        std::vector<std::string> out;
        for (const DpiSubRow& row : kDpiSubTable) {
            out.emplace_back(row.name);
        }
        return out;
    }();
    return names;
}

uint8_t dpiSubListValue(int row) {
    if (row < 0 || static_cast<std::size_t>(row) >= kDpiSubTable.size()) {
        return 0;
    }
    return kDpiSubTable[static_cast<std::size_t>(row)].value;
}

// The stage value list is the variant-0 name row: the position chosen is the stored level.
const std::vector<std::string>& dpiValueList() {
    return dpiLabelTable()[0];
}

const std::vector<std::string>& dpiLabelRow(uint8_t sensorVariant) {
    if (sensorVariant >= kSensorVariantCount) {
        return emptyList();
    }
    return dpiLabelTable()[sensorVariant];
}

std::string dpiLevelName(uint8_t sensorVariant, unsigned level) {
    const std::vector<std::string>& row = dpiLabelRow(sensorVariant);
    if (level >= row.size()) {
        return {};
    }
    return row[level];
}

const std::vector<std::string>& snipeList(uint8_t sensorVariant) {
    if (sensorVariant >= kSensorVariantCount) {
        return emptyList();
    }
    return snipeTable()[sensorVariant];
}

} // namespace z417
