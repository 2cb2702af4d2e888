// The click dispatcher and the slot lists of the main window.
#include "GuiTestSupport.h"

#include "demo/PointerEvents.h"
#include "ui/Layout.h"

#include <QCoreApplication>
#include <QListWidget>
#include <QTest>
#include <gtest/gtest.h>

#include <cstring>

namespace z417 {
namespace {

using test::centre;
using test::list;
using test::WindowFixture;
namespace L = layout::main;

void chooseRow(QListWidget* l, int row) {
    QTest::mouseClick(l->viewport(), Qt::LeftButton, Qt::NoModifier,
                      l->visualItemRect(l->item(row)).center());
    QCoreApplication::processEvents();
}

TEST(AssignmentFlow, SlotListsToggleAndAtMostOneIsOpen) {
    WindowFixture f(test::sampleRecord());
    MainWindow& w = *f.window;
    w.dispatchClick(centre(L::assignmentBox(2)));
    QListWidget* third = list(w, 43);
    ASSERT_NE(third, nullptr);
    EXPECT_EQ(third->count(), 14);
    EXPECT_EQ(third->item(9)->text(), "Fire Key");
    EXPECT_EQ(third->currentRow(), -1); // never pre-selected
    // Another box: the first list goes, the second opens.
    w.dispatchClick(centre(L::assignmentBox(4)));
    EXPECT_EQ(list(w, 43), nullptr);
    ASSERT_NE(list(w, 45), nullptr);
    // The same box again closes it.
    w.dispatchClick(centre(L::assignmentBox(4)));
    EXPECT_EQ(list(w, 45), nullptr);
    // A click on the background closes an open list and is left to the window drag.
    w.dispatchClick(centre(L::assignmentBox(1)));
    ASSERT_NE(list(w, 42), nullptr);
    EXPECT_FALSE(w.dispatchClick(QPoint(600, 120)));
    EXPECT_EQ(list(w, 42), nullptr);
}

TEST(AssignmentFlow, LeftClickGuardRefusesThenAllows) {
    WindowFixture f(test::sampleRecord());
    MainWindow& w = *f.window;
    w.dispatchClick(centre(L::assignmentBox(0)));
    EXPECT_EQ(list(w, 41), nullptr);
    ASSERT_EQ(f.services.messages.size(), 1u);
    EXPECT_EQ(f.services.messages[0].text, "Left key must be selected!");
    EXPECT_EQ(f.services.messages[0].caption, "Warning");

    // Give slot 3 Left Click; now slot 0 opens.
    w.dispatchClick(centre(L::assignmentBox(3)));
    chooseRow(list(w, 44), 0);
    EXPECT_EQ(w.state().record.keyFunction[0][3], kFnLeftClick);
    EXPECT_EQ(w.state().labels.label[0][3], "Left Click");
    w.dispatchClick(centre(L::assignmentBox(0)));
    EXPECT_NE(list(w, 41), nullptr);
    EXPECT_EQ(f.services.messages.size(), 1u);
}

TEST(AssignmentFlow, DpiSwitchItselfLeavesTheListOpenAndTheSubListChooses) {
    WindowFixture f(test::sampleRecord());
    MainWindow& w = *f.window;
    w.dispatchClick(centre(L::assignmentBox(1)));
    QListWidget* l = list(w, 42);
    ASSERT_NE(l, nullptr);
    chooseRow(l, 5);
    EXPECT_NE(list(w, 42), nullptr);
    EXPECT_EQ(w.state().record.keyFunction[0][1], kFnRightClick);
    // Resting on "DPI Switch" shows the sub-list beside it; another item takes it away.
    w.page().assignment().updateDpiSwitchSubList(l, 5);
    ASSERT_NE(list(w, 40), nullptr);
    EXPECT_EQ(list(w, 40)->count(), 3);
    EXPECT_EQ(list(w, 40)->geometry().left(),
              l->geometry().left() +
                  l->viewport()->mapTo(l, l->visualItemRect(l->item(5)).topRight()).x() + 1);
    w.page().assignment().updateDpiSwitchSubList(l, 3);
    EXPECT_EQ(list(w, 40), nullptr);
    w.page().assignment().updateDpiSwitchSubList(l, 5);
    chooseRow(list(w, 40), 1); // "DPI -"
    EXPECT_EQ(w.state().record.keyFunction[0][1], kFnDpiSwitch);
    EXPECT_EQ(w.state().record.dpiSwitchParam[0][1], 4);
    EXPECT_EQ(w.state().labels.label[0][1], "DPI -");
    EXPECT_EQ(list(w, 40), nullptr);
    EXPECT_EQ(list(w, 42), nullptr);
}

TEST(AssignmentFlow, KeySetTabsShowTheirLabels) {
    WindowFixture f(test::sampleRecord());
    MainWindow& w = *f.window;
    w.dispatchClick(centre(L::modeBButton));
    EXPECT_EQ(w.state().record.activeKeySet, 1);
    w.dispatchClick(centre(L::assignmentBox(2)));
    chooseRow(list(w, 43), 12); // Key Off, in set B only
    EXPECT_EQ(w.state().record.keyFunction[1][2], kFnKeyOff);
    EXPECT_EQ(w.state().record.keyFunction[0][2], kFnMidClick);
    EXPECT_EQ(w.state().labels.label[1][2], "Key Off");
    w.dispatchClick(centre(L::modeAButton));
    EXPECT_EQ(w.state().record.activeKeySet, 0);
}

TEST(AssignmentFlow, OkWithoutTheMouseDragsTheWindowAndCancelKeepsTheNewerTexts) {
    WindowFixture f(test::sampleRecord(), 1, "EN", /*plugged=*/false);
    MainWindow& w = *f.window;
    EXPECT_FALSE(w.dispatchClick(centre(L::okButton))); // nothing acted: the window may drag

    WindowFixture g(test::sampleRecord());
    MainWindow& v = *g.window;
    v.dispatchClick(centre(L::assignmentBox(3)));
    chooseRow(list(v, 44), 12);
    EXPECT_EQ(v.state().labels.label[0][3], "Key Off");
    v.dispatchClick(centre(L::cancelButton));
    EXPECT_EQ(v.state().record.keyFunction[0][3], kFnForward); // back at once
    EXPECT_EQ(v.state().labels.label[0][3], "Key Off");        // until the next restore
}

} // namespace
} // namespace z417

