#include "dialogs/MediaDialog.h"

namespace z417 {

namespace {
const DialogFrameSpec kSpec{layout::mediaDialog::background.name, failureCaption::media,
                            &layout::mediaDialog::dropDown, false, false};
}

MediaDialog::MediaDialog(const DialogEnvironment& environment, QWidget* owner)
    : ChoiceDialog(environment, owner, kSpec,
                   mediaKeyNames(dialogLanguage(environment.languageCode))) {}

} // namespace z417
