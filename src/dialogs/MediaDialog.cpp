#include "dialogs/MediaDialog.h"

namespace z417 {

namespace {
const DialogFrameSetup kFrameSetup{layout::mediaDialog::background.name,
                                   failureCaption::media,
                                   &layout::mediaDialog::dropDown,
                                   false,
                                   false,
                                   44};
}

MediaDialog::MediaDialog(const DialogEnvironment& environment, QWidget* owner)
    : ChoiceDialog(environment, owner, kFrameSetup,
                   mediaKeyNames(languageFromCode(environment.languageCode))) {}

} // namespace z417
