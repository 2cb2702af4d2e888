// The skin in use: changing it through the skins dialog, what it may cost to decode, and
// folders whose names are not UTF-8.
#include "DialogTestSupport.h"
#include "GuiTestSupport.h"

#include "app/MainWindow.h"
#include "dialogs/SkinsDialog.h"
#include "ui/Layout.h"
#include "ui/Skin.h"

#include <QFile>
#include <gtest/gtest.h>

namespace z417::test {
namespace {

namespace I = layout::images;

std::string bytesOf(const QString& path) {
    return QFile::encodeName(path).toStdString();
}

// A copy of the test skin with another background and no page art over it.
QString writeSkinWithBackground(const TestInstall& install, const QString& name,
                                const QColor& background) {
    const QString folder = install.dir.path() + "/Skins/" + name;
    writeTestSkin(folder);
    writeSolidPng(folder + I::mainBackground.name, I::mainBackground.size.width,
                  I::mainBackground.size.height, background);
    QFile::remove(folder + I::basicPage.name);
    return folder;
}

TEST(SkinChange, TheBackBufferTakesTheNewSkinsBackground) {
    WindowFixture f(sampleRecord());
    MainWindow& w = *f.window;
    const QPoint bare(20, 300); // no control, caption or field there
    ASSERT_EQ(pixel(w, bare.x(), bare.y()), testSkinColour(I::basicPage.name));
    const QString folder = writeSkinWithBackground(f.install, "Red", QColor(200, 0, 0));

    ASSERT_TRUE(w.useSkin({"Red", bytesOf(folder), QColor(1, 2, 3)}));
    EXPECT_EQ(w.state().skinValues.path, "Red");
    EXPECT_EQ(pixel(w, bare.x(), bare.y()), QColor(200, 0, 0));
    // The page was built again over it.
    EXPECT_EQ(cornerOf(w, layout::main::okButton), testSkinColour(I::textButton.normal.name));
}

} // namespace
} // namespace z417::test
