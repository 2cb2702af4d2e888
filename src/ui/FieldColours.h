// Colours of the main window's child fields, by control identifier, in one place.
#pragma once

class QWidget;

namespace z417 {

class COstrelDlg;

void setFieldColours(QWidget* field, int controlId, const COstrelDlg& window);

} // namespace z417
