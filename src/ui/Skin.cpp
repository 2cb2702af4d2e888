#include "ui/Skin.h"

#include "platform/AppTitle.h"
#include "platform/AtomicFile.h"
#include "platform/qt/UiServices.h"
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

// Decoded pixels of a skin at ratio 1: about eleven times what our own skins hold (2.2 million),
// and more than one image of the largest size a skin image may have.
constexpr qint64 kPixelBudget = 24LL * 1024 * 1024;

qint64 area(const QSize& size) {
    return qint64(size.width()) * size.height();
}

// The last part of a folder's path.
std::string folderName(std::string folder) {
    while (folder.size() > 1 && folder.back() == '/')
        folder.pop_back();
    const size_t slash = folder.rfind('/');
    return slash == std::string::npos ? folder : folder.substr(slash + 1);
}

QSize windowSizeOf(const std::string& folder) {
    const std::optional<QSize> window = pngSize(folder + layout::images::mainBackground.name);
    return window ? *window : QSize(layout::main::artSize.width, layout::main::artSize.height);
}

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

qint64 Skin::pixelBudget(qreal ratio) {
    return isOne(ratio) || ratio < 1 ? kPixelBudget : qint64(kPixelBudget * ratio * ratio);
}

qint64 Skin::declaredPixels(const std::string& folder, qreal ratio) {
    const QSize window = windowSizeOf(folder);
    qint64 pixels = 0;
    for (const layout::SkinImage& image : layout::images::all) {
        const std::string path = folder + image.name;
        const std::optional<QSize> plain = pngSize(path);
        if (!plain)
            continue;
        if (isOne(ratio)) {
            pixels += area(*plain);
            continue;
        }
        // The image kept at the ratio, and the file it is made from on the way.
        const std::optional<QSize> doubled = pngSize(doubleSizePath(path));
        pixels += area(deviceSize(plain->boundedTo(window), ratio));
        pixels += area(doubled ? *doubled : *plain);
    }
    return pixels;
}

Status Skin::load(const std::string& folder, const QColor& textColour, qreal ratio) {
    if (!folder.empty() && declaredPixels(folder, ratio) > pixelBudget(ratio)) {
        return Status::failure(kAppTitle, "The skin \"" + folderName(folder) +
                                              "\" was not loaded: its images are too large.");
    }
    release();
    folder_ = folder;
    textColour_ = textColour;
    ratio_ = ratio;
    windowSize_ = windowSizeOf(folder);
    accentKey_ = 0;
    emit skinChanged();
    return Status();
}

QString Skin::name() const {
    return QFile::decodeName(QByteArray::fromStdString(folderName(folder_)));
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
    const Result<std::string> read = readFileContents(path, kMaxPngBytes);
    if (!read)
        return QImage();
    const std::string& bytes = *read;
    const std::optional<QSize> declared = pngSizeOf(bytes.data(), bytes.size());
    if (!declared || !withinBudget(area(*declared)))
        return QImage();
    decodedPixels_ += area(*declared);
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
    forget(key);
    if (image.isNull() || !withinBudget(area(image.size())))
        return QImage();
    heldPixels_ += area(image.size());
    images_[key] = Entry{plain, doubled, image};
    return image;
}

void Skin::forget(const std::string& key) const {
    const auto it = images_.find(key);
    if (it == images_.end())
        return;
    heldPixels_ -= area(it->second.image.size());
    images_.erase(it);
}

bool Skin::withinBudget(qint64 pixels) const {
    return heldPixels_ + pixels <= pixelBudget(ratio_);
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
    heldPixels_ = 0;
}

bool drawSkinImage(QImage* surface, const Skin& skin, const char* name, int x, int y) {
    if (!surface || surface->isNull())
        return false;
    const QImage image = skin.image(name, surface->devicePixelRatio());
    if (image.isNull())
        return false;
    composeImage(*surface, image, x, y);
    return true;
}

bool drawSkinImage(QImage* surface, const Skin& skin, const char* name, int x, int y,
                   QWidget* owner, UiServices& services) {
    if (!surface || surface->isNull())
        return false;
    if (drawSkinImage(surface, skin, name, x, y))
        return true;
    services.messageBox(owner, QStringLiteral("LoadPng---Load image failed."),
                        QString::fromUtf8(kAppTitle));
    return false;
}

} // namespace z417
