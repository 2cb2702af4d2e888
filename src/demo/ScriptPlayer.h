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
    // The commands: each takes the line's words and fails with a reason.
    using Command = bool (ScriptPlayer::*)(const QStringList& words, QString& error);
    struct CommandEntry {
        const char* name;
        Command run;
    };
    static const CommandEntry kCommands[];
    bool pointerCommand(const QStringList& words, QString& error);
    bool pauseCommand(const QStringList& words, QString& error);
    bool wheelCommand(const QStringList& words, QString& error);
    bool keyCommand(const QStringList& words, QString& error);
    bool selectCommand(const QStringList& words, QString& error);
    bool textCommand(const QStringList& words, QString& error);
    bool expectTextCommand(const QStringList& words, QString& error);
    bool colourCommand(const QStringList& words, QString& error);
    bool trayCommand(const QStringList& words, QString& error);
    bool chooseTrayExit(QString& error);
    bool balloonCommand(const QStringList& words, QString& error);
    bool plugCommand(const QStringList& words, QString& error);
    bool screenshotCommand(const QStringList& words, QString& error);
    bool dumpCommand(const QStringList& words, QString& error);
    bool openDialogCommand(const QStringList& words, QString& error);
    bool quitCommand(const QStringList& words, QString& error);
    bool sendKey(const QString& name, QString& error);
    bool deviceNotifications(bool arrival, QString& error);

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
