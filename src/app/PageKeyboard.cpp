#include "app/PageKeyboard.h"

#include "app/BasicPage.h"
#include "ui/PopupList.h"

#include <QKeyEvent>
#include <QListWidget>

#include <algorithm>

namespace z417 {
namespace {

bool isEnter(int key) {
    return key == Qt::Key_Return || key == Qt::Key_Enter;
}

} // namespace

PageKeyboard::PageKeyboard(BasicPage& page, Actions actions)
    : page_(page), actions_(std::move(actions)) {}

std::optional<PageControl> PageKeyboard::focused() const {
    if (focused_ && isThere(*focused_))
        return focused_;
    return std::nullopt;
}

void PageKeyboard::hideFocus() {
    if (!focused_)
        return;
    focused_.reset();
    actions_.focusChanged();
}

bool PageKeyboard::isThere(PageControl c) const {
    const ControlRow& row = controlOf(c);
    return row.tabOrder >= 0 && (!row.pageOnly || page_.shown());
}

bool PageKeyboard::keyPress(const QKeyEvent& event) {
    QListWidget* list = page_.openList();
    if (!list)
        inSubList_ = false;
    if (list && listKey(list, event))
        return true;
    return pageKey(event);
}

bool PageKeyboard::listKey(QListWidget* list, const QKeyEvent& event) {
    QListWidget* sub = page_.assignment().dpiSubList();
    if (inSubList_ && sub)
        list = sub;
    inSubList_ = inSubList_ && sub;
    const int key = event.key();
    if (key == Qt::Key_Right && !inSubList_ && sub) {
        inSubList_ = true;
        page_.setCurrentListRow(sub, 0);
        return true;
    }
    if (key == Qt::Key_Left && inSubList_) {
        inSubList_ = false;
        return true;
    }
    if (key == Qt::Key_Escape) {
        page_.closeLists();
        inSubList_ = false;
        return true;
    }
    if (isEnter(key) || key == Qt::Key_Space) {
        // A row chosen from the keyboard is chosen as by a double click on it.
        if (list->currentRow() >= 0)
            emit list->doubleClicked(list->currentIndex());
        return true;
    }
    const int row = listRowForKey(*list, key);
    if (row < 0)
        return key != Qt::Key_Tab && key != Qt::Key_Backtab;
    page_.setCurrentListRow(list, row);
    list->scrollToItem(list->item(row));
    return true;
}

bool PageKeyboard::pageKey(const QKeyEvent& event) {
    const int key = event.key();
    if (key == Qt::Key_Tab || key == Qt::Key_Backtab) {
        if (page_.openList())
            page_.closeLists();
        const bool back = key == Qt::Key_Backtab || (event.modifiers() & Qt::ShiftModifier);
        moveFocus(back ? -1 : 1);
        return true;
    }
    const std::optional<PageControl> current = focused();
    if (key == Qt::Key_Escape || (isEnter(key) && !current)) {
        actions_.hideWindow();
        return true;
    }
    if (!current)
        return false;
    if (isEnter(key) || key == Qt::Key_Space) {
        actions_.press(*current);
        return true;
    }
    if (key == Qt::Key_Left || key == Qt::Key_Up)
        return stepSibling(-1);
    if (key == Qt::Key_Right || key == Qt::Key_Down)
        return stepSibling(1);
    return false;
}

// The arrows go from one report-rate segment or key set to the next and choose it; on a box
// Down opens its list.
bool PageKeyboard::stepSibling(int step) {
    const ControlRow& row = controlOf(*focused_);
    if (row.role == ControlRole::ComboBox) {
        if (step > 0)
            actions_.press(*focused_);
        return true;
    }
    if (row.role != ControlRole::RadioButton && row.role != ControlRole::PageTab)
        return false;
    const int count = row.role == ControlRole::RadioButton ? kReportRateSegments : 2;
    const int index = row.index + step;
    if (index < 0 || index >= count)
        return true;
    const auto next = static_cast<PageControl>(static_cast<int>(*focused_) + step);
    focus(next);
    actions_.press(next);
    return true;
}

void PageKeyboard::moveFocus(int step) {
    std::vector<PageControl> order = controlsInKeyboardOrder();
    order.erase(
        std::remove_if(order.begin(), order.end(), [this](PageControl c) { return !isThere(c); }),
        order.end());
    if (order.empty())
        return;
    const auto n = static_cast<int>(order.size());
    int at = step > 0 ? 0 : n - 1;
    if (const std::optional<PageControl> current = focused()) {
        const auto it = std::find(order.begin(), order.end(), *current);
        at = (static_cast<int>(it - order.begin()) + step + n) % n;
    }
    focus(order[static_cast<size_t>(at)]);
}

void PageKeyboard::focus(PageControl c) {
    focused_ = c;
    actions_.focusChanged();
}

} // namespace z417
