#include "dialogs/WindowsDialog.h"

namespace z417 {

namespace {
const DialogFrameSpec kSpec{layout::windowsDialog::background.name, failureCaption::windows,
                            &layout::windowsDialog::dropDown, false, false};
}

CWindowsDialog::CWindowsDialog(const DialogEnvironment& environment, QWidget* owner)
    : CChoiceDialog(environment, owner, kSpec,
                    launchKeyNames(dialogLanguage(environment.languageCode))) {}

} // namespace z417
