// What differs between the utility and its demo, apart from the device link: the desktop
// services, where balloons go, where the files lie, and how the window starts.
#pragma once

#include "app/AppLayer.h"

#include "platform/Paths.h"
#include "platform/qt/UiServices.h"

#include <QString>

#include <functional>
#include <optional>
#include <string>

namespace z417 {

struct AppEnvironment {
    UiServices* services = nullptr;
    // The executable's path as the path rule sees it (the files lie beside it).
    std::string modulePath;
    // Where the settings files and skins are when they are not beside the executable (the
    // installed layout); unset: the path rule alone decides.
    std::optional<AppPaths> dataPaths;
    // When set, balloons go here instead of the notification area (the demo prints them).
    std::function<void(const QString& title, const QString& text, int timeoutMs)> balloonSink;
    // With a sink, balloons also reach the tray or the notification service (demo --notify).
    bool balloonsToDesktopToo = false;
    // Show the window at start (the demo; also forced on desktops without a notification area).
    bool showAtStart = false;
    // Follow hidraw nodes through udev; the demo announces its simulated mouse itself.
    bool watchUdev = true;
    // Listen for balloon, reload and show requests of other programs on the per-user socket.
    bool listenForBalloons = true;
    // That socket's name in the runtime folder; a second start sends its show request there.
    std::string requestSocketName = "balloon";
    // Lock file name of the single-instance rule.
    std::string instanceName = "z417-gaming-mouse";
};

} // namespace z417
