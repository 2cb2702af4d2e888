// The generated skins carry every image also as name@2x.png, drawn at twice the size.
#include "ui/Layout.h"

#include <QImage>
#include <QString>
#include <gtest/gtest.h>

#include <cstdlib>

namespace z417 {
namespace {

QString doubleName(const QString& name) {
    const int dot = name.lastIndexOf(QLatin1Char('.'));
    return name.left(dot) + QStringLiteral("@2x") + name.mid(dot);
}

// Share of the 2x2 blocks of a @2x image whose four pixels are not all the same: zero for a
// pixel-doubled copy of the 1x image.
double detailedBlockShare(const QImage& big) {
    int detailed = 0, blocks = 0;
    for (int y = 0; y + 1 < big.height(); y += 2) {
        for (int x = 0; x + 1 < big.width(); x += 2) {
            const QRgb p = big.pixel(x, y);
            detailed += p != big.pixel(x + 1, y) || p != big.pixel(x, y + 1) ||
                        p != big.pixel(x + 1, y + 1);
            ++blocks;
        }
    }
    return blocks ? double(detailed) / blocks : 0;
}

// Mean difference per channel between the 1x image and the @2x image averaged over its 2x2
// blocks: small when both show the same picture.
double meanDifference(const QImage& small, const QImage& big) {
    long long sum = 0;
    for (int y = 0; y < small.height(); ++y) {
        for (int x = 0; x < small.width(); ++x) {
            const QRgb quad[] = {big.pixel(2 * x, 2 * y), big.pixel(2 * x + 1, 2 * y),
                                 big.pixel(2 * x, 2 * y + 1), big.pixel(2 * x + 1, 2 * y + 1)};
            const QRgb s = small.pixel(x, y);
            int (*const channels[])(QRgb) = {qRed, qGreen, qBlue, qAlpha};
            for (auto channel : channels) {
                int average = 0;
                for (QRgb q : quad)
                    average += channel(q);
                sum += std::abs(average / 4 - channel(s));
            }
        }
    }
    return double(sum) / (4.0 * small.width() * small.height());
}

TEST(SkinArt, EveryImageIsAlsoDrawnAtTwiceItsSize) {
    for (const char* skin : {"Default", "Aurora"}) {
        const QString folder = QStringLiteral(Z417_BIN_DIR "/Skins/") + QLatin1String(skin);
        for (const layout::SkinImage& image : layout::images::all) {
            const QString name = QString::fromUtf8(image.name);
            const QImage small(folder + name);
            const QImage big(folder + doubleName(name));
            const std::string where = std::string(skin) + image.name;
            ASSERT_FALSE(small.isNull()) << where;
            ASSERT_FALSE(big.isNull()) << where << " has no @2x image";
            ASSERT_EQ(big.size(), small.size() * 2) << where;
            EXPECT_EQ(big.hasAlphaChannel(), small.hasAlphaChannel()) << where;
            EXPECT_GT(detailedBlockShare(big), 0.05) << where << " looks pixel-doubled";
            EXPECT_LT(meanDifference(small, big), 6.0) << where << " shows another picture";
        }
    }
}

} // namespace
} // namespace z417
