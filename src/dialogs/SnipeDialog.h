// The snipe dialog: the DPI the snipe action switches to, from the list of the mouse's sensor
// variant (no entries for a variant outside 0..3). Result: choiceIndex and its text.
#pragma once

#include "dialogs/ChoiceDialog.h"

namespace z417 {

class CSnipeDialog : public CChoiceDialog {
    Q_OBJECT
public:
    CSnipeDialog(const DialogEnvironment& environment, QWidget* owner);
};

} // namespace z417
