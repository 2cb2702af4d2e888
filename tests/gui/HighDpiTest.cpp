// The painted windows on high-density screens: images at the device pixel ratio, the back
// buffer in device pixels, and the window at ratio 2 (the HighDpiAtRatio2 tests run as the
// GuiAtRatio2 ctest with QT_SCALE_FACTOR=2 and are skipped at other ratios).
#include "DialogTestSupport.h"
#include "GuiTestSupport.h"

#include "dialogs/FireKeyDialog.h"

#include "ui/BackBuffer.h"
#include "ui/SkinImage.h"

#include <QApplication>
#include <QFile>
#include <QScreen>
#include <QTemporaryDir>
#include <QWindow>
#include <gtest/gtest.h>

namespace z417::test {
namespace {

namespace L = layout::main;

// Share of the colour changes between horizontal neighbours that lie inside a 2x2 block: none
// in a picture doubled from half the size, about half in one drawn at full size.
double changesInsideBlocks(const QImage& image) {
    int inside = 0, all = 0;
    for (int y = 0; y < image.height(); ++y) {
        for (int x = 0; x + 1 < image.width(); ++x) {
            if (image.pixel(x, y) == image.pixel(x + 1, y))
                continue;
            ++all;
            inside += x % 2 == 0;
        }
    }
    return all ? double(inside) / all : 0;
}

bool atRatio2() {
    return qFuzzyCompare(qApp->devicePixelRatio(), 2.0);
}

TEST(HighDpi, ImagesAreTakenAtTheRatioFromTheDoubleSizeFileOrScaled) {
    QTemporaryDir dir;
    const QString both = dir.path() + "/both.png", plain = dir.path() + "/plain.png",
                  lone = dir.path() + "/lone.png";
    writeSolidPng(both, 105, 21, Qt::red);
    writeSolidPng(doubleSizePath(both), 210, 42, Qt::blue);
    writeSolidPng(plain, 105, 21, Qt::green); // a third-party skin without @2x files
    writeSolidPng(doubleSizePath(lone), 210, 42, Qt::blue);
    EXPECT_EQ(doubleSizePath(both), dir.path() + "/both@2x.png");

    struct Case {
        QString path;
        qreal ratio;
        QSize size;
        QColor colour;
    };
    const Case cases[] = {
        {both, 1, {105, 21}, Qt::red},      {both, 2, {210, 42}, Qt::blue},
        {both, 1.5, {158, 32}, Qt::blue},   {plain, 2, {210, 42}, Qt::green},
        {plain, 1.5, {158, 32}, Qt::green},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.path.toStdString() + " at " + std::to_string(c.ratio));
        const QImage image = loadSkinImage(c.path, c.ratio);
        EXPECT_EQ(image.size(), c.size);
        EXPECT_EQ(image.devicePixelRatio(), c.ratio);
        EXPECT_EQ(image.pixelColor(0, 0), c.colour);
        EXPECT_EQ(image.pixelColor(c.size.width() - 1, c.size.height() - 1), c.colour);
    }
    // Only the plain file says whether a skin has the image.
    EXPECT_TRUE(loadSkinImage(lone, 2).isNull());
}

TEST(HighDpi, BackBufferHasTheDevicePixelsOfEachRatio) {
    const std::pair<qreal, QSize> ratios[] = {
        {1, {900, 660}}, {1.5, {1350, 990}}, {2, {1800, 1320}}};
    for (const auto& [ratio, device] : ratios) {
        BackBuffer buffer;
        EXPECT_TRUE(buffer.ensure({900, 660}, ratio));
        EXPECT_EQ(buffer.image().size(), device) << ratio;
        EXPECT_EQ(buffer.size(), QSize(900, 660));
        EXPECT_FALSE(buffer.ensure({900, 660}, ratio)) << "the same buffer is kept";
        EXPECT_TRUE(buffer.ensure({900, 660}, ratio + 0.25)) << "another ratio makes a new one";
    }

    // Layout positions are scaled; the image's own pixels are device pixels.
    BackBuffer buffer;
    buffer.ensure({40, 20}, 2);
    QImage white(4, 2, QImage::Format_RGB32);
    white.fill(Qt::white);
    composeImage(buffer.image(), white, 10, 5);
    const QImage& b = buffer.image();
    EXPECT_EQ(qAlpha(b.pixel(19, 10)), 0);
    EXPECT_EQ(b.pixel(20, 10), 0xFFFFFFFFu);
    EXPECT_EQ(b.pixel(23, 11), 0xFFFFFFFFu);
    EXPECT_EQ(qAlpha(b.pixel(24, 10)), 0);
    EXPECT_EQ(qAlpha(b.pixel(20, 12)), 0);
}

TEST(HighDpiAtRatio2, WindowIsDrawnAtNativeResolution) {
    if (!atRatio2())
        GTEST_SKIP() << "runs as the GuiAtRatio2 ctest (QT_SCALE_FACTOR=2)";
    WindowFixture f(sampleRecord());
    MainWindow& w = *f.window;
    // The test skin has no @2x files; the close button gets one in its own colour.
    const QColor sharp(1, 2, 3);
    const QString skin = f.install.dir.path() + "/Skins/Test";
    writeSolidPng(skin + "/button-close-normal@2x.png", 36, 36, sharp);
    w.rebuildPage();
    w.show();

    const QImage shown = w.grab().toImage();
    EXPECT_EQ(shown.size(), QSize(1800, 1320));
    int wrong = 0;
    for (int y = 2 * L::closeButton.top; y < 2 * L::closeButton.bottom; ++y)
        for (int x = 2 * L::closeButton.left; x < 2 * L::closeButton.right; ++x)
            wrong += shown.pixelColor(x, y) != sharp;
    EXPECT_EQ(wrong, 0) << "device pixels of the close button not from its @2x image";
    // Without a @2x file the plain art is scaled over the whole control.
    const QColor minimise = testSkinColour("/button-min-normal.png");
    EXPECT_EQ(shown.pixelColor(2 * L::minimiseButton.left, 2 * L::minimiseButton.top), minimise);
    EXPECT_EQ(shown.pixelColor(2 * L::minimiseButton.right - 1, 2 * L::minimiseButton.bottom - 1),
              minimise);
    // The art is flat; the edges are the texts', drawn at full resolution.
    EXPECT_GT(changesInsideBlocks(shown), 0.3);

    // An over look at ratio 2 covers its control in device pixels.
    w.onHover(centre(L::minimiseButton));
    const QImage hovered = w.grab().toImage();
    const QColor over = testSkinColour("/button-min-over.png");
    EXPECT_EQ(hovered.pixelColor(2 * L::minimiseButton.left, 2 * L::minimiseButton.top), over);
    EXPECT_EQ(hovered.pixelColor(2 * L::minimiseButton.right - 1, 2 * L::minimiseButton.bottom - 1),
              over);
}

TEST(HighDpiAtRatio2, DemoScreenshotsOfTheWindowAndADialogAreSharp) {
    if (!atRatio2())
        GTEST_SKIP() << "runs as the GuiAtRatio2 ctest (QT_SCALE_FACTOR=2)";
    const QString bin = QStringLiteral(Z417_BIN_DIR);
    const QSize fireArt = QImage(bin + "/Skins/Default/fire-key.png").size();
    ASSERT_TRUE(fireArt.isValid()) << "the Default skin has not been generated";
    QTemporaryDir tmp;
    const QString main = tmp.path() + "/main.png", fire = tmp.path() + "/fire.png";
    const DemoRun run =
        runDemo(tmp.path() + "/data", QStringLiteral("wait 200\nscreenshot %1\nopen-dialog fire\n"
                                                     "screenshot %2\nclick 322 263\nquit\n")
                                          .arg(main, fire));
    ASSERT_EQ(run.exitCode, 0) << run.output.toStdString();
    const QImage window(main), dialog(fire);
    EXPECT_EQ(window.size(), QSize(1800, 1320));
    EXPECT_EQ(dialog.size(), fireArt * 2);
    EXPECT_GT(changesInsideBlocks(window), 0.3);
    EXPECT_GT(changesInsideBlocks(dialog), 0.3);
}

} // namespace
} // namespace z417::test

