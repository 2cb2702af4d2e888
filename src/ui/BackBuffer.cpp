#include "ui/BackBuffer.h"

#include "ui/SkinImage.h"

#include <QPainter>

namespace z417 {

bool BackBuffer::ensure(const QSize& size, qreal ratio) {
    if (!image_.isNull() && size_ == size && hasRatio(ratio))
        return false;
    image_ = QImage(deviceSize(size, ratio), QImage::Format_ARGB32_Premultiplied);
    image_.fill(Qt::transparent);
    image_.setDevicePixelRatio(ratio);
    size_ = size;
    return true;
}

void BackBuffer::release() {
    image_ = QImage();
    size_ = QSize();
}

bool BackBuffer::adopt(QImage image) {
    if (image.isNull())
        return false;
    size_ = image.deviceIndependentSize().toSize();
    image_ = std::move(image);
    return true;
}

bool BackBuffer::hasRatio(qreal ratio) const {
    return !image_.isNull() && qFuzzyCompare(image_.devicePixelRatio(), ratio);
}

void BackBuffer::paint(QPainter& painter) const {
    if (!image_.isNull())
        painter.drawImage(QPointF(0, 0), image_);
}

} // namespace z417
