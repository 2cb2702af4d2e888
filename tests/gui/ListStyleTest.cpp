// The lists' frame, scroll bar and whole rows, and the dialogs' border, in the skin's accent.
#include "DialogTestSupport.h"
#include "GuiTestSupport.h"
#include "ListTestSupport.h"

#include "app/MainWindow.h"
#include "dialogs/HotKeyDialog.h"
#include "ui/ListStyle.h"
#include "ui/TextDraw.h"

#include <QListWidget>
#include <QTemporaryDir>

namespace z417::test {
namespace {

namespace L = layout::main;

std::vector<QPoint> edgePoints(const QSize& size) {
    const int r = size.width() - 1, b = size.height() - 1;
    return {{0, 0}, {r, 0}, {0, b}, {r, b}, {r / 2, 0}, {r / 2, b}, {0, b / 2}, {r, b / 2}};
}

void expectEdges(const QImage& image, const QColor& colour) {
    for (const QPoint& p : edgePoints(image.size()))
        EXPECT_EQ(image.pixelColor(p), colour) << p.x() << "," << p.y();
}

TEST(ListStyleTest, PageListWearsTheAccentAndKeepsItsBlackBackground) {
    WindowFixture f(sampleRecord());
    MainWindow& w = *f.window;
    w.dispatchClick(centre(L::dpiValueClickArea(0)));
    QListWidget* values = list(w, L::ListId::DpiValue);
    ASSERT_NE(values, nullptr);
    const ListStyle style(testSkinColour(layout::images::reportRateLight.name));
    const QImage shown = values->grab().toImage();
    ASSERT_NE(style.frameColour(), QColor(Qt::white));
    expectEdges(shown, style.frameColour());
    // Nine entries in fewer rows: a slim bar of accent shades, no bright system bar.
    const int barLeft = shown.width() - 1 - ListStyle::kScrollBarWidth;
    int handle = 0;
    for (int y = 1; y < shown.height() - 1; ++y) {
        for (int x = barLeft; x < shown.width() - 1; ++x) {
            const QColor c = shown.pixelColor(x, y);
            ASSERT_TRUE(c == style.scrollTrackColour() || c == style.scrollHandleColour())
                << x << "," << y << " " << c.name().toStdString();
            handle += c == style.scrollHandleColour() ? 1 : 0;
        }
    }
    EXPECT_GT(handle, 0);
    EXPECT_EQ(shown.pixelColor(barLeft - 3, shown.height() / 2), QColor(Qt::black));
}

TEST(ListStyleTest, AssignmentAndSubListsShowWholeRows) {
    WindowFixture f(sampleRecord());
    MainWindow& w = *f.window;
    w.dispatchClick(centre(L::assignmentBox(1)));
    QListWidget* functions = list(w, 42);
    ASSERT_NE(functions, nullptr);
    EXPECT_TRUE(standsAt(functions, toQRect(L::assignmentList(1))));
    w.updateDpiSwitchSubList(functions, 5);
    QListWidget* sub = list(w, L::ListId::DpiSwitchSub);
    ASSERT_NE(sub, nullptr);
    EXPECT_EQ(sub->count(), 3);
    EXPECT_EQ(sub->viewport()->height() % sub->visualItemRect(sub->item(0)).height(), 0);
}

TEST(ListStyleTest, DialogBorderAndListFrameAreTheAccent) {
    TempSkins skins;
    RecordingServices services;
    const DialogEnvironment env = environmentFor(skins, services);
    const QColor accent = ListStyle::skinAccent(env.skinFolder, env.textColour);
    HotKeyDialog dialog(env, nullptr);
    QImage window, listShown;
    runScript(dialog, [&] {
        window = dialog.grab().toImage();
        clickIn(&dialog, layout::hotKeyDialog::dropDown.selectorArea);
        ASSERT_NE(dialog.dropDownList(), nullptr);
        listShown = dialog.dropDownList()->grab().toImage();
        clickIn(&dialog, layout::dialog::cancelButton);
    });
    EXPECT_EQ(dialog.accent(), accent);
    EXPECT_NE(accent, env.textColour);
    expectEdges(window, accent);
    expectEdges(listShown, accent);
}

TEST(ListStyleTest, AccentIsTheLitSegmentsMeanColourAndFollowsItsFile) {
    QTemporaryDir dir;
    const QString lit = dir.path() + QString::fromUtf8(layout::images::reportRateLight.name);
    const QColor fallback(230, 232, 240);
    EXPECT_EQ(ListStyle::skinAccent(dir.path(), fallback), fallback); // no image yet
    QImage art(4, 2, QImage::Format_ARGB32);
    art.fill(Qt::transparent);
    art.setPixelColor(0, 0, QColor(255, 0, 0));
    art.setPixelColor(1, 0, QColor(0, 0, 255));
    ASSERT_TRUE(art.save(lit, "PNG"));
    // Clear pixels count for nothing.
    EXPECT_EQ(ListStyle::skinAccent(dir.path(), fallback), QColor(128, 0, 128));
    // New art gives a new accent; a comment of another length makes sure the file differs.
    QImage green(6, 3, QImage::Format_RGB32);
    green.fill(QColor(10, 200, 30));
    green.setText(QStringLiteral("Comment"), QString(40, QLatin1Char('g')));
    ASSERT_TRUE(green.save(lit, "PNG"));
    EXPECT_EQ(ListStyle::skinAccent(dir.path(), fallback), QColor(10, 200, 30));
    art.fill(Qt::transparent);
    art.setText(QStringLiteral("Comment"), QString(80, QLatin1Char('c')));
    ASSERT_TRUE(art.save(lit, "PNG"));
    EXPECT_EQ(ListStyle::skinAccent(dir.path(), fallback), fallback);
}

TEST(ListStyleTest, ListsThatCannotScrollShowEveryEntryInAnyFont) {
    struct Fixed {
        const layout::DropDownGroup* group;
        int entries;
    };
    const Fixed lists[] = {{&layout::hotKeyDialog::dropDown, 8},
                           {&layout::mediaDialog::dropDown, 7},
                           {&layout::windowsDialog::dropDown, 9}};
    for (const Fixed& fixed : lists) {
        for (int row = 10; row <= 24; ++row) {
            const layout::Rect r = wholeRowRect(fixed.group->list, row, fixed.entries, false);
            EXPECT_GE((r.height() - 2) / row, fixed.entries) << fixed.group->listId << " " << row;
            EXPECT_EQ((r.height() - 2) % row, 0);
        }
    }
    // A list that scrolls keeps the nearest whole number of rows, at least one.
    EXPECT_EQ(wholeRowRect({0, 0, 80, 100}, 14, 9, true).height(), 2 + 7 * 14);
    EXPECT_EQ(wholeRowRect({0, 0, 80, 100}, 16, 9, true).height(), 2 + 6 * 16);
    EXPECT_EQ(wholeRowRect({0, 0, 80, 6}, 16, 9, true).height(), 2 + 16);
}

} // namespace
} // namespace z417::test
