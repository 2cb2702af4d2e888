#include "ui/PopupList.h"

#include "ui/ListStyle.h"
#include "ui/TextDraw.h"

#include <QMouseEvent>

#include <algorithm>

namespace z417 {
namespace {

bool leftOnly(QMouseEvent* event) {
    if (event->button() == Qt::LeftButton)
        return true;
    event->accept();
    return false;
}

} // namespace

int listRowForKey(const QListWidget& list, int key) {
    const int count = list.count();
    const int current = list.currentRow();
    const int page = std::max(1, list.viewport()->height() / std::max(1, list.sizeHintForRow(0)));
    switch (key) {
    case Qt::Key_Up:
        return current < 0 ? count - 1 : std::max(0, current - 1);
    case Qt::Key_Down:
        return std::min(count - 1, current + 1);
    case Qt::Key_Home:
        return 0;
    case Qt::Key_End:
        return count - 1;
    case Qt::Key_PageUp:
        return std::max(0, current - page);
    case Qt::Key_PageDown:
        return std::min(count - 1, std::max(0, current + page));
    default:
        return -1;
    }
}

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

void PopupList::show(QWidget* owner, int id, const layout::Rect& rect, const QStringList& rows,
                     const FieldStyle& style, Chosen chosen) {
    if (list_)
        return;
    auto* list = new PopupListWidget(owner);
    list->setFrameShape(QFrame::Box);
    list->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    list->setVerticalScrollBarPolicy(Qt::ScrollBarAsNeeded);
    list->setFocusPolicy(Qt::NoFocus);
    list->addItems(rows);
    // List-box rows as tall as the normal font, so the fourteen functions fit the 230-pixel
    // assignment list without a scroll bar; the list is as tall as its whole rows.
    list->setUniformItemSizes(true);
    const int rowHeight = listRowHeight(style.font);
    for (int i = 0; i < list->count(); ++i)
        list->item(i)->setSizeHint(QSize(0, rowHeight));
    list->setGeometry(toQRect(wholeRowRect(rect, rowHeight, list->count(), true)));
    list->setMouseTracking(true);
    list->viewport()->setMouseTracking(true);
    setFieldColours(list, id, style);
    ListStyle(style.listAccent.isValid() ? style.listAccent : style.textColour).apply(list);
    // A press on an item, or a double click, is the person's choice. Hovering only moves
    // the current item (with signals blocked), so it never chooses.
    QObject::connect(list, &QListWidget::pressed, list, [chosen] { chosen(); });
    QObject::connect(list, &QListWidget::doubleClicked, list, [chosen] { chosen(); });
    list->show();
    list->raise();
    list_ = list;
}

void PopupList::destroy() {
    if (!list_)
        return;
    QListWidget* doomed = list_.data();
    list_.clear();
    doomed->hide();
    doomed->setObjectName(QString()); // no longer found by its identifier
    doomed->deleteLater();
}

} // namespace z417
