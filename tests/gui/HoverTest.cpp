// Hover looks of the main window's painted controls, the item under the pointer in the pop-up
// lists, and the wheel, driven by real pointer moves (the offscreen platform turns a cursor
// move into a window-system mouse move for the widget under it).
#include "GuiTestSupport.h"

#include "app/MainWindow.h"
#include "ui/Layout.h"

#include <QCoreApplication>
#include <QFile>
#include <QLabel>
#include <QListWidget>
#include <QScrollBar>
#include <QTest>
#include <QTimer>
#include <QWheelEvent>
#include <gtest/gtest.h>

namespace z417 {
namespace {

using test::centre;
using test::cornerOf;
using test::list;
using test::pixel;
using test::testSkinColour;
using test::WindowFixture;
namespace L = layout::main;
namespace I = layout::images;

// Moves the pointer to a client point of the window (no buttons held).
void moveTo(MainWindow& w, const QPoint& p) {
    QTest::mouseMove(&w, p);
}

// Moves there and lets the pointer rest until the hover notification has been handled (or
// was never armed because the point lies on no control).
void restAt(MainWindow& w, const QPoint& p) {
    moveTo(w, p);
    auto* timer = w.findChild<QTimer*>(QStringLiteral("hoverTimer"));
    ASSERT_NE(timer, nullptr);
    ASSERT_TRUE(QTest::qWaitFor([timer] { return !timer->isActive(); }, 5000));
}

TEST(Hover, OkToApplyInOneRedrawAndBackToNormalOutside) {
    WindowFixture f(test::sampleRecord());
    MainWindow& w = *f.window;
    const QColor normal = testSkinColour(I::textButton.normal.name);
    const QColor over = testSkinColour(I::textButton.over.name);
    ASSERT_EQ(cornerOf(w, L::okButton), normal);

    restAt(w, centre(L::okButton));
    EXPECT_TRUE(w.hover().looks().isOver(PageControl::Ok));
    EXPECT_EQ(cornerOf(w, L::okButton), over);

    // Straight onto Apply: the move itself restores nothing (still on a control) ...
    moveTo(w, centre(L::applyButton));
    EXPECT_EQ(cornerOf(w, L::okButton), over);
    EXPECT_EQ(cornerOf(w, L::applyButton), normal);
    // ... and the rest swaps both at once.
    restAt(w, centre(L::applyButton));
    EXPECT_FALSE(w.hover().looks().isOver(PageControl::Ok));
    EXPECT_TRUE(w.hover().looks().isOver(PageControl::Apply));
    EXPECT_EQ(cornerOf(w, L::okButton), normal);
    EXPECT_EQ(cornerOf(w, L::applyButton), over);
    EXPECT_EQ(cornerOf(w, L::cancelButton), normal);

    // Leaving the window straight from Apply keeps it over.
    moveTo(w, QPoint(-40, -40));
    EXPECT_TRUE(w.hover().looks().isOver(PageControl::Apply));
    EXPECT_EQ(cornerOf(w, L::applyButton), over);

    // Back in, over a child field that lies on no control: the move reaches the window and
    // restores the normal look at once, with no hover pending.
    const QPoint onField = centre(L::dpiValueField(0));
    ASSERT_NE(qobject_cast<QLabel*>(w.childAt(onField)), nullptr);
    restAt(w, onField);
    EXPECT_FALSE(w.hover().looks().isOver(PageControl::Apply));
    EXPECT_EQ(cornerOf(w, L::applyButton), normal);
}

TEST(Hover, TitleButtonsAndPageButtonShowTheirOverImages) {
    WindowFixture f(test::sampleRecord());
    MainWindow& w = *f.window;
    struct Case {
        layout::Rect rect;
        layout::StateImages images;
        PageControl control;
    };
    const Case cases[] = {
        {L::skinButton, I::skinButton, PageControl::Skin},
        {L::minimiseButton, I::minimiseButton, PageControl::Minimise},
        {L::closeButton, I::closeButton, PageControl::Close},
        // Over although a click on it changes nothing while the page is shown.
        {L::pageButton, I::pageButton, PageControl::PageButton},
        {L::defaultButton, I::textButton, PageControl::Default},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.images.over.name);
        restAt(w, centre(c.rect));
        EXPECT_TRUE(w.hover().looks().isOver(c.control));
        EXPECT_EQ(cornerOf(w, c.rect), testSkinColour(c.images.over.name));
        restAt(w, QPoint(20, 600)); // empty background
        EXPECT_FALSE(w.hover().looks().isOver(c.control));
        EXPECT_EQ(cornerOf(w, c.rect), testSkinColour(c.images.normal.name));
    }
}

TEST(Hover, RowsExcludeEachOtherAndTheGapRestores) {
    WindowFixture f(test::sampleRecord());
    MainWindow& w = *f.window;
    const QColor normal = testSkinColour(I::assignmentBox.normal.name);
    const QColor over = testSkinColour(I::assignmentBox.over.name);
    const layout::Rect row1 = L::assignmentBox(1), row2 = L::assignmentBox(2);
    ASSERT_EQ(row2.top - row1.bottom, 2);

    restAt(w, centre(row1));
    EXPECT_TRUE(w.hover().looks().isOver(PageControl::Row1));
    EXPECT_EQ(cornerOf(w, row1), over);

    // The 2-pixel gap lies on no control: row 2 goes normal on the move itself.
    moveTo(w, QPoint(350, row1.bottom));
    EXPECT_FALSE(w.hover().looks().isOver(PageControl::Row1));
    EXPECT_EQ(cornerOf(w, row1), normal);
    moveTo(w, QPoint(350, row1.bottom + 1));
    restAt(w, centre(row2));
    EXPECT_TRUE(w.hover().looks().isOver(PageControl::Row2));
    EXPECT_EQ(cornerOf(w, row2), over);
    EXPECT_EQ(cornerOf(w, row1), normal);

    // A jump straight into row 5: row 5 over and row 2 normal together.
    const layout::Rect row5 = L::assignmentBox(5);
    restAt(w, centre(row5));
    EXPECT_FALSE(w.hover().looks().isOver(PageControl::Row2));
    EXPECT_TRUE(w.hover().looks().isOver(PageControl::Row5));
    EXPECT_EQ(cornerOf(w, row2), normal);
    EXPECT_EQ(cornerOf(w, row5), over);
    int flagged = 0;
    for (int row = 0; row < L::shownRowCount; ++row)
        flagged += w.hover().looks().isOver(rowControl(row)) ? 1 : 0;
    EXPECT_EQ(flagged, 1);
}

// A rebuild paints the whole page normal; a control the pointer still rests on keeps its look.
TEST(Hover, ARebuildKeepsTheOverLooks) {
    WindowFixture f(test::sampleRecord());
    MainWindow& w = *f.window;
    restAt(w, centre(L::assignmentBox(2)));
    restAt(w, centre(L::applyButton));
    w.page().rebuild();
    EXPECT_EQ(cornerOf(w, L::applyButton), testSkinColour(I::textButton.over.name));
    EXPECT_EQ(cornerOf(w, L::okButton), testSkinColour(I::textButton.normal.name));
    EXPECT_EQ(cornerOf(w, L::assignmentBox(2)), testSkinColour(I::assignmentBox.over.name));
}

TEST(Hover, DefaultAndRowsHaveNoHoverWithoutThePage) {
    WindowFixture f(test::sampleRecord(), 1, "EN", /*plugged=*/false);
    MainWindow& w = *f.window;
    ASSERT_EQ(w.page().state(), PageState::Unbuilt);
    const QColor bare = testSkinColour(I::mainBackground.name);
    for (const layout::Rect& r : {L::defaultButton, L::assignmentBox(0), L::assignmentBox(3)}) {
        restAt(w, centre(r));
        EXPECT_EQ(cornerOf(w, r), bare);
    }
    EXPECT_FALSE(w.hover().looks().isOver(PageControl::Default));
    for (int row = 0; row < L::shownRowCount; ++row)
        EXPECT_FALSE(w.hover().looks().isOver(rowControl(row)));
    // The buttons that exist without the page still hover.
    restAt(w, centre(L::okButton));
    EXPECT_TRUE(w.hover().looks().isOver(PageControl::Ok));
    EXPECT_EQ(cornerOf(w, L::okButton), testSkinColour(I::textButton.over.name));
}

TEST(Hover, WithoutABackBufferOnlyTheFlagsChange) {
    WindowFixture f(test::sampleRecord());
    QFile::remove(f.install.dir.path() + "/Skins/Test/main.png");
    f.env.instanceName += "-second";
    DeviceLink secondDevice(f.mouse, f.clock);
    AppState secondState;
    MainWindow second(f.env, secondState, secondDevice);
    ASSERT_EQ(second.start(), MainWindow::StartResult::Complete);
    ASSERT_TRUE(second.backBuffer().isNull());
    second.hover().onHover(centre(L::cancelButton));
    EXPECT_TRUE(second.hover().looks().isOver(PageControl::Cancel));
    second.hover().onHover(centre(L::assignmentBox(4)));
    EXPECT_TRUE(second.hover().looks().isOver(PageControl::Row4));
    second.hover().onPointerMove(QPoint(20, 600));
    EXPECT_FALSE(second.hover().looks().isOver(PageControl::Cancel));
    EXPECT_FALSE(second.hover().looks().isOver(PageControl::Row4));
    EXPECT_TRUE(second.backBuffer().isNull());
}

TEST(PopupListHover, TheItemUnderThePointerBecomesCurrentWithoutAChoice) {
    WindowFixture f(test::sampleRecord());
    MainWindow& w = *f.window;
    w.dispatchClick(centre(L::dpiValueClickArea(2)));
    QListWidget* values = list(w, L::ListId::DpiValue);
    ASSERT_NE(values, nullptr);
    EXPECT_EQ(values->currentRow(), -1); // never pre-selected
    QTest::mouseMove(values->viewport(), values->visualItemRect(values->item(3)).center());
    EXPECT_EQ(values->currentRow(), 3);
    QTest::mouseMove(values->viewport(), values->visualItemRect(values->item(1)).center());
    EXPECT_EQ(values->currentRow(), 1);
    // Hovering chose nothing: the list is still there and the stage keeps its level.
    EXPECT_EQ(list(w, L::ListId::DpiValue), values);
    EXPECT_EQ(w.state().record.dpiLevel[2], 2);
}

TEST(PopupListHover, DpiSwitchItemOfAnAssignmentListShowsTheSubList) {
    WindowFixture f(test::sampleRecord());
    MainWindow& w = *f.window;
    w.dispatchClick(centre(L::assignmentBox(1)));
    QListWidget* slotList = list(w, L::assignmentListId(1));
    ASSERT_NE(slotList, nullptr);
    auto itemCentre = [slotList](int row) {
        return slotList->visualItemRect(slotList->item(row)).center();
    };
    QTest::mouseMove(slotList->viewport(), itemCentre(kFnDpiSwitch));
    EXPECT_EQ(slotList->currentRow(), kFnDpiSwitch);
    QListWidget* sub = list(w, L::ListId::DpiSwitchSub);
    ASSERT_NE(sub, nullptr);
    EXPECT_EQ(sub->count(), 3);
    QTest::mouseMove(slotList->viewport(), itemCentre(kFnForward));
    EXPECT_EQ(slotList->currentRow(), kFnForward);
    EXPECT_EQ(list(w, L::ListId::DpiSwitchSub), nullptr);
    // Nothing was stored for the slot.
    EXPECT_EQ(w.state().record.keyFunction[0][1], kFnRightClick);
}

void wheel(QWidget* target, QPoint at, int delta) {
    QWheelEvent ev(at, target->mapToGlobal(at), QPoint(0, 0), QPoint(0, delta), Qt::NoButton,
                   Qt::NoModifier, Qt::NoScrollPhase, false);
    QApplication::sendEvent(target, &ev);
}

TEST(Wheel, ScrollsOnlyTheDpiValueListThreeLinesPerNotch) {
    WindowFixture f(test::sampleRecord());
    MainWindow& w = *f.window;
    wheel(&w, QPoint(300, 600), -120); // no list: nothing to scroll

    w.dispatchClick(centre(L::dpiValueClickArea(0)));
    QListWidget* values = list(w, L::ListId::DpiValue);
    ASSERT_NE(values, nullptr);
    // Four rows tall, whatever the font: room to see a notch's three lines.
    const int frame = values->height() - values->viewport()->height();
    values->resize(values->width(), frame + 4 * values->sizeHintForRow(0));
    QCoreApplication::processEvents(); // the list lays out its items
    QScrollBar* bar = values->verticalScrollBar();
    ASSERT_GE(bar->maximum(), 3) << "the nine values must not fit the list";
    // One notch down anywhere in the window: three lines; one up: back.
    wheel(&w, QPoint(300, 600), -120);
    EXPECT_EQ(bar->value(), 3);
    wheel(&w, QPoint(300, 600), 120);
    EXPECT_EQ(bar->value(), 0);

    // Over another open list the wheel still scrolls the DPI value list, and a delta of 0
    // counts as down.
    w.dispatchClick(centre(L::assignmentBox(2)));
    QListWidget* slotList = list(w, L::assignmentListId(2));
    ASSERT_NE(slotList, nullptr);
    ASSERT_EQ(list(w, L::ListId::DpiValue), values);
    wheel(slotList->viewport(), QPoint(20, 20), 0);
    EXPECT_EQ(bar->value(), 3);
    EXPECT_EQ(slotList->verticalScrollBar()->value(), 0);
    // Over the DPI value list itself: the same three lines, not the list's own scrolling.
    wheel(values->viewport(), QPoint(20, 20), 120);
    EXPECT_EQ(bar->value(), 0);
}

} // namespace
} // namespace z417
