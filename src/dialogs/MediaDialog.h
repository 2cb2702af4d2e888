// The multimedia key dialog: one of the seven multimedia keys (next, previous, stop, play/pause,
// mute, volume up and down). Result: choiceIndex 0..6 and its name.
#pragma once

#include "dialogs/ChoiceDialog.h"

namespace z417 {

class CMediaDialog : public CChoiceDialog {
    Q_OBJECT
public:
    CMediaDialog(const DialogEnvironment& environment, QWidget* owner);
};

} // namespace z417
