// Every list has an "open" flag beside its window. For the Parameter and Effect fields the flag
// toggles on every click even in a mode that shows no list, so in such a mode every second
// click only closes again what was never shown.
#include "app/ValueControls.h"

#include "assign/KeyTables.h"
#include "assign/LedTexts.h"
#include "profile/DpiCodes.h"
#include "ui/FieldColours.h"
#include "ui/Layout.h"
#include "ui/PageControls.h"
#include "ui/ReportRate.h"
#include "ui/TextDraw.h"

#include <QLabel>
#include <QListWidget>
#include <QScrollBar>

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

// Line steps per wheel notch on the DPI value list.
constexpr int kWheelLines = 3;

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

ValueControls::ValueControls(PageContext& context, PageFields& fields)
    : context_(context), fields_(fields) {}

void ValueControls::showList(PopupList& list, L::ListId id, const layout::Rect& rect,
                             const QStringList& rows) {
    list.show(context_.canvas.widget(), static_cast<int>(id), rect, rows, context_.fieldStyle(),
              [this, id] { onValueListChoice(id); });
    // Named like the field it opens from.
    const PageControl field =
        id == L::ListId::DpiValue
            ? static_cast<PageControl>(static_cast<int>(PageControl::DpiValue0) + selectedDpiStage_)
        : id == L::ListId::LightMode      ? PageControl::LightMode
        : id == L::ListId::LightParameter ? PageControl::LightParameter
                                          : PageControl::LightEffect;
    list->setAccessibleName(qs(controlName(field, context_.state.texts)));
}

bool ValueControls::ownsList(const QListWidget* list) const {
    return list == dpiValueList_.widget() || list == lightModeList_.widget() ||
           list == lightParameterList_.widget() || list == lightEffectList_.widget();
}

QListWidget* ValueControls::openList() const {
    for (const PopupList* list :
         {&dpiValueList_, &lightModeList_, &lightParameterList_, &lightEffectList_})
        if (*list)
            return list->widget();
    return nullptr;
}

void ValueControls::closeAll() {
    for (PopupList* list :
         {&dpiValueList_, &lightModeList_, &lightParameterList_, &lightEffectList_})
        list->close();
}

void ValueControls::scrollDpiValueList(int angleDelta) {
    if (!dpiValueList_)
        return;
    const auto action = angleDelta <= 0 ? QAbstractSlider::SliderSingleStepAdd
                                        : QAbstractSlider::SliderSingleStepSub;
    for (int i = 0; i < kWheelLines; ++i)
        dpiValueList_->verticalScrollBar()->triggerAction(action);
}

QString ValueControls::effectText(int effect) const {
    return QString::fromStdString(context_.state.texts.slot(TextId::EffectNonDisplay, effect));
}

// ---- report rate ----------------------------------------------------------------------------

void ValueControls::selectReportRate(int segment) {
    if (segment < 0 || segment >= L::reportRateSegmentCount)
        return;
    const int previous = segmentOfReportRate(record().reportRate);
    if (previous != segment)
        context_.canvas.painter().drawReportRate(segment, previous);
    record().reportRate = kReportRateCodes[segment];
    context_.canvas.present();
}

// ---- DPI stages -----------------------------------------------------------------------------

void ValueControls::toggleDpiValueList(int stage) {
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
        showList(dpiValueList_, L::ListId::DpiValue, r,
                 dpiValueItems(context_.device.sensorVariant()));
    }
    dpiValueList_.open = true;
}

void ValueControls::onSwatchClick(int stage) {
    if (stage < 0 || stage >= L::dpiStageShownCount)
        return;
    if (record().dpiStageEnabled[stage] != 1)
        return;
    const std::optional<QColor> chosen =
        context_.services.chooseColor(context_.canvas.widget(), QColor(Qt::black));
    if (!chosen)
        return;
    record().dpiColor[stage][0] = static_cast<uint8_t>(chosen->red());
    record().dpiColor[stage][1] = static_cast<uint8_t>(chosen->green());
    record().dpiColor[stage][2] = static_cast<uint8_t>(chosen->blue());
    if (QLabel* swatch = fields_.swatches[static_cast<size_t>(stage)]) {
        setFieldColours(swatch, L::dpiColourSwatchId(stage), context_.fieldStyle());
        swatch->update();
    }
}

// ---- lighting -------------------------------------------------------------------------------

