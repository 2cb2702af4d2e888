#include "ui/Skin.h"

#include "platform/AtomicFile.h"
#include "platform/qt/UiServices.h"
#include "profile/SettingsFiles.h"
#include "ui/Layout.h"
#include "ui/PngHeader.h"
#include "ui/SkinImage.h"

#include <QFile>

#include <algorithm>

#include <sys/stat.h>

namespace z417 {
namespace {

// No skin image comes near this; a larger file is not one.
constexpr size_t kMaxPngBytes = 32 * 1024 * 1024;

// Mean colour of the visible pixels, each counted by its opacity; invalid when none is.
QColor meanColour(const QImage& image) {
    const QImage pixels = image.convertToFormat(QImage::Format_ARGB32_Premultiplied);
    quint64 red = 0, green = 0, blue = 0, opacity = 0;
    for (int y = 0; y < pixels.height(); ++y) {
        const QRgb* line = reinterpret_cast<const QRgb*>(pixels.constScanLine(y));
        for (int x = 0; x < pixels.width(); ++x) {
            red += static_cast<quint64>(qRed(line[x]));
            green += static_cast<quint64>(qGreen(line[x]));
            blue += static_cast<quint64>(qBlue(line[x]));
            opacity += static_cast<quint64>(qAlpha(line[x]));
        }
    }
    if (opacity == 0)
        return QColor();
    auto mean = [opacity](quint64 sum) {
        return static_cast<int>(std::min<quint64>(255, (sum * 255 + opacity / 2) / opacity));
    };
    return QColor(mean(red), mean(green), mean(blue));
}

std::string ratioKey(const char* name, qreal ratio) {
    return std::string(name) + '|' + std::to_string(qRound(ratio * 1000));
}

bool isOne(qreal ratio) {
    return ratio <= 0 || qFuzzyCompare(ratio, 1.0);
}

} // namespace

Skin::Skin(QObject* parent) : QObject(parent) {}

Status Skin::load(const std::string& folder, const QColor& textColour, qreal ratio) {
    release();
    folder_ = folder;
    textColour_ = textColour;
    ratio_ = ratio;
    const std::optional<QSize> window = declaredSize(layout::images::mainBackground.name);
    windowSize_ =
        window ? *window : QSize(layout::main::artSize.width, layout::main::artSize.height);
    accentKey_ = 0;
    emit skinChanged();
    return Status();
}

QString Skin::name() const {
    std::string name = folder_;
    while (name.size() > 1 && name.back() == '/')
        name.pop_back();
    const size_t slash = name.rfind('/');
    return QFile::decodeName(
        QByteArray::fromStdString(slash == std::string::npos ? name : name.substr(slash + 1)));
}

QColor Skin::accent() const {
    const QImage lit = image(layout::images::reportRateLight.name);
    if (lit.isNull())
        return textColour_;
    if (accentKey_ != lit.cacheKey()) {
        accentKey_ = lit.cacheKey();
        accent_ = meanColour(lit);
    }
    return accent_.isValid() ? accent_ : textColour_;
}

std::optional<QSize> Skin::declaredSize(const char* name) const {
    return pngSize(pathOf(name));
}

std::optional<Skin::Stamp> Skin::stampOf(const std::string& path) {
    struct stat st {};
    if (::stat(path.c_str(), &st) != 0 || !S_ISREG(st.st_mode))
        return std::nullopt;
    return Stamp{static_cast<qint64>(st.st_size),
                 static_cast<qint64>(st.st_mtim.tv_sec) * 1000000000 + st.st_mtim.tv_nsec};
}

QImage Skin::decode(const std::string& path) const {
    std::string bytes;
    if (readFileContents(path, bytes, kMaxPngBytes) != 0)
        return QImage();
    const std::optional<QSize> declared = pngSizeOf(bytes.data(), bytes.size());
    if (!declared)
        return QImage();
    decodedPixels_ += qint64(declared->width()) * declared->height();
    return decodeSkinImage(QByteArray::fromStdString(bytes));
}

const QImage* Skin::cached(const std::string& key, const Stamp& plain, const Stamp& doubled) const {
    const auto it = images_.find(key);
    if (it == images_.end() || !(it->second.plain == plain) || !(it->second.doubled == doubled))
        return nullptr;
    return &it->second.image;
}

QImage Skin::keep(const std::string& key, const Stamp& plain, const Stamp& doubled,
                  QImage image) const {
    if (image.isNull()) {
        forget(key);
        return image;
    }
    images_[key] = Entry{plain, doubled, image};
    return image;
}

void Skin::forget(const std::string& key) const {
    images_.erase(key);
}

QImage Skin::image(const char* name) const {
    const std::string path = pathOf(name);
    const std::optional<Stamp> stamp = stampOf(path);
    if (!stamp) {
        forget(name);
        return QImage();
    }
    if (const QImage* image = cached(name, *stamp, Stamp{}))
        return *image;
    return keep(name, *stamp, Stamp{}, decode(path));
}

QImage Skin::image(const char* name, qreal ratio) const {
    if (isOne(ratio))
        return image(name);
    const std::string key = ratioKey(name, ratio);
    const std::optional<Stamp> plain = stampOf(pathOf(name));
    const std::optional<QSize> declared = plain ? declaredSize(name) : std::nullopt;
    if (!declared) {
        forget(key);
        return QImage();
    }
    const Stamp doubled = stampOf(doubleSizePath(pathOf(name))).value_or(Stamp{});
    if (const QImage* image = cached(key, *plain, doubled))
        return *image;
    return keep(key, *plain, doubled, scaledImage(name, *declared, ratio));
}

// The image at ratio from its @2x file or its plain one, never larger than the window needs:
// what lies beyond the window's size is cut off before scaling.
QImage Skin::scaledImage(const char* name, const QSize& declared, qreal ratio) const {
    const QSize needed = declared.boundedTo(windowSize_);
    const QSize target = deviceSize(needed, ratio);
    QImage source = ratio > 1 ? decode(doubleSizePath(pathOf(name))) : QImage();
    if (!source.isNull() && source.size() == deviceSize(declared, ratio) && needed == declared) {
        source.setDevicePixelRatio(ratio);
        return source;
    }
    if (source.isNull())
        source = decode(pathOf(name));
    if (source.isNull())
        return QImage();
    const qreal scale = qreal(source.width()) / declared.width();
    const QSize part = deviceSize(needed, scale).boundedTo(source.size());
    QImage image = source.copy(QRect(QPoint(0, 0), part))
                       .scaled(target, Qt::IgnoreAspectRatio, Qt::SmoothTransformation);
    image.setDevicePixelRatio(ratio);
    return image;
}

void Skin::release() {
    images_.clear();
}

bool DrawSkinImage(QImage* surface, const Skin& skin, const char* name, int x, int y) {
    if (!surface || surface->isNull())
        return false;
    const QImage image = skin.image(name, surface->devicePixelRatio());
    if (image.isNull())
        return false;
    composeImage(*surface, image, x, y);
    return true;
}

bool DrawSkinImage(QImage* surface, const Skin& skin, const char* name, int x, int y,
                   QWidget* owner, UiServices& services) {
    if (!surface || surface->isNull())
        return false;
    if (DrawSkinImage(surface, skin, name, x, y))
        return true;
    services.messageBox(owner, QStringLiteral("LoadPng---Load image failed."),
                        QString::fromUtf8(kAppTitle));
    return false;
}

} // namespace z417
