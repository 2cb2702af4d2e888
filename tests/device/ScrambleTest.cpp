#include "device/Scramble.h"

#include <gtest/gtest.h>

#include <array>
#include <cstring>
#include <random>

namespace z417 {
namespace {

using Unit = std::array<uint8_t, 7>;

TEST(Scramble, RoundTripOverRandomUnits) {
    std::mt19937 rng(0x2417);
    std::uniform_int_distribution<int> byte(0, 255);
    for (int n = 0; n < 200000; ++n) {
        Unit x;
        for (auto& b : x)
            b = static_cast<uint8_t>(byte(rng));
        Unit y = x;
        scrambleOut(y.data());
        scrambleIn(y.data());
        ASSERT_EQ(y, x) << "in(out(x)) at sample " << n;
        y = x;
        scrambleIn(y.data());
        scrambleOut(y.data());
        ASSERT_EQ(y, x) << "out(in(x)) at sample " << n;
    }
}

// Known scrambled units, worked out bit by bit:
//  00 00 00 00 00 00 00: rotl 2 -> 00..00; xor key -> 3C 5A 71 0E 93 28 B6;
//                        rotr 3 (low bits 110 of B6 on top of 3C>>3 = 00111) -> C7 8B 4E 21 D2 65
//                        16
//  FF FF FF FF FF FF FF: rotl 2 -> FF..FF; xor key -> C3 A5 8E F1 6C D7 49;
//                        rotr 3 (low bits 001 of 49 on top of C3>>3 = 11000) -> 38 74 B1 DE 2D 9A
//                        E9
//  01 02 03 04 05 06 07: rotl 2 -> 04 08 0C 10 14 18 1C; xor key -> 38 52 7D 1E 87 30 AA;
//                        rotr 3 (low bits 010 of AA on top of 38>>3 = 00111) -> 47 0A 4F A3 D0 E6
//                        15
TEST(Scramble, KnownUnits) {
    struct Case {
        Unit plain;
        Unit scrambled;
    } cases[] = {
        {{0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00}, {0xC7, 0x8B, 0x4E, 0x21, 0xD2, 0x65, 0x16}},
        {{0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF}, {0x38, 0x74, 0xB1, 0xDE, 0x2D, 0x9A, 0xE9}},
        {{0x01, 0x02, 0x03, 0x04, 0x05, 0x06, 0x07}, {0x47, 0x0A, 0x4F, 0xA3, 0xD0, 0xE6, 0x15}},
    };
    for (const Case& c : cases) {
        Unit u = c.plain;
        scrambleOut(u.data());
        EXPECT_EQ(u, c.scrambled);
        scrambleIn(u.data());
        EXPECT_EQ(u, c.plain);
    }
}

TEST(Scramble, CommandReportKeepsReportIdPlain) {
    uint8_t report[8] = {0x01, 0, 0, 0, 0, 0, 0, 0};
    scrambleCommandReport(report, true);
    // |id 01 plain| scrambled zero unit C7 8B 4E 21 D2 65 16|
    const uint8_t expected[8] = {0x01, 0xC7, 0x8B, 0x4E, 0x21, 0xD2, 0x65, 0x16};
    EXPECT_EQ(0, std::memcmp(report, expected, 8));
    scrambleCommandReport(report, false);
    const uint8_t plain[8] = {0x01, 0, 0, 0, 0, 0, 0, 0};
    EXPECT_EQ(0, std::memcmp(report, plain, 8));
}

// A data report of zeros: byte 0 and report bytes 8g+1 stay 00, every unit at 8g+2..8g+8
// becomes the scrambled zero unit.
TEST(Scramble, DataReportUnitsAndPlainBytes) {
    uint8_t report[65] = {};
    scrambleDataReport(report, true);
    const Unit zeroUnit = {0xC7, 0x8B, 0x4E, 0x21, 0xD2, 0x65, 0x16};
    EXPECT_EQ(report[0], 0);
    for (int g = 0; g < 8; ++g) {
        EXPECT_EQ(report[8 * g + 1], 0) << "group " << g;
        EXPECT_EQ(0, std::memcmp(report + 8 * g + 2, zeroUnit.data(), 7)) << "group " << g;
    }

    // Every byte of a random report survives the round trip; the plain bytes never change.
    std::mt19937 rng(7);
    uint8_t original[65];
    for (auto& b : original)
        b = static_cast<uint8_t>(rng());
    uint8_t r[65];
    std::memcpy(r, original, 65);
    scrambleDataReport(r, true);
    for (int g = 0; g < 8; ++g)
        EXPECT_EQ(r[8 * g + 1], original[8 * g + 1]);
    EXPECT_EQ(r[0], original[0]);
    EXPECT_NE(0, std::memcmp(r, original, 65));
    scrambleDataReport(r, false);
    EXPECT_EQ(0, std::memcmp(r, original, 65));
}

} // namespace
} // namespace z417
