// The snipe dialog: the DPI the snipe action switches to, from the list of the mouse's sensor
// variant (no entries for a variant outside 0..3). Result: the index and text of
// the chosen entry.
#pragma once

#include "dialogs/ChoiceDialog.h"

namespace z417 {

class SnipeDialog : public ChoiceDialog {
    Q_OBJECT
public:
    SnipeDialog(const DialogEnvironment& environment, QWidget* owner);
};

} // namespace z417
