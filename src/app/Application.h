// The application object: toolkit set-up before any window exists.
#pragma once

#include "app/AppLayer.h"

#include <QApplication>

namespace z417 {

// The one id desktops match the program by: its menu entry's file name (without ".desktop"),
// the Wayland app id, the X11 class and the notifications' desktop-entry hint.
constexpr const char kDesktopId[] = "z417-gaming-mouse";

// Before QApplication exists: on Wayland, run natively, falling back to XWayland only when
// Qt's Wayland plugin is not installed (an explicit QT_QPA_PLATFORM wins).
void choosePlatformBeforeStart();

// Answers --help and --version before anything starts (no display, no lock, no socket).
// True when the program should go on; otherwise exitCode is its answer: 0 after --help or
// --version, 2 after an option or argument it does not take (the usage then on stderr).
bool handleCommandLine(int argc, char** argv, int& exitCode);

// The main window is not owned here: main() declares it after the transport, the clock and
// the desktop services it refers to, so that it is destroyed before them.
class Application : public QApplication {
    Q_OBJECT
public:
    Application(int& argc, char** argv);
};

} // namespace z417
