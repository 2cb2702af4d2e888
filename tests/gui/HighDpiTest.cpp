// The painted windows at device pixel ratios other than 1. The HighDpiAtRatio2 and
// HighDpiScreens tests run as the GuiAtRatio2 and GuiOnTwoScreens ctests, each in its setting.
#include "DialogTestSupport.h"
#include "GuiTestSupport.h"

#include "dialogs/FireKeyDialog.h"
#include "ui/BackBuffer.h"
#include "ui/Skin.h"

#include <QApplication>
#include <QMouseEvent>
#include <QScreen>
#include <QTemporaryDir>
#include <gtest/gtest.h>

#include <tuple>
#include <utility>

namespace z417::test {
namespace {

namespace L = layout::main;

TEST(HighDpi, ImagesAndBuffersHaveTheDevicePixelsOfEachRatio) {
    QTemporaryDir dir;
    const QString both = dir.path() + "/both.png", plain = dir.path() + "/plain.png";
    writeSolidPng(both, 105, 21, Qt::red);
    writeSolidPng(dir.path() + "/both@2x.png", 210, 42, Qt::blue);
    writeSolidPng(plain, 105, 21, Qt::green); // a third-party skin without @2x files
    writeSolidPng(dir.path() + "/lone@2x.png", 210, 42, Qt::blue);
    Skin skin;
    ASSERT_TRUE(skin.load(dir.path().toStdString(), Qt::white).ok);
    struct Case {
        const char* name;
        qreal ratio;
        QSize size;
        QColor colour;
    };
    for (const Case& c :
         {Case{"/both.png", 1, {105, 21}, Qt::red}, Case{"/both.png", 2, {210, 42}, Qt::blue},
          Case{"/both.png", 1.5, {158, 32}, Qt::blue}, Case{"/plain.png", 2, {210, 42}, Qt::green},
          Case{"/plain.png", 1.5, {158, 32}, Qt::green}}) {
        const QImage image = skin.image(c.name, c.ratio);
        EXPECT_EQ(image.size(), c.size) << c.name << " at " << c.ratio;
        EXPECT_EQ(image.devicePixelRatio(), c.ratio);
        EXPECT_EQ(image.pixelColor(c.size.width() - 1, c.size.height() - 1), c.colour);
    }
    // Only the plain file says whether a skin has the image.
    EXPECT_TRUE(skin.image("/lone.png", 2).isNull());

    for (const auto& [ratio, device] :
         {std::pair<qreal, QSize>{1, {900, 660}}, {1.5, {1350, 990}}, {2, {1800, 1320}}}) {
        BackBuffer buffer;
        EXPECT_TRUE(buffer.ensure({900, 660}, ratio));
        EXPECT_EQ(buffer.image().size(), device);
        EXPECT_FALSE(buffer.ensure({900, 660}, ratio)) << "the same buffer is kept";
    }
}

TEST(HighDpiAtRatio2, WindowAndDialogAreDrawnFromTheDoubleSizeArt) {
    if (!qFuzzyCompare(qApp->devicePixelRatio(), 2.0))
        GTEST_SKIP() << "runs as the GuiAtRatio2 ctest (QT_SCALE_FACTOR=2)";
    WindowFixture f(sampleRecord());
    // The test skin has no @2x files; the close button gets one in a colour of its own.
    const QColor sharp(1, 2, 3);
    writeSolidPng(f.install.dir.path() + "/Skins/Test/button-close-normal@2x.png", 36, 36, sharp);
    f.window->page().rebuild();
    f.window->show();
    const QImage shown = f.window->grab().toImage();
    EXPECT_EQ(shown.size(), QSize(1800, 1320));
    int wrong = 0;
    for (int y = 2 * L::closeButton.top; y < 2 * L::closeButton.bottom; ++y)
        for (int x = 2 * L::closeButton.left; x < 2 * L::closeButton.right; ++x)
            wrong += shown.pixelColor(x, y) != sharp;
    EXPECT_EQ(wrong, 0) << "close button pixels not from its @2x image";
    // Without a @2x file the plain art is scaled over the whole control.
    EXPECT_EQ(shown.pixelColor(2 * L::minimiseButton.right - 1, 2 * L::minimiseButton.bottom - 1),
              testSkinColour("/button-min-normal.png"));

    // A dialog over it: its canvas has the device pixels too.
    FireKeyDialog dialog(f.window->context().dialogEnvironment(), f.window.get());
    const layout::Size art = layout::images::fireKeyBackground.size;
    runScript(dialog, [&] { EXPECT_EQ(dialog.canvas().size(), QSize(art.width, art.height) * 2); });
}

// The standard (ratio 1) and the dense (ratio 2) screen of the GuiOnTwoScreens run; null elsewhere.
std::pair<QScreen*, QScreen*> twoScreens() {
    QScreen *standard = nullptr, *dense = nullptr;
    for (QScreen* screen : QGuiApplication::screens())
        (screen->devicePixelRatio() == 2 ? dense : standard) = screen;
    return {standard, dense};
}

// Built on the dense screen with a control in its over look, to the standard one and back.
TEST(HighDpiScreens, TripToAStandardScreenAndBackKeepsThePicture) {
    QScreen *standard = nullptr, *dense = nullptr;
    std::tie(standard, dense) = twoScreens();
    if (!standard || !dense)
        GTEST_SKIP() << "runs as the GuiOnTwoScreens ctest";
    WindowFixture f(sampleRecord());
    MainWindow& w = *f.window;
    // A window's screen follows its position.
    auto moveOnto = [&w](QScreen* screen) {
        w.setScreen(screen);
        w.move(screen->geometry().topLeft() + QPoint(10, 10));
        w.repaint();
    };
    moveOnto(dense);
    w.show();
    w.hover().onHover(centre(L::minimiseButton));
    w.repaint();
    const QImage before = w.backBuffer().copy();
    ASSERT_EQ(before.size(), QSize(1800, 1320));
    moveOnto(standard);
    EXPECT_EQ(w.grab().toImage().size(), QSize(900, 660));
    moveOnto(dense);
    EXPECT_EQ(w.backBuffer(), before) << "the page and the over look drawn back alike";
}

// The dialog's canvas follows the ratio too, drawn back with the over look of a button.
TEST(HighDpiScreens, DialogTripToAStandardScreenAndBackKeepsItsPicture) {
    QScreen *standard = nullptr, *dense = nullptr;
    std::tie(standard, dense) = twoScreens();
    if (!standard || !dense)
        GTEST_SKIP() << "runs as the GuiOnTwoScreens ctest";
    WindowFixture f(sampleRecord());
    FireKeyDialog dialog(f.window->context().dialogEnvironment(), f.window.get());
    const layout::Size art = layout::images::fireKeyBackground.size;
    auto moveOnto = [&dialog](QScreen* screen) {
        dialog.setScreen(screen);
        dialog.move(screen->geometry().topLeft() + QPoint(10, 10));
        dialog.repaint();
        QCoreApplication::processEvents(); // the canvas is made again after the paint
    };
    runScript(dialog, [&] {
        moveOnto(dense);
        const QPoint ok = centreOf(layout::dialog::okButton);
        QMouseEvent move(QEvent::MouseMove, ok, dialog.mapToGlobal(ok), Qt::NoButton, Qt::NoButton,
                         Qt::NoModifier);
        QApplication::sendEvent(&dialog, &move);
        ASSERT_TRUE(waitUntil([&] { return dialog.okHovered(); }));
        const QImage before = dialog.canvas().copy();
        ASSERT_EQ(before.size(), QSize(art.width, art.height) * 2);
        moveOnto(standard);
        EXPECT_EQ(dialog.canvas().size(), QSize(art.width, art.height));
        moveOnto(dense);
        EXPECT_EQ(dialog.canvas(), before) << "the frame and the over look drawn back alike";
    });
}

} // namespace
} // namespace z417::test
