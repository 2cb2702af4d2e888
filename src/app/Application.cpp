#include "app/Application.h"

#include "profile/SettingsFiles.h"
#include "ui/AppIcon.h"

#include <QIcon>

#include <cstdlib>

namespace z417 {

void choosePlatformBeforeStart() {
    const char* explicitPlatform = std::getenv("QT_QPA_PLATFORM");
    if (explicitPlatform && *explicitPlatform)
        return;
    const char* wayland = std::getenv("WAYLAND_DISPLAY");
    const char* x11 = std::getenv("DISPLAY");
    if (wayland && *wayland && x11 && *x11)
        setenv("QT_QPA_PLATFORM", "xcb", 1);
}

Application::Application(int& argc, char** argv) : QApplication(argc, argv) {
    // The window class: WM_CLASS on X11, the app id on Wayland.
    setApplicationName(QStringLiteral("Z417GMClass"));
    setDesktopFileName(QStringLiteral("Z417GMClass"));
    setApplicationDisplayName(QString::fromUtf8(kAppTitle));
    setWindowIcon(appIcon());
    // The window hides instead of closing; the process ends only through its exit paths.
    setQuitOnLastWindowClosed(false);
}

} // namespace z417
