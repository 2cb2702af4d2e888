// What the window gives up while it waits hidden, and gets back whole: the back buffer kept
// compressed, skin image sizes read from the PNG header alone.
#include "GuiTestSupport.h"

#include "app/MainWindow.h"
#include "ui/ImagePark.h"
#include "ui/Layout.h"
#include "ui/PngHeader.h"

#include <QCoreApplication>
#include <QFile>
#include <QRandomGenerator>
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

} // namespace
} // namespace z417
