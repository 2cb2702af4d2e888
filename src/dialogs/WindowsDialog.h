// The launch key dialog: one of the nine application-launch and browser keys.
// Result: choiceIndex 0..8 and its name.
#pragma once

#include "dialogs/ChoiceDialog.h"

namespace z417 {

class CWindowsDialog : public CChoiceDialog {
    Q_OBJECT
public:
    CWindowsDialog(const DialogEnvironment& environment, QWidget* owner);
};

} // namespace z417
