#include "app/Application.h"

#include "platform/AppTitle.h"

#include <QCommandLineParser>
#include <QCoreApplication>
#include <QIcon>
#include <QWindow>

#include <cstdio>
#include <cstdlib>

namespace z417 {
namespace {

// The toolkit's own options, which QApplication takes off the command line later.
struct ToolkitOption {
    const char* name;
    bool takesValue;
};
constexpr ToolkitOption kToolkitOptions[] = {
    {"platform", true},
    {"platformpluginpath", true},
    {"platformtheme", true},
    {"plugin", true},
    {"qwindowgeometry", true},
    {"qwindowicon", true},
    {"qwindowtitle", true},
    {"session", true},
    {"display", true},
    {"geometry", true},
    {"name", true},
    {"title", true},
    {"style", true},
    {"stylesheet", true},
    {"reverse", false},
    {"widgetcount", false},
    {"nograb", false},
    {"dograb", false},
    {"sync", false},
};

void addToolkitOptions(QCommandLineParser& parser) {
    for (const ToolkitOption& t : kToolkitOptions) {
        QCommandLineOption option(QString::fromLatin1(t.name));
        if (t.takesValue)
            option.setValueName(QStringLiteral("value"));
        option.setFlags(QCommandLineOption::HiddenFromHelp);
        parser.addOption(option);
    }
}

} // namespace

bool handleCommandLine(int argc, char** argv, int& exitCode) {
    // The usual start has no arguments: nothing to parse, nothing to set up.
    if (argc <= 1)
        return true;
    // The parser wants an application object for the program's name; a core one opens no
    // display and is gone before the real one is made.
    QCoreApplication core(argc, argv);
    QCoreApplication::setApplicationName(QStringLiteral("z417-gaming-mouse"));
    QCoreApplication::setApplicationVersion(QStringLiteral(Z417_VERSION));
    QCommandLineParser parser;
    parser.setApplicationDescription(
        QStringLiteral("Configuration utility of the Z417 gaming mouse. It lives in the "
                       "notification area; starting it again brings its window forward."));
    parser.setSingleDashWordOptionMode(QCommandLineParser::ParseAsLongOptions);
    const QCommandLineOption help = parser.addHelpOption();
    const QCommandLineOption version = parser.addVersionOption();
    addToolkitOptions(parser);
    const bool parsed = parser.parse(QCoreApplication::arguments());
    if (!parsed || !parser.positionalArguments().isEmpty()) {
        const QString why = parsed ? QStringLiteral("unexpected argument '%1'.")
                                         .arg(parser.positionalArguments().constFirst())
                                   : parser.errorText();
        std::fprintf(stderr, "z417-gaming-mouse: %s\n\n%s", qPrintable(why),
                     qPrintable(parser.helpText()));
        exitCode = 2;
        return false;
    }
    // --help-all comes with the help option; the toolkit's options it would list stay
    // unlisted, so it answers as --help does.
    const bool helpAsked = parser.isSet(help) || parser.isSet(QStringLiteral("help-all"));
    if (helpAsked || parser.isSet(version)) {
        const QString text = helpAsked ? parser.helpText()
                                       : QStringLiteral("z417-gaming-mouse %1\n")
                                             .arg(QCoreApplication::applicationVersion());
        std::fputs(qPrintable(text), stdout);
        exitCode = 0;
        return false;
    }
    return true;
}

void choosePlatformBeforeStart() {
    const char* explicitPlatform = std::getenv("QT_QPA_PLATFORM");
    if (explicitPlatform && *explicitPlatform)
        return;
    const char* wayland = std::getenv("WAYLAND_DISPLAY");
    const char* x11 = std::getenv("DISPLAY");
    if (!wayland || !*wayland)
        return;
    // The toolkit tries the platforms in this order and takes the first that starts.
    setenv("QT_QPA_PLATFORM", x11 && *x11 ? "wayland;xcb" : "wayland", 1);
}

namespace {

// The X11 class of every window comes from the application name as it is when the first
// window is made (the toolkit keeps it from then on); trays and notifications show the name.
// So the class is fixed with the id first, and the name then becomes the program's title.
void nameTheProgram() {
    if (QGuiApplication::platformName() == QLatin1String("xcb")) {
        QCoreApplication::setApplicationName(QLatin1String(kDesktopId));
        QWindow probe;
        probe.create();
    }
    QCoreApplication::setApplicationName(QString::fromUtf8(kAppTitle));
}

} // namespace

Application::Application(int& argc, char** argv) : QApplication(argc, argv) {
    // The Wayland app id comes from the desktop file name; trays and notifications show the
    // application name (a StatusNotifierItem's Id and Title both).
    setDesktopFileName(QLatin1String(kDesktopId));
    setApplicationDisplayName(QString::fromUtf8(kAppTitle));
    nameTheProgram();
    // The icon is the main window's (its dialogs and menus take it from there). Set for the
    // whole application, the tray's embedded window would draw it in every size at start.
    // The window hides instead of closing; the process ends only through its exit paths.
    setQuitOnLastWindowClosed(false);
}

} // namespace z417
