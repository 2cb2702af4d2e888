#include "dialogs/ChoiceDialog.h"

#include "assign/KeyTables.h"
#include "ui/TextDraw.h"

#include <QLabel>

namespace z417 {
namespace {

struct ChoiceRow {
    ChoiceKind kind;
    DialogFrameSetup frame;
    QStringList (*entries)(const DialogEnvironment&);
};

Language languageOf(const DialogEnvironment& environment) {
    return languageFromCode(environment.languageCode);
}

const ChoiceRow kChoiceRows[] = {
    {ChoiceKind::HotKey,
     {layout::hotKeyDialog::background.name, failureCaption::hotKey,
      &layout::hotKeyDialog::dropDown, false, false, 45},
     [](const DialogEnvironment& e) { return hotKeyNames(languageOf(e)); }},
    {ChoiceKind::Media,
     {layout::mediaDialog::background.name, failureCaption::media, &layout::mediaDialog::dropDown,
      false, false, 44},
     [](const DialogEnvironment& e) { return mediaKeyNames(languageOf(e)); }},
    {ChoiceKind::Windows,
     {layout::windowsDialog::background.name, failureCaption::windows,
      &layout::windowsDialog::dropDown, false, false, 43},
     [](const DialogEnvironment& e) { return launchKeyNames(languageOf(e)); }},
    {ChoiceKind::Snipe,
     {layout::snipeDialog::background.name, failureCaption::snipe, &layout::snipeDialog::dropDown,
      true, false, 49},
     [](const DialogEnvironment& e) { return toQStringList(snipeList(e.sensorVariant)); }},
};

const ChoiceRow& rowOf(ChoiceKind kind) {
    for (const ChoiceRow& row : kChoiceRows)
        if (row.kind == kind)
            return row;
    return kChoiceRows[0];
}

} // namespace

ChoiceDialog::ChoiceDialog(const DialogEnvironment& environment, QWidget* owner, ChoiceKind kind)
    : ChoiceDialog(environment, owner, rowOf(kind).frame, rowOf(kind).entries(environment)) {}

ChoiceDialog::ChoiceDialog(const DialogEnvironment& environment, QWidget* owner,
                           const DialogFrameSetup& frame, QStringList entries)
    : ResultDialog(environment, owner, frame,
                   ListChoice{0, entries.isEmpty() ? QString() : entries.front()}),
      entries_(std::move(entries)) {}

void ChoiceDialog::createControls() {
    displayField()->setText(result_.text);
}

void ChoiceDialog::entryChosen(int index, const QString& text) {
    result_ = {index, text};
}

} // namespace z417
