#include "platform/qt/KeyCapture.h"

#include "platform/KeyNames.h"

#include <QCoreApplication>
#include <QKeyEvent>

namespace z417 {
namespace {

// XKB keycodes, which Qt reports as native scan codes on xcb, Wayland and libinput, are the
// evdev codes shifted by 8.
constexpr quint32 kXkbKeycodeOffset = 8;

} // namespace

QString keyNameForQtKey(int key, bool keypad) {
    if (key >= Qt::Key_A && key <= Qt::Key_Z)
        return QString(QChar(key));
    if (key >= Qt::Key_0 && key <= Qt::Key_9) {
        const QString digit{QChar(key)};
        return keypad ? QStringLiteral("Num ") + digit : digit;
    }
    if (key >= Qt::Key_F1 && key <= Qt::Key_F24)
        return QStringLiteral("F%1").arg(key - Qt::Key_F1 + 1);
    struct Row {
        int key;
        const char* name;
        const char* keypadName;
    };
    static const Row rows[] = {
        {Qt::Key_Escape, "Esc", nullptr},
        {Qt::Key_Minus, "-", "Num -"},
        {Qt::Key_Equal, "=", "Num ="},
        {Qt::Key_Backspace, "Backspace", nullptr},
        {Qt::Key_Tab, "Tab", nullptr},
        {Qt::Key_Backtab, "Tab", nullptr},
        {Qt::Key_BracketLeft, "[", nullptr},
        {Qt::Key_BracketRight, "]", nullptr},
        {Qt::Key_Return, "Enter", "Num Enter"},
        {Qt::Key_Enter, "Num Enter", "Num Enter"},
        {Qt::Key_Control, "Ctrl", nullptr},
        {Qt::Key_Semicolon, ";", nullptr},
        {Qt::Key_Apostrophe, "'", nullptr},
        {Qt::Key_QuoteLeft, "`", nullptr},
        {Qt::Key_Shift, "Shift", nullptr},
        {Qt::Key_Backslash, "\\", nullptr},
        {Qt::Key_Comma, ",", nullptr},
        {Qt::Key_Period, ".", "Num Del"},
        {Qt::Key_Slash, "/", "Num /"},
        {Qt::Key_Asterisk, "Num *", "Num *"},
        {Qt::Key_Plus, "Num +", "Num +"},
        {Qt::Key_Alt, "Alt", nullptr},
        {Qt::Key_AltGr, "Right Alt", nullptr},
        {Qt::Key_Space, "Space", nullptr},
        {Qt::Key_CapsLock, "Caps Lock", nullptr},
        {Qt::Key_NumLock, "Num Lock", nullptr},
        {Qt::Key_ScrollLock, "Scroll Lock", nullptr},
        {Qt::Key_Print, "Prnt Scrn", nullptr},
        {Qt::Key_Pause, "Pause", nullptr},
        {Qt::Key_Insert, "Insert", "Num 0"},
        {Qt::Key_Delete, "Delete", "Num Del"},
        {Qt::Key_Home, "Home", "Num 7"},
        {Qt::Key_End, "End", "Num 1"},
        {Qt::Key_PageUp, "Page Up", "Num 9"},
        {Qt::Key_PageDown, "Page Down", "Num 3"},
        {Qt::Key_Left, "Left", "Num 4"},
        {Qt::Key_Right, "Right", "Num 6"},
        {Qt::Key_Up, "Up", "Num 8"},
        {Qt::Key_Down, "Down", "Num 2"},
        {Qt::Key_Clear, "Num 5", "Num 5"},
        {Qt::Key_Meta, "Left Windows", nullptr},
        {Qt::Key_Super_L, "Left Windows", nullptr},
        {Qt::Key_Super_R, "Right Windows", nullptr},
        {Qt::Key_Menu, "Application", nullptr},
        {Qt::Key_Help, "Help", nullptr},
    };
    for (const Row& row : rows) {
        if (row.key == key)
            return QString::fromLatin1(keypad && row.keypadName ? row.keypadName : row.name);
    }
    return QString();
}

QString captureKeyName(const QKeyEvent& event) {
    const quint32 scan = event.nativeScanCode();
    std::string name;
    if (scan > kXkbKeycodeOffset)
        name = keyNameForEvdevCode(scan - kXkbKeycodeOffset);
    else
        name = keyNameForQtKey(event.key(), event.modifiers().testFlag(Qt::KeypadModifier))
                   .toStdString();
    return QString::fromStdString(fitKeyNameBuffer(name));
}

KeyCapture::KeyCapture(QObject* parent) : QObject(parent) {}

KeyCapture::~KeyCapture() {
    remove();
}

bool KeyCapture::install() {
    QCoreApplication* app = QCoreApplication::instance();
    if (!app)
        return false;
    if (!installed_) {
        app->installEventFilter(this);
        installed_ = true;
    }
    return true;
}

void KeyCapture::remove() {
    if (!installed_)
        return;
    if (QCoreApplication* app = QCoreApplication::instance())
        app->removeEventFilter(this);
    installed_ = false;
}

bool KeyCapture::eventFilter(QObject* watched, QEvent* event) {
    Q_UNUSED(watched);
    if (event->type() == QEvent::KeyPress || event->type() == QEvent::KeyRelease) {
        // A key event that travels from a window to its focus widget and up to the parents
        // passes here once per step; the name is the same each time.
        emit keyNamed(captureKeyName(*static_cast<QKeyEvent*>(event)));
    }
    return false;
}

} // namespace z417
