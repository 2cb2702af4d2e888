// The application object: toolkit set-up before any window exists.
#pragma once

#include "app/AppLayer.h"

#include <QApplication>

namespace z417 {

// Before QApplication exists: on Wayland with XWayland reachable, run on xcb so the dialogs
// can sit at the main window's corner (an explicit QT_QPA_PLATFORM wins).
void choosePlatformBeforeStart();

// The main window is not owned here: main() declares it after the transport, the clock and
// the desktop services it refers to, so that it is destroyed before them.
class Application : public QApplication {
    Q_OBJECT
public:
    Application(int& argc, char** argv);
};

} // namespace z417
