#include "assign/Balloons.h"

#include <gtest/gtest.h>

namespace z417 {
namespace {

// Every balloon stays for the desktop's usual time, "detected" and "not detected" included:
// they are the only sign of a missing mouse.
TEST(Balloons, EveryShownBalloonStaysAtLeastFiveSeconds) {
    const int shown[][2] = {{5, 1}, {5, 8}, {7, 1}, {8, 2}, {9, 3}, {14, 0}, {15, 0}};
    const TextTable texts(Language::SimplifiedChinese);
    for (const auto& [type, kind] : shown) {
        const BalloonText b = balloonFor(type, kind, texts, SettingsRecord{}, 0);
        EXPECT_TRUE(b.shown && !b.text.empty()) << type << "/" << kind;
        EXPECT_GE(b.timeoutMs, 5000) << type << "/" << kind;
    }
    EXPECT_EQ(balloonFor(15, 0, texts, SettingsRecord{}, 0).title, "Warning");
}

} // namespace
} // namespace z417
