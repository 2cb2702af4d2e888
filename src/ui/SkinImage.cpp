#include "ui/SkinImage.h"

#include "platform/qt/UiServices.h"
#include "profile/SettingsFiles.h"
#include "ui/PngHeader.h"

#include <QFileInfo>
#include <QHash>
#include <QImageReader>

#include <algorithm>

namespace z417 {
namespace {

struct CachedImage {
    qint64 size = -1;
    qint64 mtimeMs = 0;
    QImage image;
};

QHash<QString, CachedImage>& cache() {
    static QHash<QString, CachedImage> c;
    return c;
}

// An image taken at a ratio other than 1, and the decoded image it was made from.
struct ScaledImage {
    qint64 sourceKey = 0;
    QImage image;
};

QHash<QString, ScaledImage>& scaledCache() {
    static QHash<QString, ScaledImage> c;
    return c;
}

// The source scaled to the device size, tagged with the ratio; made once per source image.
QImage atRatio(const QString& path, const QImage& source, const QSize& size, qreal ratio) {
    const QString key = path + QLatin1Char('|') + QString::number(ratio);
    auto it = scaledCache().find(key);
    if (it != scaledCache().end() && it->sourceKey == source.cacheKey())
        return it->image;
    QImage image = source.scaled(size, Qt::IgnoreAspectRatio, Qt::SmoothTransformation);
    image.setDevicePixelRatio(ratio);
    scaledCache().insert(key, ScaledImage{source.cacheKey(), image});
    return image;
}

QImage decode(const QString& path) {
    QImageReader reader(path, "png");
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

} // namespace

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

QImage loadSkinImage(const QString& path) {
    const QFileInfo info(path);
    if (!info.isFile()) {
        cache().remove(path);
        return QImage();
    }
    const qint64 size = info.size();
    const qint64 mtime = info.lastModified().toMSecsSinceEpoch();
    auto it = cache().find(path);
    if (it != cache().end() && it->size == size && it->mtimeMs == mtime)
        return it->image;
    QImage image = decode(path);
    if (image.isNull()) {
        cache().remove(path);
        return image;
    }
    // Tagged once here, while nothing shares it, so that drawing never copies it.
    if (path.endsWith(QStringLiteral("@2x.png"), Qt::CaseInsensitive))
        image.setDevicePixelRatio(2);
    cache().insert(path, CachedImage{size, mtime, image});
    return image;
}

QImage loadSkinImage(const QString& path, qreal ratio) {
    const QImage plain = loadSkinImage(path);
    if (plain.isNull() || qFuzzyCompare(ratio, 1.0) || ratio <= 0)
        return plain;
    const QImage doubled = ratio > 1 ? loadSkinImage(doubleSizePath(path)) : QImage();
    const QSize size = deviceSize(plain.size(), ratio);
    if (!doubled.isNull() && doubled.size() == size && doubled.devicePixelRatio() == ratio)
        return doubled;
    return atRatio(path, doubled.isNull() ? plain : doubled, size, ratio);
}

QSize deviceSize(const QSize& size, qreal ratio) {
    return QSize(std::max(1, qRound(size.width() * ratio)),
                 std::max(1, qRound(size.height() * ratio)));
}

QString doubleSizePath(const QString& path) {
    const QString suffix = QStringLiteral(".png");
    if (!path.endsWith(suffix, Qt::CaseInsensitive))
        return path + QStringLiteral("@2x");
    return path.chopped(suffix.size()) + QStringLiteral("@2x") + path.right(suffix.size());
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

bool DrawSkinImage(QImage* surface, const QString& path, int x, int y) {
    if (!surface || surface->isNull())
        return false;
    const QImage image = loadSkinImage(path, surface->devicePixelRatio());
    if (image.isNull())
        return false;
    composeImage(*surface, image, x, y);
    return true;
}

bool DrawSkinImage(QImage* surface, const QString& path, int x, int y, QWidget* owner,
                   UiServices& services) {
    if (!surface || surface->isNull())
        return false;
    const QImage image = loadSkinImage(path, surface->devicePixelRatio());
    if (image.isNull()) {
        services.messageBox(owner, QStringLiteral("LoadPng---Load image failed."),
                            QString::fromUtf8(kAppTitle));
        return false;
    }
    composeImage(*surface, image, x, y);
    return true;
}

void clearSkinImageCache() {
    cache().clear();
    scaledCache().clear();
}

} // namespace z417
