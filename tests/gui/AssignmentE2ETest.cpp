// Every function given to a button of each key set through the demo, as a person would:
// open the slot's list, choose, answer the dialog, Apply. Then the simulated mouse's block,
// "config.bin" and "str.ini" on disk must hold the choice.
#include "GuiTestSupport.h"

#include "dialogs/DialogTexts.h"
#include "ui/Layout.h"
#include "ui/TextDraw.h"

#include <QDir>
#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace z417 {
namespace {

namespace L = layout::main;
namespace D = layout;

QString centreOf(const D::Rect& r) {
    return QStringLiteral("%1 %2").arg((r.left + r.right) / 2).arg((r.top + r.bottom) / 2);
}

struct Expected {
    uint8_t code;
    uint8_t type;
    std::string label;
};

// The steps inside the function's dialog, and what the slot must hold afterwards.
struct FunctionCase {
    int function;
    QString dialogSteps;
    Expected expected;
};

std::vector<FunctionCase> cases() {
    const QString ok = QStringLiteral("click ") + centreOf(D::dialog::okButton) + "\n";
    auto pick = [&](const D::DropDownGroup& g, int row) {
        return QStringLiteral("click ") + centreOf(g.selectorArea) + "\n" +
               QStringLiteral("select %1 %2\n").arg(g.listId).arg(row) + ok;
    };
    const QStringList launch = launchKeyNames(Language::English);
    const QStringList media = mediaKeyNames(Language::English);
    const QStringList hot = hotKeyNames(Language::English);
    return {
        {0, "", {0xF0, 0x00, "Left Click"}},
        {1, "", {0xF1, 0x00, "Right Click"}},
        {2, "", {0xF2, 0x00, "Mid Click"}},
        {3, "", {0xF4, 0x00, "Forward"}},
        {4, "", {0xF3, 0x00, "Backward"}},
        {5, "", {0x03, 0x03, "DPI +"}},
        {6, pick(D::windowsDialog::dropDown, 2), {0x09, 0x02, launch[2].toStdString()}},
        {7,
         pick(D::mediaDialog::dropDown, 3),
         {0x03, 0x02, "Multimedia-" + media[3].toStdString()}},
        {8, pick(D::hotKeyDialog::dropDown, 1), {0x11, 0x02, hot[1].toStdString()}},
        {9, pick(D::fireDialog::dropDown, 58), {0x45, 0x81, "Fire Key-F12"}},
        {10, "key Right Ctrl\n" + ok, {0xE4, 0x00, "Single Key-Right Ctrl"}},
        {11, pick(D::snipeDialog::dropDown, 3), {0x0A, 0x03, "Snipe Key-1000"}},
        {12, "", {0x00, 0x00, "Key Off"}},
        {13, "", {0x06, 0x03, "Shift"}},
    };
}

class AssignmentThroughTheDemo : public ::testing::TestWithParam<std::tuple<int, int>> {};

TEST_P(AssignmentThroughTheDemo, ReachesTheMouseAndTheFiles) {
    const int keySet = std::get<0>(GetParam());
    const FunctionCase c = cases()[static_cast<size_t>(std::get<1>(GetParam()))];
    const int slot = 2;
    QTemporaryDir tmp;
    const QString data = tmp.path() + "/data";
    const QString block = tmp.path() + "/block.bin";

    QString script = "wait 50\n";
    if (keySet == 1)
        script += "click " + centreOf(L::modeBButton) + "\n";
    script += "click " + centreOf(L::assignmentBox(slot)) + "\n";
    const D::Rect list = L::assignmentList(slot);
    if (c.function == 5) {
        // Rest on "DPI Switch": the sub-list opens beside it; take "DPI +". The rows are
        // as tall as the English normal font.
        const int row = listRowHeight(makeFont(fontsFor("EN", 0, 0).normal));
        script += QStringLiteral("move %1 %2\nrest\nselect 40 0\n")
                      .arg(list.left + 40)
                      .arg(list.top + 1 + row * 5 + row / 2);
    } else {
        script += QStringLiteral("select %1 %2\n")
                      .arg(static_cast<int>(L::assignmentListId(slot)))
                      .arg(c.function);
        script += c.dialogSteps;
    }
    script += "click " + centreOf(L::applyButton) + "\n";
    script += "dump-block " + block + "\nquit\n";

    const test::DemoRun run = test::runDemo(data, script);
    ASSERT_EQ(run.exitCode, 0) << run.output.toStdString();

    const std::string bytes = test::readFile(block.toStdString());
    ASSERT_EQ(bytes.size(), 322u) << run.output.toStdString();
    const size_t entry = 2 + (keySet == 0 ? 0x80 : 0xA0) + 2 * slot;
    EXPECT_EQ(static_cast<uint8_t>(bytes[entry]), c.expected.code) << run.output.toStdString();
    EXPECT_EQ(static_cast<uint8_t>(bytes[entry + 1]), c.expected.type);

    // The mouse itself holds the same bytes.
    const QString readBack = tmp.path() + "/mouse.bin";
    const int rc = std::system((QStringLiteral(Z417_BIN_DIR "/z417ctl --device sim:") + data +
                                "/mouse.state read --out " + readBack + " >/dev/null")
                                   .toLocal8Bit()
                                   .constData());
    ASSERT_EQ(rc, 0);
    const std::string mouse = test::readFile(readBack.toStdString());
    ASSERT_EQ(mouse.size(), 322u);
    EXPECT_EQ(mouse.substr(2), bytes.substr(2));

    const std::string config = test::readFile((data + "/config.bin").toStdString());
    ASSERT_EQ(config.size(), 220u);
    EXPECT_EQ(config[0], 1);
    EXPECT_EQ(static_cast<uint8_t>(config[1 + 0x3B + 8 * keySet + slot]),
              c.function == 13 ? 13 : c.function);
    if (c.function == 13) { // Shift goes to both key sets
        EXPECT_EQ(static_cast<uint8_t>(config[1 + 0x3B + 8 * (1 - keySet) + slot]), 13);
    }
    const std::string ini = test::readFile((data + "/str.ini").toStdString());
    const std::string key = keySet == 0 ? "Item3=" : "Item33=";
    EXPECT_NE(ini.find(key + c.expected.label + "\n"), std::string::npos) << ini;
}

std::string caseName(const ::testing::TestParamInfo<std::tuple<int, int>>& info) {
    return std::string(std::get<0>(info.param) == 0 ? "ModeA" : "ModeB") + "Function" +
           std::to_string(std::get<1>(info.param));
}

INSTANTIATE_TEST_SUITE_P(AllFunctions, AssignmentThroughTheDemo,
                         ::testing::Combine(::testing::Values(0, 1), ::testing::Range(0, 14)),
                         caseName);

} // namespace
} // namespace z417
