// Geometry of the dialogs that the shared layout does not hold.
#pragma once

#include "ui/Layout.h"

namespace z417::dialogLayout {

// Client size of a dialog whose background image is missing: the template's 200 x 150 dialog
// units in its 12-point "宋体" font (2 pixels per unit both ways).
inline constexpr layout::Size templateSize{400, 300};

} // namespace z417::dialogLayout
