// The application object: the process's start-up order and its single main window.
#pragma once

#include "app/AppEnvironment.h"

#include <QApplication>

#include <memory>

namespace z417 {

class COstrelDlg;

// Before QApplication exists: on Wayland with XWayland reachable, run on xcb so the dialogs
// can sit at the main window's corner (an explicit QT_QPA_PLATFORM wins).
void choosePlatformBeforeStart();

class COstrelApp : public QApplication {
    Q_OBJECT
public:
    COstrelApp(int& argc, char** argv);
    ~COstrelApp() override;

    // Builds the main window, runs its start-up and the event loop; returns the exit code.
    int run(AppEnvironment& env);
    // For the demo: the window once run() has built it (null before).
    COstrelDlg* mainWindow() const { return window_.get(); }
    // Called after the window's start-up, before the event loop starts (the demo's script).
    std::function<void(COstrelDlg&)> onStarted;

private:
    std::unique_ptr<COstrelDlg> window_;
};

} // namespace z417