namespace z417 {
namespace {

// Only the left button chooses an entry of the page's pop-up lists; a right or middle click
// leaves the record alone and the list open.
TEST(PopupLists, OnlyTheLeftButtonChooses) {
    struct Case {
        const char* name;
        layout::Rect opener;
        L::ListId listId;
        int entry; // one the sample record does not hold
    };
    const Case cases[] = {
        {"slot list", L::assignmentBox(3), L::assignmentListId(3), 1},
        {"DPI value list", L::dpiValueClickArea(0), L::ListId::DpiValue, 2},
        {"light mode list", L::lightModeClickArea, L::ListId::LightMode, 2},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        WindowFixture f(test::sampleRecord());
        MainWindow& w = *f.window;
        w.dispatchClick(centre(c.opener));
        QListWidget* l = list(w, c.listId);
        ASSERT_NE(l, nullptr);
        const SettingsRecord before = w.state().record;
        const QPoint entry = l->visualItemRect(l->item(c.entry)).center();
        for (Qt::MouseButton button : {Qt::RightButton, Qt::MiddleButton}) {
            QTest::mouseClick(l->viewport(), button, Qt::NoModifier, entry);
            doubleClick(l->viewport(), button, entry);
            QCoreApplication::processEvents();
        }
        EXPECT_EQ(std::memcmp(w.state().record.bytes(), before.bytes(), sizeof(SettingsRecord)), 0);
        ASSERT_EQ(list(w, c.listId), l);
        chooseRow(l, c.entry);
        EXPECT_NE(std::memcmp(w.state().record.bytes(), before.bytes(), sizeof(SettingsRecord)), 0);
    }
}

} // namespace
} // namespace z417
