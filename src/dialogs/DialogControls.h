// The child controls of the parameter dialogs: how they are known by their numeric identifier,
// and their common look of white on dark grey.
#pragma once

class QFont;
class QWidget;

namespace z417::dialogControls {

// Property that carries a child control's numeric identifier; the object name is "id"
// followed by the number.
inline constexpr const char* kIdProperty = "controlId";

void giveId(QWidget* control, int id);
// The control can no longer be found by its identifier.
void dropId(QWidget* control);

// White text on dark grey in font; display fields get a sunken edge, lists a black border.
void applyDarkLook(QWidget* control, const QFont& font);

} // namespace z417::dialogControls
