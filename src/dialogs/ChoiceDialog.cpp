#include "dialogs/ChoiceDialog.h"

#include <QLabel>

namespace z417 {

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
