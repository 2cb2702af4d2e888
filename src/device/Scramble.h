// The byte scrambling the mouse applies to its feature reports. The unit is seven bytes read
// as one 56-bit big-endian number (byte 0 most significant).
#pragma once

#include <cstdint>

namespace z417 {

extern const uint8_t kReportKey[7]; // 3C 5A 71 0E 93 28 B6

// Rotate left by 2, XOR with the report key, rotate right by 3.
void scrambleOut(uint8_t* unit7);
// The exact inverse: rotate left by 3, XOR with the report key, rotate right by 2.
void scrambleIn(uint8_t* unit7);

// Command report (8 bytes): one unit, bytes 1..7; the report ID stays plain.
void scrambleCommandReport(uint8_t* report8, bool out);
// Data report (65 bytes): eight units, report bytes 8g+2 .. 8g+8 for g = 0..7; report byte
// 8g+1 (chunk byte 8g) stays plain, and so does byte 0.
void scrambleDataReport(uint8_t* report65, bool out);

} // namespace z417
