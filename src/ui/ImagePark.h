// An image kept compressed while nobody draws on it or looks at it, such as a hidden window's
// back buffer. The compression is lossless: what comes back is the same image to the bit, or
// nothing at all.
#pragma once

#include <QByteArray>
#include <QImage>
#include <QSize>

namespace z417 {

class ImagePark {
public:
    // Takes the image's pixels; the image is null afterwards. A null image changes nothing,
    // so parking twice keeps what the first park took.
    void park(QImage& image);
    void clear();
    bool holds() const { return !bytes_.isEmpty(); }
    // The parked image, whole; a null image when nothing is parked or the bytes no longer make
    // a whole image. The park is empty afterwards.
    QImage restore();

private:
    QByteArray bytes_;
    QSize size_;
    QImage::Format format_ = QImage::Format_Invalid;
    qsizetype bytesPerLine_ = 0;
    qreal devicePixelRatio_ = 1.0;
};

} // namespace z417
