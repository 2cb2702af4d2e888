// Texts of the lighting values that are the same in every language. The mode and effect
// names are localised and live in the text table (slots 24..27 and 28..31).
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace z417 {

const std::vector<std::string>& brightnessTexts();  // "5%" .. "100%", by lightBrightness
const std::vector<std::string>& breathSpeedTexts(); // "8S" .. "4S", by breathSpeed
const std::vector<std::string>& neonSpeedTexts();   // "0.5S" .. "15S", by neonSpeed

// Entry of a list, or the empty string beyond its end.
std::string textAt(const std::vector<std::string>& list, unsigned index);

// Text slots of the four lighting modes and the four effect names.
constexpr int kLightModeSlot0 = 24;
constexpr int kLightModeCount = 4;
constexpr int kEffectSlot0 = 28;
constexpr int kEffectCount = 4;

} // namespace z417
