// The settings record as a person reads it, as text or JSON.
#pragma once

#include "assign/Texts.h"
#include "profile/SettingsRecord.h"

#include <string>

namespace z417 {

// 1000, 500, 250 or 125 for the record's report-rate codes 1, 2, 4, 8; 0 for any other code.
int reportRateHz(uint8_t code);
// "#RRGGBB".
std::string colourText(const uint8_t rgb[3]);

std::string settingsAsText(const SettingsRecord& record, uint8_t variant, const TextTable& texts);
std::string settingsAsJson(const SettingsRecord& record, uint8_t variant, const TextTable& texts);

} // namespace z417
