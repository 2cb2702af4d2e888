// The context menu of the dialogs' edit fields: undo, redo, cut, copy, paste, delete and select
// all, in the dialog's language, each enabled as the field's state allows.
#pragma once

#include "dialogs/DialogTexts.h"

class QLineEdit;
class QMenu;

namespace z417 {

// A new menu for the field, owned by the field; the caller shows it.
QMenu* createEditMenu(QLineEdit* field, Language language);

} // namespace z417
