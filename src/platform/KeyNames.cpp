#include "platform/KeyNames.h"

#include <linux/input-event-codes.h>

#include <algorithm>
#include <array>

namespace z417 {
namespace {

struct CodeName {
    unsigned code;
    const char* name;
};

// Main block, function row, navigation block and keypad in the spelling of the key name table,
// then the keys the table has no row for, named as a US English Windows layout names them.
constexpr CodeName kNames[] = {
    {KEY_ESC, "Esc"},
    {KEY_1, "1"},
    {KEY_2, "2"},
    {KEY_3, "3"},
    {KEY_4, "4"},
    {KEY_5, "5"},
    {KEY_6, "6"},
    {KEY_7, "7"},
    {KEY_8, "8"},
    {KEY_9, "9"},
    {KEY_0, "0"},
    {KEY_MINUS, "-"},
    {KEY_EQUAL, "="},
    {KEY_BACKSPACE, "Backspace"},
    {KEY_TAB, "Tab"},
    {KEY_Q, "Q"},
    {KEY_W, "W"},
    {KEY_E, "E"},
    {KEY_R, "R"},
    {KEY_T, "T"},
    {KEY_Y, "Y"},
    {KEY_U, "U"},
    {KEY_I, "I"},
    {KEY_O, "O"},
    {KEY_P, "P"},
    {KEY_LEFTBRACE, "["},
    {KEY_RIGHTBRACE, "]"},
    {KEY_ENTER, "Enter"},
    {KEY_LEFTCTRL, "Ctrl"},
    {KEY_A, "A"},
    {KEY_S, "S"},
    {KEY_D, "D"},
    {KEY_F, "F"},
    {KEY_G, "G"},
    {KEY_H, "H"},
    {KEY_J, "J"},
    {KEY_K, "K"},
    {KEY_L, "L"},
    {KEY_SEMICOLON, ";"},
    {KEY_APOSTROPHE, "'"},
    {KEY_GRAVE, "`"},
    {KEY_LEFTSHIFT, "Shift"},
    // The US backslash key and the non-US hash key share this code.
    {KEY_BACKSLASH, "\\"},
    {KEY_Z, "Z"},
    {KEY_X, "X"},
    {KEY_C, "C"},
    {KEY_V, "V"},
    {KEY_B, "B"},
    {KEY_N, "N"},
    {KEY_M, "M"},
    {KEY_COMMA, ","},
    {KEY_DOT, "."},
    {KEY_SLASH, "/"},
    {KEY_RIGHTSHIFT, "Right Shift"},
    {KEY_KPASTERISK, "Num *"},
    {KEY_LEFTALT, "Alt"},
    {KEY_SPACE, "Space"},
    {KEY_CAPSLOCK, "Caps Lock"},
    {KEY_F1, "F1"},
    {KEY_F2, "F2"},
    {KEY_F3, "F3"},
    {KEY_F4, "F4"},
    {KEY_F5, "F5"},
    {KEY_F6, "F6"},
    {KEY_F7, "F7"},
    {KEY_F8, "F8"},
    {KEY_F9, "F9"},
    {KEY_F10, "F10"},
    {KEY_NUMLOCK, "Num Lock"},
    {KEY_SCROLLLOCK, "Scroll Lock"},
    {KEY_KP7, "Num 7"},
    {KEY_KP8, "Num 8"},
    {KEY_KP9, "Num 9"},
    {KEY_KPMINUS, "Num -"},
    {KEY_KP4, "Num 4"},
    {KEY_KP5, "Num 5"},
    {KEY_KP6, "Num 6"},
    {KEY_KPPLUS, "Num +"},
    {KEY_KP1, "Num 1"},
    {KEY_KP2, "Num 2"},
    {KEY_KP3, "Num 3"},
    {KEY_KP0, "Num 0"},
    {KEY_KPDOT, "Num Del"},
    // The extra key of ISO keyboards; a US layout names it by its character.
    {KEY_102ND, "\\"},
    {KEY_F11, "F11"},
    {KEY_F12, "F12"},
    {KEY_KPENTER, "Num Enter"},
    {KEY_RIGHTCTRL, "Right Ctrl"},
    {KEY_KPSLASH, "Num /"},
    {KEY_SYSRQ, "Prnt Scrn"}, // the Print Screen key
    {KEY_RIGHTALT, "Right Alt"},
    {KEY_HOME, "Home"},
    {KEY_UP, "Up"},
    {KEY_PAGEUP, "Page Up"},
    {KEY_LEFT, "Left"},
    {KEY_RIGHT, "Right"},
    {KEY_END, "End"},
    {KEY_DOWN, "Down"},
    {KEY_PAGEDOWN, "Page Down"},
    {KEY_INSERT, "Insert"},
    {KEY_DELETE, "Delete"},
    {KEY_PAUSE, "Pause"},
    {KEY_LEFTMETA, "Left Windows"},
    {KEY_RIGHTMETA, "Right Windows"},
    {KEY_PRINT, "Prnt Scrn"},

    // No row in the key name table: these stand for usage 0.
    {KEY_COMPOSE, "Application"}, // the context menu key of PC keyboards
    {KEY_MENU, "Menu"},
    {KEY_HELP, "Help"},
    {KEY_KPEQUAL, "Num ="},
    {KEY_F13, "F13"},
    {KEY_F14, "F14"},
    {KEY_F15, "F15"},
    {KEY_F16, "F16"},
    {KEY_F17, "F17"},
    {KEY_F18, "F18"},
    {KEY_F19, "F19"},
    {KEY_F20, "F20"},
    {KEY_F21, "F21"},
    {KEY_F22, "F22"},
    {KEY_F23, "F23"},
    {KEY_F24, "F24"},
};

} // namespace

std::string keyNameForEvdevCode(unsigned evdevCode) {
    const auto* end = std::end(kNames);
    const auto* it = std::find_if(std::begin(kNames), end, [evdevCode](const CodeName& row) {
        return row.code == evdevCode;
    });
    return it == end ? std::string() : std::string(it->name);
}

std::string fitKeyNameBuffer(const std::string& name) {
    return name.size() < kKeyNameCapacity ? name : name.substr(0, kKeyNameCapacity - 1);
}

} // namespace z417
