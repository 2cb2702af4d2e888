// Pointer interaction of the main window: the over looks of the painted buttons and rows, the
// item under the pointer in the pop-up lists, and the wheel over the DPI value list.
//
// A pointer move over a hot rectangle (re)arms a single-shot 10 ms timer; when it fires the
// pointer has rested and the control under it is drawn in its over look. The next move outside
// every hot rectangle draws the flagged controls normal again. Leaving the window changes
// nothing, so a control left straight from stays over until the pointer comes back.
#include "app/MainWindow.h"
#include "ui/Layout.h"

#include <QListWidget>
#include <QMouseEvent>
#include <QScrollBar>
#include <QSignalBlocker>
#include <QTimer>
#include <QWheelEvent>

namespace z417 {
namespace {

namespace L = layout::main;
namespace I = layout::images;

// Time the pointer has to rest on a control before its over look is drawn.
constexpr int kHoverTimeMs = 10;
// Line steps per wheel notch on the DPI value list.
constexpr int kWheelLines = 3;

// The first hot rectangle of the given order that holds p; nullptr for none.
const L::HotRect* hotRectAt(const L::HotRect (&order)[L::hotRectCount], const QPoint& p,
                            bool pageShown) {
    for (const L::HotRect& h : order) {
        if (h.pageOnly && !pageShown)
            continue;
        if (h.rect.contains(p.x(), p.y()))
            return &h;
    }
    return nullptr;
}

} // namespace

void MainWindow::mouseMoveEvent(QMouseEvent* event) {
    onPointerMove(event->position().toPoint());
    QDialog::mouseMoveEvent(event);
}

void MainWindow::wheelEvent(QWheelEvent* event) {
    if (dpiValueList_) {
        const auto action = event->angleDelta().y() <= 0 ? QAbstractSlider::SliderSingleStepAdd
                                                         : QAbstractSlider::SliderSingleStepSub;
        for (int i = 0; i < kWheelLines; ++i)
            dpiValueList_->verticalScrollBar()->triggerAction(action);
    }
    QDialog::wheelEvent(event);
}

void MainWindow::onPointerMove(const QPoint& p) {
    if (!hoverTimer_) {
        hoverTimer_ = new QTimer(this);
        hoverTimer_->setObjectName(QStringLiteral("hoverTimer"));
        hoverTimer_->setSingleShot(true);
        hoverTimer_->setInterval(kHoverTimeMs);
        connect(hoverTimer_, &QTimer::timeout, this, [this] { onHover(hoverPoint_); });
    }
    hoverPoint_ = p;
    if (hotRectAt(L::moveOrder, p, pageState_ == 1)) {
        // The pointer has to rest again for the notification.
        hoverTimer_->start();
        return;
    }
    // Outside every control: no notification is pending any more, and whatever is drawn over
    // goes back to normal.
    hoverTimer_->stop();
    HoverFlags& f = hover_;
    const bool anyButton =
        f.skin || f.minimise || f.close || f.page || f.ok || f.apply || f.cancel || f.defaults;
    bool anyRow = false;
    for (bool r : f.rows)
        anyRow = anyRow || r;
    if (!anyButton && !anyRow)
        return;

    if (f.skin)
        drawImage(I::skinButton.normal.name, L::skinButton.left, L::skinButton.top);
    if (f.minimise)
        drawImage(I::minimiseButton.normal.name, L::minimiseButton.left, L::minimiseButton.top);
    if (f.close)
        drawImage(I::closeButton.normal.name, L::closeButton.left, L::closeButton.top);
    if (f.page)
        drawImage(I::pageButton.normal.name, L::pageButton.left, L::pageButton.top);
    auto textButton = [this](bool& flag, const layout::Rect& r, Caption c) {
        if (!flag)
            return;
        drawButton(I::textButton.normal.name, r.left, r.top, r.right, r.bottom,
                   QString::fromStdString(state_.texts.caption(c)));
        flag = false;
    };
    textButton(f.ok, L::okButton, Caption::OkButton);
    textButton(f.apply, L::applyButton, Caption::ApplyButton);
    textButton(f.cancel, L::cancelButton, Caption::CancelButton);
    textButton(f.defaults, L::defaultButton, Caption::DefaultButton);
    f.skin = f.minimise = f.close = f.page = false;
    // At most one row is ever over.
    for (int row = 0; row < kSlotCount; ++row) {
        if (f.rows[static_cast<size_t>(row)]) {
            if (row < L::shownRowCount)
                drawAssignmentRow(row, false);
            f.rows[static_cast<size_t>(row)] = false;
            break;
        }
    }
    present();
}

void MainWindow::onHover(const QPoint& p) {
    const L::HotRect* h = hotRectAt(L::hoverOrder, p, pageState_ == 1);
    if (!h)
        return;
    HoverFlags& f = hover_;
    auto textButton = [this](const char* image, const layout::Rect& r, Caption c) {
        drawButton(image, r.left, r.top, r.right, r.bottom,
                   QString::fromStdString(state_.texts.caption(c)));
    };
    // OK, Apply and Cancel exclude each other: one over, the other two normal.
    auto bottomButton = [&](L::HoverControl over) {
        struct Entry {
            L::HoverControl control;
            const layout::Rect& rect;
            Caption caption;
            bool& flag;
        };
        const Entry entries[] = {
            {L::HoverControl::Ok, L::okButton, Caption::OkButton, f.ok},
            {L::HoverControl::Apply, L::applyButton, Caption::ApplyButton, f.apply},
            {L::HoverControl::Cancel, L::cancelButton, Caption::CancelButton, f.cancel},
        };
        for (const Entry& e : entries) {
            const bool isOver = e.control == over;
            textButton(isOver ? I::textButton.over.name : I::textButton.normal.name, e.rect,
                       e.caption);
            e.flag = isOver;
        }
    };

    switch (h->control) {
    case L::HoverControl::Ok:
    case L::HoverControl::Apply:
    case L::HoverControl::Cancel:
        bottomButton(h->control);
        break;
    case L::HoverControl::Skin:
        drawImage(I::skinButton.over.name, L::skinButton.left, L::skinButton.top);
        f.skin = true;
        break;
    case L::HoverControl::Close:
        drawImage(I::closeButton.over.name, L::closeButton.left, L::closeButton.top);
        f.close = true;
        break;
    case L::HoverControl::Minimise:
        drawImage(I::minimiseButton.over.name, L::minimiseButton.left, L::minimiseButton.top);
        f.minimise = true;
        break;
    case L::HoverControl::PageButton:
        drawImage(I::pageButton.over.name, L::pageButton.left, L::pageButton.top);
        f.page = true;
        break;
    case L::HoverControl::Default:
        textButton(I::textButton.over.name, L::defaultButton, Caption::DefaultButton);
        f.defaults = true;
        break;
    case L::HoverControl::Row:
        // The rows exclude each other: every other flagged row goes normal first.
        for (int row = 0; row < kSlotCount; ++row) {
            if (row == h->row || !f.rows[static_cast<size_t>(row)])
                continue;
            if (row < L::shownRowCount)
                drawAssignmentRow(row, false);
            f.rows[static_cast<size_t>(row)] = false;
        }
        drawAssignmentRow(h->row, true);
        f.rows[static_cast<size_t>(h->row)] = true;
        break;
    }
    present();
}

void MainWindow::popupListHover(QListWidget* list, const QPoint& pointInList) {
    if (pageState_ != 1 || !list)
        return;
    bool assignmentList = false;
    bool known = list == dpiSubList_.widget() || list == dpiValueList_.widget() ||
                 list == lightModeList_.widget() || list == lightParameterList_.widget() ||
                 list == lightEffectList_.widget();
    for (const PopupList& slotList : slotLists_) {
        if (list == slotList.widget()) {
            known = assignmentList = true;
            break;
        }
    }
    if (!known)
        return;
    const QPoint inViewport = list->viewport()->mapFrom(list, pointInList);
    QListWidgetItem* item = list->itemAt(inViewport);
    if (!item)
        return;
    const int row = list->row(item);
    {
        // Only the current item moves; hovering is never a choice.
        const QSignalBlocker blocker(list);
        list->setCurrentRow(row);
    }
    if (assignmentList)
        updateDpiSwitchSubList(list, row);
}

} // namespace z417
