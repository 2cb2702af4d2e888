#include "ui/PopupList.h"

#include <QMouseEvent>

namespace z417 {
namespace {

bool leftOnly(QMouseEvent* event) {
    if (event->button() == Qt::LeftButton)
        return true;
    event->accept();
    return false;
}

} // namespace

void PopupListWidget::mousePressEvent(QMouseEvent* event) {
    if (leftOnly(event))
        QListWidget::mousePressEvent(event);
}

void PopupListWidget::mouseReleaseEvent(QMouseEvent* event) {
    if (leftOnly(event))
        QListWidget::mouseReleaseEvent(event);
}

void PopupListWidget::mouseDoubleClickEvent(QMouseEvent* event) {
    if (leftOnly(event))
        QListWidget::mouseDoubleClickEvent(event);
}

} // namespace z417
