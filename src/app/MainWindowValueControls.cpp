// Value controls of the Basic page: the report-rate segments, the DPI stage value fields with
// their list, the stage colour swatches, and the three lighting fields with their lists. Each
// writes the settings record directly; nothing reaches the mouse before OK or Apply.
//
// Every list has an "open" flag beside its window. For the Parameter and Effect fields the flag
// toggles on every click even in a mode that shows no list, so in such a mode every second
// click only closes again what was never shown.
#include "app/MainWindow.h"
#include "assign/KeyTables.h"
#include "assign/LedTexts.h"
#include "profile/DpiCodes.h"
#include "ui/FieldColours.h"
#include "ui/Layout.h"
#include "ui/ReportRate.h"
#include "ui/TextDraw.h"

#include <QLabel>
#include <QListWidget>

#include <algorithm>

namespace z417 {
namespace {

namespace L = layout::main;
namespace I = layout::images;

// The levels a stage can take with this sensor: the variant's names, cut to the levels it has
// a DPI code for, so the list offers nothing the mouse cannot be set to.
QStringList dpiValueItems(uint8_t sensorVariant) {
    const std::vector<std::string>& row = dpiLabelRow(sensorVariant);
    const auto count =
        std::min(row.size(), static_cast<size_t>(std::max(0, dpiCodeCount(sensorVariant))));
    return toQStringList(
        std::vector<std::string>(row.begin(), row.begin() + static_cast<long>(count)));
}

void setText(const QPointer<QLabel>& field, const QString& text) {
    if (field)
        field->setText(text); // repaints itself
}

// A click at p closes a lighting list (and clears its flag) unless it lands in the list or in
// its field. A flag set without a list (modes without one) is cleared the same way.
void closeIfOutside(PopupList& list, const layout::Rect& field, const QPoint& p) {
    if (field.contains(p.x(), p.y()))
        return;
    if (list && list->geometry().contains(p))
        return;
    list.close();
}

} // namespace

// ---- report rate ----------------------------------------------------------------------------

void MainWindow::selectReportRate(int segment) {
    if (segment < 0 || segment >= L::reportRateSegmentCount)
        return;
    const int previous = segmentOfReportRate(state_.record.reportRate);
    if (previous != segment)
        painter().drawReportRate(segment, previous);
    state_.record.reportRate = kReportRateCodes[segment];
    present();
}

// ---- DPI stages -----------------------------------------------------------------------------

void MainWindow::toggleDpiValueList(int stage) {
    if (stage < 0 || stage >= L::dpiStageShownCount)
        return;
    selectedDpiStage_ = stage;
    // An open list closes on a click on any stage's field.
    if (dpiValueList_.open) {
        dpiValueList_.close();
        return;
    }
    if (!dpiValueList_) {
        const layout::Rect r = L::dpiValueList(stage);
        showPopupList(dpiValueList_, L::ListId::DpiValue, r,
                      dpiValueItems(device_.sensorVariant()));
    }
    dpiValueList_.open = true;
}

void MainWindow::onSwatchClick(int stage) {
    if (stage < 0 || stage >= L::dpiStageShownCount)
        return;
    if (state_.record.dpiStageEnabled[stage] != 1)
        return;
    const std::optional<QColor> chosen = env_.services->chooseColor(this, QColor(Qt::black));
    if (!chosen)
        return;
    state_.record.dpiColor[stage][0] = static_cast<uint8_t>(chosen->red());
    state_.record.dpiColor[stage][1] = static_cast<uint8_t>(chosen->green());
    state_.record.dpiColor[stage][2] = static_cast<uint8_t>(chosen->blue());
    if (QLabel* swatch = dpiSwatches_[static_cast<size_t>(stage)]) {
        setFieldColours(swatch, L::dpiColourSwatchId(stage), fieldStyle());
        swatch->update();
    }
}

// ---- lighting -------------------------------------------------------------------------------

void MainWindow::toggleLightModeList() {
    if (lightModeList_.open) {
        lightModeList_.close();
        return;
    }
    if (!lightModeList_) {
        // "Neon" is shown when stored but not offered.
        QStringList modes;
        for (int m = 0; m < 3; ++m)
            modes << QString::fromStdString(state_.texts.slot(kLightModeSlot0 + m));
        const layout::Rect& r = L::ledModeList;
        showPopupList(lightModeList_, L::ListId::LightMode, r, modes);
    }
    lightModeList_.open = true;
}

void MainWindow::toggleLightParameterList() {
    if (lightParameterList_.open) {
        lightParameterList_.close();
        return;
    }
    if (!lightParameterList_) {
        if (state_.record.lightMode == 1) {
            const layout::Rect& r = L::ledParameterListBrightness;
            showPopupList(lightParameterList_, L::ListId::LightParameter, r,
                          toQStringList(brightnessTexts()));
        } else if (state_.record.lightMode == 2) {
            const layout::Rect& r = L::ledParameterListSpeed;
            showPopupList(lightParameterList_, L::ListId::LightParameter, r,
                          toQStringList(breathSpeedTexts()));
        }
    }
    lightParameterList_.open = true;
}

void MainWindow::toggleLightEffectList() {
    if (lightEffectList_.open) {
        lightEffectList_.close();
        return;
    }
    if (!lightEffectList_) {
        const QString effect = QString::fromStdString(state_.texts.slot(kEffectSlot0 + 1));
        if (state_.record.lightMode == 1) {
            // Standard mode has one effect: it is shown, not offered.
            setText(ledFields_[2], effect);
        } else if (state_.record.lightMode == 2) {
            const layout::Rect& r = L::ledEffectList;
            showPopupList(lightEffectList_, L::ListId::LightEffect, r,
                          {effect, QString::fromStdString(state_.texts.slot(kEffectSlot0 + 2))});
        }
    }
    lightEffectList_.open = true;
}

void MainWindow::closeLightListsOutside(const QPoint& p) {
    closeIfOutside(lightModeList_, L::lightModeClickArea, p);
    closeIfOutside(lightParameterList_, L::lightParameterClickArea, p);
    closeIfOutside(lightEffectList_, L::lightEffectClickArea, p);
}

// ---- choices --------------------------------------------------------------------------------

PopupList* MainWindow::valueList(L::ListId id) {
    switch (id) {
    case L::ListId::DpiValue:
        return &dpiValueList_;
    case L::ListId::LightMode:
        return &lightModeList_;
    case L::ListId::LightParameter:
        return &lightParameterList_;
    case L::ListId::LightEffect:
        return &lightEffectList_;
    default:
        return nullptr;
    }
}

void MainWindow::onValueListChoice(L::ListId id) {
    PopupList* list = valueList(id);
    if (!list || !*list)
        return;
    const int index = (*list)->currentRow();
    if (index < 0)
        return; // nothing chosen: the list stays open
    storeValueChoice(id, static_cast<uint8_t>(index), (*list)->item(index)->text());
    list->close();
}

void MainWindow::storeValueChoice(L::ListId id, uint8_t value, const QString& text) {
    switch (id) {
    case L::ListId::DpiValue:
        state_.record.dpiLevel[selectedDpiStage_] = value;
        setText(dpiValueFields_[static_cast<size_t>(selectedDpiStage_)], text);
        break;
    case L::ListId::LightMode:
        chooseLightMode(value, text);
        break;
    case L::ListId::LightParameter:
        if (state_.record.lightMode == 1)
            state_.record.lightBrightness = value;
        else if (state_.record.lightMode == 2)
            state_.record.breathSpeed = value;
        setText(ledFields_[1], text);
        break;
    case L::ListId::LightEffect:
        if (state_.record.lightMode == 2)
            state_.record.breathEffect = static_cast<uint8_t>(value + 1);
        setText(ledFields_[2], text);
        break;
    default:
        break;
    }
}

// A new lighting mode shows the parameter and effect that go with it.
void MainWindow::chooseLightMode(uint8_t mode, const QString& text) {
    state_.record.lightMode = mode;
    setText(ledFields_[0], text);
    const QString effect = QString::fromStdString(state_.texts.slot(kEffectSlot0 + 1));
    if (mode == 0) {
        setText(ledFields_[1], QString());
        setText(ledFields_[2], QString());
    } else if (mode == 1) {
        setText(ledFields_[1],
                QString::fromStdString(textAt(brightnessTexts(), state_.record.lightBrightness)));
        setText(ledFields_[2], effect);
    } else if (mode == 2) {
        setText(ledFields_[1],
                QString::fromStdString(textAt(breathSpeedTexts(), state_.record.breathSpeed)));
        setText(ledFields_[2], effect);
    }
}

} // namespace z417
