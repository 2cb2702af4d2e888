// The single key dialog: the key capture names every key event while the dialog runs.
#include "DialogTestSupport.h"

#include "assign/KeyTables.h"
#include "dialogs/SingleKeyDialog.h"
#include "platform/qt/KeyCapture.h"

#include <QKeyEvent>
#include <QLabel>

#include <linux/input-event-codes.h>

namespace z417::test {
namespace {

namespace sl = layout::singleDialog;

// A key event as the xcb platform delivers it: the native scan code is the evdev code + 8.
void sendKey(QWidget* to, QEvent::Type type, Qt::Key key, unsigned evdev,
             Qt::KeyboardModifiers modifiers = Qt::NoModifier, const QString& text = QString(),
             bool autoRepeat = false) {
    QKeyEvent event(type, key, modifiers, evdev + 8, 0, 0, text, autoRepeat);
    QApplication::sendEvent(to, &event);
}

void tap(QWidget* to, Qt::Key key, unsigned evdev,
         Qt::KeyboardModifiers modifiers = Qt::NoModifier) {
    sendKey(to, QEvent::KeyPress, key, evdev, modifiers);
    sendKey(to, QEvent::KeyRelease, key, evdev, modifiers);
}

class DialogSingleKeyTest : public ::testing::Test {
protected:
    QString shown() {
        auto* field = control<QLabel>(&dialog, sl::displayFieldId);
        return field ? field->text() : QStringLiteral("<no field>");
    }

