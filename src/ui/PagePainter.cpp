// The Basic settings page painted onto the back buffer from a read-only view of the state.
#include "ui/PagePainter.h"

#include "ui/ReportRate.h"
#include "ui/SkinImage.h"
#include "ui/TextDraw.h"

namespace z417 {
namespace {

namespace L = layout::main;
namespace I = layout::images;

const QColor kTitleColour(66, 66, 66);

QRect qrect(const layout::Rect& r) {
    return toQRect(r.left, r.top, r.right, r.bottom);
}

TextFormat formatOf(unsigned f) {
    switch (f) {
    case layout::textFormat::centredTop:
        return TextFormat::CentreTop;
    case layout::textFormat::left:
        return TextFormat::Left;
    case layout::textFormat::right:
        return TextFormat::Right;
    default:
        return TextFormat::Centre;
    }
}

QString qs(const std::string& s) {
    return QString::fromStdString(s);
}

} // namespace

PagePainter::PagePainter(QImage& buffer, const AppState& state) : buffer_(buffer), state_(state) {}

void PagePainter::drawImage(const char* name, int x, int y) {
    if (buffer_.isNull())
        return;
    DrawSkinImage(&buffer_, state_.skinFolder + QString::fromUtf8(name), x, y);
}

void PagePainter::drawButton(const char* image, const layout::Rect& r, const QString& caption) {
    if (buffer_.isNull())
        return;
    drawImage(image, r.left, r.top);
    drawText(buffer_, qrect(r), caption, TextFormat::Centre, state_.normalFont, state_.textColour);
}

void PagePainter::drawAssignmentRow(int row, bool over) {
    if (buffer_.isNull())
        return;
    const layout::Rect box = L::assignmentBox(row);
    drawImage(over ? I::assignmentBox.over.name : I::assignmentBox.normal.name, box.left, box.top);
    drawText(buffer_, qrect(L::rowNumber(row).rect), QString::number(row + 1), TextFormat::Left,
             state_.normalFont, state_.textColour);
    const int set = state_.record.activeKeySet == 1 ? 1 : 0;
    drawText(buffer_, qrect(L::assignmentLabel(row).rect), qs(state_.labels.label[set][row]),
             TextFormat::Left, state_.normalFont, state_.textColour);
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
    drawImage(I::minimiseButton.normal.name, L::minimiseButton.left, L::minimiseButton.top);
    drawImage(I::closeButton.normal.name, L::closeButton.left, L::closeButton.top);
    drawImage(I::skinButton.normal.name, L::skinButton.left, L::skinButton.top);
    for (const layout::Rect& r : {L::okButton, L::applyButton, L::cancelButton, L::defaultButton})
        drawImage(I::textButton.normal.name, r.left, r.top);
    drawImage(I::pageButton.normal.name, L::pageButton.left, L::pageButton.top);
    for (int row = 0; row < L::shownRowCount; ++row)
        drawImage(I::assignmentBox.normal.name, L::assignmentBox(row).left,
                  L::assignmentBox(row).top);
    for (int i = 0; i < L::reportRateSegmentCount; ++i)
        drawImage(I::reportRateDark.name, L::reportRateSegment(i).left,
                  L::reportRateSegment(i).top);

    auto text = [this](const layout::TextArea& area, const QString& s) {
        drawText(buffer_, qrect(area.rect), s, formatOf(area.format), state_.normalFont,
                 state_.textColour);
    };
    drawText(buffer_, qrect(L::pageTitle.rect), qs(state_.texts.caption(Caption::PageTitle)),
             TextFormat::Centre, state_.titleFont, kTitleColour);
    text(L::keySettingCaption, qs(state_.texts.caption(Caption::KeyHeading)));
    text(L::reportRateCaption, qs(state_.texts.caption(Caption::ReportRateHeading)));
    text(L::dpiSettingCaption, qs(state_.texts.caption(Caption::DpiHeading)));
    text(L::dpiEffectCaption, qs(state_.texts.slot(12)));
    text(L::webAddressLine, qs(state_.texts.slot(53)));
    auto caption = [&](const layout::Rect& r, Caption c) {
        text({r, L::buttonCaptionFormat}, qs(state_.texts.caption(c)));
    };
    caption(L::okButton, Caption::OkButton);
    caption(L::applyButton, Caption::ApplyButton);
    caption(L::cancelButton, Caption::CancelButton);
    caption(L::defaultButton, Caption::DefaultButton);

    const int set = state_.record.activeKeySet == 1 ? 1 : 0;
    for (int row = 0; row < L::shownRowCount; ++row) {
        text(L::rowNumber(row), QString::number(row + 1));
        text(L::assignmentLabel(row), qs(state_.labels.label[set][row]));
    }
    drawKeySetButtons();

    for (int i = 0; i < L::reportRateSegmentCount; ++i)
        text(L::reportRateSegmentCaption(i), QString::fromLatin1(kReportRateCaptions[i]));
    text(L::ledModeLabel, qs(state_.texts.slot(13)));
    text(L::ledParameterLabel, qs(state_.texts.slot(14)));
    text(L::ledEffectLabel, qs(state_.texts.slot(17)));
}

void PagePainter::drawStageNumber(int stage) {
    if (!buffer_.isNull())
        drawText(buffer_, qrect(L::dpiStageNumber(stage).rect), QString::number(stage + 1),
                 TextFormat::Left, state_.normalFont, state_.textColour);
}

void PagePainter::drawReportRate(int lit, int dark) {
    if (dark >= 0)
        drawImage(I::reportRateDark.name, L::reportRateSegment(dark).left,
                  L::reportRateSegment(dark).top);
    drawImage(I::reportRateLight.name, L::reportRateSegment(lit).left,
              L::reportRateSegment(lit).top);
}

} // namespace z417
