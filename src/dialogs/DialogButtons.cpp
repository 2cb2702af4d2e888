#include "dialogs/DialogButtons.h"

#include "dialogs/DialogCanvas.h"

#include <QWidget>

namespace z417 {
namespace {

constexpr int kRestTimeMs = 10;

namespace dl = layout::dialog;

bool onAnyButton(const QPoint& p) {
    return dl::okButton.contains(p.x(), p.y()) || dl::cancelButton.contains(p.x(), p.y()) ||
           dl::closeButton.contains(p.x(), p.y());
}

} // namespace

DialogButtons::DialogButtons(DialogCanvas& canvas, QWidget& window, QColor textColour)
    : QObject(&window), canvas_(canvas), window_(window), textColour_(std::move(textColour)) {
    restTimer_.setSingleShot(true);
    restTimer_.setInterval(kRestTimeMs);
    connect(&restTimer_, &QTimer::timeout, this, &DialogButtons::pointerRested);
}

void DialogButtons::setTexts(const QString& ok, const QString& cancel) {
    okText_ = ok;
    cancelText_ = cancel;
}

void DialogButtons::drawTextButtons() {
    const auto& images = layout::images::textButton;
    canvas_.drawImage(images.normal.name, dl::okButton.topLeft());
    canvas_.drawImage(images.normal.name, dl::cancelButton.topLeft());
    canvas_.drawText({dl::okButton, dl::buttonCaptionFormat}, okText_, textColour_);
    canvas_.drawText({dl::cancelButton, dl::buttonCaptionFormat}, cancelText_, textColour_);
}

void DialogButtons::drawCloseButton() {
    drawClose(false);
}

void DialogButtons::drawOverLooks() {
    if (overOk_)
        drawButton(dl::okButton, true, okText_);
    if (overCancel_)
        drawButton(dl::cancelButton, true, cancelText_);
    if (overClose_)
        drawClose(true);
}

void DialogButtons::pointerMoved(const QPoint& point) {
    if (onAnyButton(point)) {
        restPoint_ = point;
        restTimer_.start();
        return;
    }
    restTimer_.stop();
    if (overOk_ || overCancel_ || overClose_)
        dropOverLooks();
}

void DialogButtons::dropOverLooks() {
    if (overClose_)
        drawClose(false);
    if (overOk_)
        drawButton(dl::okButton, false, okText_);
    if (overCancel_)
        drawButton(dl::cancelButton, false, cancelText_);
    overOk_ = overCancel_ = overClose_ = false;
    window_.update();
}

void DialogButtons::pointerRested() {
    const int x = restPoint_.x(), y = restPoint_.y();
    if (dl::closeButton.contains(x, y)) {
        drawClose(true);
        overClose_ = true;
    } else if (dl::okButton.contains(x, y)) {
        drawButton(dl::okButton, true, okText_);
        overOk_ = true;
        if (overCancel_) {
            drawButton(dl::cancelButton, false, cancelText_);
            overCancel_ = false;
        }
    } else if (dl::cancelButton.contains(x, y)) {
        drawButton(dl::cancelButton, true, cancelText_);
        overCancel_ = true;
        if (overOk_) {
            drawButton(dl::okButton, false, okText_);
            overOk_ = false;
        }
    } else {
        return;
    }
    window_.update();
}

void DialogButtons::drawButton(const layout::Rect& rect, bool over, const QString& text) {
    const auto& images = layout::images::textButton;
    canvas_.drawImage(over ? images.over.name : images.normal.name, rect.topLeft());
    canvas_.drawText({rect, dl::buttonCaptionFormat}, text, textColour_);
}

void DialogButtons::drawClose(bool over) {
    const auto& images = layout::images::closeButton;
    canvas_.drawImage(over ? images.over.name : images.normal.name, dl::closeButton.topLeft());
}

} // namespace z417
