#include "dialogs/DropDownGroup.h"

#include "dialogs/DialogControls.h"
#include "ui/ListStyle.h"
#include "ui/TextDraw.h"

#include <QLabel>
#include <QListWidget>
#include <QMouseEvent>
#include <QScrollBar>

namespace z417 {
namespace {

constexpr int kWheelLines = 3;

} // namespace

DropDownGroup::DropDownGroup(QWidget& dialog, QLabel* displayField, Setup setup, Hooks hooks)
    : QObject(&dialog), dialog_(dialog), displayField_(displayField), setup_(std::move(setup)),
      hooks_(std::move(hooks)) {}

void DropDownGroup::press(const QPoint& point) {
    const int x = point.x(), y = point.y();
    if (setup_.geometry->selectorArea.contains(x, y)) {
        toggle();
    } else if (list_ && !setup_.geometry->list.contains(x, y)) {
        close();
    }
}

void DropDownGroup::toggle() {
    if (list_)
        close();
    else
        open();
}

void DropDownGroup::highlight(int row) {
    if (!list_ || row < 0 || row >= list_->count())
        return;
    highlighting_ = true;
    list_->setCurrentRow(row);
    highlighting_ = false;
    list_->scrollToItem(list_->item(row));
}

void DropDownGroup::chooseCurrent() {
    if (list_)
        chooseRow(list_->currentRow());
}

void DropDownGroup::open() {
    emit opening();
    list_ = createList();
    // Rows as tall as the font, like the list boxes of the original windows.
    const int rowHeight = listRowHeight(setup_.font);
    for (const QString& entry : hooks_.entries()) {
        auto* item = new QListWidgetItem(entry, list_);
        item->setSizeHint(QSize(0, rowHeight));
    }
    // Whole rows; a list that scrolls neither by bar nor by wheel shows every entry.
    const bool canScroll = setup_.listHasScrollBar || setup_.wheelScrollsList;
    hooks_.placeControl(list_, setup_.geometry->listId,
                        wholeRowRect(setup_.geometry->list, rowHeight, list_->count(), canScroll));
    ListStyle(setup_.accent).apply(list_);
    list_->viewport()->setMouseTracking(true);
    list_->viewport()->installEventFilter(this);
    // A change of the current entry chooses it, unless the pointer's highlight made it; a
    // click on an entry chooses it even when the highlight already made it current.
    connect(list_, &QListWidget::currentRowChanged, this, &DropDownGroup::rowChanged);
}

QListWidget* DropDownGroup::createList() const {
    auto* list = new QListWidget(&dialog_);
    // The list never takes the keyboard focus: a list view that gets it makes its first entry
    // current, which would count as a choice.
    list->setFocusPolicy(Qt::NoFocus);
    list->setFrameStyle(QFrame::Box | QFrame::Plain);
    list->setLineWidth(1);
    list->setSelectionMode(QAbstractItemView::SingleSelection);
    list->setEditTriggers(QAbstractItemView::NoEditTriggers);
    list->setVerticalScrollMode(QAbstractItemView::ScrollPerItem);
    list->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    list->setVerticalScrollBarPolicy(setup_.listHasScrollBar ? Qt::ScrollBarAsNeeded
                                                             : Qt::ScrollBarAlwaysOff);
    list->setUniformItemSizes(true);
    list->setTextElideMode(Qt::ElideNone);
    return list;
}

void DropDownGroup::close() {
    if (!list_)
        return;
    QListWidget* list = list_;
    list_ = nullptr;
    list->viewport()->removeEventFilter(this);
    list->disconnect(this);
    // The list may be inside one of its own handlers: it goes away once they are done, and
    // from now on it can no longer be found by its identifier.
    dialogControls::dropId(list);
    list->hide();
    list->deleteLater();
    emit closed();
}

void DropDownGroup::wheel(int angleDelta) {
    if (!setup_.wheelScrollsList || !list_)
        return;
    const auto action = angleDelta > 0 ? QAbstractSlider::SliderSingleStepSub
                                       : QAbstractSlider::SliderSingleStepAdd;
    for (int i = 0; i < kWheelLines; ++i)
        list_->verticalScrollBar()->triggerAction(action);
}

void DropDownGroup::rowChanged(int row) {
    if (highlighting_ || !list_ || sender() != list_)
        return;
    chooseRow(row);
}

void DropDownGroup::chooseRow(int row) {
    if (!list_ || row < 0 || row >= list_->count())
        return;
    const QString text = list_->item(row)->text();
    emit chosen(row, text);
    if (displayField_) {
        displayField_->setText(text);
        displayField_->repaint();
    }
    close();
}

bool DropDownGroup::eventFilter(QObject* watched, QEvent* event) {
    if (list_ && watched == list_->viewport() && filterListEvent(event))
        return true;
    return QObject::eventFilter(watched, event);
}

bool DropDownGroup::filterListEvent(QEvent* event) {
    switch (event->type()) {
    case QEvent::MouseMove:
        // The move belongs to the list; the dialog's hover handling does not see it.
        highlightEntryAt(static_cast<QMouseEvent*>(event)->position().toPoint());
        event->accept();
        return true;
    case QEvent::MouseButtonPress:
    case QEvent::MouseButtonDblClick:
    case QEvent::MouseButtonRelease:
        return filterListButton(*static_cast<QMouseEvent*>(event));
    default:
        return false;
    }
}

void DropDownGroup::highlightEntryAt(const QPoint& point) {
    // The entry under the pointer becomes the current one; that chooses nothing.
    QListWidgetItem* item = list_->itemAt(point);
    if (item && list_->currentItem() != item) {
        highlighting_ = true;
        list_->setCurrentItem(item);
        highlighting_ = false;
    }
}

bool DropDownGroup::filterListButton(const QMouseEvent& event) {
    // Only the left button chooses: the list never sees the others, which would make the
    // entry under the pointer current and so choose it.
    if (event.button() != Qt::LeftButton)
        return true;
    QListWidgetItem* item = list_->itemAt(event.position().toPoint());
    if (event.type() == QEvent::MouseButtonRelease || !item)
        return false;
    chooseRow(list_->row(item));
    return true; // the list is gone
}

} // namespace z417
