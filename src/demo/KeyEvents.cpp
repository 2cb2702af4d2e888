#include "demo/KeyEvents.h"

#include "assign/KeyNames.h"

#include <QApplication>
#include <QKeyEvent>
#include <QWidget>

#include <linux/input-event-codes.h>

namespace z417 {
namespace {

struct KeyRow {
    int evdev;
    Qt::Key key;
    const char* text; // what the key types without modifiers
};

// Keys whose Qt code does not follow from a letter or digit.
constexpr KeyRow kKeys[] = {
    {KEY_ENTER, Qt::Key_Return, "\r"},
    {KEY_ESC, Qt::Key_Escape, "\x1b"},
    {KEY_BACKSPACE, Qt::Key_Backspace, "\b"},
    {KEY_TAB, Qt::Key_Tab, "\t"},
    {KEY_SPACE, Qt::Key_Space, " "},
    {KEY_MINUS, Qt::Key_Minus, "-"},
    {KEY_EQUAL, Qt::Key_Equal, "="},
    {KEY_LEFTBRACE, Qt::Key_BracketLeft, "["},
    {KEY_RIGHTBRACE, Qt::Key_BracketRight, "]"},
    {KEY_BACKSLASH, Qt::Key_Backslash, "\\"},
    {KEY_SEMICOLON, Qt::Key_Semicolon, ";"},
    {KEY_APOSTROPHE, Qt::Key_Apostrophe, "'"},
    {KEY_GRAVE, Qt::Key_QuoteLeft, "`"},
    {KEY_COMMA, Qt::Key_Comma, ","},
    {KEY_DOT, Qt::Key_Period, "."},
    {KEY_SLASH, Qt::Key_Slash, "/"},
    {KEY_CAPSLOCK, Qt::Key_CapsLock, ""},
    {KEY_SYSRQ, Qt::Key_Print, ""},
    {KEY_SCROLLLOCK, Qt::Key_ScrollLock, ""},
    {KEY_PAUSE, Qt::Key_Pause, ""},
    {KEY_INSERT, Qt::Key_Insert, ""},
    {KEY_HOME, Qt::Key_Home, ""},
    {KEY_PAGEUP, Qt::Key_PageUp, ""},
    {KEY_DELETE, Qt::Key_Delete, ""},
    {KEY_END, Qt::Key_End, ""},
    {KEY_PAGEDOWN, Qt::Key_PageDown, ""},
    {KEY_RIGHT, Qt::Key_Right, ""},
    {KEY_LEFT, Qt::Key_Left, ""},
    {KEY_DOWN, Qt::Key_Down, ""},
    {KEY_UP, Qt::Key_Up, ""},
    {KEY_NUMLOCK, Qt::Key_NumLock, ""},
    {KEY_KPSLASH, Qt::Key_Slash, "/"},
    {KEY_KPASTERISK, Qt::Key_Asterisk, "*"},
    {KEY_KPMINUS, Qt::Key_Minus, "-"},
    {KEY_KPPLUS, Qt::Key_Plus, "+"},
    {KEY_KPENTER, Qt::Key_Enter, "\r"},
    {KEY_KPDOT, Qt::Key_Period, "."},
    {KEY_102ND, Qt::Key_Less, "<"},
    {KEY_LEFTCTRL, Qt::Key_Control, ""},
    {KEY_LEFTSHIFT, Qt::Key_Shift, ""},
    {KEY_LEFTALT, Qt::Key_Alt, ""},
    {KEY_LEFTMETA, Qt::Key_Meta, ""},
    {KEY_RIGHTCTRL, Qt::Key_Control, ""},
    {KEY_RIGHTSHIFT, Qt::Key_Shift, ""},
    {KEY_RIGHTALT, Qt::Key_AltGr, ""},
    {KEY_RIGHTMETA, Qt::Key_Meta, ""},
    {KEY_COMPOSE, Qt::Key_Menu, ""},
};

constexpr int kLetters[26] = {KEY_A, KEY_B, KEY_C, KEY_D, KEY_E, KEY_F, KEY_G, KEY_H, KEY_I,
                              KEY_J, KEY_K, KEY_L, KEY_M, KEY_N, KEY_O, KEY_P, KEY_Q, KEY_R,
                              KEY_S, KEY_T, KEY_U, KEY_V, KEY_W, KEY_X, KEY_Y, KEY_Z};
constexpr int kKeypadDigits[10] = {KEY_KP0, KEY_KP1, KEY_KP2, KEY_KP3, KEY_KP4,
                                   KEY_KP5, KEY_KP6, KEY_KP7, KEY_KP8, KEY_KP9};

bool isKeypad(int evdev) {
    for (int d : kKeypadDigits)
        if (d == evdev)
            return true;
    return evdev == KEY_KPSLASH || evdev == KEY_KPASTERISK || evdev == KEY_KPMINUS ||
           evdev == KEY_KPPLUS || evdev == KEY_KPENTER || evdev == KEY_KPDOT;
}

QString textFor(int evdev) {
    for (int i = 0; i < 26; ++i)
        if (kLetters[i] == evdev)
            return QString(QChar('a' + i));
    if (evdev >= KEY_1 && evdev <= KEY_9)
        return QString(QChar('1' + (evdev - KEY_1)));
    if (evdev == KEY_0)
        return QStringLiteral("0");
    for (int i = 0; i < 10; ++i)
        if (kKeypadDigits[i] == evdev)
            return QString(QChar('0' + i));
    for (const KeyRow& r : kKeys)
        if (r.evdev == evdev)
            return QString::fromLatin1(r.text);
    return QString();
}

} // namespace

int evdevCodeForKeyName(const std::string& name) {
    for (int code = 1; code < 256; ++code)
        if (keyNameForEvdevCode(static_cast<unsigned>(code)) == name)
            return code;
    return -1;
}

Qt::Key qtKeyForEvdevCode(int evdev) {
    for (int i = 0; i < 26; ++i)
        if (kLetters[i] == evdev)
            return static_cast<Qt::Key>(Qt::Key_A + i);
    if (evdev >= KEY_1 && evdev <= KEY_9)
        return static_cast<Qt::Key>(Qt::Key_1 + (evdev - KEY_1));
    if (evdev == KEY_0)
        return Qt::Key_0;
    for (int i = 0; i < 10; ++i)
        if (kKeypadDigits[i] == evdev)
            return static_cast<Qt::Key>(Qt::Key_0 + i);
    if (evdev >= KEY_F1 && evdev <= KEY_F10)
        return static_cast<Qt::Key>(Qt::Key_F1 + (evdev - KEY_F1));
    if (evdev == KEY_F11)
        return Qt::Key_F11;
    if (evdev == KEY_F12)
        return Qt::Key_F12;
    for (const KeyRow& r : kKeys)
        if (r.evdev == evdev)
            return r.key;
    return Qt::Key_unknown;
}

bool sendNamedKey(QWidget* target, const std::string& name) {
    const int evdev = evdevCodeForKeyName(name);
    if (evdev < 0 || !target)
        return false;
    const Qt::Key key = qtKeyForEvdevCode(evdev);
    const Qt::KeyboardModifiers mods = isKeypad(evdev) ? Qt::KeypadModifier : Qt::NoModifier;
    const QString text = textFor(evdev);
    const quint32 scan = static_cast<quint32>(evdev + 8);
    QKeyEvent press(QEvent::KeyPress, key, mods, scan, 0, 0, text);
    QApplication::sendEvent(target, &press);
    QKeyEvent release(QEvent::KeyRelease, key, mods, scan, 0, 0, text);
    QApplication::sendEvent(target, &release);
    return true;
}

} // namespace z417
