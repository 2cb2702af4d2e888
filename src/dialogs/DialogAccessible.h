// The parameter dialogs for assistive technology: the dialog named by its title, its painted
// drop-down (a combo box with the chosen entry), OK, Cancel and close (push buttons), and its
// own fields and open list as Qt exposes them.
#pragma once

#include <QString>

namespace z417 {

class DialogFrame;

// Makes every dialog's accessible interface ours; safe to call more than once.
void installDialogAccessible();

// The keyboard focus moved to a painted part; the drop-down's entry changed.
void announceDialogFocus(DialogFrame* dialog);
void announceDialogValue(DialogFrame* dialog, const QString& text);

} // namespace z417
