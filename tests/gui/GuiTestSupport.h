// Shared pieces of the GUI tests: temporary folders, a recording desktop, test skins and a
// main window running against an in-memory simulated mouse on a virtual clock.
#pragma once

#include "app/AppEnvironment.h"
#include "app/MainWindow.h"
#include "device/SimulatedMouse.h"
#include "platform/qt/UiServices.h"
#include "ui/Layout.h"

#include <QColor>
#include <QImage>
#include <QLabel>
#include <QListWidget>
#include <QPoint>
#include <QString>
#include <QTemporaryDir>

#include <deque>
#include <memory>
#include <optional>
#include <string>
#include <vector>

namespace z417::test {

class RecordingUiServices final : public UiServices {
public:
    struct Message {
        QString text;
        QString caption;
    };
    void messageBox(QWidget*, const QString& text, const QString& caption) override {
        messages.push_back({text, caption});
    }
    std::optional<QColor> chooseColor(QWidget*, std::optional<QColor> initial) override {
        chooserInitials.push_back(initial);
        if (colours.empty())
            return std::nullopt;
        QColor c = colours.front();
        colours.pop_front();
        return c;
    }
    void openUrl(const QString& url) override { urls.push_back(url); }

    std::vector<Message> messages;
    std::deque<QColor> colours;
    std::vector<std::optional<QColor>> chooserInitials;
    std::vector<QString> urls;
};

// Writes a PNG filled with one colour (alpha included).
void writeSolidPng(const QString& path, int width, int height, QColor colour);

// A skin of solid colours: every image the main window names, each in its own colour so
// that tests can tell them apart by their pixels. Returns the colour of each image by name.
void writeTestSkin(const QString& folder);
QColor testSkinColour(const char* imageName);

// A folder laid out like the utility's: config.bin, str.ini and Skins/Test.
struct TestInstall {
    QTemporaryDir dir;
    std::string modulePath() const { return dir.path().toStdString() + "/z417-gaming-mouse"; }
    std::string file(const char* name) const { return dir.path().toStdString() + "/" + name; }
};
// firstRun: byte 0 of config.bin. lan: the "Lan" value.
void makeTestInstall(TestInstall& install, const SettingsRecord& record, uint8_t firstRun,
                     const std::string& lan = "EN");

using Balloons = std::vector<std::pair<QString, QString>>; // title, text

// An environment for a window over the install, on the given desktop, with
// balloons recorded and a lock name of its own (prefix + process + counter).
void prepareTestEnvironment(AppEnvironment& env, const TestInstall& install, UiServices& services,
                            Balloons& balloons, const std::string& lockPrefix);

// A main window with everything it needs, started.
struct WindowFixture {
    explicit WindowFixture(const SettingsRecord& record, uint8_t firstRun = 1,
                           const std::string& lan = "EN", bool plugged = true);
    ~WindowFixture();

    TestInstall install;
    SimulatedMouse mouse;
    VirtualClock clock;
    DeviceLink device{mouse, clock};
    RecordingUiServices services;
    AppEnvironment env;
    Balloons balloons;
    AppState state;
    std::unique_ptr<MainWindow> window;
    MainWindow::StartResult initResult{};
};

SettingsRecord sampleRecord();

// Reading the main window.
inline QPoint centre(const layout::Rect& r) {
    return {(r.left + r.right) / 2, (r.top + r.bottom) / 2};
}
inline QColor pixel(const MainWindow& w, int x, int y) {
    return w.backBuffer().pixelColor(x, y);
}
// A pixel of a control that no caption, number or label covers.
inline QColor cornerOf(const MainWindow& w, const layout::Rect& r) {
    return pixel(w, r.right - 3, r.top + 1);
}
inline QLabel* field(MainWindow& w, int id) {
    return w.findChild<QLabel*>(QStringLiteral("id%1").arg(id));
}
inline QListWidget* list(MainWindow& w, int id) {
    return w.findChild<QListWidget*>(QStringLiteral("id%1").arg(id));
}
inline QListWidget* list(MainWindow& w, layout::main::ListId id) {
    return list(w, static_cast<int>(id));
}
std::string readFile(const std::string& path);

} // namespace z417::test

namespace z417::test {

struct DemoRun {
    int exitCode = -1;
    QString output;
};
// Runs the built demo headless on a data folder with a script (lines joined by '\n').
DemoRun runDemo(const QString& dataDir, const QString& script);

} // namespace z417::test
