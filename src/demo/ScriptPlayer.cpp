#include "demo/ScriptPlayer.h"

#include "app/MainWindow.h"
#include "demo/DemoServices.h"
#include "demo/KeyEvents.h"
#include "demo/PointerEvents.h"
#include "device/SimulatedMouse.h"

#include <QApplication>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMenu>
#include <QPixmap>
#include <QTest>
#include <QTimer>
#include <QWheelEvent>

namespace z417 {
namespace {

// Time a resting pointer needs for the 10 ms hover notification to arrive.
constexpr int kRestMs = 40;

// Ends a command that cannot go on: its reason for the script's failure line.
bool refuse(QString& error, QString why) {
    error = std::move(why);
    return false;
}

bool toInt(const QString& s, int& out) {
    bool ok = false;
    out = s.toInt(&ok);
    return ok;
}

bool writeBytes(const QString& path, const uint8_t* data, size_t size, QString& error) {
    QFile f(path);
    if (!f.open(QIODevice::WriteOnly | QIODevice::Truncate) ||
        f.write(reinterpret_cast<const char*>(data), static_cast<qint64>(size)) !=
            static_cast<qint64>(size)) {
        error = path + QStringLiteral(": ") + f.errorString();
        return false;
    }
    return true;
}

} // namespace

ScriptPlayer::ScriptPlayer(Host host, QStringList lines, FILE* out)
    : host_(std::move(host)), lines_(std::move(lines)), out_(out) {}

void ScriptPlayer::start() {
    scheduleNext(0);
}

void ScriptPlayer::scheduleNext(int delayMs) {
    QTimer::singleShot(delayMs, this, &ScriptPlayer::step);
}

void ScriptPlayer::fail(const QString& error) {
    failed_ = true;
    finished_ = true;
    std::fprintf(out_, "script: line %d: %s\n", current_, qPrintable(error));
    std::fflush(out_);
    QCoreApplication::exit(1);
}

void ScriptPlayer::step() {
    if (finished_)
        return;
    // Skip blank lines and comments.
    while (next_ < lines_.size()) {
        const QString line = lines_[next_].trimmed();
        if (!line.isEmpty() && !line.startsWith(QLatin1Char('#')))
            break;
        ++next_;
    }
    if (next_ >= lines_.size()) {
        finished_ = true;
        if (host_.window && !host_.window->exitRequested())
            host_.window->exitProgram();
        return;
    }
    current_ = next_ + 1;
    const QString line = lines_[next_++].trimmed();
    QStringList words = line.split(QLatin1Char(' '), Qt::SkipEmptyParts);
    const QString command = words.first();

    // The next step is armed before this one runs: a command that opens a modal loop
    // blocks here, and the script goes on inside that loop.
    int delay = 0;
    int waitMs = 0;
    if (command == QLatin1String("rest"))
        delay = kRestMs;
    else if (command == QLatin1String("wait") && words.size() == 2 && toInt(words[1], waitMs))
        delay = std::max(0, waitMs);
    scheduleNext(delay);

    QString error;
    if (!execute(words, error))
        fail(error);
}

QWidget* ScriptPlayer::activeWindow() const {
    if (QWidget* popup = QApplication::activePopupWidget())
        return popup;
    if (QWidget* modal = QApplication::activeModalWidget())
        return modal;
    return host_.window;
}

QWidget* ScriptPlayer::childById(int id) const {
    QWidget* w = activeWindow();
    if (!w)
        return nullptr;
    return w->findChild<QWidget*>(QStringLiteral("id%1").arg(id));
}

bool ScriptPlayer::pointerCommand(const QStringList& words, QString& error) {
    const QString& command = words.first();
    QWidget* w = activeWindow();
    if (!w) {
        error = QStringLiteral("no window");
        return false;
    }
    int x = 0, y = 0;
    if (words.size() != 3 || !toInt(words[1], x) || !toInt(words[2], y)) {
        error = command + QStringLiteral(" takes X Y");
        return false;
    }
    pointer_ = QPoint(x, y);
    // The point is a client point of the active window; the event goes to whatever child
    // lies there, as the window system would deliver it.
    QWidget* target = w->childAt(pointer_);
    if (!target)
        target = w;
    const QPoint local = target->mapFrom(w, pointer_);
    if (command == QLatin1String("move"))
        QTest::mouseMove(target, local);
    else if (command == QLatin1String("click"))
        QTest::mouseClick(target, Qt::LeftButton, Qt::NoModifier, local);
    else if (command == QLatin1String("rclick"))
        QTest::mouseClick(target, Qt::RightButton, Qt::NoModifier, local);
    else
        doubleClick(target, Qt::LeftButton, local);
    return true;
}

bool ScriptPlayer::deviceNotifications(bool arrival, QString& error) {
    // The node appears or goes first; then udev announces each of the mouse's nodes.
    if (Status done = host_.mouse->setPlugged(arrival); !done) {
        error = QString::fromStdString(done.reason);
        return false;
    }
    for (const HidrawEvent& e : host_.mouse->hotplugEvents(arrival ? HidrawEvent::Kind::Added
                                                                   : HidrawEvent::Kind::Removed))
        host_.window->deviceWatcher().handleEvent(e);
    return true;
}

namespace {

// A command's arguments are all there; otherwise the reason.
bool needArgs(const QStringList& words, int n, QString& error) {
    if (words.size() - 1 == n)
        return true;
    error = words.first() + QStringLiteral(" takes %1 argument(s)").arg(n);
    return false;
}

QString restOfLine(const QStringList& words, int from) {
    return QStringList(words.mid(from)).join(QLatin1Char(' '));
}

} // namespace

// Every command by name; a name not here fails the script.
const ScriptPlayer::CommandEntry ScriptPlayer::kCommands[] = {
    {"move", &ScriptPlayer::pointerCommand},
    {"click", &ScriptPlayer::pointerCommand},
    {"rclick", &ScriptPlayer::pointerCommand},
    {"dclick", &ScriptPlayer::pointerCommand},
    {"rest", &ScriptPlayer::pauseCommand},
    {"wait", &ScriptPlayer::pauseCommand},
    {"wheel", &ScriptPlayer::wheelCommand},
    {"key", &ScriptPlayer::keyCommand},
    {"select", &ScriptPlayer::selectCommand},
    {"text", &ScriptPlayer::textCommand},
    {"expect-text", &ScriptPlayer::expectTextCommand},
    {"color", &ScriptPlayer::colourCommand},
    {"tray", &ScriptPlayer::trayCommand},
    {"balloon", &ScriptPlayer::balloonCommand},
    {"plug", &ScriptPlayer::plugCommand},
    {"unplug", &ScriptPlayer::plugCommand},
    {"screenshot", &ScriptPlayer::screenshotCommand},
    {"dump-settings", &ScriptPlayer::dumpCommand},
    {"dump-block", &ScriptPlayer::dumpCommand},
    {"open-dialog", &ScriptPlayer::openDialogCommand},
    {"quit", &ScriptPlayer::quitCommand},
};

bool ScriptPlayer::execute(const QStringList& words, QString& error) {
    for (const CommandEntry& command : kCommands)
        if (words.first() == QLatin1String(command.name))
            return (this->*command.run)(words, error);
    error = QStringLiteral("unknown command ") + words.first();
    return false;
}

bool ScriptPlayer::pauseCommand(const QStringList& words, QString& error) {
    // The pause itself was armed by step().
    return needArgs(words, words.first() == QLatin1String("rest") ? 0 : 1, error);
}

bool ScriptPlayer::wheelCommand(const QStringList& words, QString& error) {
    int delta = 0;
    if (!needArgs(words, 1, error) || !toInt(words[1], delta)) {
        error = QStringLiteral("wheel takes DELTA");
        return false;
    }
    QWidget* w = activeWindow();
    QWidget* target = w->childAt(pointer_);
    if (!target)
        target = w;
    const QPointF local = target->mapFrom(w, pointer_);
    QWheelEvent ev(local, target->mapToGlobal(local), QPoint(0, 0), QPoint(0, delta), Qt::NoButton,
                   Qt::NoModifier, Qt::NoScrollPhase, false);
    QApplication::sendEvent(target, &ev);
    return true;
}

bool ScriptPlayer::keyCommand(const QStringList& words, QString& error) {
    if (words.size() < 2) {
        error = QStringLiteral("key takes NAME");
        return false;
    }
    return sendKey(restOfLine(words, 1), error);
}

bool ScriptPlayer::selectCommand(const QStringList& words, QString& error) {
    int id = 0, row = 0;
    if (!needArgs(words, 2, error) || !toInt(words[1], id) || !toInt(words[2], row))
        return refuse(error, QStringLiteral("select takes ID ROW"));
    auto* list = qobject_cast<QListWidget*>(childById(id));
    if (!list || row < 0 || row >= list->count())
        return refuse(error, QStringLiteral("no list %1 with row %2").arg(id).arg(row));
    list->scrollToItem(list->item(row));
    const QRect r = list->visualItemRect(list->item(row));
    QTest::mouseClick(list->viewport(), Qt::LeftButton, Qt::NoModifier, r.center());
    return true;
}

bool ScriptPlayer::textCommand(const QStringList& words, QString& error) {
    int id = 0;
    if (words.size() < 2 || !toInt(words[1], id))
        return refuse(error, QStringLiteral("text takes ID TEXT"));
    auto* edit = qobject_cast<QLineEdit*>(childById(id));
    if (!edit)
        return refuse(error, QStringLiteral("no edit field %1").arg(id));
    const QString text = restOfLine(words, 2);
    edit->setFocus(Qt::OtherFocusReason);
    QTest::keyClick(edit, Qt::Key_A, Qt::ControlModifier);
    if (text.isEmpty())
        QTest::keyClick(edit, Qt::Key_Delete);
    else
        QTest::keyClicks(edit, text);
    return true;
}

bool ScriptPlayer::expectTextCommand(const QStringList& words, QString& error) {
    int id = 0;
    if (words.size() < 2 || !toInt(words[1], id))
        return refuse(error, QStringLiteral("expect-text takes ID TEXT"));
    const QString want = restOfLine(words, 2);
    QWidget* child = childById(id);
    QString have;
    if (auto* label = qobject_cast<QLabel*>(child))
        have = label->text();
    else if (auto* edit = qobject_cast<QLineEdit*>(child))
        have = edit->text();
    else
        return refuse(error, QStringLiteral("no text field %1").arg(id));
    if (have != want)
        return refuse(error,
                      QStringLiteral("field %1 shows \"%2\", not \"%3\"").arg(id).arg(have, want));
    return true;
}

bool ScriptPlayer::colourCommand(const QStringList& words, QString& error) {
    int r = 0, g = 0, b = 0;
    if (!needArgs(words, 3, error) || !toInt(words[1], r) || !toInt(words[2], g) ||
        !toInt(words[3], b))
        return refuse(error, QStringLiteral("color takes R G B"));
    host_.services->queueColour(QColor(r, g, b));
    return true;
}

bool ScriptPlayer::trayCommand(const QStringList& words, QString& error) {
    if (!needArgs(words, 1, error))
        return false;
    MainWindow* win = host_.window;
    const QString& how = words[1];
    if (how == "left")
        win->onTrayClick(MainWindow::TrayClick::Left);
    else if (how == "double")
        win->onTrayClick(MainWindow::TrayClick::Double);
    else if (how == "right")
        win->onTrayClick(MainWindow::TrayClick::Right);
    else if (how == "exit")
        return chooseTrayExit(error);
    else
        return refuse(error, QStringLiteral("tray takes left, right, double or exit"));
    return true;
}

// Chooses "Exit" in the tray menu as a person would.
bool ScriptPlayer::chooseTrayExit(QString& error) {
    MainWindow* win = host_.window;
    if (!win->trayMenu())
        win->onTrayClick(MainWindow::TrayClick::Right);
    const auto actions = win->trayMenu()->actions();
    if (actions.size() != 1)
        return refuse(error, QStringLiteral("the tray menu has %1 items").arg(actions.size()));
    std::fprintf(out_, "tray menu: %s\n", qPrintable(actions.first()->text()));
    actions.first()->trigger();
    return true;
}

bool ScriptPlayer::balloonCommand(const QStringList& words, QString& error) {
    int type = 0, kind = 0;
    if (!needArgs(words, 2, error) || !toInt(words[1], type) || !toInt(words[2], kind))
        return refuse(error, QStringLiteral("balloon takes TYPE KIND"));
    host_.window->balloons().show(type, kind);
    return true;
}

bool ScriptPlayer::plugCommand(const QStringList& words, QString& error) {
    if (!needArgs(words, 0, error))
        return false;
    if (host_.mouse == nullptr) {
        error = words.first() +
                QStringLiteral(
                    ": a real device is plugged by hand (z417-uhid-mouse), not by the script");
        return false;
    }
    return deviceNotifications(words.first() == QLatin1String("plug"), error);
}

bool ScriptPlayer::screenshotCommand(const QStringList& words, QString& error) {
    if (!needArgs(words, 1, error))
        return false;
    if (!activeWindow()->grab().save(words[1], "PNG"))
        return refuse(error, QStringLiteral("cannot write ") + words[1]);
    std::fprintf(out_, "screenshot: %s\n", qPrintable(words[1]));
    return true;
}

bool ScriptPlayer::dumpCommand(const QStringList& words, QString& error) {
    if (!needArgs(words, 1, error))
        return false;
    const AppState& state = host_.window->state();
    if (words.first() == QLatin1String("dump-settings"))
        return writeBytes(words[1], state.record.bytes(), sizeof(SettingsRecord), error);
    return writeBytes(words[1], state.block.bytes(), sizeof(ProfileBlock), error);
}

bool ScriptPlayer::openDialogCommand(const QStringList& words, QString& error) {
    if (!needArgs(words, 1, error))
        return false;
    if (!host_.openDialog)
        return refuse(error, QStringLiteral("no dialogs"));
    const QString result = host_.openDialog(words[1]);
    if (result.isEmpty())
        return refuse(error, QStringLiteral("unknown dialog ") + words[1]);
    std::fprintf(out_, "%s\n", qPrintable(result));
    std::fflush(out_);
    return true;
}

bool ScriptPlayer::quitCommand(const QStringList& words, QString& error) {
    if (!needArgs(words, 0, error))
        return false;
    finished_ = true;
    host_.window->exitProgram();
    return true;
}

bool ScriptPlayer::sendKey(const QString& name, QString& error) {
    QWidget* target = QApplication::focusWidget();
    if (!target || target->window() != activeWindow())
        target = activeWindow();
    if (!sendNamedKey(target, name.toStdString())) {
        error = QStringLiteral("no key is called ") + name;
        return false;
    }
    return true;
}

} // namespace z417
