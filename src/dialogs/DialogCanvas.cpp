#include "dialogs/DialogCanvas.h"

#include "ui/Skin.h"
#include "ui/TextDraw.h"

#include <QPainter>
#include <QWidget>

namespace z417 {

DialogCanvas::DialogCanvas(QWidget& window, UiServices& services, const Skin& skin,
                           const char* background)
    : window_(window), services_(services), skin_(skin), background_(background) {}

bool DialogCanvas::open() {
    const QImage background = skin_.image(background_);
    if (background.isNull())
        return false;
    makeAt(background.size());
    return true;
}

bool DialogCanvas::matchesWindowRatio() const {
    return buffer_.isNull() || buffer_.hasRatio(window_.devicePixelRatioF());
}

void DialogCanvas::remake() {
    if (!buffer_.isNull())
        makeAt(buffer_.size());
}

void DialogCanvas::makeAt(const QSize& size) {
    buffer_.release();
    buffer_.ensure(size, window_.devicePixelRatioF());
    drawSkinImage(&buffer_.image(), skin_, background_, 0, 0);
}

bool DialogCanvas::drawImage(const char* name, const layout::Point& at) {
    return drawSkinImage(&buffer_.image(), skin_, name, at.x, at.y, &window_, services_);
}

void DialogCanvas::drawText(const layout::TextArea& area, const QString& text,
                            const QColor& colour) {
    if (buffer_.isNull())
        return;
    z417::drawText(buffer_.image(), toQRect(area.rect), text, toTextFormat(area.format), font_,
                   colour);
}

void DialogCanvas::paint(QPainter& painter, const QColor& accent) const {
    // A plain copy, like the bitmap copy to the window: the canvas's pixels as they are.
    painter.setCompositionMode(QPainter::CompositionMode_Source);
    buffer_.paint(painter);
    // The thin window border, over the art's outermost pixels.
    painter.setPen(QPen(accent, 1));
    painter.setBrush(Qt::NoBrush);
    painter.drawRect(QRect(0, 0, window_.width() - 1, window_.height() - 1));
}

} // namespace z417
