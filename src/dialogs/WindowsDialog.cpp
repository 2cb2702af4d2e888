#include "dialogs/WindowsDialog.h"

namespace z417 {

namespace {
const DialogFrameSpec kSpec{layout::windowsDialog::background.name, failureCaption::windows,
                            &layout::windowsDialog::dropDown, false, false};
}

WindowsDialog::WindowsDialog(const DialogEnvironment& environment, QWidget* owner)
    : ChoiceDialog(environment, owner, kSpec,
                   launchKeyNames(dialogLanguage(environment.languageCode))) {}

} // namespace z417
