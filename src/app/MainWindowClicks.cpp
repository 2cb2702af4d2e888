// Where a left-button press on the main window goes: the click order comes from the control
// table, each row's action goes to the page's control host.
#include "app/MainWindow.h"

namespace z417 {

void MainWindow::buildClickTable() {
    for (PageControl c : controlsInClickOrder()) {
        const ControlRow& row = controlOf(c);
        clicks_.add(row.rect, row.pageOnly ? ClickTable::Scope::Page : ClickTable::Scope::Window,
                    row.clickGoesOn ? ClickTable::Flow::GoOn : ClickTable::Flow::Stop,
                    [this, &row] { return row.act(controls_, row.index); });
    }
}

bool MainWindow::dispatchClick(const QPoint& p) {
    return clicks_.dispatch(
        p.x(), p.y(), [this] { return page_.shown(); }, [this, p] { page_.closeListsOutside(p); });
}

void MainWindow::press(PageControl c) {
    const layout::Rect& r = controlOf(c).rect;
    dispatchClick(QPoint((r.left + r.right) / 2, (r.top + r.bottom) / 2));
}

} // namespace z417
