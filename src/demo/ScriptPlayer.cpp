#include "demo/ScriptPlayer.h"

#include "app/MainWindow.h"
#include "demo/DemoServices.h"
#include "device/SimulatedMouse.h"
#include "platform/qt/KeyEvents.h"

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

bool ScriptPlayer::pointerCommand(const QString& command, const QStringList& words,
                                  QString& error) {
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
        QTest::mouseDClick(target, Qt::LeftButton, Qt::NoModifier, local);
    return true;
}

void ScriptPlayer::deviceNotifications(bool arrival) {
    // The node appears or goes first; then udev announces one notification per top-level
    // collection of the mouse's nodes.
    if (arrival)
        host_.mouse->plug();
    else
        host_.mouse->unplug();
    for (int i = 0; i < SimulatedMouse::kCollectionCount; ++i)
        host_.window->onDeviceNotification(arrival, host_.mouse->interfaceName(i));
}

bool ScriptPlayer::execute(const QStringList& words, QString& error) {
    const QString& c = words.first();
    MainWindow* win = host_.window;
    auto needArgs = [&](int n) {
        if (words.size() - 1 == n)
            return true;
        error = c + QStringLiteral(" takes %1 argument(s)").arg(n);
        return false;
    };

    if (c == "move" || c == "click" || c == "rclick" || c == "dclick")
        return pointerCommand(c, words, error);
    if (c == "rest" || c == "wait")
        return c == "rest" ? needArgs(0) : needArgs(1);
    if (c == "wheel") {
        int delta = 0;
        if (!needArgs(1) || !toInt(words[1], delta)) {
            error = QStringLiteral("wheel takes DELTA");
            return false;
        }
        QWidget* w = activeWindow();
        QWidget* target = w->childAt(pointer_);
        if (!target)
            target = w;
        const QPointF local = target->mapFrom(w, pointer_);
        QWheelEvent ev(local, target->mapToGlobal(local), QPoint(0, 0), QPoint(0, delta),
                       Qt::NoButton, Qt::NoModifier, Qt::NoScrollPhase, false);
        QApplication::sendEvent(target, &ev);
        return true;
    }
    if (c == "key") {
        if (words.size() < 2) {
            error = QStringLiteral("key takes NAME");
            return false;
        }
        return sendKey(QStringList(words.mid(1)).join(QLatin1Char(' ')), error);
    }
    if (c == "select") {
        int id = 0, row = 0;
        if (!needArgs(2) || !toInt(words[1], id) || !toInt(words[2], row))
            return error = QStringLiteral("select takes ID ROW"), false;
        auto* list = qobject_cast<QListWidget*>(childById(id));
        if (!list || row < 0 || row >= list->count())
            return error = QStringLiteral("no list %1 with row %2").arg(id).arg(row), false;
        list->scrollToItem(list->item(row));
        const QRect r = list->visualItemRect(list->item(row));
        QTest::mouseClick(list->viewport(), Qt::LeftButton, Qt::NoModifier, r.center());
        return true;
    }
    if (c == "text") {
        int id = 0;
        if (words.size() < 2 || !toInt(words[1], id))
            return error = QStringLiteral("text takes ID TEXT"), false;
        auto* edit = qobject_cast<QLineEdit*>(childById(id));
        if (!edit)
            return error = QStringLiteral("no edit field %1").arg(id), false;
        const QString text = QStringList(words.mid(2)).join(QLatin1Char(' '));
        edit->setFocus(Qt::OtherFocusReason);
        QTest::keyClick(edit, Qt::Key_A, Qt::ControlModifier);
        if (text.isEmpty())
            QTest::keyClick(edit, Qt::Key_Delete);
        else
            QTest::keyClicks(edit, text);
        return true;
    }
    if (c == "expect-text") {
        int id = 0;
        if (words.size() < 2 || !toInt(words[1], id))
            return error = QStringLiteral("expect-text takes ID TEXT"), false;
        const QString want = QStringList(words.mid(2)).join(QLatin1Char(' '));
        QWidget* child = childById(id);
        QString have;
        if (auto* label = qobject_cast<QLabel*>(child))
            have = label->text();
        else if (auto* edit = qobject_cast<QLineEdit*>(child))
            have = edit->text();
        else
            return error = QStringLiteral("no text field %1").arg(id), false;
        if (have != want)
            return error =
                       QStringLiteral("field %1 shows \"%2\", not \"%3\"").arg(id).arg(have, want),
                   false;
        return true;
    }
    if (c == "color") {
        int r = 0, g = 0, b = 0;
        if (!needArgs(3) || !toInt(words[1], r) || !toInt(words[2], g) || !toInt(words[3], b))
            return error = QStringLiteral("color takes R G B"), false;
        host_.services->queueColour(QColor(r, g, b));
        return true;
    }
    if (c == "tray") {
        if (!needArgs(1))
            return false;
        const QString& how = words[1];
        if (how == "left")
            win->onTrayClick(MainWindow::TrayClick::Left);
        else if (how == "double")
            win->onTrayClick(MainWindow::TrayClick::Double);
        else if (how == "right")
            win->onTrayClick(MainWindow::TrayClick::Right);
        else if (how == "exit") {
            // Choose "Exit" in the tray menu as a person would.
            if (!win->trayMenu())
                win->onTrayClick(MainWindow::TrayClick::Right);
            const auto actions = win->trayMenu()->actions();
            if (actions.size() != 1)
                return error = QStringLiteral("the tray menu has %1 items").arg(actions.size()),
                       false;
            std::fprintf(out_, "tray menu: %s\n", qPrintable(actions.first()->text()));
            actions.first()->trigger();
        } else {
            return error = QStringLiteral("tray takes left, right, double or exit"), false;
        }
        return true;
    }
    if (c == "balloon") {
        int type = 0, kind = 0;
        if (!needArgs(2) || !toInt(words[1], type) || !toInt(words[2], kind))
            return error = QStringLiteral("balloon takes TYPE KIND"), false;
        win->onBalloonRequest(type, kind);
        return true;
    }
    if (c == "plug" || c == "unplug") {
        if (!needArgs(0))
            return false;
        deviceNotifications(c == "plug");
        return true;
    }
    if (c == "screenshot") {
        if (!needArgs(1))
            return false;
        QWidget* w = activeWindow();
        if (!w->grab().save(words[1], "PNG"))
            return error = QStringLiteral("cannot write ") + words[1], false;
        std::fprintf(out_, "screenshot: %s\n", qPrintable(words[1]));
        return true;
    }
    if (c == "dump-settings") {
        if (!needArgs(1))
            return false;
        return writeBytes(words[1], win->record().bytes(), sizeof(SettingsRecord), error);
    }
    if (c == "dump-block") {
        if (!needArgs(1))
            return false;
        return writeBytes(words[1], win->block().bytes(), sizeof(ProfileBlock), error);
    }
    if (c == "open-dialog") {
        if (!needArgs(1))
            return false;
        if (!host_.openDialog)
            return error = QStringLiteral("no dialogs"), false;
        const QString result = host_.openDialog(words[1]);
        if (result.isEmpty())
            return error = QStringLiteral("unknown dialog ") + words[1], false;
        std::fprintf(out_, "%s\n", qPrintable(result));
        std::fflush(out_);
        return true;
    }
    if (c == "quit") {
        if (!needArgs(0))
            return false;
        finished_ = true;
        win->exitProgram();
        return true;
    }
    error = QStringLiteral("unknown command ") + c;
    return false;
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