void ValueControls::toggleLightModeList() {
    if (lightModeList_.open) {
        lightModeList_.close();
        return;
    }
    if (!lightModeList_) {
        // "Neon" is shown when stored but not offered.
        QStringList modes;
        for (int m = 0; m < 3; ++m)
            modes << QString::fromStdString(context_.state.texts.slot(TextId::ModeOff, m));
        const layout::Rect& r = L::ledModeList;
        showList(lightModeList_, L::ListId::LightMode, r, modes);
    }
    lightModeList_.open = true;
}

void ValueControls::toggleLightParameterList() {
    if (lightParameterList_.open) {
        lightParameterList_.close();
        return;
    }
    if (!lightParameterList_) {
        if (record().lightMode == 1) {
            const layout::Rect& r = L::ledParameterListBrightness;
            showList(lightParameterList_, L::ListId::LightParameter, r,
                     toQStringList(brightnessTexts()));
        } else if (record().lightMode == 2) {
            const layout::Rect& r = L::ledParameterListSpeed;
            showList(lightParameterList_, L::ListId::LightParameter, r,
                     toQStringList(breathSpeedTexts()));
        }
    }
    lightParameterList_.open = true;
}

void ValueControls::toggleLightEffectList() {
    if (lightEffectList_.open) {
        lightEffectList_.close();
        return;
    }
    if (!lightEffectList_) {
        const QString effect = effectText(1);
        if (record().lightMode == 1) {
            // Standard mode has one effect: it is shown, not offered.
            fields_.setLed(PageFields::Effect, effect);
        } else if (record().lightMode == 2) {
            const layout::Rect& r = L::ledEffectList;
            showList(lightEffectList_, L::ListId::LightEffect, r, {effect, effectText(2)});
        }
    }
    lightEffectList_.open = true;
}

void ValueControls::closeListsOutside(const QPoint& p) {
    closeIfOutside(lightModeList_, L::lightModeClickArea, p);
    closeIfOutside(lightParameterList_, L::lightParameterClickArea, p);
    closeIfOutside(lightEffectList_, L::lightEffectClickArea, p);
}

// ---- choices --------------------------------------------------------------------------------

PopupList* ValueControls::valueList(L::ListId id) {
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

void ValueControls::onValueListChoice(L::ListId id) {
    PopupList* list = valueList(id);
    if (!list || !*list)
        return;
    const int index = (*list)->currentRow();
    if (index < 0)
        return; // nothing chosen: the list stays open
    storeValueChoice(id, static_cast<uint8_t>(index), (*list)->item(index)->text());
    list->close();
}

void ValueControls::storeValueChoice(L::ListId id, uint8_t value, const QString& text) {
    switch (id) {
    case L::ListId::DpiValue:
        record().dpiLevel[selectedDpiStage_] = value;
        PageFields::setText(fields_.dpiValues[static_cast<size_t>(selectedDpiStage_)], text);
        break;
    case L::ListId::LightMode:
        chooseLightMode(value, text);
        break;
    case L::ListId::LightParameter:
        if (record().lightMode == 1)
            record().lightBrightness = value;
        else if (record().lightMode == 2)
            record().breathSpeed = value;
        fields_.setLed(PageFields::Parameter, text);
        break;
    case L::ListId::LightEffect:
        if (record().lightMode == 2)
            record().breathEffect = static_cast<uint8_t>(value + 1);
        fields_.setLed(PageFields::Effect, text);
        break;
    default:
        break;
    }
}

// A new lighting mode shows the parameter and effect that go with it.
void ValueControls::chooseLightMode(uint8_t mode, const QString& text) {
    record().lightMode = mode;
    fields_.setLed(PageFields::Mode, text);
    const QString effect = effectText(1);
    if (mode == 0) {
        fields_.setLed(PageFields::Parameter, QString());
        fields_.setLed(PageFields::Effect, QString());
    } else if (mode == 1) {
        fields_.setLed(PageFields::Parameter,
                       QString::fromStdString(textAt(brightnessTexts(), record().lightBrightness)));
        fields_.setLed(PageFields::Effect, effect);
    } else if (mode == 2) {
        fields_.setLed(PageFields::Parameter,
                       QString::fromStdString(textAt(breathSpeedTexts(), record().breathSpeed)));
        fields_.setLed(PageFields::Effect, effect);
    }
}

} // namespace z417
