#include "dialogs/MediaDialog.h"

namespace z417 {

namespace {
const DialogFrameSpec kSpec{layout::mediaDialog::background.name, failureCaption::media,
                            &layout::mediaDialog::dropDown, false, false};
}

CMediaDialog::CMediaDialog(const DialogEnvironment& environment, QWidget* owner)
    : CChoiceDialog(environment, owner, kSpec,
                    mediaKeyNames(dialogLanguage(environment.languageCode))) {}

} // namespace z417
