// The whole settings state as JSON, for export and import.
//
// {
//   "format": "z417-settings", "version": 1,
//   "firstRunFlag": 1,
//   "record": { one member per field of the settings record, in file order: a number 0..255
//               for a one-byte field, an array of numbers for an array field; the per-button
//               fields ("keyFunction" ... "dpiSwitchParam") are {"A": [8], "B": [8]} and
//               "dpiColor" is [[R, G, B] x 8] },
//   "labels": { "language": "CHS" | "CHT" | "EN", "A": [8 strings], "B": [8 strings],
//               "raw": {"A3": "e9e8", ...} only for labels that are not UTF-8: their bytes in
//               hex, which an import writes instead of the string }
// }
// Every member must be present with its exact shape (but "raw"); unknown members are refused.
// Labels longer than a read of "str.ini" gives back (1023 characters) are refused; imported
// labels go to the section of the files' own language.
#pragma once

#include "SettingsStore.h"
#include "platform/Status.h"

#include <string>

namespace z417 {

std::string settingsToJson(const SettingsState& state);

// A refusal is one line naming the field (the message's text; it has no caption); state is
// then unchanged.
Status settingsFromJson(const std::string& text, SettingsState& state);

} // namespace z417
