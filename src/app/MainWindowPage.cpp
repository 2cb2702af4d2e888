// The Basic settings page of the main window: full paint, child fields, partial redraws.
#include "app/MainWindow.h"
#include "assign/DefaultLabels.h"
#include "assign/FunctionCatalogue.h"
#include "assign/KeyTables.h"
#include "assign/LedTexts.h"
#include "ui/FieldColours.h"
#include "ui/Layout.h"
#include "ui/PagePainter.h"
#include "ui/PopupList.h"
#include "ui/ReportRate.h"
#include "ui/SkinImage.h"
#include "ui/TextDraw.h"

#include <QLabel>
#include <QListWidget>

namespace z417 {
namespace {

namespace L = layout::main;
namespace I = layout::images;

} // namespace

void MainWindow::present() {
    update();
}

PagePainter MainWindow::painter() {
    parkAgainIfHidden();
    return PagePainter(backBuffer_.surface(), state_);
}

void MainWindow::drawAssignmentRow(int row, bool over) {
    painter().drawAssignmentRow(row, over);
}

void MainWindow::drawKeySetButtons() {
    painter().drawKeySetButtons();
}

void MainWindow::showPage() {
    if (pageState_ == PageState::Shown)
        return;
    pageState_ = PageState::Shown;
    pageAwaitsShow_ = false;
    tearDownPage();
    rewriteFirstRunLabels();
    makeFontsOnce();

    painter().paintPage();

    createPageFields();

    painter().drawReportRate(segmentOfReportRate(state_.record.reportRate));
    present();
}

void MainWindow::rewriteFirstRunLabels() {
    if (firstPageBuildDone_)
        return;
    firstPageBuildDone_ = true;
    if (state_.firstRunFlag == 0) {
        state_.labels = defaultAssignmentLabels(state_.texts);
        showMessages(saveLabels(state_.paths.strIni, state_.texts.sectionName(), state_.labels));
    }
}

void MainWindow::createPageFields() {
    if (dpiValueFields_[0])
        return;
    createDpiFields();
    createLightFields();
}

QLabel* MainWindow::createField(int id, const layout::Rect& rect, const QString& text,
                                bool sunken) {
    auto* label = new QLabel(text, this);
    label->setAlignment(Qt::AlignCenter);
    label->setGeometry(toQRect(rect));
    if (sunken)
        label->setFrameStyle(QFrame::Panel | QFrame::Sunken);
    setFieldColours(label, id, fieldStyle());
    label->show();
    return label;
}

void MainWindow::createDpiFields() {
    const uint8_t variant = device_.sensorVariant();
    for (int s = 0; s < L::dpiStageShownCount; ++s) {
        painter().drawStageNumber(s);
        dpiValueFields_[s] =
            createField(L::dpiValueFieldId(s), L::dpiValueField(s),
                        qs(dpiLevelName(variant, state_.record.dpiLevel[s])), false);
        dpiSwatches_[s] = createField(L::dpiColourSwatchId(s), L::dpiColourSwatch(s), {}, false);
    }
}

void MainWindow::createLightFields() {
    const uint8_t mode = state_.record.lightMode;
    const QString modeName =
        mode < kLightModeCount ? qs(state_.texts.slot(kLightModeSlot0 + mode)) : QString();
    ledFields_[0] = createField(L::lightModeFieldId, L::lightModeField, modeName, false);
    if (mode > 3)
        return;
    auto effectName = [this](unsigned e) {
        return e < kEffectCount ? qs(state_.texts.slot(kEffectSlot0 + static_cast<int>(e)))
                                : QString();
    };
    QString parameter, effect;
    if (mode == 1) {
        parameter = qs(textAt(brightnessTexts(), state_.record.lightBrightness));
        effect = effectName(state_.record.reserved33);
    } else if (mode == 2) {
        parameter = qs(textAt(breathSpeedTexts(), state_.record.breathSpeed));
        effect = effectName(state_.record.breathEffect);
    } else if (mode == 3) {
        parameter = qs(textAt(neonSpeedTexts(), state_.record.neonSpeed));
        effect = effectName(state_.record.reserved35[0]);
    }
    ledFields_[1] =
        createField(L::lightParameterFieldId, L::lightParameterField, parameter, mode == 0);
    ledFields_[2] = createField(L::lightEffectFieldId, L::lightEffectField, effect, mode == 0);
}

void MainWindow::tearDownPage() {
    if (pageState_ == PageState::Unbuilt)
        return;
    for (auto& f : dpiValueFields_)
        delete f.data();
    for (auto& f : dpiSwatches_)
        delete f.data();
    for (auto& f : ledFields_)
        delete f.data();
    // Every pop-up list goes, and all twelve are closed.
    for (PopupList* list : allPopupLists()) {
        list->close();
    }
}

std::vector<PopupList*> MainWindow::allPopupLists() {
    std::vector<PopupList*> lists;
    for (PopupList& list : slotLists_)
        lists.push_back(&list);
    for (PopupList* list :
         {&dpiSubList_, &dpiValueList_, &lightModeList_, &lightParameterList_, &lightEffectList_})
        lists.push_back(list);
    return lists;
}

void MainWindow::showPopupList(PopupList& list, L::ListId id, const layout::Rect& rect,
                               const QStringList& rows) {
    list.show(this, static_cast<int>(id), rect, rows, fieldStyle(),
              [this, id] { onListNotification(id); });
}

void MainWindow::onListNotification(L::ListId id) {
    if (L::isAssignmentList(id))
        onSlotListChoice();
    else if (id == L::ListId::DpiSwitchSub)
        onDpiSubListChoice();
    else
        onValueListChoice(id);
}

void MainWindow::onDefaultButton() {
    restoreDefaultAssignments(state_.record, state_.labels, state_.texts);
    for (int row = 0; row < L::shownRowCount; ++row)
        drawAssignmentRow(row, false);
    present();
}

void MainWindow::showKeySet(int keySet) {
    state_.record.activeKeySet = keySet == 1 ? 1 : 0;
    drawKeySetButtons();
    for (int row = 0; row < L::shownRowCount; ++row)
        drawAssignmentRow(row, false);
    present();
}

} // namespace z417
