// Fixed key, fire key and DPI tables: the names the interface shows and the one-byte codes
// the mouse expects. Key codes are HID Keyboard/Keypad usages; the mouse buttons use
// 0xF0..0xF4, which the keyboard page leaves reserved.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace z417 {

// Mouse button codes shared by the key tables and the button entry encoding.
inline constexpr uint8_t kUsageLeftButton = 0xF0;
inline constexpr uint8_t kUsageRightButton = 0xF1;
inline constexpr uint8_t kUsageMiddleButton = 0xF2;
inline constexpr uint8_t kUsageBackButton = 0xF3;    // fourth button (Backward)
inline constexpr uint8_t kUsageForwardButton = 0xF4; // fifth button (Forward)

struct KeyNameRow {
    const char* name; // ASCII, spelled as the key-name capture reports it
    uint8_t usage;
};

inline constexpr std::size_t kKeyNameRowCount = 107;
inline constexpr std::size_t kFireKeyCount = 59;

// The key name table in lookup order: rows 1..96 are the consecutive usages 0x04..0x63,
// then the eight modifiers, then the three mouse buttons.
extern const std::array<KeyNameRow, kKeyNameRowCount> kKeyNameTable;

// The fire key dialog's list: position p names the key and gives its usage.
extern const std::array<KeyNameRow, kFireKeyCount> kFireKeyTable;

// Usage of a key name: first row whose name is equal, case-sensitive; 0 if none.
uint8_t usageOfKeyName(std::string_view name);

// The name of a keyboard usage, the one source of every key name the program shows: the key
// name table's row for it, else the name a US English Windows layout gives a key the table
// has no row for ("F13", "Application"; such names give usage 0 back); empty for a usage
// without a name.
std::string_view keyNameOfUsage(uint8_t usage);

// Usage of a fire key list position; 0 above 58.
uint8_t usageOfFireKeyPosition(unsigned position);

// The 59 fire key names in list order.
const std::vector<std::string>& fireKeyList();

// The DPI Switch parameter list, the same in every language: "DPI +", "DPI -", "DPI Loop".
const std::vector<std::string>& dpiSubList();

// The stored parameter of a DPI sub-list row: 3, 4, 5 for rows 0, 1, 2; 0 for other rows.
uint8_t dpiSubListValue(int row);

// The DPI values offered for each stage on the main window (9 entries).
const std::vector<std::string>& dpiValueList();

// Names of the stored DPI levels of a sensor variant; empty for a variant above 3.
const std::vector<std::string>& dpiLabelRow(uint8_t sensorVariant);

// Name of one stored level; "" beyond the variant's row or for a variant above 3.
std::string dpiLevelName(uint8_t sensorVariant, unsigned level);

// The snipe dialog's DPI list for a sensor variant; empty for a variant above 3.
const std::vector<std::string>& snipeList(uint8_t sensorVariant);

} // namespace z417
