// The lists' frame, scroll bar and whole rows, and the dialogs' border, in the skin's accent.
#include "DialogTestSupport.h"
#include "GuiTestSupport.h"
#include "ListTestSupport.h"

#include "app/MainWindow.h"
#include "dialogs/ChoiceDialog.h"

#include <QTemporaryDir>

namespace z417::test {
namespace {

void expectEdges(const QImage& image, const QColor& colour) {
    const int r = image.width() - 1, b = image.height() - 1;
    for (const QPoint& p : {QPoint(0, 0), QPoint(r, b), QPoint(r / 2, 0), QPoint(0, b / 2)})
        EXPECT_EQ(image.pixelColor(p), colour) << p.x() << "," << p.y();
}

TEST(ListStyleTest, PageListWearsTheAccentAndKeepsItsBlackBackground) {
    WindowFixture f(sampleRecord());
    f.window->dispatchClick(centre(layout::main::dpiValueClickArea(0)));
    QListWidget* values = list(*f.window, layout::main::ListId::DpiValue);
    ASSERT_NE(values, nullptr);
    const ListStyle style(testSkinColour(layout::images::reportRateLight.name));
    const QImage shown = values->grab().toImage();
    expectEdges(shown, style.frameColour());
    // Nine values in fewer rows: a slim bar in accent shades, not the bright system one.
    const int barLeft = shown.width() - 1 - ListStyle::kScrollBarWidth;
    for (int y = 1; y < shown.height() - 1; ++y) {
        for (int x = barLeft; x < shown.width() - 1; ++x) {
            const QColor c = shown.pixelColor(x, y);
            ASSERT_TRUE(c == style.scrollTrackColour() || c == style.scrollHandleColour()) << y;
        }
    }
    EXPECT_EQ(shown.pixelColor(barLeft - 3, shown.height() / 2), QColor(Qt::black));
    f.window->dispatchClick(centre(layout::main::assignmentBox(1)));
    EXPECT_TRUE(standsAt(list(*f.window, 42), qrectOf(layout::main::assignmentList(1))));
}

TEST(ListStyleTest, DialogBorderAndListFrameAreTheAccent) {
    TempSkins skins;
    RecordingServices services;
    const DialogEnvironment env = environmentFor(skins, services);
    const QColor accent = env.skin->accent();
    ASSERT_NE(accent, env.skin->textColour());
    ChoiceDialog dialog(env, nullptr, ChoiceKind::HotKey);
    runScript(dialog, [&] {
        expectEdges(dialog.grab().toImage(), accent);
        clickIn(&dialog, layout::hotKeyDialog::dropDown.selectorArea);
        ASSERT_NE(dialog.dropDownList(), nullptr);
        expectEdges(dialog.dropDownList()->grab().toImage(), accent);
    });
}

TEST(ListStyleTest, AccentIsTheLitSegmentsMeanColourAndFollowsItsFile) {
    QTemporaryDir dir;
    const QColor fallback(230, 232, 240);
    Skin skin;
    ASSERT_TRUE(skin.load(dir.path().toStdString(), fallback).ok);
    EXPECT_EQ(skin.accent(), fallback); // no image
    // Clear pixels count for nothing; a comment of another length makes each file differ.
    auto write = [&](QColor left, QColor right, int comment) {
        QImage art(4, 2, QImage::Format_ARGB32);
        art.fill(Qt::transparent);
        art.setPixelColor(0, 0, left);
        art.setPixelColor(1, 0, right);
        art.setText(QStringLiteral("Comment"), QString(comment, QLatin1Char('c')));
        ASSERT_TRUE(
            art.save(dir.path() + QString::fromUtf8(layout::images::reportRateLight.name), "PNG"));
    };
    write(Qt::red, Qt::blue, 10);
    EXPECT_EQ(skin.accent(), QColor(128, 0, 128));
    write(QColor(10, 200, 30), QColor(10, 200, 30), 40);
    EXPECT_EQ(skin.accent(), QColor(10, 200, 30));
    write(Qt::transparent, Qt::transparent, 80);
    EXPECT_EQ(skin.accent(), fallback);
}

TEST(ListStyleTest, ListsThatCannotScrollShowEveryEntryInAnyFont) {
    const std::pair<const layout::DropDownGroup*, int> fixed[] = {
        {&layout::hotKeyDialog::dropDown, 8},
        {&layout::mediaDialog::dropDown, 7},
        {&layout::windowsDialog::dropDown, 9}};
    for (const auto& [group, entries] : fixed) {
        for (int row = 10; row <= 24; ++row) {
            const int inside = wholeRowRect(group->list, row, entries, false).height() - 2;
            EXPECT_TRUE(inside % row == 0 && inside / row >= entries)
                << group->listId << " " << row;
        }
    }
}

} // namespace
} // namespace z417::test
