// The smallest Qt Widgets program that does what the utility does at the least: the yardstick
// for the utility's start-up time and memory.
//   bench_minimal_qt            shows a 900 x 660 window and quits once idle
//   bench_minimal_qt --rss      the same, printing its resident memory when idle
//   bench_minimal_qt --tray     a tray icon and a hidden 900 x 660 window, running until killed
//   bench_minimal_qt --tray --flash   the same, showing its window for a second once
#include <QApplication>
#include <QFile>
#include <QPixmap>
#include <QSystemTrayIcon>
#include <QTimer>
#include <QWidget>

#include <cstdio>
#include <cstring>

namespace {

bool hasOption(int argc, char** argv, const char* option) {
    for (int i = 1; i < argc; ++i)
        if (std::strcmp(argv[i], option) == 0)
            return true;
    return false;
}

void printRss() {
    QFile status(QStringLiteral("/proc/self/status"));
    if (status.open(QIODevice::ReadOnly))
        for (const QByteArray& line : status.readAll().split('\n'))
            if (line.startsWith("VmRSS:"))
                std::printf("%s\n", line.constData());
}

// Lives in the tray with its window hidden, like the utility started at login.
int runInTray(QApplication& app, bool flash) {
    app.setQuitOnLastWindowClosed(false);
    QWidget window;
    window.resize(900, 660);
    QPixmap iconPixmap(22, 22);
    iconPixmap.fill(Qt::darkCyan);
    QSystemTrayIcon tray{QIcon(iconPixmap)};
    tray.show();
    if (flash) {
        QTimer::singleShot(0, &window, [&window] {
            window.show();
            QTimer::singleShot(1000, &window, [&window] { window.hide(); });
        });
    }
    return app.exec();
}

} // namespace

int main(int argc, char** argv) {
    const bool rss = hasOption(argc, argv, "--rss");
    const bool tray = hasOption(argc, argv, "--tray");
    const bool flash = hasOption(argc, argv, "--flash");
    QApplication app(argc, argv);
    if (tray)
        return runInTray(app, flash);
    QWidget window;
    window.resize(900, 660);
    window.show();
    QTimer::singleShot(0, &app, [&] {
        if (rss)
            printRss();
        app.quit();
    });
    return app.exec();
}
