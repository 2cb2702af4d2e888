#include "assign/Balloons.h"

#include <gtest/gtest.h>

namespace z417 {
namespace {

// Every balloon the program shows stays for the desktop's usual time, the "detected" and
// "not detected" ones included: they are the only sign of a missing mouse.
TEST(Balloons, EveryShownBalloonStaysAtLeastFiveSeconds) {
    const struct {
        int type;
        int kind;
        const char* title;
    } shown[] = {
        {5, 1, "Info"}, {5, 8, "Info"}, {7, 1, "Info"},  {7, 8, "Info"},
        {8, 2, "Info"}, {9, 3, "Info"}, {14, 0, "Info"}, {15, 0, "Warning"},
    };
    SettingsRecord record{};
    for (const Language language : {Language::English, Language::SimplifiedChinese}) {
        const TextTable texts(language);
        for (const auto& s : shown) {
            const BalloonText b = balloonFor(s.type, s.kind, texts, record, 0);
            const std::string where = std::to_string(s.type) + "/" + std::to_string(s.kind);
            EXPECT_TRUE(b.shown) << where;
            EXPECT_EQ(b.title, s.title) << where;
            EXPECT_FALSE(b.text.empty()) << where;
            EXPECT_GE(b.timeoutMs, 5000) << where;
        }
    }
}

} // namespace
} // namespace z417
