// Key events as the keyboard would produce them, for the demo's script: a key name of the
// key name table becomes a press and a release carrying the key's native scan code.
#pragma once

#include "demo/DemoLayer.h"

#include <Qt>
#include <string>

class QWidget;

namespace z417 {

// The evdev code of the key that the key name table calls name, or -1.
int evdevCodeForKeyName(const std::string& name);
// Qt's key code for an evdev code (Qt::Key_unknown where there is none).
Qt::Key qtKeyForEvdevCode(int evdevCode);

// Sends press and release of the named key to target (through the application, so event
// filters see them). The native scan code is the evdev code + 8, as on X11.
bool sendNamedKey(QWidget* target, const std::string& name);

} // namespace z417
