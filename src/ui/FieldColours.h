// Colours of the main window's child fields, by control identifier, in one place.
#pragma once

#include "profile/SettingsRecord.h"

#include <QColor>
#include <QFont>

class QWidget;

namespace z417 {

// What the colours of a field depend on.
struct FieldStyle {
    QColor textColour;
    QFont font;
    const SettingsRecord* record = nullptr; // the stage swatches show their stage's colour
    QColor listAccent; // frames and scroll bars of the pop-up lists; invalid: the text colour
};

void setFieldColours(QWidget* field, int controlId, const FieldStyle& style);

} // namespace z417
