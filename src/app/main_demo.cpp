// z417-demo: the utility against the simulated mouse, window shown at start.
//   z417-demo [--data DIR] [--script FILE]
// DIR holds what the utility keeps beside its executable ("config.bin", "str.ini", Skins/)
// and the simulated mouse's state; a missing DIR is made from the installed defaults.
// --virtual-clock skips the protocol's waits (for tests); --tray starts in the notification
// area like the utility itself. --device auto|/dev/hidrawN uses the real mouse (or the virtual
// one of z417-uhid-mouse) through hidraw and follows its plug and unplug through udev.
#include "app/COstrelApp.h"
#include "app/COstrelDlg.h"
#include "app/DemoData.h"
#include "app/DemoServices.h"
#include "app/ScriptPlayer.h"
#include "device/SimulatedMouse.h"
#include "device/TransportFactory.h"
#include "platform/Paths.h"

#include <QFile>
#include <QStringList>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <functional>
#include <memory>

namespace {

std::string canonicalFolder(const std::string& dir) {
    std::error_code ec;
    const auto canonical = std::filesystem::canonical(dir, ec);
    return ec ? dir : canonical.string();
}

// The simulator is the demo's own; --device names only real devices.
bool isHidrawDevice(const std::string& name) {
    return name == "auto" || name.rfind("/dev/", 0) == 0;
}

int usage() {
    std::fprintf(stderr,
                 "usage: z417-demo [--data DIR] [--script FILE] [--virtual-clock] [--tray]\n"
                 "                 [--device auto|/dev/hidrawN]\n");
    return 2;
}

} // namespace

int main(int argc, char** argv) {
    std::string dataDir, scriptPath, device;
    bool virtualClock = false;
    bool trayMode = false;
    for (int i = 1; i < argc; ++i) {
        const std::string a = argv[i];
        if (a == "--virtual-clock")
            virtualClock = true;
        else if (a == "--tray")
            trayMode = true;
        else if ((a == "--data" || a == "--script") && i + 1 < argc)
            (a == "--data" ? dataDir : scriptPath) = argv[++i];
        else if (a == "--device" && i + 1 < argc && isHidrawDevice(argv[i + 1]))
            device = argv[++i];
        else
            return usage();
    }

    std::string exePath, error;
    if (!z417::readModulePath(exePath, error)) {
        std::fprintf(stderr, "z417-demo: %s\n", error.c_str());
        return 1;
    }
    const z417::AppPaths exePaths = z417::buildAppPaths(exePath);
    if (dataDir.empty())
        dataDir = exePaths.exeDir + "/demo-data";
    if (!z417::prepareDemoData(exePaths.exeDir, dataDir, error)) {
        std::fprintf(stderr, "z417-demo: %s\n", error.c_str());
        return 1;
    }

    QStringList script;
    if (!scriptPath.empty()) {
        QFile f(QString::fromStdString(scriptPath));
        if (!f.open(QIODevice::ReadOnly | QIODevice::Text)) {
            std::fprintf(stderr, "z417-demo: %s: %s\n", scriptPath.c_str(),
                         qPrintable(f.errorString()));
            return 1;
        }
        script = QString::fromUtf8(f.readAll()).split(QLatin1Char('\n'));
    }

    // Without a display the demo runs headless.
    const char* display = std::getenv("DISPLAY");
    const char* wayland = std::getenv("WAYLAND_DISPLAY");
    if (!std::getenv("QT_QPA_PLATFORM") && !(display && *display) && !(wayland && *wayland))
        setenv("QT_QPA_PLATFORM", "offscreen", 1);
    z417::choosePlatformBeforeStart();
    z417::COstrelApp app(argc, argv);

    std::unique_ptr<z417::SimulatedMouse> mouse;
    std::unique_ptr<z417::Transport> hidraw;
    if (device.empty())
        mouse = z417::SimulatedMouse::load(dataDir + "/" + z417::kDemoMouseState, error);
    else
        hidraw = z417::makeTransport(device, error);
    if (!mouse && !hidraw) {
        std::fprintf(stderr, "z417-demo: %s\n", error.c_str());
        return 1;
    }
    // The protocol's waits are real unless a test asks to skip them.
    z417::SystemClock systemClock;
    z417::VirtualClock virtualClockInstance;
    z417::Clock& clock = virtualClock ? static_cast<z417::Clock&>(virtualClockInstance)
                                      : static_cast<z417::Clock&>(systemClock);
    z417::DemoUiServices services(!script.isEmpty());
    z417::AppEnvironment env;
    env.transport = hidraw ? hidraw.get() : mouse.get();
    env.clock = &clock;
    env.services = &services;
    env.modulePath = dataDir + "/z417-gaming-mouse";
    env.showAtStart = !trayMode;
    env.watchUdev = hidraw != nullptr;
    env.listenForBalloons = false;
    // One demo per data folder, like one utility per user.
    env.instanceName =
        "z417-demo-" + std::to_string(std::hash<std::string>{}(canonicalFolder(dataDir)));
    env.balloonSink = [](const QString& title, const QString& text, int) {
        std::printf("balloon: %s: %s\n", qPrintable(title), qPrintable(text));
        std::fflush(stdout);
    };

    std::unique_ptr<z417::ScriptPlayer> player;
    app.onStarted = [&](z417::COstrelDlg& window) {
        if (script.isEmpty())
            return;
        z417::ScriptPlayer::Host host;
        host.window = &window;
        host.services = &services;
        host.mouse = mouse.get();
        host.openDialog = [&window](const QString& name) {
            return z417::openDemoDialog(window, name);
        };
        player = std::make_unique<z417::ScriptPlayer>(host, script);
        player->start();
    };
    const int code = app.run(env);
    return player && player->failed() ? 1 : code;
}
