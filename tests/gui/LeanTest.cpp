// What the window gives up while it waits hidden, and gets back whole: the back buffer kept
// compressed, skin image sizes read from the PNG header alone.
#include "GuiTestSupport.h"

#include "app/BusyCursor.h"
#include "app/MainWindow.h"
#include "assign/DefaultLabels.h"
#include "profile/SettingsFiles.h"
#include "ui/ImagePark.h"
#include "ui/Layout.h"
#include "ui/PngHeader.h"
#include "ui/Skin.h"
#include "ui/SurfaceKeeper.h"

#include <QCoreApplication>
#include <QCursor>
#include <QFile>
#include <QGuiApplication>
#include <QPainter>
#include <QRandomGenerator>
#include <QTemporaryDir>
#include <gtest/gtest.h>

#include <sys/stat.h>

namespace z417 {
namespace {

using test::centre;
using test::cornerOf;
using test::testSkinColour;
using test::WindowFixture;
namespace L = layout::main;
namespace I = layout::images;

TEST(LeanWhileHidden, HideThenShowGivesTheSamePixelsWithAHoverLookLeftOn) {
    WindowFixture f(test::sampleRecord());
    MainWindow& w = *f.window;
    w.hover().onHover(centre(L::okButton));
    ASSERT_EQ(cornerOf(w, L::okButton), testSkinColour(I::textButton.over.name));
    const QImage before = w.backBuffer().copy();

    w.hide();
    EXPECT_TRUE(w.backBufferParked());
    w.show();
    EXPECT_FALSE(w.backBufferParked());
    EXPECT_EQ(w.backBuffer(), before);

    // The look left on is still known: leaving the button draws it normal again.
    EXPECT_TRUE(w.hover().looks().isOver(PageControl::Ok));
    w.hover().onPointerMove(QPoint(10, 300));
    EXPECT_EQ(cornerOf(w, L::okButton), testSkinColour(I::textButton.normal.name));
}

TEST(LeanWhileHidden, APageChangedWhileHiddenIsPaintedAtTheShow) {
    WindowFixture f(test::sampleRecord());
    MainWindow& w = *f.window;
    ASSERT_EQ(cornerOf(w, L::modeBButton), testSkinColour(I::textButton.normal.name));
    w.hide();

    // Every paint while hidden asks for a park again; none of them may lose the picture.
    w.page().assignment().showKeySet(1);
    w.page().rebuild();
    QCoreApplication::processEvents();
    EXPECT_TRUE(w.backBufferParked());

    w.show();
    EXPECT_EQ(cornerOf(w, L::modeBButton), testSkinColour(I::textButton.over.name));
    EXPECT_EQ(cornerOf(w, L::modeAButton), testSkinColour(I::textButton.normal.name));
}

// ---- the PNG header reader ----------------------------------------------------------------

void writeBytes(const QString& path, const QByteArray& bytes) {
    QFile f(path);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    f.write(bytes);
}

// A PNG signature and IHDR chunk head declaring the given size, without any pixel data.
QByteArray pngHead(quint32 width, quint32 height) {
    QByteArray b("\x89PNG\r\n\x1a\n\0\0\0\x0dIHDR", 16);
    for (quint32 v : {width, height})
        for (int shift = 24; shift >= 0; shift -= 8)
            b.append(static_cast<char>((v >> shift) & 0xFF));
    return b + QByteArray(5, '\0');
}

TEST(LeanSkinImages, PngHeaderGivesTheSizeOrNothing) {
    test::TestInstall install;
    const QString dir = install.dir.path();
    test::writeSolidPng(dir + "/real.png", 211, 21, Qt::red);
    EXPECT_EQ(pngSize(dir + "/real.png"), QSize(211, 21));
    EXPECT_EQ(pngSize(dir + "/header-only.png"), std::nullopt); // missing

    writeBytes(dir + "/header-only.png", pngHead(900, 660));
    EXPECT_EQ(pngSize(dir + "/header-only.png"), QSize(900, 660));
    writeBytes(dir + "/cut.png", pngHead(900, 660).left(20));
    EXPECT_EQ(pngSize(dir + "/cut.png"), std::nullopt);
    writeBytes(dir + "/text.png", QByteArray("not an image at all, but long enough"));
    EXPECT_EQ(pngSize(dir + "/text.png"), std::nullopt);
    writeBytes(dir + "/huge.png", pngHead(5000, 5000));
    EXPECT_EQ(pngSize(dir + "/huge.png"), std::nullopt);
    writeBytes(dir + "/wide.png", pngHead(0xFFFFFFFFu, 1));
    EXPECT_EQ(pngSize(dir + "/wide.png"), std::nullopt);
    writeBytes(dir + "/empty.png", pngHead(0, 660));
    EXPECT_EQ(pngSize(dir + "/empty.png"), std::nullopt);

    // Neither a FIFO without a writer nor a folder is read (the FIFO would block).
    ASSERT_EQ(::mkfifo(QFile::encodeName(dir + "/fifo.png").constData(), 0600), 0);
    EXPECT_EQ(pngSize(dir + "/fifo.png"), std::nullopt);
    EXPECT_EQ(pngSize(dir), std::nullopt);
}

TEST(LeanSkinImages, AParkedImageComesBackWholeOrNotAtAll) {
    QImage image(37, 11, QImage::Format_ARGB32_Premultiplied);
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x)
            image.setPixel(x, y, qPremultiply(QRandomGenerator::global()->generate()));
    image.setDevicePixelRatio(2.0);
    const QImage original = image.copy();

