// z417-demo: the utility against the simulated mouse, window shown at start.
//   z417-demo [--data DIR] [--script FILE]
// DIR holds what the utility keeps beside its executable ("config.bin", "str.ini", Skins/)
// and the simulated mouse's state; a missing DIR is made from the installed defaults.
// --virtual-clock skips the protocol's waits (for tests); --tray starts in the notification
// area like the utility itself; --notify sends the balloons it prints to the desktop as well.
// --device auto|/dev/hidrawN uses the real mouse (or the virtual one of z417-uhid-mouse) through
// hidraw and follows its plug and unplug through udev.
#include "app/Application.h"
#include "app/MainWindow.h"
#include "demo/DemoData.h"
#include "demo/DemoServices.h"
#include "demo/ScriptPlayer.h"
#include "device/DeviceLink.h"
#include "device/SimulatedMouse.h"
#include "device/TransportFactory.h"
#include "platform/AtomicFile.h"
#include "platform/Paths.h"
#include "platform/Status.h"

#include <QCommandLineOption>
#include <QCommandLineParser>
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

int usage() {
    std::fprintf(
        stderr,
        "usage: z417-demo [--data DIR] [--script FILE] [--virtual-clock] [--tray] [--notify]\n"
        "                 [--device auto|/dev/hidrawN]\n");
    return 2;
}

// The simulator is the demo's own; --device names only real devices.
bool isHidrawDevice(const std::string& name) {
    return name == "auto" || name.rfind("/dev/", 0) == 0;
}

struct DemoOptions {
    std::string dataDir;
    std::string scriptPath;
    bool virtualClock = false;
    bool trayMode = false;
    bool notify = false;
    std::string device; // empty: the simulated mouse
};

// The last value of a long option as the bytes the system passed: a file name need not be
// UTF-8, and a Qt string would change it. Empty when the option is not given.
std::string rawOptionValue(int argc, char** argv, const std::string& name) {
    const std::string option = "--" + name;
    std::string value;
    for (int i = 1; i < argc; ++i) {
        const std::string argument = argv[i];
        if (argument == "--")
            break;
        if (argument == option && i + 1 < argc)
            value = argv[++i];
        else if (argument.rfind(option + "=", 0) == 0)
            value = argument.substr(option.size() + 1);
    }
    return value;
}

// The demo's options; false for anything it does not know (the usage line is printed).
bool parseOptions(int argc, char** argv, DemoOptions& options) {
    QStringList arguments;
    for (int i = 0; i < argc; ++i)
        arguments << QString::fromLocal8Bit(argv[i]);
    const QCommandLineOption data(QStringLiteral("data"), QString(), QStringLiteral("DIR"));
    const QCommandLineOption script(QStringLiteral("script"), QString(), QStringLiteral("FILE"));
    const QCommandLineOption virtualClock(QStringLiteral("virtual-clock"));
    const QCommandLineOption tray(QStringLiteral("tray"));
    const QCommandLineOption notify(QStringLiteral("notify"));
    const QCommandLineOption device(QStringLiteral("device"), QString(), QStringLiteral("NODE"));
    QCommandLineParser parser;
    parser.addOptions({data, script, virtualClock, tray, notify, device});
    if (!parser.parse(arguments) || !parser.positionalArguments().isEmpty())
        return false;
    options.dataDir = rawOptionValue(argc, argv, "data");
    options.scriptPath = rawOptionValue(argc, argv, "script");
    options.virtualClock = parser.isSet(virtualClock);
    options.trayMode = parser.isSet(tray);
    options.notify = parser.isSet(notify);
    options.device = parser.value(device).toStdString();
    return !parser.isSet(device) || isHidrawDevice(options.device);
}

bool readScript(const std::string& path, QStringList& script) {
    if (path.empty())
        return true;
    const z417::Result<std::string> read = z417::readFileContents(path);
    if (!read) {
        std::fprintf(stderr, "z417-demo: %s: %s\n", path.c_str(),
                     z417::systemErrorText(read.status().systemError).c_str());
        return false;
    }
    const std::string& text = *read;
    script = QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()))
                 .split(QLatin1Char('\n'));
    return true;
}

// Without a display the demo runs headless.
void chooseDemoPlatform() {
    const char* display = std::getenv("DISPLAY");
    const char* wayland = std::getenv("WAYLAND_DISPLAY");
    if (!std::getenv("QT_QPA_PLATFORM") && !(display && *display) && !(wayland && *wayland))
        setenv("QT_QPA_PLATFORM", "offscreen", 1);
    z417::choosePlatformBeforeStart();
}

