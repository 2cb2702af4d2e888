// The value controls of the Basic page: report rate, DPI stage values and colours, lighting,
// through real clicks on the window and its lists; and one run of the demo end to end.
#include "GuiTestSupport.h"
#include "ListTestSupport.h"

#include "app/MainWindow.h"
#include "profile/SettingsRecord.h"
#include "ui/Layout.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QLabel>
#include <QListWidget>
#include <QProcess>
#include <QTemporaryDir>
#include <QTest>
#include <gtest/gtest.h>

#include <array>
#include <cstddef>
#include <cstring>

namespace z417 {
namespace {

using test::centre;
using test::field;
using test::list;
using test::testSkinColour;
using test::WindowFixture;
namespace L = layout::main;
namespace I = layout::images;

// A left click at a client point of the window, delivered to whatever child lies there.
void clickAt(MainWindow& w, const QPoint& p) {
    QWidget* target = w.childAt(p);
    if (!target)
        target = &w;
    QTest::mouseClick(target, Qt::LeftButton, Qt::NoModifier, target->mapFrom(&w, p));
}

QStringList items(QListWidget* l) {
    QStringList out;
    for (int i = 0; i < l->count(); ++i)
        out << l->item(i)->text();
    return out;
}

// Clicks one item of an open pop-up list, as a person picks it.
void choose(MainWindow& w, L::ListId listId, int row) {
    QListWidget* l = list(w, listId);
    ASSERT_NE(l, nullptr) << "list " << static_cast<int>(listId);
    ASSERT_LT(row, l->count());
    l->scrollToItem(l->item(row));
    QTest::mouseClick(l->viewport(), Qt::LeftButton, Qt::NoModifier,
                      l->visualItemRect(l->item(row)).center());
}

QColor segmentColour(const MainWindow& w, int segment) {
    const QPoint p = centre(L::reportRateSegment(segment));
    return w.backBuffer().pixelColor(p);
}

// ---- report rate ----------------------------------------------------------------------------

TEST(ReportRate, ClicksLightTheSegmentAndStoreItsCode) {
    const QColor light = testSkinColour(I::reportRateLight.name);
    const QColor dark = testSkinColour(I::reportRateDark.name);
    struct Case {
        uint8_t stored;
        int clicked;
        uint8_t expected;
        int darkened; // the segment lit before
    };
    const Case cases[] = {
        {4, 3, 1, 1}, // 250 -> 1000
        {3, 0, 8, 3}, // an odd value counts as 1000; -> 125
        {8, 2, 2, 0}, // 125 -> 500
        {1, 1, 4, 3}, // 1000 -> 250
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << "stored " << int(c.stored) << " click " << c.clicked);
        SettingsRecord r = test::sampleRecord();
        r.reportRate = c.stored;
        WindowFixture f(r);
        MainWindow& w = *f.window;
        ASSERT_EQ(segmentColour(w, c.darkened), light);
        clickAt(w, centre(L::reportRateSegment(c.clicked)));
        EXPECT_EQ(w.state().record.reportRate, c.expected);
        for (int i = 0; i < L::reportRateSegmentCount; ++i)
            EXPECT_EQ(segmentColour(w, i), i == c.clicked ? light : dark) << "segment " << i;
    }
}

TEST(ReportRate, TheSelectedSegmentDrawsNothingButStillStores) {
    // Images are read from disk at every draw: repainting the segment images shows whether
    // anything was drawn.
    auto repaintSkin = [](WindowFixture& f) {
        const QString skin = f.install.dir.path() + "/Skins/Test";
        test::writeSolidPng(skin + I::reportRateLight.name, 70, 11, QColor(1, 2, 3));
        test::writeSolidPng(skin + I::reportRateDark.name, 70, 11, QColor(4, 5, 6));
    };
    {
        SettingsRecord r = test::sampleRecord();
        r.reportRate = 4;
        WindowFixture f(r);
        MainWindow& w = *f.window;
        clickAt(w, centre(L::reportRateSegment(3)));
        ASSERT_EQ(w.state().record.reportRate, 1);
        const QImage before = w.backBuffer().copy();
        repaintSkin(f);
        clickAt(w, centre(L::reportRateSegment(3))); // second click on "1000"
        EXPECT_EQ(w.state().record.reportRate, 1);
        EXPECT_EQ(w.backBuffer(), before);
    }
    {
        // 3 shows as 1000 Hz: a click on "1000" draws nothing and stores 1.
        SettingsRecord r = test::sampleRecord();
        r.reportRate = 3;
        WindowFixture f(r);
        MainWindow& w = *f.window;
        const QImage before = w.backBuffer().copy();
        repaintSkin(f);
        clickAt(w, centre(L::reportRateSegment(3)));
        EXPECT_EQ(w.state().record.reportRate, 1);
        EXPECT_EQ(w.backBuffer(), before);
    }
}

// ---- DPI stages -----------------------------------------------------------------------------

TEST(DpiValues, Choosing4000ForStageTwoStoresLevel8AndUploadsTheOffCode) {
    WindowFixture f(test::sampleRecord());
    MainWindow& w = *f.window;
    clickAt(w, centre(L::dpiValueClickArea(1)));
    QListWidget* values = list(w, L::ListId::DpiValue);
    ASSERT_NE(values, nullptr);
    EXPECT_TRUE(test::standsAt(values, QRect(575, 375, 84, 100)));
    EXPECT_EQ(items(values),
              QStringList({"400", "800", "1200", "1600", "2000", "2400", "2800", "3200", "4000"}));
    choose(w, L::ListId::DpiValue, 8);
    EXPECT_EQ(w.state().record.dpiLevel[1], 8);
    EXPECT_EQ(field(w, L::dpiValueFieldId(1))->text(), "4000");
    EXPECT_EQ(list(w, L::ListId::DpiValue), nullptr);
    // Other stages keep theirs.
    EXPECT_EQ(w.state().record.dpiLevel[0], 0);
    EXPECT_EQ(w.state().record.dpiLevel[2], 2);

    // Variant 0 codes level 8 as 0x27; with the stage off bit 7 goes with it.
    w.state().record.dpiStageEnabled[1] = 0;
    w.session().apply();
    EXPECT_EQ(f.mouse.memory()[0xD8 + 1], 0xA7); // dpiCode[1]: 0x27 | 0x80 (stage off)
    EXPECT_EQ(f.mouse.memory()[0xD8 + 0], 0x02); // dpiCode[0]: level 0, on
}

TEST(DpiValues, TheListFollowsTheSensorVariantUpToItsDpiCodes) {
    struct Case {
        uint8_t variant;
        QStringList offered;
    };
    const Case cases[] = {
        {0, {"400", "800", "1200", "1600", "2000", "2400", "2800", "3200", "4000"}},
        // Variant 1 names ten levels but has codes for eight.
        {1, {"250", "500", "1000", "1250", "1500", "1750", "2000", "2500"}},
        {2, {"250", "500", "750", "1000", "1250", "1500", "2000", "2500"}},
        {3, {"400", "800", "1200", "1600", "2000", "2400", "2800", "3200"}},
        {4, {}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << "variant " << int(c.variant));
        WindowFixture f(test::sampleRecord());
        MainWindow& w = *f.window;
        // The mouse reports another sensor: reconnect through the notifications.
        std::array<uint8_t, kImageSize> memory = f.mouse.memory();
        memory[0xC1] = c.variant; // sensorVariant
        f.mouse.setMemory(memory);
        f.mouse.unplug();
        for (const HidrawEvent& e : f.mouse.hotplugEvents(HidrawEvent::Kind::Removed))
            w.deviceWatcher().handleEvent(e);
        f.mouse.plug();
        for (const HidrawEvent& e : f.mouse.hotplugEvents(HidrawEvent::Kind::Added))
            w.deviceWatcher().handleEvent(e);
        ASSERT_TRUE(w.device().connected());
        ASSERT_EQ(w.device().sensorVariant(), c.variant);

        clickAt(w, centre(L::dpiValueClickArea(4)));
        QListWidget* values = list(w, L::ListId::DpiValue);
        ASSERT_NE(values, nullptr); // made even when it has nothing to offer
        EXPECT_EQ(items(values), c.offered);
        if (c.offered.isEmpty())
            continue;
        const int last = static_cast<int>(c.offered.size()) - 1;
        choose(w, L::ListId::DpiValue, last);
        EXPECT_EQ(w.state().record.dpiLevel[4], last);
        EXPECT_EQ(field(w, L::dpiValueFieldId(4))->text(), c.offered.last());
    }
}

TEST(DpiValues, TheListTogglesAcrossStagesAndNeverRewritesAnUnnamedLevel) {
    SettingsRecord r = test::sampleRecord();
    r.dpiLevel[0] = 12; // no name in the variant's row
    WindowFixture f(r);
    MainWindow& w = *f.window;
    EXPECT_EQ(field(w, L::dpiValueFieldId(0))->text(), "");

    // The list under a stage covers the fields of the next three stages; stage 5's field is
    // the first one below it.
    clickAt(w, centre(L::dpiValueClickArea(0)));
    ASSERT_NE(list(w, L::ListId::DpiValue), nullptr);
    EXPECT_EQ(list(w, L::ListId::DpiValue)->geometry().top(), 345);
    // Another stage's field only closes the open list ...
    clickAt(w, centre(L::dpiValueClickArea(4)));
    EXPECT_EQ(list(w, L::ListId::DpiValue), nullptr);
    EXPECT_EQ(w.page().values().selectedDpiStage(), 4);
    // ... and opens it under that stage at the next click.
    clickAt(w, centre(L::dpiValueClickArea(4)));
    QListWidget* values = list(w, L::ListId::DpiValue);
    ASSERT_NE(values, nullptr);
    EXPECT_EQ(values->geometry().top(), 345 + 4 * 30);

    // A choice notification without a chosen item changes nothing and keeps the list.
    w.page().values().onValueListChoice(L::ListId::DpiValue);
    EXPECT_EQ(list(w, L::ListId::DpiValue), values);
    // Clicks elsewhere on the page do not close it; only a DPI field does.
    clickAt(w, centre(L::reportRateSegment(0)));
    EXPECT_EQ(list(w, L::ListId::DpiValue), values);
    clickAt(w, centre(L::dpiValueClickArea(0)));
    EXPECT_EQ(list(w, L::ListId::DpiValue), nullptr);
    // Opening and closing never touched the unnamed level.
    EXPECT_EQ(w.state().record.dpiLevel[0], 12);
    EXPECT_EQ(field(w, L::dpiValueFieldId(0))->text(), "");

    // The stage clicked last gets the next choice.
    clickAt(w, centre(L::dpiValueClickArea(2)));
    choose(w, L::ListId::DpiValue, 6);
    EXPECT_EQ(w.state().record.dpiLevel[2], 6);
    EXPECT_EQ(field(w, L::dpiValueFieldId(2))->text(), "2800");
    EXPECT_EQ(w.state().record.dpiLevel[0], 12);
    EXPECT_EQ(w.state().record.dpiLevel[4], 4);
}

TEST(DpiColours, TheSwatchAsksForAColourOnlyForAnEnabledStage) {
    SettingsRecord r = test::sampleRecord();
    r.dpiStageEnabled[2] = 0;
    WindowFixture f(r);
    MainWindow& w = *f.window;
    const SettingsRecord before = w.state().record;

    // Stage 3 is off: nothing opens.
    f.services.colours.push_back(QColor(9, 9, 9));
    clickAt(w, centre(L::dpiColourSwatch(2)));
    EXPECT_TRUE(f.services.chooserInitials.empty());
    EXPECT_EQ(0, std::memcmp(w.state().record.dpiColor, before.dpiColor, sizeof before.dpiColor));

    // Stage 1: the chooser starts at black; the answer is stored and painted.
    f.services.colours.front() = QColor(10, 20, 30);
    clickAt(w, centre(L::dpiColourSwatch(0)));
    ASSERT_EQ(f.services.chooserInitials.size(), 1u);
    EXPECT_EQ(f.services.chooserInitials[0], QColor(Qt::black));
    EXPECT_EQ(w.state().record.dpiColor[0][0], 10);
    EXPECT_EQ(w.state().record.dpiColor[0][1], 20);
    EXPECT_EQ(w.state().record.dpiColor[0][2], 30);
    QLabel* swatch = field(w, L::dpiColourSwatchId(0));
    EXPECT_EQ(swatch->palette().color(QPalette::Window), QColor(10, 20, 30));
    EXPECT_EQ(swatch->grab().toImage().pixelColor(8, 8), QColor(10, 20, 30));

    // Cancel in the chooser changes nothing.
    clickAt(w, centre(L::dpiColourSwatch(1)));
    EXPECT_EQ(f.services.chooserInitials.size(), 2u);
    EXPECT_EQ(0, std::memcmp(w.state().record.dpiColor[1], before.dpiColor[1], 3));
    EXPECT_EQ(field(w, L::dpiColourSwatchId(1))->palette().color(QPalette::Window),
              QColor(40, 100, 200));
}

// ---- lighting -------------------------------------------------------------------------------

TEST(Lighting, ParameterAndEffectChoicesStoreTheirIndexes) {
    struct Case {
        const char* what;
        uint8_t mode;
        layout::Rect clickArea;
        L::ListId listId;
        QRect geometry;
        int count;
        int row;
        std::size_t offset; // of the record byte
        uint8_t stored;
        int fieldId;
        QString shown;
    };
    const Case cases[] = {
        {"brightness 100%", 1, L::lightParameterClickArea, L::ListId::LightParameter,
         QRect(767, 377, 84, 170), 10, 9, offsetof(SettingsRecord, lightBrightness), 9,
         L::lightParameterFieldId, "100%"},
        {"speed 4S", 2, L::lightParameterClickArea, L::ListId::LightParameter,
         QRect(767, 377, 84, 90), 5, 4, offsetof(SettingsRecord, breathSpeed), 4,
         L::lightParameterFieldId, "4S"},
        {"effect RGB Flash", 2, L::lightEffectClickArea, L::ListId::LightEffect,
         QRect(766, 407, 85, 40), 2, 1, offsetof(SettingsRecord, breathEffect), 2,
         L::lightEffectFieldId, "RGB Flash"},
        {"effect RGB Effect", 2, L::lightEffectClickArea, L::ListId::LightEffect,
         QRect(766, 407, 85, 40), 2, 0, offsetof(SettingsRecord, breathEffect), 1,
         L::lightEffectFieldId, "RGB Effect"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        SettingsRecord r = test::sampleRecord();
        r.lightMode = c.mode;
        r.lightBrightness = 0;
        r.breathSpeed = 0;
        r.breathEffect = 2 - static_cast<uint8_t>(c.row == 1); // the other effect
        WindowFixture f(r);
        MainWindow& w = *f.window;
        clickAt(w, centre(c.clickArea));
        QListWidget* l = list(w, c.listId);
        ASSERT_NE(l, nullptr);
        EXPECT_TRUE(test::standsAt(l, c.geometry));
        EXPECT_EQ(l->count(), c.count);
        choose(w, c.listId, c.row);
        EXPECT_EQ(w.state().record.bytes()[c.offset], c.stored);
        EXPECT_EQ(field(w, c.fieldId)->text(), c.shown);
        EXPECT_EQ(list(w, c.listId), nullptr);
        EXPECT_EQ(w.state().record.lightMode, c.mode);
    }
}

TEST(Lighting, RespirationShowsRgbEffectUntilThePageIsBuiltAgain) {
    SettingsRecord r = test::sampleRecord();
    r.lightMode = 1;
    r.breathSpeed = 1;
    r.breathEffect = 2;
    WindowFixture f(r);
    MainWindow& w = *f.window;
    clickAt(w, centre(L::lightModeClickArea));
    QListWidget* modes = list(w, L::ListId::LightMode);
    ASSERT_NE(modes, nullptr);
    EXPECT_TRUE(test::standsAt(modes, QRect(766, 347, 85, 60)));
    EXPECT_EQ(items(modes), QStringList({"Off", "Standard", "Respiration"}));
    choose(w, L::ListId::LightMode, 2);
    EXPECT_EQ(w.state().record.lightMode, 2);
    EXPECT_EQ(w.state().record.breathEffect, 2);
    EXPECT_EQ(field(w, L::lightModeFieldId)->text(), "Respiration");
    EXPECT_EQ(field(w, L::lightParameterFieldId)->text(), "7S");
    EXPECT_EQ(field(w, L::lightEffectFieldId)->text(), "RGB Effect");

    // Applied, hidden with Cancel and shown again: the page is built anew from the record.
    w.session().apply();
    w.onCancel();
    w.onTrayClick(MainWindow::TrayClick::Left);
    EXPECT_EQ(field(w, L::lightEffectFieldId)->text(), "RGB Flash");

    // "Off" empties both fields; "Standard" shows the brightness and the one effect.
    clickAt(w, centre(L::lightModeClickArea));
    choose(w, L::ListId::LightMode, 0);
    EXPECT_EQ(w.state().record.lightMode, 0);
    EXPECT_EQ(field(w, L::lightModeFieldId)->text(), "Off");
    EXPECT_EQ(field(w, L::lightParameterFieldId)->text(), "");
    EXPECT_EQ(field(w, L::lightEffectFieldId)->text(), "");
    clickAt(w, centre(L::lightModeClickArea));
    choose(w, L::ListId::LightMode, 1);
    EXPECT_EQ(field(w, L::lightParameterFieldId)->text(), "100%");
    EXPECT_EQ(field(w, L::lightEffectFieldId)->text(), "RGB Effect");
}

TEST(Lighting, NeonTextsAndNoListsInNeonMode) {
    struct Case {
        uint8_t speed;
        const char* shown;
    };
    for (Case c :
         {Case{0, "0.5S"}, Case{1, "1S"}, Case{28, "14.5S"}, Case{29, "15S"}, Case{30, ""}}) {
        SCOPED_TRACE(c.shown);
        SettingsRecord r = test::sampleRecord();
        r.lightMode = 3;
        r.neonSpeed = c.speed;
        WindowFixture f(r);
        MainWindow& w = *f.window;
        EXPECT_EQ(field(w, L::lightModeFieldId)->text(), "Neon");
        EXPECT_EQ(field(w, L::lightParameterFieldId)->text(), c.shown);
        clickAt(w, centre(L::lightParameterClickArea));
        clickAt(w, centre(L::lightEffectClickArea));
        EXPECT_EQ(list(w, L::ListId::LightParameter), nullptr);
        EXPECT_EQ(list(w, L::ListId::LightEffect), nullptr);
        EXPECT_EQ(w.state().record.neonSpeed, c.speed);
    }
}

TEST(Lighting, FieldsWithoutAListStillToggleTheirState) {
    WindowFixture f(test::sampleRecord()); // Standard mode
    MainWindow& w = *f.window;
    QLabel* effect = field(w, L::lightEffectFieldId);
    // Standard mode shows its one effect instead of a list, and the field counts as open.
    effect->setText("x");
    clickAt(w, centre(L::lightEffectClickArea));
    EXPECT_EQ(effect->text(), "RGB Effect");
    EXPECT_EQ(list(w, L::ListId::LightEffect), nullptr);
    effect->setText("x");
    clickAt(w, centre(L::lightEffectClickArea)); // only closes
    EXPECT_EQ(effect->text(), "x");
    clickAt(w, centre(L::lightEffectClickArea)); // opens again
    EXPECT_EQ(effect->text(), "RGB Effect");

    // Neon: the parameter field opens nothing but is open; the next click only closes it.
    w.state().record.lightMode = 3;
    clickAt(w, centre(L::lightParameterClickArea));
    EXPECT_EQ(list(w, L::ListId::LightParameter), nullptr);
    w.state().record.lightMode = 1;
    clickAt(w, centre(L::lightParameterClickArea));
    EXPECT_EQ(list(w, L::ListId::LightParameter), nullptr);
    clickAt(w, centre(L::lightParameterClickArea));
    EXPECT_NE(list(w, L::ListId::LightParameter), nullptr);
    // A click elsewhere closes it; clearing the open state, so the field opens at once again.
    w.state().record.lightMode = 3;
    clickAt(w, centre(L::lightParameterClickArea)); // closes the list
    clickAt(w, centre(L::lightParameterClickArea)); // open, nothing shown
    clickAt(w, centre(L::reportRateSegment(3)));    // outside: closed
    w.state().record.lightMode = 1;
    clickAt(w, centre(L::lightParameterClickArea));
    EXPECT_NE(list(w, L::ListId::LightParameter), nullptr);
}

TEST(Lighting, AClickOutsideClosesTheOpenList) {
    WindowFixture f(test::sampleRecord());
    MainWindow& w = *f.window;
    clickAt(w, centre(L::lightModeClickArea));
    ASSERT_NE(list(w, L::ListId::LightMode), nullptr);
    clickAt(w, centre(L::lightModeClickArea)); // its own field: closes
    EXPECT_EQ(list(w, L::ListId::LightMode), nullptr);
    clickAt(w, centre(L::lightModeClickArea));
    ASSERT_NE(list(w, L::ListId::LightMode), nullptr);
    clickAt(w, centre(L::reportRateSegment(1)));
    EXPECT_EQ(list(w, L::ListId::LightMode), nullptr);
    EXPECT_EQ(w.state().record.reportRate, 4); // the click still did its own work
    // Opening the parameter list closes nothing of its own; a click on the mode field
    // closes it and opens the mode list.
    clickAt(w, centre(L::lightParameterClickArea));
    ASSERT_NE(list(w, L::ListId::LightParameter), nullptr);
    clickAt(w, centre(L::lightModeClickArea));
    EXPECT_EQ(list(w, L::ListId::LightParameter), nullptr);
    EXPECT_NE(list(w, L::ListId::LightMode), nullptr);
}

// ---- end to end through the demo ------------------------------------------------------------

QByteArray readAll(const QString& path) {
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

// Runs a program to its end; its output goes into `output`.
bool runProgram(const QString& program, const QStringList& args, const QString& workDir,
                QString& output) {
    QProcess p;
    p.setWorkingDirectory(workDir);
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen"));
    p.setProcessEnvironment(env);
    p.setProcessChannelMode(QProcess::MergedChannels);
    p.start(program, args);
    const bool finished = p.waitForFinished(120000);
    output = QString::fromLocal8Bit(p.readAll());
    return finished && p.exitStatus() == QProcess::NormalExit && p.exitCode() == 0;
}

TEST(ValueControlsDemo, ScriptChangesReachTheSimulatedMouse) {
    const QString bin = QStringLiteral(Z417_BIN_DIR);
    ASSERT_TRUE(QFile::exists(bin + "/z417-demo")) << "build z417-demo first";
    ASSERT_TRUE(QFile::exists(bin + "/z417ctl")) << "build z417ctl first";
    QTemporaryDir tmp;
    ASSERT_TRUE(tmp.isValid());
    const QString data = tmp.path() + "/data"; // made from the defaults by the demo
    const QString script = QStringLiteral(Z417_SOURCE_DIR "/tests/scripts/value_controls.txt");

    QString output;
    ASSERT_TRUE(
        runProgram(bin + "/z417-demo", {"--data", data, "--script", script}, tmp.path(), output))
        << output.toStdString();

    // The main window's block after Apply (dumped by the script into its working folder).
    const QByteArray block = readAll(tmp.path() + "/block.bin");
    ASSERT_EQ(block.size(), static_cast<int>(sizeof(ProfileBlock)));
    auto image = [&block](int offset) { return static_cast<uint8_t>(block[2 + offset]); };
    EXPECT_EQ(static_cast<uint8_t>(block[0]), 4); // reportRate header: 250 Hz
    EXPECT_EQ(image(0xD8 + 2), 0x27);             // dpiCode[2]: level 8 ("4000"), stage on
    EXPECT_EQ(image(0x118 + 3), 18);              // stageColor[1]: R
    EXPECT_EQ(image(0x118 + 4), 52);              //                G
    EXPECT_EQ(image(0x118 + 5), 86);              //                B
    EXPECT_EQ(image(0xCA), 2);                    // lightMode: Respiration
    EXPECT_EQ(image(0xCB), 4);                    // lightLevel: breathSpeed 4 ("4S")
    EXPECT_EQ(image(0xCC), 3);                    // lightKind: RGB Flash
    EXPECT_EQ(image(0xC7), 2);                    // lightSub: RGB Flash
    EXPECT_EQ(image(0xC8), 0x7D);                 // lightTimeA
    EXPECT_EQ(image(0xC9), 3);                    // lightTimeB

    // The record as saved: the same choices, and "config.bin" holds them.
    const QByteArray settings = readAll(tmp.path() + "/settings.bin");
    ASSERT_EQ(settings.size(), static_cast<int>(sizeof(SettingsRecord)));
    SettingsRecord record;
    std::memcpy(&record, settings.constData(), sizeof record);
    EXPECT_EQ(record.reportRate, 4);
    EXPECT_EQ(record.dpiLevel[2], 8);
    EXPECT_EQ(record.lightMode, 2);
    EXPECT_EQ(record.breathSpeed, 4);
    EXPECT_EQ(record.breathEffect, 2);
    EXPECT_EQ(readAll(data + "/config.bin").mid(1), settings);

    // The simulated mouse itself, read back by another process.
    const QString device = "sim:" + data + "/mouse.state";
    ASSERT_TRUE(runProgram(bin + "/z417ctl",
                           {"--device", device, "read", "--out", tmp.path() + "/mouse.bin"},
                           tmp.path(), output))
        << output.toStdString();
    const QByteArray mouse = readAll(tmp.path() + "/mouse.bin");
    ASSERT_EQ(mouse.size(), static_cast<int>(sizeof(ProfileBlock)));
    // Every chunk the upload writes (image 0x40 on) equals the window's block.
    EXPECT_EQ(mouse.mid(2 + 0x40).toHex().toStdString(), block.mid(2 + 0x40).toHex().toStdString());
    ASSERT_TRUE(runProgram(bin + "/z417ctl", {"--device", device, "status"}, tmp.path(), output))
        << output.toStdString();
    EXPECT_TRUE(output.contains("(code 4)")) << output.toStdString();
}

} // namespace
} // namespace z417
