// z417-gaming-mouse: the utility, talking to the mouse through hidraw.
#include "app/Application.h"
#include "app/MainWindow.h"
#include "device/DeviceLink.h"
#include "platform/HidrawTransport.h"
#include "platform/Paths.h"
#include "platform/UserData.h"

#include <cstdio>

int main(int argc, char** argv) {
    int exitCode = 0;
    if (!z417::handleCommandLine(argc, argv, exitCode))
        return exitCode;
    z417::choosePlatformBeforeStart();
    z417::Application app(argc, argv);

    z417::HidrawTransport transport;
    z417::SystemClock clock;
    z417::DesktopUiServices services;
    z417::AppEnvironment env;
    env.services = &services;
    std::string error;
    if (!z417::readModulePath(env.modulePath, error)) {
        std::fprintf(stderr, "z417-gaming-mouse: %s\n", error.c_str());
        return 1;
    }
    // Installed (no "config.bin" beside the executable): the per-user folder, seeded from
    // the shared defaults at the first start.
    const z417::AppPaths beside = z417::buildAppPaths(env.modulePath);
    z417::DataLocation location;
    if (!z417::resolveDataLocation(beside.exeDir, Z417_SHARED_DATA_DIR, location, error)) {
        // The files beside the executable are looked for instead; their absence is reported
        // by the utility itself ("Config file is not exist.").
        std::fprintf(stderr, "z417-gaming-mouse: %s\n", error.c_str());
    } else if (!location.portable) {
        z417::AppPaths paths = beside;
        paths.configBin = location.configBin;
        paths.strIni = location.strIni;
        paths.skinsRoot = location.skinsRoot;
        env.dataPaths = paths;
    }
    // Each is declared after everything it refers to, so that it is destroyed first.
    z417::DeviceLink device(transport, clock);
    z417::AppState state;
    z417::MainWindow window(env, state, device);
    if (window.start() == z417::MainWindow::StartResult::SecondInstance)
        return 0;
    return app.exec();
}
