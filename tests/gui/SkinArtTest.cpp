// The generated skins carry every image also as name@2x.png, drawn at twice the size.
#include "ui/Layout.h"

#include <QImage>
#include <gtest/gtest.h>

namespace z417 {
namespace {

// Share of the 2x2 blocks whose four pixels differ: zero for a pixel-doubled 1x image.
double detailedBlockShare(const QImage& big) {
    int detailed = 0, blocks = 0;
    for (int y = 0; y + 1 < big.height(); y += 2) {
        for (int x = 0; x + 1 < big.width(); x += 2, ++blocks) {
            const QRgb p = big.pixel(x, y);
            detailed += p != big.pixel(x + 1, y) || p != big.pixel(x, y + 1) ||
                        p != big.pixel(x + 1, y + 1);
        }
    }
    return blocks ? double(detailed) / blocks : 0;
}

TEST(SkinArt, EveryImageIsAlsoDrawnAtTwiceItsSize) {
    for (const char* skin : {"/Default", "/Aurora"}) {
        for (const layout::SkinImage& image : layout::images::all) {
            const QString path = QStringLiteral(Z417_BIN_DIR "/Skins") + skin + image.name;
            const QImage small(path);
            const QImage big(path.chopped(4) + QStringLiteral("@2x.png"));
            ASSERT_FALSE(small.isNull() || big.isNull()) << path.toStdString();
            EXPECT_EQ(big.size(), small.size() * 2) << path.toStdString();
            EXPECT_GT(detailedBlockShare(big), 0.05) << path.toStdString() << " is pixel-doubled";
        }
    }
}

} // namespace
} // namespace z417
