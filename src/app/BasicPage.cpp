#include "app/BasicPage.h"

#include "assign/DefaultLabels.h"
#include "assign/KeyTables.h"
#include "assign/LedTexts.h"
#include "ui/Layout.h"
#include "ui/ReportRate.h"
#include "ui/TextDraw.h"

#include <QLabel>
#include <QListWidget>
#include <QSignalBlocker>

namespace z417 {
namespace {

namespace L = layout::main;

} // namespace

BasicPage::BasicPage(PageContext& context)
    : context_(context), values_(context, fields_), assignment_(context) {}

void BasicPage::show() {
    if (state_ == PageState::Shown)
        return;
    state_ = PageState::Shown;
    awaitingShow_ = false;
    tearDown();
    keepFirstRunLabels();
    makeFontsOnce(context_.state);
    createFields();
    repaint();
    context_.canvas.present();
}

void BasicPage::repaint() {
    PagePainter painter = context_.canvas.painter();
    painter.paintPage();
    for (int s = 0; s < L::dpiStageShownCount; ++s)
        painter.drawStageNumber(s);
    painter.drawReportRate(segmentOfReportRate(context_.state.record.reportRate));
    if (repainted_)
        repainted_();
}

// A first start gives both key sets the default labels and keeps them at once.
void BasicPage::keepFirstRunLabels() {
    if (everBuilt_)
        return;
    everBuilt_ = true;
    AppState& state = context_.state;
    if (state.firstRunFlag != 0)
        return;
    state.labels = defaultAssignmentLabels(state.texts);
    const Status saved = saveLabels(state.paths.strIni, state.texts.sectionName(), state.labels);
    if (saved)
        state.fileLabels = state.labels;
    context_.showMessages(saved);
}

void BasicPage::awaitShow() {
    keepFirstRunLabels();
    awaitingShow_ = true;
}

void BasicPage::showIfNeverBuilt() {
    if (state_ == PageState::Unbuilt && (!everBuilt_ || awaitingShow_))
        show();
}

void BasicPage::rebuild() {
    if (state_ != PageState::Shown)
        return;
    state_ = PageState::TearingDown;
    tearDown();
    state_ = PageState::Unbuilt;
    show();
}

void BasicPage::tearDown() {
    if (state_ == PageState::Unbuilt)
        return;
    for (auto* group : {&fields_.dpiValues, &fields_.swatches})
        for (auto& f : *group)
            delete f.data();
    for (auto& f : fields_.leds)
        delete f.data();
    // Every pop-up list goes, and all twelve are closed.
    assignment_.closeAll();
    values_.closeAll();
}

void BasicPage::createFields() {
    if (fields_.dpiValues[0])
        return;
    createDpiFields();
    createLightFields();
}

QLabel* BasicPage::createField(int id, const layout::Rect& rect, const QString& text, bool sunken) {
    auto* label = new QLabel(text, context_.canvas.widget());
    label->setAlignment(Qt::AlignCenter);
    label->setGeometry(toQRect(rect));
    if (sunken)
        label->setFrameStyle(QFrame::Panel | QFrame::Sunken);
    setFieldColours(label, id, context_.fieldStyle());
    label->show();
    return label;
}

void BasicPage::createDpiFields() {
    const uint8_t variant = context_.device.sensorVariant();
    const SettingsRecord& record = context_.state.record;
    for (int s = 0; s < L::dpiStageShownCount; ++s) {
        fields_.dpiValues[s] = createField(L::dpiValueFieldId(s), L::dpiValueField(s),
                                           qs(dpiLevelName(variant, record.dpiLevel[s])), false);
        fields_.swatches[s] =
            createField(L::dpiColourSwatchId(s), L::dpiColourSwatch(s), {}, false);
    }
}

void BasicPage::createLightFields() {
    const SettingsRecord& record = context_.state.record;
    const TextTable& texts = context_.state.texts;
    const uint8_t mode = record.lightMode;
    const QString modeName =
        mode < kLightModeCount ? qs(texts.slot(TextId::ModeOff, mode)) : QString();
    fields_.leds[PageFields::Mode] =
        createField(L::lightModeFieldId, L::lightModeField, modeName, false);
    if (mode > 3)
        return;
    auto effectName = [&texts](unsigned e) {
        return e < kEffectCount ? qs(texts.slot(TextId::EffectNonDisplay, static_cast<int>(e)))
                                : QString();
    };
    QString parameter, effect;
    if (mode == 1) {
        parameter = qs(textAt(brightnessTexts(), record.lightBrightness));
        effect = effectName(record.reserved33);
    } else if (mode == 2) {
        parameter = qs(textAt(breathSpeedTexts(), record.breathSpeed));
        effect = effectName(record.breathEffect);
    } else if (mode == 3) {
        parameter = qs(textAt(neonSpeedTexts(), record.neonSpeed));
        effect = effectName(record.reserved35[0]);
    }
    fields_.leds[PageFields::Parameter] =
        createField(L::lightParameterFieldId, L::lightParameterField, parameter, mode == 0);
    fields_.leds[PageFields::Effect] =
        createField(L::lightEffectFieldId, L::lightEffectField, effect, mode == 0);
}

// ---- clicks and pointer -------------------------------------------------------------------

void BasicPage::closeListsOutside(const QPoint& p) {
    assignment_.closeListsOutside(p);
    values_.closeListsOutside(p);
}

void BasicPage::hoverList(QListWidget* list, const QPoint& pointInList) {
    if (state_ != PageState::Shown || !list)
        return;
    if (!assignment_.ownsList(list) && !values_.ownsList(list))
        return;
    QListWidgetItem* item = list->itemAt(list->viewport()->mapFrom(list, pointInList));
    if (!item)
        return;
    setCurrentListRow(list, list->row(item));
}

void BasicPage::setCurrentListRow(QListWidget* list, int row) {
    {
        // Only the current item moves; hovering is never a choice.
        const QSignalBlocker blocker(list);
        list->setCurrentRow(row);
    }
    if (assignment_.isSlotList(list))
        assignment_.updateDpiSwitchSubList(list, row);
}

QListWidget* BasicPage::openList() const {
    if (QListWidget* list = assignment_.openSlotList())
        return list;
    return values_.openList();
}

void BasicPage::closeLists() {
    assignment_.closeAll();
    values_.closeAll();
}

} // namespace z417
