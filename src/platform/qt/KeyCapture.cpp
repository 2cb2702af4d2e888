#include "platform/qt/KeyCapture.h"

#include "assign/KeyNames.h"
#include "assign/KeyTables.h"

#include <QCoreApplication>
#include <QKeyEvent>

namespace z417 {
namespace {

// XKB keycodes, which Qt reports as native scan codes on xcb, Wayland and libinput, are the
// evdev codes shifted by 8.
constexpr quint32 kXkbKeycodeOffset = 8;

struct QtKeyUsage {
    int key;
    uint8_t usage;       // of the key on the main block
    uint8_t keypadUsage; // of the key on the keypad (with the keypad modifier)
};

// Qt's key codes that do not follow from a letter, digit or function key, with the keyboard
// usage of the key that sends them. The keypad keys without Num Lock come as navigation keys.
constexpr QtKeyUsage kQtKeyUsages[] = {
    {Qt::Key_Escape, 0x29, 0x29},      {Qt::Key_Minus, 0x2D, 0x56},
    {Qt::Key_Equal, 0x2E, 0x67},       {Qt::Key_Backspace, 0x2A, 0x2A},
    {Qt::Key_Tab, 0x2B, 0x2B},         {Qt::Key_Backtab, 0x2B, 0x2B},
    {Qt::Key_BracketLeft, 0x2F, 0x2F}, {Qt::Key_BracketRight, 0x30, 0x30},
    {Qt::Key_Return, 0x28, 0x58},      {Qt::Key_Enter, 0x58, 0x58},
    {Qt::Key_Control, 0xE0, 0xE0},     {Qt::Key_Semicolon, 0x33, 0x33},
    {Qt::Key_Apostrophe, 0x34, 0x34},  {Qt::Key_QuoteLeft, 0x35, 0x35},
    {Qt::Key_Shift, 0xE1, 0xE1},       {Qt::Key_Backslash, 0x31, 0x31},
    {Qt::Key_Comma, 0x36, 0x36},       {Qt::Key_Period, 0x37, 0x63},
    {Qt::Key_Slash, 0x38, 0x54},       {Qt::Key_Asterisk, 0x55, 0x55},
    {Qt::Key_Plus, 0x57, 0x57},        {Qt::Key_Alt, 0xE2, 0xE2},
    {Qt::Key_AltGr, 0xE6, 0xE6},       {Qt::Key_Space, 0x2C, 0x2C},
    {Qt::Key_CapsLock, 0x39, 0x39},    {Qt::Key_NumLock, 0x53, 0x53},
    {Qt::Key_ScrollLock, 0x47, 0x47},  {Qt::Key_Print, 0x46, 0x46},
    {Qt::Key_Pause, 0x48, 0x48},       {Qt::Key_Insert, 0x49, 0x62},
    {Qt::Key_Delete, 0x4C, 0x63},      {Qt::Key_Home, 0x4A, 0x5F},
    {Qt::Key_End, 0x4D, 0x59},         {Qt::Key_PageUp, 0x4B, 0x61},
    {Qt::Key_PageDown, 0x4E, 0x5B},    {Qt::Key_Left, 0x50, 0x5C},
    {Qt::Key_Right, 0x4F, 0x5E},       {Qt::Key_Up, 0x52, 0x60},
    {Qt::Key_Down, 0x51, 0x5A},        {Qt::Key_Clear, 0x5D, 0x5D},
    {Qt::Key_Meta, 0xE3, 0xE3},        {Qt::Key_Super_L, 0xE3, 0xE3},
    {Qt::Key_Super_R, 0xE7, 0xE7},     {Qt::Key_Menu, 0x65, 0x65},
    {Qt::Key_Help, 0x75, 0x75},
};

// The keyboard usage of a key known only by Qt's key code; 0 when there is none.
uint8_t usageOfQtKey(int key, bool keypad) {
    if (key >= Qt::Key_A && key <= Qt::Key_Z)
        return static_cast<uint8_t>(0x04 + (key - Qt::Key_A));
    if (key >= Qt::Key_1 && key <= Qt::Key_9)
        return static_cast<uint8_t>((keypad ? 0x59 : 0x1E) + (key - Qt::Key_1));
    if (key == Qt::Key_0)
        return keypad ? 0x62 : 0x27;
    if (key >= Qt::Key_F1 && key <= Qt::Key_F12)
        return static_cast<uint8_t>(0x3A + (key - Qt::Key_F1));
    if (key >= Qt::Key_F13 && key <= Qt::Key_F24)
        return static_cast<uint8_t>(0x68 + (key - Qt::Key_F13));
    for (const QtKeyUsage& row : kQtKeyUsages) {
        if (row.key == key)
            return keypad ? row.keypadUsage : row.usage;
    }
    return 0;
}

} // namespace

QString keyNameForQtKey(int key, bool keypad) {
    const std::string_view name = keyNameOfUsage(usageOfQtKey(key, keypad));
    return QString::fromLatin1(name.data(), static_cast<qsizetype>(name.size()));
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
