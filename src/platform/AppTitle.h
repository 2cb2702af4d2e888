// The program's title: the caption of its message boxes, the tray's tip and the name that
// desktops show for it.
#pragma once

namespace z417 {

inline constexpr char kAppTitle[] = "Z417 Gaming mouse";

} // namespace z417
