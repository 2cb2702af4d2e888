// The multimedia key dialog: one of the seven multimedia keys (next, previous, stop, play/pause,
// mute, volume up and down). Result: index 0..6 and its name.
#pragma once

#include "dialogs/ChoiceDialog.h"

namespace z417 {

class MediaDialog : public ChoiceDialog {
    Q_OBJECT
public:
    MediaDialog(const DialogEnvironment& environment, QWidget* owner);
};

} // namespace z417
