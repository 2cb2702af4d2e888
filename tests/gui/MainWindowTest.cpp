// The main window against an in-memory simulated mouse: start-up, buttons, the page.
#include "GuiTestSupport.h"

#include "app/MainWindow.h"
#include "platform/AtomicFile.h"
#include "platform/IniFile.h"
#include "profile/BuildStep.h"
#include "ui/Layout.h"

#include <QCoreApplication>
#include <QFile>
#include <QFontMetrics>
#include <QLabel>
#include <QMenu>
#include <gtest/gtest.h>

#include <cstring>

namespace z417 {
namespace {

using test::centre;
using test::field;
using test::pixel;
using test::testSkinColour;
using test::WindowFixture;
namespace L = layout::main;
namespace I = layout::images;

TEST(MainWindowStartUp, ConnectsLoadsAndBuildsThePage) {
    WindowFixture f(test::sampleRecord());
    ASSERT_EQ(f.initResult, MainWindow::StartResult::Complete);
    MainWindow& w = *f.window;
    EXPECT_TRUE(w.device().connected());
    EXPECT_EQ(w.page().state(), PageState::Shown);
    EXPECT_EQ(w.state().paths.configBin, f.install.file("config.bin"));
    EXPECT_EQ(w.state().paths.strIni, f.install.file("str.ini"));
    EXPECT_EQ(w.state().skin.folder(), f.install.dir.path().toStdString() + "/Skins/Test");
    EXPECT_EQ(w.state().skin.textColour(), QColor(200, 201, 202));
    EXPECT_EQ(0, std::memcmp(&w.state().record, &w.state().savedSettings, sizeof(SettingsRecord)));
    // The block was read from the mouse: its own bytes are there.
    EXPECT_EQ(
        0, std::memcmp(w.state().block.deviceImage.bytes(), f.mouse.memory().data(), kImageSize));
    // The back buffer fixes the window's size.
    EXPECT_EQ(w.size(), QSize(900, 660));
    // Stored labels, no first-run rewrite.
    EXPECT_EQ(w.state().labels.label[0][0], "Stored One");
    EXPECT_EQ(w.state().labels.label[1][0], "Stored B One");
    EXPECT_TRUE(f.balloons.empty());
    EXPECT_TRUE(f.services.messages.empty());
}

TEST(MainWindowStartUp, WithoutTheMouseWarnsAndLeavesThePageUnbuilt) {
    WindowFixture f(test::sampleRecord(), 1, "EN", /*plugged=*/false);
    MainWindow& w = *f.window;
    EXPECT_FALSE(w.device().connected());
    EXPECT_EQ(w.page().state(), PageState::Unbuilt);
    ASSERT_EQ(f.balloons.size(), 1u);
    EXPECT_EQ(f.balloons[0].first, "Warning");
    EXPECT_EQ(f.balloons[0].second, "The system did not detect the gaming mouse!");
    // The tray click without the mouse only warns again.
    w.onTrayClick(MainWindow::TrayClick::Left);
    QCoreApplication::processEvents();
    EXPECT_EQ(f.balloons.size(), 2u);
    EXPECT_EQ(w.page().state(), PageState::Unbuilt);
}

TEST(MainWindowStartUp, FirstRunWritesTheDefaultLabelsOnceInTheLanguageSection) {
    WindowFixture f(test::sampleRecord(), /*firstRun=*/0, "CHS");
    MainWindow& w = *f.window;
    EXPECT_EQ(w.state().labels.label[0][0], "左键");
    EXPECT_EQ(w.state().labels.label[1][5], "DPI Loop");
    EXPECT_EQ(w.state().labels.label[0][6], "RGB打开/关闭");
    const std::string ini = test::readFile(f.install.file("str.ini"));
    EXPECT_NE(ini.find("[Setting-CHS]"), std::string::npos);
    EXPECT_NE(ini.find("Item83=按键关闭"), std::string::npos);
    // The English section is untouched.
    EXPECT_NE(ini.find("[Setting-EN]\nItem1=Stored One\n"), std::string::npos);
    // A second page build in the same process does not write again.
    const std::string before = test::readFile(f.install.file("str.ini"));
    w.onCancel();
    w.onTrayClick(MainWindow::TrayClick::Left); // tears down and rebuilds the page
    EXPECT_EQ(test::readFile(f.install.file("str.ini")), before);
}

TEST(MainWindowStartUp, LanguageFontsAndTextsFollowTheLanCode) {
    WindowFixture cht(test::sampleRecord(), 1, "CHT");
    EXPECT_EQ(cht.window->state().texts.sectionName(), "Setting-CHT");
    EXPECT_EQ(cht.window->state().normalFont.families().first(), QStringLiteral("黑体"));
    // Chinese faces are sized by their ideographs: they reach the table's height.
    const QString ideograph = QStringLiteral("键");
    const QFontMetrics chtMetrics(cht.window->state().normalFont);
    EXPECT_GE(chtMetrics.tightBoundingRect(ideograph).height(), 13);
    EXPECT_LE(chtMetrics.tightBoundingRect(ideograph).height(), 14);
    WindowFixture lower(test::sampleRecord(), 1, "chs");
    EXPECT_EQ(lower.window->state().texts.sectionName(), "Setting-EN");
    EXPECT_EQ(lower.window->state().normalFont.families().first(), QStringLiteral("Arial"));
    // Linux never reports Windows 6.2: Simplified Chinese gets the Song face.
    WindowFixture chs(test::sampleRecord(), 1, "CHS");
    EXPECT_EQ(chs.window->state().normalFont.families().first(), QStringLiteral("宋体"));
    const QFontMetrics chsMetrics(chs.window->state().normalFont);
    EXPECT_GE(chsMetrics.tightBoundingRect(ideograph).height(), 12);
    EXPECT_LE(chsMetrics.tightBoundingRect(ideograph).height(), 13);
}

TEST(MainWindowButtons, ApplyUploadsSavesAndConfirms) {
    WindowFixture f(test::sampleRecord());
    MainWindow& w = *f.window;
    w.state().record.reportRate = 4;
    w.state().record.keyFunction[0][2] = kFnSnipeKey;
    w.state().labels.label[0][2] = "Snipe Key";
    w.session().apply();
    // The mouse holds the built image; its own bytes are as they were.
    ProfileBlock expected = w.state().block;
    EXPECT_EQ(f.mouse.reportRate(), 4);
    EXPECT_EQ(f.mouse.memory()[0x84], 0x0A);
    EXPECT_EQ(f.mouse.memory()[0x85], 0x03);
    EXPECT_EQ(0, std::memcmp(f.mouse.memory().data() + 64, expected.deviceImage.chunk(2),
                             4 * kChunkSize));
    EXPECT_EQ(0, std::memcmp(&w.state().savedSettings, &w.state().record, sizeof(SettingsRecord)));
    const std::string config = test::readFile(f.install.file("config.bin"));
    ASSERT_EQ(config.size(), 220u);
    EXPECT_EQ(config[0], 1);
    EXPECT_EQ(0, std::memcmp(config.data() + 1, w.state().record.bytes(), sizeof(SettingsRecord)));
    EXPECT_NE(test::readFile(f.install.file("str.ini")).find("Item3=Snipe Key"), std::string::npos);
    EXPECT_TRUE(f.services.messages.empty());
}

TEST(MainWindowButtons, CancelRestoresTheRecordAndLabelsComeBackFromTheFile) {
    WindowFixture f(test::sampleRecord());
    MainWindow& w = *f.window;
    const SettingsRecord before = w.state().record;
    w.state().record.keyFunction[0][1] = kFnKeyOff;
    w.state().labels.label[0][0] = "Edited";
    w.onCancel();
    EXPECT_EQ(0, std::memcmp(&w.state().record, &before, sizeof before));
    EXPECT_TRUE(w.session().cancelPending());
    EXPECT_EQ(w.state().labels.label[0][0], "Edited"); // until the window comes back
    w.onTrayClick(MainWindow::TrayClick::Left);
    EXPECT_FALSE(w.session().cancelPending());
    EXPECT_EQ(w.state().labels.label[0][0], "Stored One");
    EXPECT_EQ(w.page().state(), PageState::Shown);
}

TEST(MainWindowButtons, OkAndApplyDoNothingWithoutTheMouse) {
    WindowFixture f(test::sampleRecord(), 1, "EN", false);
    MainWindow& w = *f.window;
    const std::string config = test::readFile(f.install.file("config.bin"));
    w.state().record.reportRate = 8;
    w.session().apply();
    w.onOk();
    EXPECT_EQ(test::readFile(f.install.file("config.bin")), config);
    EXPECT_NE(w.state().savedSettings.reportRate, 8);
}

TEST(MainWindowTray, BalloonTableThroughTheWindow) {
    WindowFixture f(test::sampleRecord());
    MainWindow& w = *f.window;
    w.balloons().show(5, 3); // not a report-rate kind
    EXPECT_TRUE(f.balloons.empty());
    w.state().record.dpiLevel[1] = 1;
    w.balloons().show(7, 2);
    ASSERT_EQ(f.balloons.size(), 1u);
    EXPECT_EQ(f.balloons[0].first, "Info");
    EXPECT_EQ(f.balloons[0].second, "Switch DPI into the second stage 800");
    w.balloons().show(9, 12);
    EXPECT_EQ(f.balloons.back().second, "Switch to macro key12");
}

// z417ctl changed the files: the window takes them over as its saved state, so that its next
// Apply writes them back instead of its older copy.
TEST(MainWindowTray, ReloadTakesOverFilesChangedByAnotherProgram) {
    WindowFixture f(test::sampleRecord());
    MainWindow& w = *f.window;
    w.state().record.reportRate = 8; // an edit not applied yet
    SettingsRecord changed = test::sampleRecord();
    changed.reportRate = 4;
    std::string bytes(1, '\1');
    bytes.append(reinterpret_cast<const char*>(changed.bytes()), sizeof changed);
    ASSERT_EQ(writeFileAtomically(f.install.file("config.bin"), bytes).systemError, 0);
    ASSERT_EQ(writeProfileString(f.install.file("str.ini"), "Setting-EN", "Item1", "From Ctl")
                  .systemError,
              0);

    // The edit of the same field stays; the file's values become the saved copy.
    w.session().reloadSettingsFiles();
    EXPECT_EQ(w.state().record.reportRate, 8);
    EXPECT_EQ(w.state().savedSettings.reportRate, 4);
    EXPECT_EQ(w.state().labels.label[0][0], "From Ctl");
    w.session().apply();
    changed.reportRate = 8;
    bytes.replace(1, sizeof changed, reinterpret_cast<const char*>(changed.bytes()),
                  sizeof changed);
    EXPECT_EQ(test::readFile(f.install.file("config.bin")), bytes);
}

// Another program changed the files, and the window's Apply came before the reload request:
// neither change is lost, and each label stays with its function.
TEST(MainWindowTray, ApplyKeepsWhatAnotherProgramWroteSinceTheWindowReadTheFiles) {
    WindowFixture f(test::sampleRecord());
    MainWindow& w = *f.window;
    w.state().record.keyFunction[0][3] = kFnKeyOff; // the window's edit of button 4
    w.state().labels.label[0][3] = "Key Off";
    SettingsRecord changed = w.state().savedSettings; // the other program's, of button 5
    changed.keyFunction[0][4] = kFnShift;
    std::string bytes(1, '\1');
    bytes.append(reinterpret_cast<const char*>(changed.bytes()), sizeof changed);
    ASSERT_EQ(writeFileAtomically(f.install.file("config.bin"), bytes).systemError, 0);
    ASSERT_EQ(
        writeProfileString(f.install.file("str.ini"), "Setting-EN", "Item5", "Shift").systemError,
        0);

    w.session().apply();
    SettingsRecord saved{};
    const std::string after = test::readFile(f.install.file("config.bin"));
    ASSERT_EQ(after.size(), 1 + sizeof saved);
    std::memcpy(saved.bytes(), after.data() + 1, sizeof saved);
    EXPECT_EQ(saved.keyFunction[0][3], kFnKeyOff);
    EXPECT_EQ(saved.keyFunction[0][4], kFnShift);
    const AssignmentLabels labels = loadLabels(f.install.file("str.ini"), "Setting-EN");
    EXPECT_EQ(labels.label[0][3], "Key Off");
    EXPECT_EQ(labels.label[0][4], "Shift");
    EXPECT_EQ(w.state().labels.label[0][4], "Shift"); // and the window shows it
}

TEST(MainWindowTray, RightClickOffersExactlyExitAndExitCloses) {
    WindowFixture f(test::sampleRecord(), 1, "CHT");
    MainWindow& w = *f.window;
    w.onTrayClick(MainWindow::TrayClick::Right);
    ASSERT_NE(w.trayMenu(), nullptr);
    ASSERT_EQ(w.trayMenu()->actions().size(), 1);
    EXPECT_EQ(w.trayMenu()->actions().first()->text(), QStringLiteral("退出"));
    w.trayMenu()->hide();
    w.trayMenu()->actions().first()->trigger();
    EXPECT_TRUE(w.exitRequested());
    EXPECT_FALSE(w.trayVisible());
}

TEST(MainWindowDevice, UnplugAndPlugThroughNotifications) {
    WindowFixture f(test::sampleRecord());
    MainWindow& w = *f.window;
    f.mouse.unplug();
    const size_t before = f.balloons.size();
    for (const HidrawEvent& e : f.mouse.hotplugEvents(HidrawEvent::Kind::Removed))
        w.deviceWatcher().handleEvent(e);
    QCoreApplication::processEvents();
    EXPECT_FALSE(w.device().connected());
    ASSERT_EQ(f.balloons.size(), before + 1);
    EXPECT_EQ(f.balloons.back().first, "Warning");
    f.mouse.plug();
    const std::vector<HidrawEvent> plugged = f.mouse.hotplugEvents(HidrawEvent::Kind::Added);
    w.deviceWatcher().handleEvent(plugged[0]); // the data channel alone is not a mouse
    EXPECT_FALSE(w.device().connected());
    for (size_t i = 1; i < plugged.size(); ++i)
        w.deviceWatcher().handleEvent(plugged[i]);
    QCoreApplication::processEvents();
    EXPECT_TRUE(w.device().connected());
    ASSERT_EQ(f.balloons.size(), before + 2);
    EXPECT_EQ(f.balloons.back().second, "The system detect the gaming mouse.");
}

// ---- painting ------------------------------------------------------------------------------

TEST(MainWindowPaint, ReportRateSegmentsFollowTheStoredRate) {
    struct Case {
        uint8_t rate;
        int lit;
    };
    for (Case c : {Case{8, 0}, Case{4, 1}, Case{2, 2}, Case{1, 3}, Case{3, 3}, Case{0, 3}}) {
        SettingsRecord r = test::sampleRecord();
        r.reportRate = c.rate;
        WindowFixture f(r);
        for (int i = 0; i < 4; ++i) {
            const QPoint p = centre(L::reportRateSegment(i));
            const char* expect = i == c.lit ? I::reportRateLight.name : I::reportRateDark.name;
            EXPECT_EQ(pixel(*f.window, p.x(), p.y()), testSkinColour(expect))
                << "rate " << int(c.rate) << " segment " << i;
        }
    }
}

TEST(MainWindowPaint, KeySetBShowsItsLabelsAndTheOverButton) {
    SettingsRecord r = test::sampleRecord();
    r.activeKeySet = 1;
    WindowFixture f(r);
    MainWindow& w = *f.window;
    // The key-set buttons: corners are free of text.
    EXPECT_EQ(pixel(w, L::modeBButton.left + 1, L::modeBButton.top + 1),
              testSkinColour(I::textButton.over.name));
    EXPECT_EQ(pixel(w, L::modeAButton.left + 1, L::modeAButton.top + 1),
              testSkinColour(I::textButton.normal.name));
    w.page().assignment().showKeySet(0);
    EXPECT_EQ(w.state().record.activeKeySet, 0);
    EXPECT_EQ(pixel(w, L::modeAButton.left + 1, L::modeAButton.top + 1),
              testSkinColour(I::textButton.over.name));
    EXPECT_EQ(pixel(w, L::modeBButton.left + 1, L::modeBButton.top + 1),
              testSkinColour(I::textButton.normal.name));
}

TEST(MainWindowPaint, LightingFieldsByMode) {
    SettingsRecord r = test::sampleRecord();
    r.lightMode = 0;
    {
        WindowFixture f(r);
        ASSERT_NE(field(*f.window, 80), nullptr);
        EXPECT_EQ(field(*f.window, 80)->text(), "Off");
        ASSERT_NE(field(*f.window, 81), nullptr);
        EXPECT_EQ(field(*f.window, 81)->text(), "");
        EXPECT_EQ(field(*f.window, 81)->frameShadow(), QFrame::Sunken);
        EXPECT_EQ(field(*f.window, 82)->text(), "");
    }
    r.lightMode = 7;
    {
        WindowFixture f(r);
        EXPECT_EQ(field(*f.window, 80)->text(), "");
        EXPECT_EQ(field(*f.window, 81), nullptr);
        EXPECT_EQ(field(*f.window, 82), nullptr);
    }
    r.lightMode = 2;
    r.breathSpeed = 1;
    r.breathEffect = 2;
    {
        WindowFixture f(r);
        EXPECT_EQ(field(*f.window, 80)->text(), "Respiration");
        EXPECT_EQ(field(*f.window, 81)->text(), "7S");
        EXPECT_EQ(field(*f.window, 82)->text(), "RGB Flash");
    }
    r.lightMode = 3;
    r.neonSpeed = 2;
    {
        WindowFixture f(r);
        EXPECT_EQ(field(*f.window, 81)->text(), "1.5S");
    }
}

TEST(MainWindowPaint, DpiFieldsAndSwatches) {
    SettingsRecord r = test::sampleRecord();
    r.dpiLevel[2] = 12; // no name in the variant's row
    WindowFixture f(r);
    EXPECT_EQ(field(*f.window, 11)->text(), "400");
    EXPECT_EQ(field(*f.window, 12)->text(), "800");
    EXPECT_EQ(field(*f.window, 13)->text(), "");
    QLabel* swatch = field(*f.window, 72);
    ASSERT_NE(swatch, nullptr);
    EXPECT_EQ(swatch->palette().color(QPalette::Window), QColor(40, 100, 200));
}

TEST(MainWindowPaint, WithoutMainPngNothingIsDrawnButTheFieldsExist) {
    SettingsRecord r = test::sampleRecord();
    WindowFixture f(r);
    // Start a second window over a skin without main.png.
    QFile::remove(f.install.dir.path() + "/Skins/Test/main.png");
    f.env.instanceName += "-second";
    DeviceLink secondDevice(f.mouse, f.clock);
    AppState secondState;
    MainWindow second(f.env, secondState, secondDevice);
    ASSERT_EQ(second.start(), MainWindow::StartResult::Complete);
    EXPECT_TRUE(second.backBuffer().isNull());
    EXPECT_EQ(second.page().state(), PageState::Shown);
    EXPECT_NE(field(second, 11), nullptr);
    EXPECT_NE(field(second, 80), nullptr);
}

TEST(MainWindowPaint, showPageTwiceBuildsTheFieldsOnce) {
    WindowFixture f(test::sampleRecord());
    QLabel* first = field(*f.window, 11);
    f.window->page().show();
    EXPECT_EQ(field(*f.window, 11), first);
    EXPECT_EQ(f.window->findChildren<QLabel*>(QStringLiteral("id11")).size(), 1);
}

TEST(MainWindowClicks, DefaultRestoresKeysAndLabels) {
    SettingsRecord r = test::sampleRecord();
    r.keyFunction[1][0] = kFnKeyOff;
    r.dpiSwitchParam[0][5] = 3;
    WindowFixture f(r);
    f.window->dispatchClick(centre(L::defaultButton));
    EXPECT_EQ(f.window->state().record.keyFunction[1][0], kFnLeftClick);
    EXPECT_EQ(f.window->state().record.dpiSwitchParam[0][5], 5);
    EXPECT_EQ(f.window->state().labels.label[0][5], "DPI Loop");
    EXPECT_EQ(f.window->state().labels.label[1][0], "Left Click");
}

TEST(MainWindowClicks, WebLinkOpensTheAddress) {
    WindowFixture f(test::sampleRecord());
    f.window->dispatchClick(centre(L::webAddressLine.rect));
    ASSERT_EQ(f.services.urls.size(), 1u);
    EXPECT_TRUE(f.services.urls[0].contains(QStringLiteral(".example")));
}

} // namespace
} // namespace z417
