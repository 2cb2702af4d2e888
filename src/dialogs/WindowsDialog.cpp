#include "dialogs/WindowsDialog.h"

namespace z417 {

namespace {
const DialogFrameSetup kFrameSetup{layout::windowsDialog::background.name,
                                   failureCaption::windows,
                                   &layout::windowsDialog::dropDown,
                                   false,
                                   false,
                                   43};
}

WindowsDialog::WindowsDialog(const DialogEnvironment& environment, QWidget* owner)
    : ChoiceDialog(environment, owner, kFrameSetup,
                   launchKeyNames(languageFromCode(environment.languageCode))) {}

} // namespace z417