    ImagePark park;
    EXPECT_TRUE(park.restore().isNull()); // nothing parked
    park.park(image);
    EXPECT_TRUE(image.isNull());
    QImage none;
    park.park(none); // parking nothing keeps what is there
    ASSERT_TRUE(park.holds());

    const QImage back = park.restore();
    EXPECT_EQ(back, original);
    EXPECT_EQ(back.format(), original.format());
    EXPECT_EQ(back.devicePixelRatio(), 2.0);
    EXPECT_FALSE(park.holds());
    EXPECT_TRUE(park.restore().isNull());
}

// A start hidden in the tray keeps the first-run labels at once and builds the page at the
// first show, although the labels step has run already.
TEST(LeanWhileHidden, APageAwaitingTheFirstShowIsBuiltThen) {
    WindowFixture f(test::sampleRecord(), /*firstRun=*/0, "EN", /*plugged=*/false);
    MainWindow& w = *f.window;
    ASSERT_EQ(w.page().state(), PageState::Unbuilt);
    w.page().awaitShow();
    EXPECT_EQ(w.page().state(), PageState::Unbuilt);
    const AppState& state = w.state();
    const AssignmentLabels defaults = defaultAssignmentLabels(state.texts);
    const AssignmentLabels saved = loadLabels(state.paths.strIni, state.texts.sectionName());
    for (int set = 0; set < 2; ++set)
        for (int slot = 0; slot < 8; ++slot) {
            EXPECT_EQ(state.labels.label[set][slot], defaults.label[set][slot]);
            EXPECT_EQ(saved.label[set][slot], defaults.label[set][slot]);
        }
    w.page().showIfNeverBuilt();
    EXPECT_TRUE(w.page().shown());
}

TEST(LeanWhileHidden, NoBusyCursorForAHiddenWindow) {
    QWidget window;
    {
        BusyCursor busy(&window);
        EXPECT_EQ(QGuiApplication::overrideCursor(), nullptr);
    }
    window.show();
    {
        BusyCursor busy(&window);
        ASSERT_NE(QGuiApplication::overrideCursor(), nullptr);
        EXPECT_EQ(QGuiApplication::overrideCursor()->shape(), Qt::WaitCursor);
    }
    EXPECT_EQ(QGuiApplication::overrideCursor(), nullptr);
}

// The back buffer is drawn at its ratio when first used, parked and brought back with that
// ratio, and null when the background cannot be drawn.
TEST(LeanSkinImages, TheSurfaceKeepsItsRatioThroughAPark) {
    QTemporaryDir dir;
    const QString background = dir.path() + "/main.png";
    test::writeSolidPng(background, 4, 3, QColor(10, 20, 30));
    Skin skin;
    ASSERT_TRUE(skin.load(dir.path().toStdString(), Qt::white).ok);
    SurfaceKeeper keeper(skin);
    keeper.reset(2.0);
    EXPECT_TRUE(keeper.hasRatio(2.0));
    const QImage drawn = keeper.surface().copy();
    ASSERT_EQ(drawn.size(), QSize(8, 6));
    EXPECT_EQ(drawn.pixelColor(7, 5), QColor(10, 20, 30));

    keeper.park();
    EXPECT_TRUE(keeper.parked());
    EXPECT_EQ(keeper.surface(), drawn);
    EXPECT_EQ(keeper.surface().devicePixelRatio(), 2.0);

    ASSERT_TRUE(skin.load(dir.path().toStdString() + "/missing", Qt::white).ok);
    keeper.reset(1.0);
    EXPECT_TRUE(keeper.surface().isNull());
    QImage target(4, 3, QImage::Format_ARGB32_Premultiplied);
    QPainter painter(&target);
    EXPECT_FALSE(keeper.paint(painter));
}

} // namespace
} // namespace z417
