#include "assign/FontTable.h"

#include <gtest/gtest.h>

namespace z417 {
namespace {

TEST(FontTable, FacesHeightsAndWeightsByLanguageAndVersion) {
    const struct {
        const char* code;
        int major;
        int minor;
        FontEntry normal;
        FontEntry title;
    } cases[] = {
        {"CHS", 6, 2, {"黑体", 13, 400}, {"黑体", 18, 700}},
        {"CHS", 6, 1, {"宋体", 13, 400}, {"宋体", 18, 700}},
        {"CHS", 6, 3, {"宋体", 13, 400}, {"宋体", 18, 700}},
        {"CHS", 5, 2, {"宋体", 13, 400}, {"宋体", 18, 700}},
        {"CHS", 10, 0, {"宋体", 13, 400}, {"宋体", 18, 700}},
        {"CHS", 0, 0, {"宋体", 13, 400}, {"宋体", 18, 700}},
        {"CHT", 6, 1, {"黑体", 14, 400}, {"黑体", 18, 700}},
        {"CHT", 6, 2, {"黑体", 14, 400}, {"黑体", 18, 700}},
        {"", 6, 2, {"Arial", 14, 400}, {"Tahoma", 18, 700}},
        {"chs", 6, 2, {"Arial", 14, 400}, {"Tahoma", 18, 700}},
        {"cht", 6, 1, {"Arial", 14, 400}, {"Tahoma", 18, 700}},
        {"EN", 0, 0, {"Arial", 14, 400}, {"Tahoma", 18, 700}},
    };
    for (const auto& c : cases) {
        const FontPair fonts = fontsFor(c.code, c.major, c.minor);
        const std::string where =
            std::string(c.code) + " " + std::to_string(c.major) + "." + std::to_string(c.minor);
        EXPECT_EQ(fonts.normal.face, c.normal.face) << where;
        EXPECT_EQ(fonts.normal.height, c.normal.height) << where;
        EXPECT_EQ(fonts.normal.weight, c.normal.weight) << where;
        EXPECT_EQ(fonts.title.face, c.title.face) << where;
        EXPECT_EQ(fonts.title.height, c.title.height) << where;
        EXPECT_EQ(fonts.title.weight, c.title.weight) << where;
    }
}

} // namespace
} // namespace z417
