#include "dialogs/HotKeyDialog.h"

namespace z417 {

namespace {
const DialogFrameSpec kSpec{layout::hotKeyDialog::background.name, failureCaption::hotKey,
                            &layout::hotKeyDialog::dropDown, false, false};
}

HotKeyDialog::HotKeyDialog(const DialogEnvironment& environment, QWidget* owner)
    : ChoiceDialog(environment, owner, kSpec,
                   hotKeyNames(dialogLanguage(environment.languageCode))) {}

} // namespace z417
