#include "device/Scramble.h"

namespace z417 {

const uint8_t kReportKey[7] = {0x3C, 0x5A, 0x71, 0x0E, 0x93, 0x28, 0xB6};

namespace {

constexpr int kUnitBits = 56;
constexpr uint64_t kUnitMask = (uint64_t{1} << kUnitBits) - 1;

uint64_t load56(const uint8_t* unit) {
    uint64_t v = 0;
    for (int i = 0; i < 7; ++i)
        v = (v << 8) | unit[i];
    return v;
}

void store56(uint64_t v, uint8_t* unit) {
    for (int i = 6; i >= 0; --i) {
        unit[i] = static_cast<uint8_t>(v & 0xFF);
        v >>= 8;
    }
}

uint64_t rotl56(uint64_t v, int n) {
    return ((v << n) | (v >> (kUnitBits - n))) & kUnitMask;
}
uint64_t rotr56(uint64_t v, int n) {
    return ((v >> n) | (v << (kUnitBits - n))) & kUnitMask;
}

} // namespace

void scrambleOut(uint8_t* unit7) {
    uint64_t v = rotl56(load56(unit7), 2);
    v ^= load56(kReportKey);
    store56(rotr56(v, 3), unit7);
}

void scrambleIn(uint8_t* unit7) {
    uint64_t v = rotl56(load56(unit7), 3);
    v ^= load56(kReportKey);
    store56(rotr56(v, 2), unit7);
}

void scrambleCommandReport(uint8_t* report8, bool out) {
    if (out)
        scrambleOut(report8 + 1);
    else
        scrambleIn(report8 + 1);
}

void scrambleDataReport(uint8_t* report65, bool out) {
    for (int g = 0; g < 8; ++g) {
        uint8_t* unit = report65 + 8 * g + 2;
        if (out)
            scrambleOut(unit);
        else
            scrambleIn(unit);
    }
}

} // namespace z417
