#include "dialogs/ChoiceDialog.h"

#include <QLabel>

namespace z417 {

CChoiceDialog::CChoiceDialog(const DialogEnvironment& environment, QWidget* owner,
                             const DialogFrameSpec& frame, QStringList entries)
    : CDialogFrame(environment, owner, frame), entries_(std::move(entries)) {
    if (!entries_.isEmpty())
        choiceText = entries_.front();
}

void CChoiceDialog::createControls() {
    displayField()->setText(choiceText);
}

void CChoiceDialog::entryChosen(int index, const QString& text) {
    choiceIndex = index;
    choiceText = text;
}

} // namespace z417
