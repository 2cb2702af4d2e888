// The combination key dialog: one of eight preset editing shortcuts (left Ctrl with a letter),
// chosen by name. Result: choiceIndex 0..7 and its name.
#pragma once

#include "dialogs/ChoiceDialog.h"

namespace z417 {

class CHotKeyDialog : public CChoiceDialog {
    Q_OBJECT
public:
    CHotKeyDialog(const DialogEnvironment& environment, QWidget* owner);
};

} // namespace z417