// The data folder, made from the defaults when missing; beside the executable by default.
bool prepareDataFolder(std::string& dataDir, std::string& error) {
    const z417::Result<std::string> exePath = z417::readModulePath();
    if (!exePath) {
        error = exePath.status().messages.empty() ? std::string()
                                                  : exePath.status().messages.front().text;
        return false;
    }
    const z417::AppPaths exePaths = z417::buildAppPaths(*exePath);
    if (dataDir.empty())
        dataDir = exePaths.exeDir + "/demo-data";
    return z417::prepareDemoData(exePaths.exeDir, dataDir, error);
}

// What differs from the utility, apart from the mouse, the clock and the services.
z417::AppEnvironment demoEnvironment(const std::string& dataDir, const DemoOptions& options) {
    z417::AppEnvironment env;
    env.modulePath = dataDir + "/z417-gaming-mouse";
    env.showAtStart = !options.trayMode;
    env.watchUdev = !options.device.empty();
    // One demo per data folder, like one utility per user; a second start shows the first
    // one's window through a socket of its own.
    env.instanceName =
        "z417-demo-" + std::to_string(std::hash<std::string>{}(canonicalFolder(dataDir)));
    env.requestSocketName = env.instanceName;
    env.balloonSink = [](const QString& title, const QString& text, int) {
        std::printf("balloon: %s: %s\n", qPrintable(title), qPrintable(text));
        std::fflush(stdout);
    };
    env.balloonsToDesktopToo = options.notify;
    return env;
}

// The mouse the demo talks to: the simulated one of the data folder, or a real device.
struct DemoMouse {
    std::unique_ptr<z417::SimulatedMouse> simulated;
    std::unique_ptr<z417::Transport> hidraw;
    z417::Transport& transport() {
        return hidraw ? *hidraw : static_cast<z417::Transport&>(*simulated);
    }
};

bool openMouse(const DemoOptions& options, DemoMouse& mouse, std::string& error) {
    if (options.device.empty()) {
        auto loaded = z417::SimulatedMouse::load(options.dataDir + "/" + z417::kDemoMouseState);
        if (!loaded) {
            error = loaded.status().reason;
            return false;
        }
        mouse.simulated = std::move(loaded).value();
    } else {
        auto made = z417::makeTransport(options.device);
        if (!made) {
            error = made.status().reason;
            return false;
        }
        mouse.hidraw = std::move(made).value();
    }
    return true;
}

// The protocol's waits are real unless a test asks to skip them.
struct DemoClock {
    z417::SystemClock system;
    z417::VirtualClock virtualClock;
    z417::Clock& choose(bool skipWaits) {
        return skipWaits ? static_cast<z417::Clock&>(virtualClock)
                         : static_cast<z417::Clock&>(system);
    }
};

// The script, played once the event loop runs; none without a script.
std::unique_ptr<z417::ScriptPlayer> startScript(const QStringList& script, z417::MainWindow& window,
                                                z417::DemoUiServices& services,
                                                z417::SimulatedMouse* mouse) {
    if (script.isEmpty())
        return nullptr;
    z417::ScriptPlayer::Host host;
    host.window = &window;
    host.services = &services;
    host.mouse = mouse;
    host.openDialog = [&window](const QString& name) { return z417::openDemoDialog(window, name); };
    auto player = std::make_unique<z417::ScriptPlayer>(host, script);
    player->start();
    return player;
}

int fail(const std::string& error) {
    std::fprintf(stderr, "z417-demo: %s\n", error.c_str());
    return 1;
}

} // namespace

int main(int argc, char** argv) {
    DemoOptions options;
    if (!parseOptions(argc, argv, options))
        return usage();
    std::string error;
    if (!prepareDataFolder(options.dataDir, error))
        return fail(error);
    QStringList script;
    if (!readScript(options.scriptPath, script))
        return 1;

    chooseDemoPlatform();
    z417::Application app(argc, argv);
    DemoMouse mouse;
    if (!openMouse(options, mouse, error))
        return fail(error);
    DemoClock clocks;
    z417::DemoUiServices services(!script.isEmpty());
    z417::AppEnvironment env = demoEnvironment(options.dataDir, options);
    env.services = &services;

    // The device link refers to the mouse and the clock, the window to the link, the state
    // and the services, and the player to the window: each is declared after what it refers
    // to, so that it is destroyed first.
    z417::DeviceLink device(mouse.transport(), clocks.choose(options.virtualClock));
    z417::AppState state;
    z417::MainWindow window(env, state, device);
    if (window.start() == z417::MainWindow::StartResult::SecondInstance)
        return 0;
    const auto player = startScript(script, window, services, mouse.simulated.get());
    const int code = app.exec();
    return player && player->failed() ? 1 : code;
}
