// DPI code tables of the four sensor variants and their lookup.
#pragma once

#include <cstdint>

namespace z417 {

// Number of levels the variant has a DPI code for: 9 for variant 0, 8 for 1..3, 0 otherwise.
int dpiCodeCount(uint8_t variant);

// The DPI code of a level for a variant, bit 7 cleared when the stage is enabled and set when
// it is off. Variants other than 0..3 and levels beyond the variant's table give code 0.
uint8_t dpiCode(uint8_t variant, uint8_t level, bool enabled);

} // namespace z417
