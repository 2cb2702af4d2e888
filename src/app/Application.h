// The application object: toolkit set-up before any window exists.
#pragma once

#include "app/AppLayer.h"

#include <QApplication>

namespace z417 {

// Before QApplication exists: on Wayland with XWayland reachable, run on xcb so the dialogs
// can sit at the main window's corner (an explicit QT_QPA_PLATFORM wins).
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
