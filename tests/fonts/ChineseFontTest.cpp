// Chinese fonts with one CJK font package: FONTCONFIG_FILE selects the package and
// Z417_CJK_FAMILY names the family its ideographs must come from (see CMakeLists.txt).
#include "assign/FontTable.h"
#include "assign/Texts.h"
#include "ui/Layout.h"
#include "ui/TextDraw.h"

#include <QFontMetrics>
#include <QGlyphRun>
#include <QGuiApplication>
#include <QRawFont>
#include <QTextLayout>
#include <gtest/gtest.h>

#include <cstdlib>

namespace z417 {
namespace {

namespace L = layout::main;

// The family a text's first glyph is really drawn from, after Qt's font fallback.
QString drawnFamily(const QFont& font, const char* text) {
    QTextLayout layout(QString::fromUtf8(text), font);
    layout.beginLayout();
    layout.createLine();
    layout.endLayout();
    const auto runs = layout.glyphRuns();
    return runs.isEmpty() ? QString() : runs.first().rawFont().familyName();
}

TEST(ChineseFonts, IdeographsReachTheHeightLatinStaysSansSerif) {
    const char* cjkFamily = std::getenv("Z417_CJK_FAMILY");
    ASSERT_TRUE(cjkFamily) << "run through ctest: it selects the font package";
    const QStringList sansLatin{QStringLiteral("Liberation Sans"), QStringLiteral("DejaVu Sans")};
    for (const FontEntry& entry : {FontEntry{"黑体", 13, 400}, FontEntry{"宋体", 13, 400},
                                   FontEntry{"黑体", 14, 400}, FontEntry{"黑体", 18, 700}}) {
        const QFont font = makeFont(entry);
        const std::string where = entry.face + " " + std::to_string(entry.height);
        for (const char* ideograph : {"键", "鍵", "设"}) {
            const int ink = QFontMetrics(font).tightBoundingRect(ideograph).height();
            EXPECT_TRUE(ink == entry.height || ink == entry.height - 1) << where << ink;
        }
        EXPECT_EQ(drawnFamily(font, "键"), QString::fromUtf8(cjkFamily)) << where;
        for (const char* latin : {"1000", "DPI"})
            EXPECT_TRUE(sansLatin.contains(drawnFamily(font, latin))) << where << latin;
    }
}

// The larger Chinese texts still fit the page's rectangles, in width and in ink height.
TEST(ChineseFonts, PageTextsFitTheirRectangles) {
    for (const char* code : {"CHS", "CHT"}) {
        const TextTable texts(languageFromCode(code));
        const FontPair fonts = fontsFor(code, 0, 0);
        const QFont normal = makeFont(fonts.normal), title = makeFont(fonts.title);
        const struct {
            layout::Rect rect;
            std::string text;
            const QFont& font;
        } placed[] = {
            {L::pageTitle.rect, texts.caption(Caption::PageTitle), title},
            {L::keySettingCaption.rect, texts.caption(Caption::KeyHeading), normal},
            {L::reportRateCaption.rect, texts.caption(Caption::ReportRateHeading), normal},
            {L::dpiEffectCaption.rect, texts.slot(TextId::DpiEffect), normal},
            {L::defaultButton, texts.caption(Caption::DefaultButton), normal},
            {L::ledModeLabel.rect, texts.slot(TextId::LightingMode), normal},
            {L::ledParameterLabel.rect, texts.slot(TextId::LightingParameter), normal},
        };
        for (const auto& p : placed) {
            const QFontMetrics metrics(p.font);
            const QString text = QString::fromStdString(p.text);
            EXPECT_LE(metrics.horizontalAdvance(text), p.rect.width()) << p.text;
            EXPECT_LE(metrics.tightBoundingRect(text).height(), p.rect.height()) << p.text;
        }
    }
}

} // namespace
} // namespace z417

int main(int argc, char** argv) {
    QGuiApplication app(argc, argv);
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
