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

// The family the text's first glyph is really drawn from, after Qt's font fallback.
QString drawnFamily(const QFont& font, const QString& text) {
    QTextLayout layout(text, font);
    layout.beginLayout();
    layout.createLine();
    layout.endLayout();
    const auto runs = layout.glyphRuns();
    return runs.isEmpty() ? QString() : runs.first().rawFont().familyName();
}

QString cjkFamily() {
    const char* family = std::getenv("Z417_CJK_FAMILY");
    return QString::fromUtf8(family ? family : "");
}

// Every Chinese row of the font table.
const FontSpec kChineseSpecs[] = {
    {"黑体", 13, 400}, {"宋体", 13, 400}, {"黑体", 14, 400}, {"黑体", 18, 700}, {"宋体", 18, 700},
};

TEST(ChineseFonts, IdeographsReachTheTableHeightFromTheCjkPackage) {
    ASSERT_FALSE(cjkFamily().isEmpty()) << "run through ctest: it selects the font package";
    for (const FontSpec& spec : kChineseSpecs) {
        const QFont font = makeFont(spec);
        const QFontMetrics metrics(font);
        const std::string where = spec.face + " " + std::to_string(spec.height);
        for (const char* ideograph : {"键", "鍵", "设"}) {
            const int ink = metrics.tightBoundingRect(QString::fromUtf8(ideograph)).height();
            EXPECT_GE(ink, spec.height - 1) << where << " " << ideograph;
            EXPECT_LE(ink, spec.height) << where << " " << ideograph;
        }
        EXPECT_EQ(drawnFamily(font, QStringLiteral("键")), cjkFamily()) << where;
    }
}

TEST(ChineseFonts, DigitsAndLatinLettersComeFromASansSerifLatinFace) {
    const QStringList sansLatin{QStringLiteral("Liberation Sans"), QStringLiteral("DejaVu Sans")};
    for (const FontSpec& spec : kChineseSpecs) {
        const QFont font = makeFont(spec);
        for (const char* text : {"1000", "DPI", "www"}) {
            const QString family = drawnFamily(font, QString::fromUtf8(text));
            EXPECT_TRUE(sansLatin.contains(family))
                << spec.face << " " << text << " drawn from " << family.toStdString();
        }
    }
}

// The larger Chinese text still fits the rectangles the page draws it in: as wide and as high
// as its ink.
TEST(ChineseFonts, PageTextsFitTheirRectangles) {
    for (const Language language : {Language::SimplifiedChinese, Language::TraditionalChinese}) {
        const TextTable texts(language);
        const FontPair fonts =
            fontsFor(language == Language::SimplifiedChinese ? "CHS" : "CHT", 0, 0);
        const QFont normal = makeFont(fonts.normal);
        const struct {
            layout::Rect rect;
            std::string text;
            bool title;
        } placed[] = {
            {L::pageTitle.rect, texts.caption(Caption::PageTitle), true},
            {L::keySettingCaption.rect, texts.caption(Caption::KeyHeading), false},
            {L::reportRateCaption.rect, texts.caption(Caption::ReportRateHeading), false},
            {L::dpiSettingCaption.rect, texts.caption(Caption::DpiHeading), false},
            {L::dpiEffectCaption.rect, texts.slot(text_slot::kDpiEffect), false},
            {L::okButton, texts.caption(Caption::OkButton), false},
            {L::applyButton, texts.caption(Caption::ApplyButton), false},
            {L::cancelButton, texts.caption(Caption::CancelButton), false},
            {L::defaultButton, texts.caption(Caption::DefaultButton), false},
            {L::ledModeLabel.rect, texts.slot(text_slot::kLightingMode), false},
            {L::ledParameterLabel.rect, texts.slot(text_slot::kLightingParameter), false},
            {L::ledEffectLabel.rect, texts.slot(text_slot::kLightingEffect), false},
        };
        for (const auto& p : placed) {
            const QFontMetrics metrics(p.title ? makeFont(fonts.title) : normal);
            const QString text = QString::fromStdString(p.text);
            const QRect ink = metrics.tightBoundingRect(text);
            EXPECT_LE(metrics.horizontalAdvance(text), p.rect.width()) << p.text;
            EXPECT_LE(ink.height(), p.rect.height()) << p.text;
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
