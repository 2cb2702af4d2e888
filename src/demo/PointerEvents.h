// Pointer gestures for the demo's script and the tests, built from Qt Test's events.
#pragma once

#include "demo/DemoLayer.h"

#include <QPoint>
#include <Qt>

class QWidget;

namespace z417 {

// A double click at a point of target, ending with the button's release. Qt Test's own double
// click on a widget leaves the button marked as held, so every later pointer move would be
// delivered as a drag; the release here ends that, also when the click removed the target.
void doubleClick(QWidget* target, Qt::MouseButton button, const QPoint& at);

} // namespace z417
