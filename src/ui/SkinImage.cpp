#include "ui/SkinImage.h"

#include "ui/PngHeader.h"

#include <QBuffer>
#include <QImageReader>

#include <algorithm>

namespace z417 {

QImage decodeSkinImage(const QByteArray& png) {
    QBuffer buffer;
    buffer.setData(png);
    buffer.open(QIODevice::ReadOnly);
    QImageReader reader(&buffer, "png");
    reader.setAutoTransform(false);
    const QSize declared = reader.size();
    if (!declared.isValid() ||
        static_cast<qint64>(declared.width()) * declared.height() > kMaxSkinPixels)
        return QImage();
    QImage raw = reader.read();
    if (raw.isNull())
        return QImage();
    if (!raw.hasAlphaChannel())
        return raw.convertToFormat(QImage::Format_RGB32);
    QImage argb = raw.convertToFormat(QImage::Format_ARGB32);
    premultiplyTruncating(argb);
    // The bytes are premultiplied now; relabel them without converting again.
    return QImage(argb.constBits(), argb.width(), argb.height(), argb.bytesPerLine(),
                  QImage::Format_ARGB32_Premultiplied)
        .copy();
}

void premultiplyTruncating(QImage& img) {
    for (int y = 0; y < img.height(); ++y) {
        QRgb* line = reinterpret_cast<QRgb*>(img.scanLine(y));
        for (int x = 0; x < img.width(); ++x) {
            const QRgb p = line[x];
            const unsigned a = qAlpha(p);
            line[x] =
                qRgba(static_cast<int>(qRed(p) * a / 255), static_cast<int>(qGreen(p) * a / 255),
                      static_cast<int>(qBlue(p) * a / 255), static_cast<int>(a));
        }
    }
}

QSize deviceSize(const QSize& size, qreal ratio) {
    return QSize(std::max(1, qRound(size.width() * ratio)),
                 std::max(1, qRound(size.height() * ratio)));
}

std::string doubleSizePath(const std::string& path) {
    if (!QByteArray::fromStdString(path).toLower().endsWith(".png"))
        return path + "@2x";
    return path.substr(0, path.size() - 4) + "@2x" + path.substr(path.size() - 4);
}

void composeImage(QImage& surface, const QImage& image, int x, int y) {
    const qreal ratio = surface.devicePixelRatio();
    const int x0 = qRound(x * ratio), y0 = qRound(y * ratio);
    if (surface.format() != QImage::Format_ARGB32_Premultiplied &&
        surface.format() != QImage::Format_RGB32 && surface.format() != QImage::Format_ARGB32)
        surface = surface.convertToFormat(QImage::Format_ARGB32_Premultiplied);
    const bool blend = image.format() == QImage::Format_ARGB32_Premultiplied;
    const int xStart = std::max(0, -x0), yStart = std::max(0, -y0);
    const int xEnd = std::min(image.width(), surface.width() - x0);
    const int yEnd = std::min(image.height(), surface.height() - y0);
    for (int y = yStart; y < yEnd; ++y) {
        const QRgb* src = reinterpret_cast<const QRgb*>(image.constScanLine(y));
        QRgb* dst = reinterpret_cast<QRgb*>(surface.scanLine(y + y0)) + x0;
        for (int x = xStart; x < xEnd; ++x) {
            const QRgb s = src[x];
            if (!blend) {
                dst[x] = s | 0xFF000000u;
                continue;
            }
            const unsigned sa = qAlpha(s);
            if (sa == 255) {
                dst[x] = s;
            } else if (sa != 0) {
                const QRgb d = dst[x];
                const unsigned inv = 255 - sa;
                auto mix = [inv](unsigned sc, unsigned dc) { return sc + (dc * inv + 127) / 255; };
                dst[x] = qRgba(static_cast<int>(mix(qRed(s), qRed(d))),
                               static_cast<int>(mix(qGreen(s), qGreen(d))),
                               static_cast<int>(mix(qBlue(s), qBlue(d))),
                               static_cast<int>(mix(sa, qAlpha(d))));
            }
        }
    }
}

} // namespace z417
