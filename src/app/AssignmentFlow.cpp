#include "app/AssignmentFlow.h"

#include "assign/FunctionCatalogue.h"
#include "assign/KeyTables.h"
#include "dialogs/ChoiceDialog.h"
#include "dialogs/FireKeyDialog.h"
#include "dialogs/SingleKeyDialog.h"
#include "ui/Layout.h"
#include "ui/PageControls.h"
#include "ui/TextDraw.h"

#include <QListWidget>

namespace z417 {
namespace {

namespace L = layout::main;

// The six parameter dialogs, opened over the window.
class WindowParameterDialogs final : public ParameterDialogs {
public:
    explicit WindowParameterDialogs(const PageContext& context) : context_(context) {}

    bool windowsKey(Choice& out) override { return choice(ChoiceKind::Windows, out); }
    bool mediaKey(Choice& out) override { return choice(ChoiceKind::Media, out); }
    bool hotKey(Choice& out) override { return choice(ChoiceKind::HotKey, out); }
    bool snipe(Choice& out) override { return choice(ChoiceKind::Snipe, out); }
    bool fireKey(FireKey& out) override {
        const auto chosen = ask<FireKeyDialog>(context_.dialogEnvironment(), owner());
        if (!chosen)
            return false;
        out = {chosen->keyIndex, chosen->keyName.toStdString(), chosen->times, chosen->makeTime,
               chosen->breakTime};
        return true;
    }
    bool singleKey(std::string& keyName) override {
        const auto chosen = ask<SingleKeyDialog>(context_.dialogEnvironment(), owner());
        if (!chosen)
            return false;
        keyName = chosen->keyName.toStdString();
        return true;
    }

private:
    bool choice(ChoiceKind kind, Choice& out) {
        const auto chosen = ChoiceDialog::ask(context_.dialogEnvironment(), owner(), kind);
        if (!chosen)
            return false;
        out = {chosen->index, chosen->text.toStdString()};
        return true;
    }
    QWidget* owner() const { return context_.canvas.widget(); }
    const PageContext& context_;
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

int activeKeySet(const SettingsRecord& record) {
    return record.activeKeySet == 1 ? 1 : 0;
}

} // namespace

AssignmentFlow::AssignmentFlow(PageContext& context) : context_(context) {}

void AssignmentFlow::showList(PopupList& list, L::ListId id, const layout::Rect& rect,
                              const QStringList& rows) {
    const bool slotList = L::isAssignmentList(id);
    list.show(context_.canvas.widget(), static_cast<int>(id), rect, rows, context_.fieldStyle(),
              [this, slotList] { slotList ? onSlotListChoice() : onDpiSubListChoice(); });
    // A slot's list is named like its box, the sub-list like the function it belongs to.
    const TextTable& texts = context_.state.texts;
    const int slot = static_cast<int>(id) - static_cast<int>(L::ListId::Assignment0);
    list->setAccessibleName(qs(slotList && slot < L::shownRowCount
                                   ? controlName(rowControl(slot), texts)
                                   : functionName(texts, kFnDpiSwitch)));
}

bool AssignmentFlow::isSlotList(const QListWidget* list) const {
    for (const PopupList& slotList : slotLists_)
        if (list == slotList.widget())
            return true;
    return false;
}

QListWidget* AssignmentFlow::openSlotList() const {
    for (const PopupList& slotList : slotLists_)
        if (slotList)
            return slotList.widget();
    return nullptr;
}

bool AssignmentFlow::ownsList(const QListWidget* list) const {
    return list == dpiSubList_.widget() || isSlotList(list);
}

void AssignmentFlow::closeAll() {
    for (PopupList& list : slotLists_)
        list.close();
    dpiSubList_.close();
}

void AssignmentFlow::drawRow(int slot) {
    if (slot >= L::shownRowCount)
        return;
    context_.canvas.painter().drawAssignmentRow(slot, false);
    context_.canvas.present();
}

void AssignmentFlow::drawRows() {
    PagePainter painter = context_.canvas.painter();
    for (int row = 0; row < L::shownRowCount; ++row)
        painter.drawAssignmentRow(row, false);
    context_.canvas.present();
}

void AssignmentFlow::restoreDefaults() {
    AppState& state = context_.state;
    restoreDefaultAssignments(state.record, state.labels, state.texts);
    drawRows();
}

void AssignmentFlow::showKeySet(int keySet) {
    context_.state.record.activeKeySet = keySet == 1 ? 1 : 0;
    context_.canvas.painter().drawKeySetButtons();
    drawRows();
}

void AssignmentFlow::closeListsOutside(const QPoint& p) {
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

void AssignmentFlow::toggleSlotList(int s) {
    if (slotLists_[s].open) {
        slotLists_[s].close();
        return;
    }
    closeOtherSlotLists(s);
    const AppState& state = context_.state;
    if (leftClickGuardRefuses(state.record, state.record.activeKeySet, s)) {
        context_.warn(QString::fromStdString(state.texts.slot(TextId::LeftKeyRequired)),
                      QStringLiteral("Warning"));
        return;
    }
    if (!slotLists_[s])
        showList(slotLists_[s], L::assignmentListId(s), L::assignmentList(s),
                 functionNames(state.texts));
    slotLists_[s].open = true;
}

// At most one slot list is open: every other flag goes, and the first other list found.
void AssignmentFlow::closeOtherSlotLists(int s) {
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
}

void AssignmentFlow::updateDpiSwitchSubList(QListWidget* slotList, int item) {
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
    showList(dpiSubList_, L::ListId::DpiSwitchSub, sub, dpiSubListItems());
}

void AssignmentFlow::onSlotListChoice() {
    AppState& state = context_.state;
    const int k = activeKeySet(state.record);
    for (int s = 0; s < kSlotCount; ++s) {
        if (!slotLists_[s])
            continue;
        const int p = slotLists_[s]->currentRow();
        bool destroyed = false;
        if (p >= 0 && p != kFnDpiSwitch) {
            // The list goes first: a parameter dialog may run now, and the choice is made.
            slotLists_[s].destroy();
            destroyed = true;
            WindowParameterDialogs dialogs(context_);
            storeFunctionChoice(state.record, state.labels, k, s, p, state.texts,
                                context_.device.sensorVariant(), dialogs);
        }
        drawRow(s);
        if (destroyed)
            slotLists_[s].open = false;
    }
}

void AssignmentFlow::onDpiSubListChoice() {
    if (!dpiSubList_)
        return;
    const int e = dpiSubList_->currentRow();
    if (e < 0)
        return;
    for (int s = 0; s < kSlotCount; ++s) {
        if (!slotLists_[s])
            continue;
        AppState& state = context_.state;
        storeDpiSwitchChoice(state.record, state.labels, activeKeySet(state.record), s, e);
        drawRow(s);
        dpiSubList_.destroy();
        slotLists_[s].close();
        return;
    }
}

} // namespace z417
