// The settings record as a person reads it, as text or JSON.
#pragma once

#include "assign/Texts.h"
#include "profile/SettingsRecord.h"

#include <string>

namespace z417 {

std::string settingsAsText(const SettingsRecord& record, uint8_t variant, const TextTable& texts);
std::string settingsAsJson(const SettingsRecord& record, uint8_t variant, const TextTable& texts);

} // namespace z417
