// Button assignment on the Basic page: the slot lists with the Left Click guard, the DPI
// switch sub-list, storing a choice with its parameter dialog, the key sets and Default.
#pragma once

#include "app/AppLayer.h"
#include "app/PageContext.h"

#include "profile/SettingsRecord.h"
#include "ui/PopupList.h"

#include <QPoint>

#include <array>

class QListWidget;

namespace z417 {

class AssignmentFlow {
public:
    explicit AssignmentFlow(PageContext& context);

    // The closing sweep of the slot lists for a click at p.
    void closeListsOutside(const QPoint& p);
    void toggleSlotList(int slot);
    // The hovered item of an assignment list decides whether the DPI switch sub-list shows.
    void updateDpiSwitchSubList(QListWidget* slotList, int item);
    void onSlotListChoice();
    void onDpiSubListChoice();
    void showKeySet(int keySet);
    void restoreDefaults();

    bool isSlotList(const QListWidget* list) const;
    // The slot list that is there, and the DPI switch sub-list; null when none.
    QListWidget* openSlotList() const;
    QListWidget* dpiSubList() const { return dpiSubList_.widget(); }
    bool ownsList(const QListWidget* list) const;
    void closeAll();

private:
    void showList(PopupList& list, layout::main::ListId id, const layout::Rect& rect,
                  const QStringList& rows);
    void closeOtherSlotLists(int slot);
    void drawRow(int slot);
    void drawRows();

    PageContext& context_;
    std::array<PopupList, kSlotCount> slotLists_{};
    PopupList dpiSubList_;
};

} // namespace z417
