// The whole settings state as JSON, for export and import.
//
// {
//   "format": "z417-settings", "version": 1,
//   "firstRunFlag": 1,
//   "record": { one member per field of the settings record, in file order: a number 0..255
//               for a one-byte field, an array of numbers for an array field; the per-button
//               fields ("keyFunction" ... "dpiSwitchParam") are {"A": [8], "B": [8]} and
//               "dpiColor" is [[R, G, B] x 8] },
//   "labels": { "language": "CHS" | "CHT" | "EN", "A": [8 strings], "B": [8 strings] }
// }
// Every member must be present with its exact shape; unknown members are refused.
#pragma once

#include "SettingsStore.h"

#include <string>

namespace z417 {

std::string settingsToJson(const SettingsState& state);

// On failure returns false with one line naming the field; state is then unchanged.
bool settingsFromJson(const std::string& text, SettingsState& state, std::string& error);

} // namespace z417
