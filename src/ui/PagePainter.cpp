// The Basic settings page painted onto the back buffer from a read-only view of the state.
#include "ui/PagePainter.h"

#include "ui/ReportRate.h"
#include "ui/Skin.h"
#include "ui/TextDraw.h"

namespace z417 {
namespace {

namespace L = layout::main;
namespace I = layout::images;

const QColor kTitleColour(66, 66, 66);

} // namespace

PagePainter::PagePainter(QImage& buffer, const AppState& state) : buffer_(buffer), state_(state) {}

void PagePainter::drawImage(const char* name, int x, int y) {
    if (buffer_.isNull())
        return;
    drawSkinImage(&buffer_, state_.skin, name, x, y);
}

void PagePainter::drawButton(const char* image, const layout::Rect& r, const QString& caption) {
    if (buffer_.isNull())
        return;
    drawImage(image, r.left, r.top);
    drawText(buffer_, toQRect(r), caption, TextFormat::Centre, state_.normalFont,
             state_.skin.textColour());
}

void PagePainter::drawAssignmentRow(int row, bool over) {
    if (buffer_.isNull())
        return;
    const layout::Rect box = L::assignmentBox(row);
    drawImage(over ? I::assignmentBox.over.name : I::assignmentBox.normal.name, box.left, box.top);
    drawText(buffer_, toQRect(L::rowNumber(row).rect), QString::number(row + 1), TextFormat::Left,
             state_.normalFont, state_.skin.textColour());
    const int set = state_.record.activeKeySet == 1 ? 1 : 0;
    drawText(buffer_, toQRect(L::assignmentLabel(row).rect), qs(state_.labels.label[set][row]),
             TextFormat::Left, state_.normalFont, state_.skin.textColour());
}

void PagePainter::drawControl(PageControl control, bool over) {
    const ControlRow& c = controlOf(control);
    if (!c.looks)
        return;
    const char* image = over ? c.looks->over.name : c.looks->normal.name;
    if (c.group == HoverGroup::Rows)
        drawAssignmentRow(c.index, over);
    else if (c.caption)
        drawButton(image, c.rect, qs(state_.texts.caption(*c.caption)));
    else
        drawImage(image, c.rect.left, c.rect.top);
}

void PagePainter::drawKeySetButtons() {
    const bool setB = state_.record.activeKeySet == 1;
    drawButton(setB ? I::textButton.normal.name : I::textButton.over.name, L::modeAButton,
               QStringLiteral("Mode A"));
    drawButton(setB ? I::textButton.over.name : I::textButton.normal.name, L::modeBButton,
               QStringLiteral("Mode B"));
}

void PagePainter::paintPage() {
    if (buffer_.isNull())
        return;
    drawImage(I::basicPage.name, 0, 0);
    for (const ControlRow& c : pageControls) {
        if (c.looks)
            drawImage(c.looks->normal.name, c.rect.left, c.rect.top);
    }
    for (int i = 0; i < L::reportRateSegmentCount; ++i)
        drawImage(I::reportRateDark.name, L::reportRateSegment(i).left,
                  L::reportRateSegment(i).top);

    auto text = [this](const layout::TextArea& area, const QString& s) {
        drawText(buffer_, toQRect(area.rect), s, toTextFormat(area.format), state_.normalFont,
                 state_.skin.textColour());
    };
    drawText(buffer_, toQRect(L::pageTitle.rect), qs(state_.texts.caption(Caption::PageTitle)),
             TextFormat::Centre, state_.titleFont, kTitleColour);
    text(L::keySettingCaption, qs(state_.texts.caption(Caption::KeyHeading)));
    text(L::reportRateCaption, qs(state_.texts.caption(Caption::ReportRateHeading)));
    text(L::dpiSettingCaption, qs(state_.texts.caption(Caption::DpiHeading)));
    text(L::dpiEffectCaption, qs(state_.texts.slot(TextId::DpiEffect)));
    text(L::webAddressLine, qs(state_.texts.slot(TextId::WebLink)));
    for (const ControlRow& c : pageControls) {
        if (c.looks && c.caption)
            text({c.rect, L::buttonCaptionFormat}, qs(state_.texts.caption(*c.caption)));
    }
    const int set = state_.record.activeKeySet == 1 ? 1 : 0;
    for (int row = 0; row < L::shownRowCount; ++row) {
        text(L::rowNumber(row), QString::number(row + 1));
        text(L::assignmentLabel(row), qs(state_.labels.label[set][row]));
    }
    drawKeySetButtons();

    for (int i = 0; i < L::reportRateSegmentCount; ++i)
        text(L::reportRateSegmentCaption(i), QString::fromLatin1(kReportRateCaptions[i]));
    text(L::ledModeLabel, qs(state_.texts.slot(TextId::LightingMode)));
    text(L::ledParameterLabel, qs(state_.texts.slot(TextId::LightingParameter)));
    text(L::ledEffectLabel, qs(state_.texts.slot(TextId::LightingEffect)));
}

void PagePainter::drawStageNumber(int stage) {
    if (!buffer_.isNull())
        drawText(buffer_, toQRect(L::dpiStageNumber(stage).rect), QString::number(stage + 1),
                 TextFormat::Left, state_.normalFont, state_.skin.textColour());
}

void PagePainter::drawReportRate(int lit, int dark) {
    if (dark >= 0)
        drawImage(I::reportRateDark.name, L::reportRateSegment(dark).left,
                  L::reportRateSegment(dark).top);
    drawImage(I::reportRateLight.name, L::reportRateSegment(lit).left,
              L::reportRateSegment(lit).top);
}

} // namespace z417
