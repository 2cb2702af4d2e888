#include "dialogs/HotKeyDialog.h"

namespace z417 {

namespace {
const DialogFrameSetup kFrameSetup{layout::hotKeyDialog::background.name,
                                   failureCaption::hotKey,
                                   &layout::hotKeyDialog::dropDown,
                                   false,
                                   false,
                                   45};
}

HotKeyDialog::HotKeyDialog(const DialogEnvironment& environment, QWidget* owner)
    : ChoiceDialog(environment, owner, kFrameSetup,
                   hotKeyNames(languageFromCode(environment.languageCode))) {}

} // namespace z417
