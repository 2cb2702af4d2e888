#include "app/PageControlHost.h"

#include "app/BasicPage.h"
#include "platform/qt/UiServices.h"
#include "ui/AppState.h"
#include "ui/ReportRate.h"

#include <QLabel>

namespace z417 {

PageControlHost::PageControlHost(BasicPage& page, const AppState& state, UiServices& services,
                                 WindowActions window)
    : page_(page), state_(state), services_(services), window_(std::move(window)) {}

void PageControlHost::showPage() {
    page_.show();
}

void PageControlHost::openWebLink() {
    services_.openUrl(QString::fromStdString(state_.texts.slot(TextId::WebLink)));
}

void PageControlHost::showKeySet(int keySet) {
    page_.assignment().showKeySet(keySet);
}

void PageControlHost::restoreDefaults() {
    page_.assignment().restoreDefaults();
}

void PageControlHost::toggleSlotList(int slot) {
    page_.assignment().toggleSlotList(slot);
}

void PageControlHost::selectReportRate(int segment) {
    page_.values().selectReportRate(segment);
}

void PageControlHost::chooseSwatchColour(int stage) {
    page_.values().onSwatchClick(stage);
}

void PageControlHost::toggleDpiValueList(int stage) {
    page_.values().toggleDpiValueList(stage);
}

void PageControlHost::toggleLightList(int field) {
    ValueControls& v = page_.values();
    if (field == 0)
        v.toggleLightModeList();
    else if (field == 1)
        v.toggleLightParameterList();
    else
        v.toggleLightEffectList();
}

std::string PageControlHost::assignmentLabel(int row) const {
    return state_.labels.label[activeKeySet()][row];
}

int PageControlHost::activeKeySet() const {
    return state_.record.activeKeySet == 1 ? 1 : 0;
}

int PageControlHost::reportRateSegment() const {
    return segmentOfReportRate(state_.record.reportRate);
}

std::array<uint8_t, 3> PageControlHost::dpiColour(int stage) const {
    const uint8_t* rgb = state_.record.dpiColor[stage];
    return {rgb[0], rgb[1], rgb[2]};
}

std::string PageControlHost::dpiValueText(int stage) const {
    const QLabel* field = page_.fields().dpiValues[static_cast<size_t>(stage)];
    return field ? field->text().toStdString() : std::string();
}

std::string PageControlHost::lightFieldText(int field) const {
    const QLabel* label = page_.fields().leds[static_cast<size_t>(field)];
    return label ? label->text().toStdString() : std::string();
}

} // namespace z417
