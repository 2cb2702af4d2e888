// The main window's side of button assignment: the click dispatcher, the slot lists with
// the Left Click guard, the DPI switch sub-list, and storing a choice with its dialog.
#include "app/COstrelDlg.h"
#include "assign/FunctionCatalogue.h"
#include "assign/KeyTables.h"
#include "dialogs/FireKeyDialog.h"
#include "dialogs/HotKeyDialog.h"
#include "dialogs/MediaDialog.h"
#include "dialogs/SingleKeyDialog.h"
#include "dialogs/SnipeDialog.h"
#include "dialogs/WindowsDialog.h"
#include "ui/Layout.h"

#include <QListWidget>

namespace z417 {
namespace {

namespace L = layout::main;

// The six parameter dialogs, opened over the main window.
class WindowParameterDialogs final : public ParameterDialogs {
public:
    explicit WindowParameterDialogs(COstrelDlg& window) : window_(window) {}

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
    COstrelDlg& window_;
};

QStringList functionNames(const TextTable& texts) {
    QStringList names;
    for (int code = 0; code < kFunctionCount; ++code)
        names << QString::fromStdString(functionName(texts, static_cast<uint8_t>(code)));
    return names;
}

QStringList dpiSubListItems() {
    QStringList items;
    for (const std::string& s : dpiSubList())
        items << QString::fromStdString(s);
    return items;
}

} // namespace

void COstrelDlg::dispatchClick(const QPoint& p) {
    const int x = p.x(), y = p.y();
    // OK, Apply, Skin and Cancel act and let the testing go on; Minimise, the page button
    // and the web link end it; Close ends the process.
    if (L::okButton.contains(x, y))
        onOk();
    if (L::applyButton.contains(x, y))
        onApply();
    if (L::skinButton.contains(x, y))
        onSkinButton();
    if (L::minimiseButton.contains(x, y)) {
        hideWindow();
        return;
    }
    if (L::closeButton.contains(x, y)) {
        exitProgram();
        return;
    }
    if (L::pageButton.contains(x, y)) {
        PaintBasicPage();
        return;
    }
    if (L::cancelButton.contains(x, y))
        onCancel();
    if (L::webAddressLine.rect.contains(x, y)) {
        env_.services->openUrl(QString::fromStdString(texts_.slot(53)));
        return;
    }
    if (pageState_ == 1) {
        closeSlotListsOutside(p);
        closeLightListsOutside(p);
        if (L::modeAButton.contains(x, y)) {
            ShowKeySet(0);
            return;
        }
        if (L::modeBButton.contains(x, y)) {
            ShowKeySet(1);
            return;
        }
        if (L::defaultButton.contains(x, y)) {
            RedrawAssignmentBoxes();
            return;
        }
        for (int s = 0; s < L::shownRowCount; ++s)
            if (L::assignmentBox(s).contains(x, y)) {
                ToggleSlotList(s);
                return;
            }
        for (int k = 0; k < L::reportRateSegmentCount; ++k)
            if (L::reportRateSegment(k).contains(x, y)) {
                SelectReportRate(k);
                return;
            }
        for (int k = 0; k < L::dpiStageShownCount; ++k)
            if (L::dpiColourSwatch(k).contains(x, y)) {
                onSwatchClick(k);
                return;
            }
        for (int k = 0; k < L::dpiStageShownCount; ++k)
            if (L::dpiValueClickArea(k).contains(x, y)) {
                ToggleDpiValueList(k);
                return;
            }
        if (L::lightModeClickArea.contains(x, y)) {
            ToggleLightModeList();
            return;
        }
        if (L::lightParameterClickArea.contains(x, y)) {
            ToggleLightParameterList();
            return;
        }
        if (L::lightEffectClickArea.contains(x, y)) {
            ToggleLightEffectList();
            return;
        }
    }
    // Nothing took the click: the window follows the pointer.
    startWindowDrag();
}

void COstrelDlg::closeSlotListsOutside(const QPoint& p) {
    for (int s = 0; s < L::shownRowCount; ++s) {
        if (L::assignmentList(s).contains(p.x(), p.y()) ||
            L::assignmentBox(s).contains(p.x(), p.y()))
            continue;
        if (slotLists_[s]) {
            destroyPopupList(slotLists_[s]);
            slotListOpen_[s] = false;
        }
        destroyPopupList(dpiSubList_);
    }
}

void COstrelDlg::ToggleSlotList(int s) {
    if (slotListOpen_[s]) {
        destroyPopupList(slotLists_[s]);
        slotListOpen_[s] = false;
        return;
    }
    // At most one slot list is open.
    for (int j = 0; j < kSlotCount; ++j) {
        if (j == s)
            continue;
        slotListOpen_[j] = false;
    }
    for (int j = 0; j < kSlotCount; ++j) {
        if (j != s && slotLists_[j]) {
            destroyPopupList(slotLists_[j]);
            break;
        }
    }
    const int k = record_.activeKeySet;
    if (leftClickGuardRefuses(record_, k, s)) {
        env_.services->messageBox(this, QString::fromStdString(texts_.slot(52)),
                                  QStringLiteral("Warning"));
        return;
    }
    if (!slotLists_[s]) {
        const layout::Rect r = L::assignmentList(s);
        slotLists_[s] = createPopupList(L::assignmentListId(s), r, functionNames(texts_));
    }
    slotListOpen_[s] = true;
}

void COstrelDlg::UpdateDpiSwitchSubList(QListWidget* slotList, int item) {
    if (item != kFnDpiSwitch) {
        destroyPopupList(dpiSubList_);
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
    dpiSubList_ = createPopupList(L::dpiSwitchSubListId, sub, dpiSubListItems());
}

void COstrelDlg::onSlotListChoice() {
    const int k = record_.activeKeySet == 1 ? 1 : 0;
    for (int s = 0; s < kSlotCount; ++s) {
        if (!slotLists_[s])
            continue;
        const int p = slotLists_[s]->currentRow();
        bool destroyed = false;
        if (p >= 0 && p != kFnDpiSwitch) {
            // The list goes first: a parameter dialog may run now, and the choice is made.
            destroyPopupList(slotLists_[s]);
            destroyed = true;
            WindowParameterDialogs dialogs(*this);
            storeFunctionChoice(record_, labels_, k, s, p, texts_, device_->sensorVariant(),
                                dialogs);
        }
        if (s < L::shownRowCount) {
            drawAssignmentRow(s, false);
            present();
        }
        if (destroyed)
            slotListOpen_[s] = false;
    }
}

void COstrelDlg::onDpiSubListChoice() {
    if (!dpiSubList_)
        return;
    const int e = dpiSubList_->currentRow();
    if (e < 0)
        return;
    for (int s = 0; s < kSlotCount; ++s) {
        if (!slotLists_[s])
            continue;
        storeDpiSwitchChoice(record_, labels_, record_.activeKeySet == 1 ? 1 : 0, s, e);
        if (s < L::shownRowCount) {
            drawAssignmentRow(s, false);
            present();
        }
        destroyPopupList(dpiSubList_);
        destroyPopupList(slotLists_[s]);
        slotListOpen_[s] = false;
        return;
    }
}

} // namespace z417
