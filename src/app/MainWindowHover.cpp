// Pointer interaction of the main window: the over looks of the painted buttons and rows, the
// item under the pointer in the pop-up lists, and the wheel over the DPI value list.
//
// A pointer move over a hot rectangle (re)arms a single-shot 10 ms timer; when it fires the
// pointer has rested and the control under it is drawn in its over look. The next move outside
// every hot rectangle draws the flagged controls normal again. Leaving the window changes
// nothing, so a control left straight from stays over until the pointer comes back.
#include "app/MainWindow.h"

#include <QListWidget>
#include <QMouseEvent>
#include <QScrollBar>
#include <QSignalBlocker>
#include <QTimer>
#include <QWheelEvent>

namespace z417 {
namespace {

// Time the pointer has to rest on a control before its over look is drawn.
constexpr int kHoverTimeMs = 10;
// Line steps per wheel notch on the DPI value list.
constexpr int kWheelLines = 3;

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
    if (controlAt(HitOrder::Move, p.x(), p.y(), pageState_ == PageState::Shown)) {
        // The pointer has to rest again for the notification.
        hoverTimer_->start();
        return;
    }
    // Outside every control: no notification is pending any more, and whatever is drawn over
    // goes back to normal.
    hoverTimer_->stop();
    repaintControls(hoverLooks_.leave());
}

void MainWindow::onHover(const QPoint& p) {
    if (const auto control =
            controlAt(HitOrder::Rest, p.x(), p.y(), pageState_ == PageState::Shown))
        repaintControls(hoverLooks_.rest(*control));
}

void MainWindow::repaintControls(const std::vector<HoverLooks::Repaint>& repaints) {
    if (repaints.empty())
        return;
    PagePainter page = painter();
    for (const HoverLooks::Repaint& r : repaints)
        page.drawControl(r.control, r.over);
    present();
}

void MainWindow::popupListHover(QListWidget* list, const QPoint& pointInList) {
    if (pageState_ != PageState::Shown || !list)
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
