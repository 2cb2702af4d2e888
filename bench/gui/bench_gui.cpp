// Figures of the GUI (a benchmark, not a test): process start to the page built and idle,
// a full page build, one hover-sized redraw, and resident memory when idle, each beside the
// same figure of a minimal Qt Widgets program where there is one. Runs offscreen.
#include "app/AppEnvironment.h"
#include "app/MainWindow.h"
#include "device/SimulatedMouse.h"
#include "ui/Layout.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <vector>

using namespace z417;

namespace {

double median(std::vector<double> v) {
    std::sort(v.begin(), v.end());
    return v[v.size() / 2];
}

// Wall time of a whole process run, median of several.
double processMs(const QString& program, const QStringList& args, int runs) {
    std::vector<double> times;
    for (int i = 0; i < runs; ++i) {
        QProcess p;
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.insert("QT_QPA_PLATFORM", "offscreen");
        p.setProcessEnvironment(env);
        QElapsedTimer t;
        t.start();
        p.start(program, args);
        p.waitForFinished(60000);
        times.push_back(static_cast<double>(t.nsecsElapsed()) / 1e6);
    }
    return median(times);
}

long rssKiB() {
    QFile status(QStringLiteral("/proc/self/status"));
    if (!status.open(QIODevice::ReadOnly))
        return -1;
    for (const QByteArray& line : status.readAll().split('\n'))
        if (line.startsWith("VmRSS:"))
            return line.mid(6).trimmed().split(' ').first().toLong();
    return -1;
}

class SilentServices final : public UiServices {
public:
    void messageBox(QWidget*, const QString&, const QString&) override {}
    std::optional<QColor> chooseColor(QWidget*, std::optional<QColor>) override { return {}; }
    void openUrl(const QString&) override {}
};

// 1. Process start to idle: the demo with a script that quits as soon as the event loop
//    runs, once with the protocol's real waits and once without them.
void startFigures(const QString& bin, const QTemporaryDir& tmp) {
    QFile script(tmp.path() + "/quit.txt");
    script.open(QIODevice::WriteOnly);
    script.write("quit\n");
    script.close();
    const QStringList demoArgs{"--data", tmp.path() + "/data", "--script", script.fileName()};
    processMs(bin + "/z417-demo", demoArgs, 1); // makes the data folder
    const double demoReal = processMs(bin + "/z417-demo", demoArgs, 5);
    const double demoVirtual =
        processMs(bin + "/z417-demo", demoArgs + QStringList{"--virtual-clock"}, 5);
    const double minimal = processMs(bin + "/bench_minimal_qt", {}, 5);
    std::printf("start to idle, demo (real protocol waits): %8.1f ms  (%.2f x minimal Qt)\n",
                demoReal, demoReal / minimal);
    std::printf("start to idle, demo (waits skipped):       %8.1f ms  (%.2f x minimal Qt)\n",
                demoVirtual, demoVirtual / minimal);
    std::printf("start to idle, minimal Qt Widgets program:  %8.1f ms\n", minimal);
    std::printf("  (the read at connect waits 500 ms by protocol; of the difference above,\n"
                "   that much is the mouse's, not the program's)\n");
}

// 2. In-process: a full page build and one hover-sized redraw.
void paintFigures(MainWindow& window) {
    const int pages = 50;
    QElapsedTimer t;
    t.start();
    for (int i = 0; i < pages; ++i)
        window.page().rebuild();
    const double pageMs = static_cast<double>(t.nsecsElapsed()) / 1e6 / pages;

    const auto ok = layout::main::okButton;
    const QPoint onOk((ok.left + ok.right) / 2, (ok.top + ok.bottom) / 2);
    const QPoint outside(10, 300);
    const int hovers = 500;
    t.restart();
    for (int i = 0; i < hovers; ++i) {
        window.hover().onHover(onOk);          // the over look drawn
        window.hover().onPointerMove(outside); // the normal look back
    }
    const double hoverUs = static_cast<double>(t.nsecsElapsed()) / 1e3 / (2 * hovers);

    std::printf("page build (tear-down and showPage):  %8.2f ms\n", pageMs);
    std::printf("hover-sized redraw (one button):            %8.1f us\n", hoverUs);
}

// 3. A show after a hide: the back buffer comes back from its compressed copy and is painted.
void showFigure(MainWindow& window) {
    std::vector<double> shows;
    QElapsedTimer t;
    for (int i = 0; i < 21; ++i) {
        window.hide();
        t.start();
        window.show();
        window.repaint();
        shows.push_back(static_cast<double>(t.nsecsElapsed()) / 1e6);
    }
    const double showMs = median(shows);
    constexpr double kFrameMs = 1000.0 / 60.0;
    std::printf("show after a hide (buffer restored and painted): %6.2f ms  (%.2f of a %.1f ms "
                "frame)\n",
                showMs, showMs / kFrameMs, kFrameMs);
}

// 4. Resident memory when idle, beside the minimal program's.
void memoryFigure(const QString& bin, long rss) {
    QProcess minimalRss;
    minimalRss.start(bin + "/bench_minimal_qt", {"--rss"});
    minimalRss.waitForFinished(30000);
    const QByteArray line = minimalRss.readAllStandardOutput().trimmed();
    const long minimalKiB = line.mid(6).trimmed().split(' ').first().toLong();
    std::printf(
        "resident memory when idle:                  %8ld KiB  (%.2f x minimal Qt, %ld KiB)\n", rss,
        minimalKiB > 0 ? static_cast<double>(rss) / minimalKiB : 0.0, minimalKiB);
}

} // namespace

int main(int argc, char** argv) {
    setenv("QT_QPA_PLATFORM", "offscreen", 1);
    QApplication app(argc, argv);
    const QString bin = QStringLiteral(Z417_BIN_DIR);
    QTemporaryDir tmp;
    startFigures(bin, tmp);

    // The window against an in-memory mouse on the shipped skin.
    SimulatedMouse mouse;
    VirtualClock clock;
    SilentServices services;
    AppEnvironment env;
    env.services = &services;
    env.modulePath = (tmp.path() + "/data/z417-gaming-mouse").toStdString();
    env.watchUdev = false;
    env.listenForBalloons = false;
    env.instanceName = "z417-bench-gui";
    DeviceLink device(mouse, clock);
    AppState state;
    MainWindow window(env, state, device);
    window.start();
    app.processEvents();
    const long rss = rssKiB();
    paintFigures(window);
    showFigure(window);
    memoryFigure(bin, rss);
    return 0;
}
