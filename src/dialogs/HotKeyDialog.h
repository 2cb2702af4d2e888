// The combination key dialog: one of eight preset editing shortcuts (left Ctrl with a letter),
// chosen by name. Result: index 0..7 and its name.
#pragma once

#include "dialogs/ChoiceDialog.h"

namespace z417 {

class HotKeyDialog : public ChoiceDialog {
    Q_OBJECT
public:
    HotKeyDialog(const DialogEnvironment& environment, QWidget* owner);
};

} // namespace z417
