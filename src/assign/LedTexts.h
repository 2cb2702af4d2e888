// Texts of the lighting values that are the same in every language. The mode and effect
// names are localised and live in the text table.
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

// The four lighting modes follow TextId::ModeOff and the four effect names
// TextId::EffectNonDisplay in the text table.
constexpr int kLightModeCount = 4;
constexpr int kEffectCount = 4;

} // namespace z417
