// The page painter works from a state object alone: no window, no device.
#include "GuiTestSupport.h"

#include "ui/PagePainter.h"

#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace z417 {
namespace {

namespace L = layout::main;
namespace I = layout::images;
using test::testSkinColour;

TEST(PagePainter, PaintsTheStateItIsGiven) {
    QTemporaryDir dir;
    test::writeTestSkin(dir.path() + "/Skins/Test");
    AppState state;
    ASSERT_TRUE(state.skin.load(dir.path().toStdString() + "/Skins/Test", QColor()).ok);
    state.record.activeKeySet = 1;
    QImage buffer(L::artSize.width, L::artSize.height, QImage::Format_ARGB32_Premultiplied);
    buffer.fill(Qt::black);

    PagePainter painter(buffer, state);
    painter.paintPage();
    painter.drawAssignmentRow(2, true);
    painter.drawReportRate(1, 0);

    auto at = [&](int x, int y) { return buffer.pixelColor(x, y); };
    EXPECT_EQ(at(L::modeBButton.left + 1, L::modeBButton.top + 1),
              testSkinColour(I::textButton.over.name));
    EXPECT_EQ(at(L::modeAButton.left + 1, L::modeAButton.top + 1),
              testSkinColour(I::textButton.normal.name));
    EXPECT_EQ(at(L::assignmentBox(2).right - 2, L::assignmentBox(2).top + 1),
              testSkinColour(I::assignmentBox.over.name));
    EXPECT_EQ(at(L::assignmentBox(1).right - 2, L::assignmentBox(1).top + 1),
              testSkinColour(I::assignmentBox.normal.name));
    const QPoint lit = test::centre(L::reportRateSegment(1));
    const QPoint dark = test::centre(L::reportRateSegment(0));
    EXPECT_EQ(at(lit.x(), lit.y()), testSkinColour(I::reportRateLight.name));
    EXPECT_EQ(at(dark.x(), dark.y()), testSkinColour(I::reportRateDark.name));
}

} // namespace
} // namespace z417