    TempSkins skins;
    RecordingServices services;
    SingleKeyDialog dialog{environmentFor(skins, services), nullptr};
};

TEST_F(DialogSingleKeyTest, OkWithoutAKeyHandsBackAnEmptyName) {
    QString atStart;
    QRect fieldRect;
    const auto result = askScripted(dialog, [&] {
        atStart = shown();
        fieldRect = control<QLabel>(&dialog, sl::displayFieldId)->geometry();
        EXPECT_TRUE(dialog.isCapturing());
        clickIn(&dialog, layout::dialog::okButton);
    });
    ASSERT_TRUE(result);
    EXPECT_EQ(atStart, "");
    EXPECT_EQ(fieldRect, QRect(73, 128, 78, 16));
    EXPECT_EQ(result->keyName, "");
    EXPECT_EQ(usageOfKeyName(result->keyName.toStdString()), 0);
    EXPECT_FALSE(dialog.isCapturing());
    EXPECT_TRUE(services.boxes.empty());
}

TEST_F(DialogSingleKeyTest, KeysAreNamedByTheirScanCode) {
    struct Case {
        const char* what;
        Qt::Key key;
        unsigned evdev;
        Qt::KeyboardModifiers modifiers;
        const char* name;
        uint8_t usage;
    };
    const std::vector<Case> cases = {
        {"A", Qt::Key_A, KEY_A, Qt::NoModifier, "A", 0x04},
        {"left Ctrl", Qt::Key_Control, KEY_LEFTCTRL, Qt::NoModifier, "Ctrl", 0xE0},
        {"right Ctrl", Qt::Key_Control, KEY_RIGHTCTRL, Qt::NoModifier, "Right Ctrl", 0xE4},
        {"left Shift", Qt::Key_Shift, KEY_LEFTSHIFT, Qt::NoModifier, "Shift", 0xE1},
        {"right Shift", Qt::Key_Shift, KEY_RIGHTSHIFT, Qt::NoModifier, "Right Shift", 0xE5},
        {"right Alt", Qt::Key_AltGr, KEY_RIGHTALT, Qt::NoModifier, "Right Alt", 0xE6},
        {"Enter", Qt::Key_Return, KEY_ENTER, Qt::NoModifier, "Enter", 0x28},
        {"keypad Enter", Qt::Key_Enter, KEY_KPENTER, Qt::KeypadModifier, "Num Enter", 0x58},
        {"Escape", Qt::Key_Escape, KEY_ESC, Qt::NoModifier, "Esc", 0x29},
        {"F1", Qt::Key_F1, KEY_F1, Qt::NoModifier, "F1", 0x3A},
        {"keypad 5", Qt::Key_5, KEY_KP5, Qt::KeypadModifier, "Num 5", 0x5D},
        {"Delete", Qt::Key_Delete, KEY_DELETE, Qt::NoModifier, "Delete", 0x4C},
        {"keypad Delete", Qt::Key_Delete, KEY_KPDOT, Qt::KeypadModifier, "Num Del", 0x63},
        {"left Windows", Qt::Key_Super_L, KEY_LEFTMETA, Qt::NoModifier, "Left Windows", 0xE3},
        {"right Windows", Qt::Key_Super_R, KEY_RIGHTMETA, Qt::NoModifier, "Right Windows", 0xE7},
        {"Print Screen", Qt::Key_Print, KEY_SYSRQ, Qt::NoModifier, "Prnt Scrn", 0x46},
        // Keys without a row in the name table: named, but usage 0 later.
        {"F13", Qt::Key_F13, KEY_F13, Qt::NoModifier, "F13", 0},
        {"context menu", Qt::Key_Menu, KEY_COMPOSE, Qt::NoModifier, "Application", 0},
        // A key the capture has no name for at all.
        {"mute", Qt::Key_VolumeMute, KEY_MUTE, Qt::NoModifier, "", 0},
    };
    std::vector<std::string> names;
    bool stayedOpen = true;
    const auto result = askScripted(dialog, [&] {
        for (const Case& c : cases) {
            tap(&dialog, c.key, c.evdev, c.modifiers);
            names.push_back(shown().toStdString());
            stayedOpen = stayedOpen && dialog.isVisible();
        }
        clickIn(&dialog, layout::dialog::okButton);
    });
    ASSERT_TRUE(result);
    EXPECT_TRUE(stayedOpen); // Enter and Escape did not end it
    ASSERT_EQ(names.size(), cases.size());
    for (size_t i = 0; i < cases.size(); ++i) {
        SCOPED_TRACE(cases[i].what);
        EXPECT_EQ(names[i], cases[i].name);
        EXPECT_EQ(usageOfKeyName(names[i]), cases[i].usage);
    }
    EXPECT_EQ(result->keyName, "");
}

TEST_F(DialogSingleKeyTest, TheLastKeyReleasedWins) {
    const auto result = askScripted(dialog, [&] {
        sendKey(&dialog, QEvent::KeyPress, Qt::Key_Shift, KEY_LEFTSHIFT);
        sendKey(&dialog, QEvent::KeyPress, Qt::Key_A, KEY_A, Qt::ShiftModifier, "A");
        EXPECT_EQ(shown(), "A");
        sendKey(&dialog, QEvent::KeyPress, Qt::Key_A, KEY_A, Qt::ShiftModifier, "A", true);
        sendKey(&dialog, QEvent::KeyRelease, Qt::Key_A, KEY_A, Qt::ShiftModifier, "A");
        sendKey(&dialog, QEvent::KeyRelease, Qt::Key_Shift, KEY_LEFTSHIFT, Qt::ShiftModifier);
        EXPECT_EQ(shown(), "Shift");
        clickIn(&dialog, layout::dialog::okButton);
    });
    ASSERT_TRUE(result);
    EXPECT_EQ(result->keyName, "Shift");
}

TEST_F(DialogSingleKeyTest, WithoutAScanCodeQtsKeyCodeNamesTheKey) {
    // What the offscreen platform and QTest deliver: no native scan code.
    std::vector<QString> names;
    const int result = runScript(dialog, [&] {
        for (Qt::Key key : {Qt::Key_A, Qt::Key_F1, Qt::Key_Return, Qt::Key_Escape, Qt::Key_Shift,
                            Qt::Key_Space, Qt::Key_PageDown, Qt::Key_F13}) {
            QTest::keyClick(&dialog, key);
            names.push_back(shown());
        }
        QTest::keyClick(&dialog, Qt::Key_Enter, Qt::KeypadModifier);
        names.push_back(shown());
        QTest::keyClick(&dialog, Qt::Key_7, Qt::KeypadModifier);
        names.push_back(shown());
        clickIn(&dialog, layout::dialog::cancelButton);
    });
    EXPECT_EQ(result, 2);
    EXPECT_EQ(names, (std::vector<QString>{"A", "F1", "Enter", "Esc", "Shift", "Space", "Page Down",
                                           "F13", "Num Enter", "Num 7"}));
}

TEST(KeyNameForQtKeyTest, QtsKeyCodesNameTheKeyTheyCameFrom) {
    struct Case {
        int key;
        bool keypad;
        const char* name;
    };
    const Case cases[] = {
        {Qt::Key_Q, false, "Q"},
        {Qt::Key_0, false, "0"},
        {Qt::Key_9, true, "Num 9"},
        {Qt::Key_0, true, "Num 0"},
        {Qt::Key_F12, false, "F12"},
        {Qt::Key_F24, false, "F24"},
        {Qt::Key_Home, false, "Home"},
        {Qt::Key_Home, true, "Num 7"},
        {Qt::Key_Period, true, "Num Del"},
        {Qt::Key_Equal, true, "Num ="},
        {Qt::Key_AltGr, false, "Right Alt"},
        {Qt::Key_Super_R, false, "Right Windows"},
        {Qt::Key_Menu, false, "Application"},
        {Qt::Key_Clear, true, "Num 5"},
        {Qt::Key_F25, false, ""},
        {Qt::Key_VolumeUp, false, ""},
    };
    for (const Case& c : cases)
        EXPECT_EQ(keyNameForQtKey(c.key, c.keypad), QString::fromLatin1(c.name)) << c.name;
}

TEST_F(DialogSingleKeyTest, KeysTypedIntoOtherWindowsAreSeenToo) {
    // The capture stands in for a hook on the whole user-interface thread.
    QWidget other;
    const auto result = askScripted(dialog, [&] {
        tap(&other, Qt::Key_B, KEY_B);
        clickIn(&dialog, layout::dialog::okButton);
    });
    ASSERT_TRUE(result);
    EXPECT_EQ(result->keyName, "B");
}

TEST_F(DialogSingleKeyTest, TheCaptureEndsWithTheRun) {
    runScript(dialog, [&] { clickIn(&dialog, layout::dialog::closeButton); });
    EXPECT_FALSE(dialog.isCapturing());
    QWidget other;
    tap(&other, Qt::Key_C, KEY_C);
    EXPECT_EQ(dialog.current().keyName, "");
}

TEST(DialogSingleKeyMissingBackgroundTest, CapturesNothingAndHandsBackAnEmptyName) {
    TempSkins skins;
    RecordingServices services;
    skins.remove("/single-key.png");
    SingleKeyDialog dialog(environmentFor(skins, services), nullptr);
    bool capturing = true;
    const auto result = askScripted(dialog, [&] {
        capturing = dialog.isCapturing();
        tap(&dialog, Qt::Key_A, KEY_A);
        clickIn(&dialog, layout::dialog::okButton);
    });
    ASSERT_TRUE(result);
    EXPECT_FALSE(capturing);
    EXPECT_EQ(result->keyName, "");
    ASSERT_EQ(services.boxes.size(), 1u);
    EXPECT_EQ(services.boxes[0].caption, "Single Key Dialog Load background image failed!!!");
}

} // namespace
} // namespace z417::test
