// Value controls of the Basic page: the report-rate segments, the DPI stage value fields with
// their list, the stage colour swatches, and the three lighting fields with their lists. Each
// writes the settings record directly; nothing reaches the mouse before OK or Apply.
#pragma once

#include "app/AppLayer.h"
#include "app/PageContext.h"
#include "app/PageFields.h"

#include "ui/Layout.h"
#include "ui/PopupList.h"

#include <QPoint>

#include <cstdint>

class QListWidget;

namespace z417 {

class ValueControls {
public:
    ValueControls(PageContext& context, PageFields& fields);

    void selectReportRate(int segment);
    void toggleDpiValueList(int stage);
    void onSwatchClick(int stage);
    void toggleLightModeList();
    void toggleLightParameterList();
    void toggleLightEffectList();
    // The closing sweep of the lighting lists for a click at p.
    void closeListsOutside(const QPoint& p);
    // A choice notification of the DPI value list or a lighting list.
    void onValueListChoice(layout::main::ListId id);
    // The wheel scrolls the open DPI value list, wherever the pointer is.
    void scrollDpiValueList(int angleDelta);

    bool ownsList(const QListWidget* list) const;
    // The value list that is there; null when none.
    QListWidget* openList() const;
    void closeAll();
    int selectedDpiStage() const { return selectedDpiStage_; }

private:
    void showList(PopupList& list, layout::main::ListId id, const layout::Rect& rect,
                  const QStringList& rows);
    PopupList* valueList(layout::main::ListId id); // null for a list that is no value list
    void storeValueChoice(layout::main::ListId id, uint8_t value, const QString& text);
    void chooseLightMode(uint8_t mode, const QString& text);
    QString effectText(int effect) const;
    SettingsRecord& record() { return context_.state.record; }

    PageContext& context_;
    PageFields& fields_;
    PopupList dpiValueList_;
    PopupList lightModeList_;
    PopupList lightParameterList_;
    PopupList lightEffectList_;
    int selectedDpiStage_ = 0;
};

} // namespace z417
