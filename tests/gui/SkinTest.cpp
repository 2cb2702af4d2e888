// The skin in use: changing it through the skins dialog, what it may cost to decode, and
// folders whose names are not UTF-8.
#include "DialogTestSupport.h"
#include "GuiTestSupport.h"

#include "app/MainWindow.h"
#include "dialogs/SkinsDialog.h"
#include "platform/IniFile.h"
#include "ui/Layout.h"
#include "ui/Skin.h"

#include <QDataStream>
#include <QDir>
#include <QFile>
#include <QImage>
#include <QTemporaryDir>
#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <memory>

namespace z417::test {
namespace {

namespace I = layout::images;

std::string bytesOf(const QString& path) {
    return QFile::encodeName(path).toStdString();
}

quint32 crc32Of(const QByteArray& bytes) {
    quint32 crc = 0xFFFFFFFFu;
    for (const char c : bytes) {
        crc ^= static_cast<unsigned char>(c);
        for (int k = 0; k < 8; ++k)
            crc = (crc >> 1) ^ (0xEDB88320u & (0u - (crc & 1u)));
    }
    return ~crc;
}

void appendChunk(QByteArray& png, const char* type, const QByteArray& data) {
    auto be32 = [](quint32 v) {
        const char b[4] = {char(v >> 24), char(v >> 16), char(v >> 8), char(v)};
        return QByteArray(b, 4);
    };
    const QByteArray body = QByteArray(type, 4) + data;
    png += be32(quint32(data.size())) + body + be32(crc32Of(body));
}

// A black 4096 x 4096 PNG of some 50 KB: 48 MiB once decoded.
const QByteArray& bombPng() {
    static const QByteArray png = [] {
        constexpr int side = 4096;
        const QByteArray rows(side * (1 + 3 * side), '\0'); // filter byte, RGB pixels
        QByteArray header;
        QDataStream(&header, QIODevice::WriteOnly)
            << quint32(side) << quint32(side) << quint8(8) << quint8(2) << quint8(0) << quint8(0)
            << quint8(0);
        QByteArray file("\x89PNG\r\n\x1a\n", 8);
        appendChunk(file, "IHDR", header);
        appendChunk(file, "IDAT", qCompress(rows, 9).mid(4)); // without Qt's length prefix
        appendChunk(file, "IEND", QByteArray());
        return file;
    }();
    return png;
}

// Every image of a skin a bomb.
void writeBombSkin(const QString& folder) {
    QDir().mkpath(folder);
    for (const layout::SkinImage& image : I::all) {
        QFile file(folder + image.name);
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        file.write(bombPng());
    }
}

bool anyMessageNames(const RecordingUiServices& services, const QString& skin) {
    for (const auto& m : services.messages) {
        if (m.text.contains(QLatin1Char('"') + skin + QLatin1Char('"')))
            return true;
    }
    return false;
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

TEST(SkinBudget, NothingIsScaledUpBeyondTheWindow) {
    QTemporaryDir dir;
    writeSolidPng(dir.path() + I::mainBackground.name, 90, 66, Qt::black);
    writeSolidPng(dir.path() + "/big.png", 400, 50, Qt::red);
    Skin skin;
    ASSERT_TRUE(skin.load(bytesOf(dir.path()), Qt::white).ok);
    const QImage big = skin.image("/big.png", 2);
    EXPECT_EQ(big.size(), QSize(180, 100)); // the window's 90 pixels wide, the image's 50 tall
    EXPECT_EQ(big.devicePixelRatio(), 2);
    EXPECT_EQ(big.pixelColor(179, 99), QColor(Qt::red));
}

TEST(SkinBudget, ImagesThatGrewAfterTheChoiceStopAtTheBudget) {
    QTemporaryDir dir;
    writeTestSkin(dir.path());
    Skin skin;
    ASSERT_TRUE(skin.load(bytesOf(dir.path()), Qt::white).ok);
    const char* grown[] = {I::basicPage.name, I::fireKeyBackground.name, I::skinsBackground.name};
    int drawn = 0;
    for (const char* name : grown) {
        QFile file(dir.path() + name);
        ASSERT_TRUE(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
        file.write(bombPng());
        file.close();
        drawn += skin.image(name).isNull() ? 0 : 1;
    }
    EXPECT_EQ(drawn, 1); // one fits the budget beside the rest, no second one
    EXPECT_LE(skin.decodedPixels(), Skin::pixelBudget(1));
}

// A window over an install the test prepared itself, started when the test says so.
struct OwnWindow {
    explicit OwnWindow(const TestInstall& install) {
        prepareTestEnvironment(env, install, services, balloons, "z417-skin-test-");
    }
    MainWindow::StartResult start() {
        window = std::make_unique<MainWindow>(env, state, device);
        return window->start();
    }

    SimulatedMouse mouse;
    VirtualClock clock;
    DeviceLink device{mouse, clock};
    RecordingUiServices services;
    AppEnvironment env;
    Balloons balloons;
    AppState state;
    std::unique_ptr<MainWindow> window;
};

TEST(SkinBudget, AChosenSkinBeyondTheBudgetIsRefusedAndTheOldOneStays) {
    WindowFixture f(sampleRecord());
    MainWindow& w = *f.window;
    const QString bombs = f.install.dir.path() + "/Skins/Bombs";
    writeBombSkin(bombs);
    const QColor before = pixel(w, 20, 300);
    const qint64 decoded = w.state().skin.decodedPixels();

    EXPECT_FALSE(w.useSkin({"Bombs", bytesOf(bombs), QColor(1, 2, 3)}));
    EXPECT_TRUE(anyMessageNames(f.services, "Bombs"));
    EXPECT_EQ(w.state().skin.decodedPixels(), decoded); // decided from the headers alone
    EXPECT_EQ(w.state().skin.folder(), bytesOf(f.install.dir.path() + "/Skins/Test"));
    EXPECT_EQ(w.state().skinValues.path, "Test");
    EXPECT_EQ(readProfileString(f.install.file("str.ini"), "Skins", "Path"), "Test");
    EXPECT_EQ(pixel(w, 20, 300), before);
    EXPECT_EQ(w.page().state(), PageState::Shown);
}

TEST(SkinBudget, ASkinBeyondTheBudgetAtStartIsLikeAMissingOne) {
    TestInstall install;
    makeTestInstall(install, sampleRecord(), 1, "EN");
    writeBombSkin(install.dir.path() + "/Skins/Test");
    OwnWindow own(install);
    ASSERT_EQ(own.start(), MainWindow::StartResult::Complete);
    MainWindow& w = *own.window;
    const AppState& state = own.state;

    EXPECT_TRUE(anyMessageNames(own.services, "Test"));
    EXPECT_TRUE(w.backBuffer().isNull());
    EXPECT_EQ(w.page().state(), PageState::Shown);
    EXPECT_EQ(state.skin.decodedPixels(), 0);
    EXPECT_TRUE(w.onOk()); // the window still works
}

// ---- folders whose names are not UTF-8 ----------------------------------------------------

namespace fs = std::filesystem;

// Whether any name below folder holds U+FFFD: a name that went through a text string.
bool anyReplacementCharacter(const fs::path& folder) {
    for (const auto& entry : fs::recursive_directory_iterator(folder)) {
        if (entry.path().filename().string().find("\xEF\xBF\xBD") != std::string::npos)
            return true;
    }
    return false;
}

TEST(SkinPaths, APortableFolderAndASkinNotInUtf8AreFound) {
    TestInstall install;
    makeTestInstall(install, sampleRecord(), 1, "EN");
    const fs::path root = bytesOf(install.dir.path());
    const fs::path portable = root / "p\xE9";
    fs::create_directory(portable);
    for (const char* name : {"config.bin", "str.ini", "Skins"})
        fs::rename(root / name, portable / name);
    fs::rename(portable / "Skins" / "Test", portable / "Skins" / "Sk\xE9");
    ASSERT_EQ(
        writeProfileString((portable / "str.ini").string(), "Skins", "Path", "Sk\xE9").systemError,
        0);

    OwnWindow own(install);
    own.env.modulePath = (portable / "z417-gaming-mouse").string();
    ASSERT_EQ(own.start(), MainWindow::StartResult::Complete);
    MainWindow& w = *own.window;
    const AppState& state = own.state;
    EXPECT_TRUE(own.services.messages.empty());
    EXPECT_EQ(state.skin.folder(), (portable / "Skins" / "Sk\xE9").string());
    EXPECT_EQ(pixel(w, 20, 300), testSkinColour(I::basicPage.name));

    // Saved again as it was read.
    ASSERT_TRUE(w.useSkin({"Sk\xE9", state.skin.folder(), QColor(1, 2, 3)}));
    EXPECT_EQ(readProfileString((portable / "str.ini").string(), "Skins", "Path"), "Sk\xE9");
    EXPECT_FALSE(anyReplacementCharacter(root));
    fs::remove_all(portable); // a name the temporary folder's own clean-up cannot spell
}

TEST(SkinPaths, TheDemosDataFolderIsTheOneNamed) {
    QTemporaryDir tmp;
    const fs::path root = bytesOf(tmp.path());
    const std::string script = (root / "script").string();
    std::ofstream(script) << "screenshot " << (root / "shot.png").string() << "\nquit\n";
    for (const char* name : {"plain", "d\xE9mo"}) {
        const std::string command =
            "QT_QPA_PLATFORM=offscreen " Z417_BIN_DIR "/z417-demo --data '" +
            (root / name).string() + "' --virtual-clock --script " + script + " >/dev/null 2>&1";
        ASSERT_EQ(std::system(command.c_str()), 0) << name;
        fs::rename(root / "shot.png", root / (std::string(name) + ".png"));
    }
    EXPECT_TRUE(fs::is_regular_file(root / "d\xE9mo" / "config.bin"));
    EXPECT_FALSE(anyReplacementCharacter(root));
    QImage plain(tmp.path() + "/plain.png"), other;
    ASSERT_FALSE(plain.isNull());
    EXPECT_NE(plain.pixelColor(20, 300), QColor(Qt::black)); // the skin was drawn
    ASSERT_TRUE(other.loadFromData(QByteArray::fromStdString([&] {
        std::ifstream in(root / "d\xE9mo.png", std::ios::binary);
        return std::string(std::istreambuf_iterator<char>(in), {});
    }())));
    EXPECT_EQ(other, plain); // the same skin, found under either name
    fs::remove_all(root / "d\xE9mo");
    fs::remove(root / "d\xE9mo.png");
}

} // namespace
} // namespace z417::test
