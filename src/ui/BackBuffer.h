// The persistent drawing surface of a painted window. It is an image in premultiplied ARGB,
// made at the window's device pixel ratio, that the painters draw onto in layout pixels; a paint
// event copies it to the window whole, one buffer pixel to one device pixel. What was drawn
// once stays until it is drawn over.
#pragma once

#include <QImage>
#include <QSize>

class QPainter;

namespace z417 {

class BackBuffer {
public:
    // Makes a new, fully transparent buffer of size layout pixels at ratio, unless the current
    // one has that size and ratio already. True when it made one.
    bool ensure(const QSize& size, qreal ratio);
    // Drops the image; until the next ensure the buffer is null and painters draw nothing.
    void release();
    // Takes a whole image made earlier (at any ratio) as the buffer; false for a null image.
    bool adopt(QImage image);

    bool isNull() const { return image_.isNull(); }
    bool hasRatio(qreal ratio) const;
    // In layout pixels; empty while null.
    QSize size() const { return size_; }
    qreal ratio() const { return image_.devicePixelRatio(); }

    QImage& image() { return image_; }
    const QImage& image() const { return image_; }

    // Copies the buffer to the painter's (0, 0) in the painter's composition mode.
    void paint(QPainter& painter) const;

private:
    QImage image_;
    QSize size_;
};

} // namespace z417
