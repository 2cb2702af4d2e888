// The main window's side of button assignment: the slot lists with
// the Left Click guard, the DPI switch sub-list, and storing a choice with its dialog.
#include "app/MainWindow.h"
#include "assign/FunctionCatalogue.h"
#include "assign/KeyTables.h"
#include "dialogs/FireKeyDialog.h"
#include "dialogs/HotKeyDialog.h"
#include "dialogs/MediaDialog.h"
#include "dialogs/SingleKeyDialog.h"
#include "dialogs/SnipeDialog.h"
#include "dialogs/WindowsDialog.h"
#include "ui/Layout.h"
#include "ui/TextDraw.h"

#include <QListWidget>

namespace z417 {
namespace {

namespace L = layout::main;

// The six parameter dialogs, opened over the main window.
class WindowParameterDialogs final : public ParameterDialogs {
public:
    explicit WindowParameterDialogs(MainWindow& window) : window_(window) {}

    bool windowsKey(Choice& out) override { return choice<WindowsDialog>(out); }
    bool mediaKey(Choice& out) override { return choice<MediaDialog>(out); }
    bool hotKey(Choice& out) override { return choice<HotKeyDialog>(out); }
    bool snipe(Choice& out) override { return choice<SnipeDialog>(out); }
    bool fireKey(FireKey& out) override {
        const auto chosen = ask<FireKeyDialog>(window_.dialogEnvironment(), &window_);
        if (!chosen)
            return false;
        out = {chosen->keyIndex, chosen->keyName.toStdString(), chosen->times, chosen->makeTime,
               chosen->breakTime};
        return true;
    }
    bool singleKey(std::string& keyName) override {
        const auto chosen = ask<SingleKeyDialog>(window_.dialogEnvironment(), &window_);
        if (!chosen)
            return false;
        keyName = chosen->keyName.toStdString();
        return true;
    }

private:
    template <class Dialog> bool choice(Choice& out) {
        const auto chosen = ask<Dialog>(window_.dialogEnvironment(), &window_);
        if (!chosen)
            return false;
        out = {chosen->index, chosen->text.toStdString()};
        return true;
    }
    MainWindow& window_;
};

QStringList functionNames(const TextTable& texts) {
    QStringList names;
    for (int code = 0; code < kFunctionCount; ++code)
        names << QString::fromStdString(functionName(texts, static_cast<uint8_t>(code)));
    return names;
}

QStringList dpiSubListItems() {
    return toQStringList(dpiSubList());
}

} // namespace

void MainWindow::closeSlotListsOutside(const QPoint& p) {
    for (int s = 0; s < L::shownRowCount; ++s) {
        if (L::assignmentList(s).contains(p.x(), p.y()) ||
            L::assignmentBox(s).contains(p.x(), p.y()))
            continue;
        if (slotLists_[s]) {
            slotLists_[s].close();
        }
        dpiSubList_.destroy();
    }
}

void MainWindow::toggleSlotList(int s) {
    if (slotLists_[s].open) {
        slotLists_[s].close();
        return;
    }
    // At most one slot list is open.
    for (int j = 0; j < kSlotCount; ++j) {
        if (j == s)
            continue;
        slotLists_[j].open = false;
    }
    for (int j = 0; j < kSlotCount; ++j) {
        if (j != s && slotLists_[j]) {
            slotLists_[j].destroy();
            break;
        }
    }
    const int k = state_.record.activeKeySet;
    if (leftClickGuardRefuses(state_.record, k, s)) {
        env_.services->messageBox(
            this, QString::fromStdString(state_.texts.slot(TextId::LeftKeyRequired)),
            QStringLiteral("Warning"));
        return;
    }
    if (!slotLists_[s]) {
        const layout::Rect r = L::assignmentList(s);
        showPopupList(slotLists_[s], L::assignmentListId(s), r, functionNames(state_.texts));
    }
    slotLists_[s].open = true;
}

void MainWindow::updateDpiSwitchSubList(QListWidget* slotList, int item) {
    if (item != kFnDpiSwitch) {
        dpiSubList_.destroy();
        return;
    }
    if (dpiSubList_)
        return;
    const QRect itemRect = slotList->visualItemRect(slotList->item(item));
    const QRect listRect = slotList->geometry();
    // The item's rectangle in the list's own coordinates, from its frame's corner.
    const QPoint itemTopRight = slotList->viewport()->mapTo(slotList, itemRect.topRight());
    const layout::Rect sub = L::dpiSwitchSubList(
        {listRect.left(), listRect.top(), listRect.right() + 1, listRect.bottom() + 1},
        {0, itemTopRight.y(), itemTopRight.x() + 1, itemTopRight.y() + itemRect.height()});
    showPopupList(dpiSubList_, L::ListId::DpiSwitchSub, sub, dpiSubListItems());
}

void MainWindow::onSlotListChoice() {
    const int k = state_.record.activeKeySet == 1 ? 1 : 0;
    for (int s = 0; s < kSlotCount; ++s) {
        if (!slotLists_[s])
            continue;
        const int p = slotLists_[s]->currentRow();
        bool destroyed = false;
        if (p >= 0 && p != kFnDpiSwitch) {
            // The list goes first: a parameter dialog may run now, and the choice is made.
            slotLists_[s].destroy();
            destroyed = true;
            WindowParameterDialogs dialogs(*this);
            storeFunctionChoice(state_.record, state_.labels, k, s, p, state_.texts,
                                device_.sensorVariant(), dialogs);
        }
        if (s < L::shownRowCount) {
            drawAssignmentRow(s, false);
            present();
        }
        if (destroyed)
            slotLists_[s].open = false;
    }
}

void MainWindow::onDpiSubListChoice() {
    if (!dpiSubList_)
        return;
    const int e = dpiSubList_->currentRow();
    if (e < 0)
        return;
    for (int s = 0; s < kSlotCount; ++s) {
        if (!slotLists_[s])
            continue;
        storeDpiSwitchChoice(state_.record, state_.labels, state_.record.activeKeySet == 1 ? 1 : 0,
                             s, e);
        if (s < L::shownRowCount) {
            drawAssignmentRow(s, false);
            present();
        }
        dpiSubList_.destroy();
        slotLists_[s].close();
        return;
    }
}

} // namespace z417
