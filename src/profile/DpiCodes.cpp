#include "profile/DpiCodes.h"

#include <array>

namespace z417 {
namespace {

// Variant 0 fills 9 of its 16 positions; the rest hold code 0.
constexpr std::array<uint8_t, 16> kVariant0 = {0x02, 0x03, 0x04, 0x06, 0x07, 0x08, 0x25, 0x26,
                                               0x27, 0,    0,    0,    0,    0,    0,    0};
constexpr std::array<uint8_t, 8> kVariant1 = {0x01, 0x02, 0x03, 0x04, 0x05, 0x23, 0x24, 0x25};
constexpr std::array<uint8_t, 8> kVariant2 = {0x02, 0x04, 0x06, 0x08, 0x0A, 0x26, 0x28, 0x2A};
constexpr std::array<uint8_t, 8> kVariant3 = {0x01, 0x02, 0x03, 0x04, 0x05, 0x06, 0x07, 0x08};

uint8_t rawCode(uint8_t variant, uint8_t level) {
    switch (variant) {
    case 0:
        return level < kVariant0.size() ? kVariant0[level] : 0;
    case 1:
        return level < kVariant1.size() ? kVariant1[level] : 0;
    case 2:
        return level < kVariant2.size() ? kVariant2[level] : 0;
    case 3:
        return level < kVariant3.size() ? kVariant3[level] : 0;
    default:
        return 0;
    }
}

} // namespace

int dpiCodeCount(uint8_t variant) {
    if (variant == 0)
        return 9;
    return variant <= 3 ? 8 : 0;
}

uint8_t dpiCode(uint8_t variant, uint8_t level, bool enabled) {
    const uint8_t code = rawCode(variant, level);
    return enabled ? static_cast<uint8_t>(code & 0x7F) : static_cast<uint8_t>(code | 0x80);
}

} // namespace z417
