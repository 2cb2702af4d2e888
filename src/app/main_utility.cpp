// z417-gaming-mouse: the utility, talking to the mouse through hidraw.
#include "app/Application.h"
#include "app/MainWindow.h"
#include "device/DeviceLink.h"
#include "platform/HidrawTransport.h"
#include "platform/Paths.h"
#include "platform/UserData.h"

#include <cstdio>

namespace {

void printMessages(const z417::Status& status) {
    for (const z417::Message& m : status.messages)
        std::fprintf(stderr, "z417-gaming-mouse: %s\n", m.text.c_str());
}

} // namespace

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
    const z417::Result<std::string> modulePath = z417::readModulePath();
    if (!modulePath) {
        printMessages(modulePath.status());
        return 1;
    }
    env.modulePath = *modulePath;
    // Installed (no "config.bin" beside the executable): the per-user folder, seeded from
    // the shared defaults at the first start.
    const z417::AppPaths beside = z417::buildAppPaths(env.modulePath);
    const z417::Result<z417::DataLocation> location =
        z417::resolveDataLocation(beside.exeDir, Z417_SHARED_DATA_DIR);
    if (!location) {
        // The files beside the executable are looked for instead; their absence is reported
        // by the utility itself ("Config file is not exist.").
        printMessages(location.status());
    } else if (!location->portable) {
        z417::AppPaths paths = beside;
        paths.configBin = location->configBin;
        paths.strIni = location->strIni;
        paths.skinsRoot = location->skinsRoot;
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