namespace z417::test {
namespace {

// The screens of the GuiOnTwoScreens ctest: ratio 1 and ratio 2.
struct TwoScreens {
    QScreen* standard = nullptr;
    QScreen* dense = nullptr;
    TwoScreens() {
        for (QScreen* screen : QGuiApplication::screens())
            (screen->devicePixelRatio() == 2 ? dense : standard) = screen;
    }
    bool available() const { return standard && dense; }
};

// A window's screen follows its position, so it goes there too.
void moveOnto(QWidget& window, QScreen* screen) {
    window.setScreen(screen);
    window.move(screen->geometry().topLeft() + QPoint(10, 10));
}

// The window is built on the dense screen, goes to the standard one and comes back.
TEST(HighDpiScreens, TripToAStandardScreenAndBackKeepsThePicture) {
    const TwoScreens screens;
    if (!screens.available())
        GTEST_SKIP() << "runs as the GuiOnTwoScreens ctest";
    QScreen *standard = screens.standard, *dense = screens.dense;
    WindowFixture f(sampleRecord());
    MainWindow& w = *f.window;
    moveOnto(w, dense);
    w.show();
    w.onHover(centre(layout::main::minimiseButton));
    w.repaint();
    const QImage before = w.backBuffer().copy();
    ASSERT_EQ(before.size(), QSize(1800, 1320));

    moveOnto(w, standard);
    w.repaint();
    EXPECT_EQ(w.backBuffer().size(), QSize(900, 660));
    EXPECT_EQ(w.grab().toImage().size(), QSize(900, 660));

    moveOnto(w, dense);
    w.repaint();
    EXPECT_EQ(w.backBuffer(), before) << "the page and the over look drawn back alike";
}

// A dialog's canvas follows its screen the same way.
TEST(HighDpiScreens, DialogCanvasFollowsItsScreen) {
    const TwoScreens screens;
    if (!screens.available())
        GTEST_SKIP() << "runs as the GuiOnTwoScreens ctest";
    TempSkins skins;
    RecordingServices services;
    FireKeyDialog dialog(environmentFor(skins, services), nullptr);
    const QSize art = skins.image(layout::images::fireKeyBackground.name).size();
    // The canvas is made again after the first paint on the new screen.
    auto moveTo = [&dialog](QScreen* screen) {
        moveOnto(dialog, screen);
        dialog.update();
        return waitUntil(
            [&] { return dialog.canvas().devicePixelRatio() == screen->devicePixelRatio(); });
    };
    runScript(dialog, [&] {
        ASSERT_TRUE(moveTo(screens.dense));
        const QImage before = dialog.canvas().copy();
        EXPECT_EQ(before.size(), art * 2);
        ASSERT_TRUE(moveTo(screens.standard));
        EXPECT_EQ(dialog.canvas().size(), art);
        ASSERT_TRUE(moveTo(screens.dense));
        EXPECT_EQ(dialog.canvas(), before);
    });
}

} // namespace
} // namespace z417::test
