// The launch key dialog: one of the nine application-launch and browser keys.
// Result: index 0..8 and its name.
#pragma once

#include "dialogs/ChoiceDialog.h"

namespace z417 {

class WindowsDialog : public ChoiceDialog {
    Q_OBJECT
public:
    WindowsDialog(const DialogEnvironment& environment, QWidget* owner);
};

} // namespace z417
