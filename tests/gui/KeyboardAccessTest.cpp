// The main window from the keyboard and for assistive technology: the accessible children
// come from the control table, named in the window's language; the keys move the focus,
// act like clicks, and work the pop-up lists.
#include "GuiTestSupport.h"

#include "ui/Layout.h"

#include <QAccessible>
#include <QListWidget>
#include <QTest>
#include <gtest/gtest.h>

namespace z417 {
namespace {

using test::list;
using test::WindowFixture;
namespace L = layout::main;

QAccessibleInterface* childNamed(MainWindow& w, const QString& name) {
    QAccessibleInterface* window = QAccessible::queryAccessibleInterface(&w);
    for (int i = 0; window && i < window->childCount(); ++i) {
        QAccessibleInterface* c = window->child(i);
        if (c && c->text(QAccessible::Name) == name)
            return c;
    }
    return nullptr;
}

void key(MainWindow& w, Qt::Key k, Qt::KeyboardModifiers m = Qt::NoModifier) {
    QTest::keyClick(&w, k, m);
}

TEST(AccessibleControls, NamesRolesAndValuesInEachLanguage) {
    struct Row {
        const char* lan;
        const char* name;
        QAccessible::Role role;
        const char* value; // nullptr: not checked
    };
    const Row rows[] = {
        {"EN", "Button 1", QAccessible::ComboBox, "Left Click"},
        {"EN", "Button 6", QAccessible::ComboBox, "DPI Loop"},
        {"EN", "DPI stage 2", QAccessible::ComboBox, "800"},
        {"EN", "DPI stage 1 colour", QAccessible::ColorChooser, "#0a141e"},
        {"EN", "Parameter", QAccessible::ComboBox, nullptr},
        {"EN", "Mode A", QAccessible::PageTab, nullptr},
        {"EN", "1000 Hz", QAccessible::RadioButton, nullptr},
        {"EN", "Minimise", QAccessible::Button, nullptr},
        {"CHS", "按键1", QAccessible::ComboBox, "左键"},
        {"CHS", "DPI第3段颜色", QAccessible::ColorChooser, nullptr},
        {"CHS", "确定", QAccessible::Button, nullptr},
        {"CHS", "皮肤", QAccessible::Button, nullptr},
        {"CHT", "按鍵2", QAccessible::ComboBox, "右鍵"},
        {"CHT", "參數", QAccessible::ComboBox, nullptr},
        {"CHT", "關閉", QAccessible::Button, nullptr},
        {"CHT", "按鍵恢復", QAccessible::Button, nullptr},
    };
    SettingsRecord record = test::sampleRecord();
    record.dpiColor[0][0] = 10;
    record.dpiColor[0][1] = 20;
    record.dpiColor[0][2] = 30;
    for (const char* lan : {"EN", "CHS", "CHT"}) {
        WindowFixture f(record, 0, lan);
        for (const Row& r : rows) {
            if (std::string(r.lan) != lan)
                continue;
            SCOPED_TRACE(r.name);
            QAccessibleInterface* c = childNamed(*f.window, QString::fromUtf8(r.name));
            ASSERT_NE(c, nullptr);
            EXPECT_EQ(c->role(), r.role);
            if (r.value) {
                EXPECT_EQ(c->text(QAccessible::Value), QString::fromUtf8(r.value));
            }
        }
    }
}

TEST(AccessibleControls, TheActiveKeySetAndRateAreMarkedAndThePageIsThereOnlyWhenShown) {
    SettingsRecord record = test::sampleRecord();
    record.activeKeySet = 1;
    record.reportRate = 4;
    WindowFixture f(record);
    EXPECT_FALSE(childNamed(*f.window, "Mode A")->state().selected);
    EXPECT_TRUE(childNamed(*f.window, "Mode B")->state().selected);
    EXPECT_TRUE(childNamed(*f.window, "250 Hz")->state().checked);
    EXPECT_FALSE(childNamed(*f.window, "1000 Hz")->state().checked);

    WindowFixture unplugged(test::sampleRecord(), 1, "EN", false);
    EXPECT_NE(childNamed(*unplugged.window, "OK"), nullptr);
    EXPECT_EQ(childNamed(*unplugged.window, "Button 1"), nullptr);
}

TEST(AccessibleControls, ThePressActionDoesWhatAClickDoes) {
    WindowFixture f(test::sampleRecord());
    childNamed(*f.window, "125 Hz")
        ->actionInterface()
        ->doAction(QAccessibleActionInterface::pressAction());
    EXPECT_EQ(f.state.record.reportRate, 1) << "the action runs from the event loop";
    QCoreApplication::processEvents();
    EXPECT_EQ(f.state.record.reportRate, 8);
}

TEST(PageKeys, TabWalksTheKeyboardOrderAndWrapsBothWays) {
    WindowFixture f(test::sampleRecord());
    MainWindow& w = *f.window;
    EXPECT_FALSE(w.keyboard().focused());
    key(w, Qt::Key_Tab);
    EXPECT_EQ(w.keyboard().focused(), PageControl::Skin);
    for (int i = 0; i < 3; ++i)
        key(w, Qt::Key_Tab);
    EXPECT_EQ(w.keyboard().focused(), PageControl::Row0);
    for (int i = 0; i < 4; ++i)
        key(w, Qt::Key_Backtab, Qt::ShiftModifier);
    EXPECT_EQ(w.keyboard().focused(), PageControl::Cancel);
    // A press of the pointer takes the mark away until a key moves the focus again.
    QTest::mouseClick(&w, Qt::LeftButton, Qt::NoModifier, QPoint(600, 100));
    EXPECT_FALSE(w.keyboard().focused());
}

TEST(PageKeys, ListsFromTheKeyboardAndEscapeAndEnterOnTheirOwn) {
    WindowFixture f(test::sampleRecord());
    MainWindow& w = *f.window;
    w.show();
    // Enter with nothing focused hides the window, as Escape does.
    key(w, Qt::Key_Return);
    EXPECT_TRUE(!w.isVisible() || w.isMinimized()); // minimised where there is no tray
    w.showNormal();
    for (int i = 0; i < 5; ++i)
        key(w, Qt::Key_Tab); // Button 2
    key(w, Qt::Key_Space);
    ASSERT_NE(list(w, 42), nullptr);
    // The open list is in the tree, named like its box.
    EXPECT_EQ(childNamed(w, "Button 2")->role(), QAccessible::ComboBox);
    QAccessibleInterface* tree = QAccessible::queryAccessibleInterface(&w);
    EXPECT_EQ(tree->child(tree->childCount() - 1)->text(QAccessible::Name), "Button 2");
    EXPECT_EQ(tree->child(tree->childCount() - 1)->role(), QAccessible::List);
    // Escape closes the open list and leaves the window.
    key(w, Qt::Key_Escape);
    QCoreApplication::processEvents();
    EXPECT_EQ(list(w, 42), nullptr);
    EXPECT_TRUE(w.isVisible() && !w.isMinimized());
    // Down opens it again; End, Up and Enter choose "Key Off".
    for (Qt::Key k : {Qt::Key_Down, Qt::Key_End, Qt::Key_Up, Qt::Key_Return})
        key(w, k);
    QCoreApplication::processEvents();
    EXPECT_EQ(f.state.record.keyFunction[0][1], 12);
    EXPECT_EQ(list(w, 42), nullptr);
    // The DPI switch row opens its sub-list; Right enters it, Down and Enter choose "DPI -".
    for (Qt::Key k : {Qt::Key_Down, Qt::Key_Home, Qt::Key_Down, Qt::Key_Down, Qt::Key_Down,
                      Qt::Key_Down, Qt::Key_Down, Qt::Key_Right, Qt::Key_Down, Qt::Key_Return})
        key(w, k);
    QCoreApplication::processEvents();
    EXPECT_EQ(f.state.record.keyFunction[0][1], 5);
    EXPECT_EQ(f.state.record.dpiSwitchParam[0][1], 4);
}

TEST(PageKeys, TheFocusMarkIsOnTheWindowOnlyOnceAKeyMovedTheFocus) {
    WindowFixture f(test::sampleRecord());
    MainWindow& w = *f.window;
    const QPoint edge(L::skinButton.left - 2, L::skinButton.top + 5);
    const QColor plain = w.grab().toImage().pixelColor(edge);
    key(w, Qt::Key_Tab);
    EXPECT_NE(w.grab().toImage().pixelColor(edge), plain);
    EXPECT_EQ(w.backBuffer().pixelColor(edge), plain) << "the back buffer never holds the mark";
    QTest::mouseClick(&w, Qt::LeftButton, Qt::NoModifier, QPoint(600, 100));
    EXPECT_EQ(w.grab().toImage().pixelColor(edge), plain);
}

TEST(PageKeys, ArrowsMoveTheReportRateAndTheKeySet) {
    SettingsRecord record = test::sampleRecord();
    record.reportRate = 1;
    WindowFixture f(record);
    MainWindow& w = *f.window;
    for (int i = 0; i < 10; ++i)
        key(w, Qt::Key_Tab); // Mode B
    key(w, Qt::Key_Left);
    EXPECT_EQ(f.state.record.activeKeySet, 0);
    EXPECT_EQ(w.keyboard().focused(), PageControl::ModeA);
    for (int i = 0; i < 6; ++i)
        key(w, Qt::Key_Tab); // the 1000 Hz segment
    EXPECT_EQ(w.keyboard().focused(), PageControl::Rate3);
    key(w, Qt::Key_Left);
    key(w, Qt::Key_Left);
    EXPECT_EQ(f.state.record.reportRate, 4);
    EXPECT_EQ(w.keyboard().focused(), PageControl::Rate1);
    key(w, Qt::Key_Right);
    EXPECT_EQ(f.state.record.reportRate, 2);
}

} // namespace
} // namespace z417
