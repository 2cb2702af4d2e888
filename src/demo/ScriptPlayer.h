// Plays a demo script through real Qt events, one command a line, also inside modal loops.
#pragma once

#include "demo/DemoLayer.h"

#include <QObject>
#include <QPoint>
#include <QString>
#include <QStringList>

#include <cstdio>
#include <functional>
#include <map>

class QWidget;

namespace z417 {

class MainWindow;
class DemoUiServices;
class SimulatedMouse;

class ScriptPlayer : public QObject {
    Q_OBJECT
public:
    struct Host {
        MainWindow* window = nullptr;
        DemoUiServices* services = nullptr;
        SimulatedMouse* mouse = nullptr;
        // Opens one of the parameter dialogs as its opener would; returns the result line
        // ("result: ok NAME=VALUE ..." or "result: cancel").
        std::function<QString(const QString& name)> openDialog;
    };

    ScriptPlayer(Host host, QStringList lines, FILE* out = stdout);
    // Starts playing once the event loop runs.
    void start();
    bool failed() const { return failed_; }

private:
    void step();
    void scheduleNext(int delayMs);
    // Runs one command; false with a reason on failure.
    bool execute(const QStringList& words, QString& error);
    void fail(const QString& error);

    QWidget* activeWindow() const;
    QWidget* childById(int id) const;
    bool pointerCommand(const QString& command, const QStringList& words, QString& error);
    bool sendKey(const QString& name, QString& error);
    void deviceNotifications(bool arrival);

    Host host_;
    QStringList lines_;
    FILE* out_;
    int next_ = 0;
    int current_ = 0;
    bool failed_ = false;
    bool finished_ = false;
    QPoint pointer_{0, 0};
};

} // namespace z417
