// Where a left-button press on the main window goes, and what the controls act on: the click
// order comes from the control table, each row's action calls back into the window here.
#include "app/MainWindow.h"

#include "ui/ReportRate.h"

namespace z417 {

void MainWindow::buildClickTable() {
    for (PageControl c : controlsInClickOrder()) {
        const ControlRow& row = controlOf(c);
        clicks_.add(row.rect, row.pageOnly ? ClickTable::Scope::Page : ClickTable::Scope::Window,
                    row.clickGoesOn ? ClickTable::Flow::GoOn : ClickTable::Flow::Stop,
                    [this, &row] { return row.act(*this, row.index); });
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

// ---- what the controls act on -------------------------------------------------------------

bool MainWindow::ok() {
    return onOk();
}

bool MainWindow::apply() {
    return session_.apply();
}

void MainWindow::cancel() {
    onCancel();
}

void MainWindow::chooseSkin() {
    onSkinButton();
}

void MainWindow::minimise() {
    hideWindow();
}

void MainWindow::showPage() {
    page_.show();
}

void MainWindow::openWebLink() {
    env_.services->openUrl(QString::fromStdString(state_.texts.slot(TextId::WebLink)));
}

void MainWindow::showKeySet(int keySet) {
    page_.assignment().showKeySet(keySet);
}

void MainWindow::restoreDefaults() {
    page_.assignment().restoreDefaults();
}

void MainWindow::toggleSlotList(int slot) {
    page_.assignment().toggleSlotList(slot);
}

void MainWindow::selectReportRate(int segment) {
    page_.values().selectReportRate(segment);
}

void MainWindow::chooseSwatchColour(int stage) {
    page_.values().onSwatchClick(stage);
}

void MainWindow::toggleDpiValueList(int stage) {
    page_.values().toggleDpiValueList(stage);
}

void MainWindow::toggleLightList(int field) {
    ValueControls& v = page_.values();
    if (field == 0)
        v.toggleLightModeList();
    else if (field == 1)
        v.toggleLightParameterList();
    else
        v.toggleLightEffectList();
}

std::string MainWindow::assignmentLabel(int row) const {
    return state_.labels.label[activeKeySet()][row];
}

int MainWindow::activeKeySet() const {
    return state_.record.activeKeySet == 1 ? 1 : 0;
}

int MainWindow::reportRateSegment() const {
    return segmentOfReportRate(state_.record.reportRate);
}

std::array<uint8_t, 3> MainWindow::dpiColour(int stage) const {
    const uint8_t* rgb = state_.record.dpiColor[stage];
    return {rgb[0], rgb[1], rgb[2]};
}

std::string MainWindow::dpiValueText(int stage) const {
    const QLabel* field = page_.fields().dpiValues[static_cast<size_t>(stage)];
    return field ? field->text().toStdString() : std::string();
}

std::string MainWindow::lightFieldText(int field) const {
    const QLabel* label = page_.fields().leds[static_cast<size_t>(field)];
    return label ? label->text().toStdString() : std::string();
}

} // namespace z417
