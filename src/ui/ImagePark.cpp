#include "ui/ImagePark.h"

#include <cstring>

namespace z417 {
namespace {

// The fastest level: a page of skin art shrinks to a fraction at once, and the show that
// brings it back must fit in one frame.
constexpr int kCompressionLevel = 1;

} // namespace

void ImagePark::park(QImage& image) {
    if (image.isNull())
        return;
    size_ = image.size();
    format_ = image.format();
    bytesPerLine_ = image.bytesPerLine();
    devicePixelRatio_ = image.devicePixelRatio();
    bytes_ = qCompress(image.constBits(), static_cast<qsizetype>(image.sizeInBytes()),
                       kCompressionLevel);
    image = QImage();
}

void ImagePark::clear() {
    bytes_ = QByteArray();
}

QImage ImagePark::restore() {
    if (bytes_.isEmpty())
        return QImage();
    const QByteArray pixels = qUncompress(bytes_);
    clear();
    QImage image(size_, format_);
    if (image.isNull() || image.bytesPerLine() != bytesPerLine_ ||
        pixels.size() != image.sizeInBytes())
        return QImage();
    std::memcpy(image.bits(), pixels.constData(), static_cast<size_t>(pixels.size()));
    image.setDevicePixelRatio(devicePixelRatio_);
    return image;
}

} // namespace z417
