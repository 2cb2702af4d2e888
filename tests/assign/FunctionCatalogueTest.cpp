#include "assign/FunctionCatalogue.h"
#include "profile/BuildStep.h"

#include <gtest/gtest.h>

#include <cstring>
#include <deque>

namespace z417 {
namespace {

// Dialogs that answer from queues; an empty queue is a cancelled dialog.
class ScriptedDialogs final : public ParameterDialogs {
public:
    bool windowsKey(Choice& out) override { return next(choices, out); }
    bool mediaKey(Choice& out) override { return next(choices, out); }
    bool hotKey(Choice& out) override { return next(choices, out); }
    bool snipe(Choice& out) override { return next(choices, out); }
    bool fireKey(FireKey& out) override { return next(fireKeys, out); }
    bool singleKey(std::string& name) override { return next(keyNames, name); }

    std::deque<Choice> choices;
    std::deque<FireKey> fireKeys;
    std::deque<std::string> keyNames;
    int opened = 0;

private:
    template <class T> bool next(std::deque<T>& q, T& out) {
        ++opened;
        if (q.empty())
            return false;
        out = q.front();
        q.pop_front();
        return true;
    }
};

struct Fixture {
    SettingsRecord record{};
    AssignmentLabels labels;
    TextTable texts{Language::English};
    ScriptedDialogs dialogs;
    Fixture() { restoreDefaultAssignments(record, labels, texts); }
    bool store(int set, int slot, int position, uint8_t variant = 0) {
        return storeFunctionChoice(record, labels, set, slot, position, texts, variant, dialogs);
    }
    ButtonEntry entry(int set, int slot) const { return encodeButton(record, set, slot); }
};

TEST(FunctionCatalogue, DirectFunctionsAndTheirLabels) {
    Fixture f;
    struct Case {
        int position;
        const char* label;
        ButtonEntry entry;
    };
    for (const Case& c : {Case{0, "Left Click", {0xF0, 0}}, Case{3, "Forward", {0xF4, 0}},
                          Case{4, "Backward", {0xF3, 0}}, Case{12, "Key Off", {0, 0}}}) {
        for (int set = 0; set < 2; ++set) {
            ASSERT_TRUE(f.store(set, 2, c.position));
            EXPECT_EQ(f.labels.label[set][2], c.label);
            EXPECT_EQ(f.entry(set, 2).code, c.entry.code);
            EXPECT_EQ(f.entry(set, 2).type, c.entry.type);
        }
    }
    EXPECT_EQ(f.dialogs.opened, 0);
}

TEST(FunctionCatalogue, DialogFunctionsWriteParametersOnlyOnOk) {
    Fixture f;
    const SettingsRecord before = f.record;
    // HotKey cancelled: nothing changes.
    EXPECT_FALSE(f.store(0, 1, kFnHotKey));
    EXPECT_EQ(0, memcmp(&before, &f.record, sizeof before));
    EXPECT_EQ(f.labels.label[0][1], "Right Click");

    f.dialogs.choices = {{2, "Ctrl+V"}, {4, "Mute"}, {0, "Calculator"}, {3, "1000"}};
    ASSERT_TRUE(f.store(0, 1, kFnHotKey));
    EXPECT_EQ(f.labels.label[0][1], "Ctrl+V");
    EXPECT_EQ(f.entry(0, 1).code, 0x12);
    EXPECT_EQ(f.entry(0, 1).type, 2);
    ASSERT_TRUE(f.store(1, 2, kFnMultimedia));
    EXPECT_EQ(f.labels.label[1][2], "Multimedia-Mute");
    EXPECT_EQ(f.record.mediaIndex[1][2], 4);
    ASSERT_TRUE(f.store(1, 3, kFnWindows));
    EXPECT_EQ(f.labels.label[1][3], "Calculator");
    EXPECT_EQ(f.entry(1, 3).code, 7);
    ASSERT_TRUE(f.store(0, 4, kFnSnipeKey, 2)); // variant 2: entry 3 is code 0x08
    EXPECT_EQ(f.labels.label[0][4], "Snipe Key-1000");
    EXPECT_EQ(f.record.snipeChoice[0][4], 3);
    EXPECT_EQ(f.record.snipeDpi, 0x08);
    EXPECT_EQ(f.entry(0, 4).code, 0x0A);
    EXPECT_EQ(f.entry(0, 4).type, 3);
    // The other key set is untouched.
    EXPECT_EQ(f.record.keyFunction[1][1], kFnRightClick);
}

TEST(FunctionCatalogue, FireKeysShareTheLatestTimes) {
    Fixture f;
    f.dialogs.fireKeys = {{58, "F12", 0, 10, 20}, {5, "A", 127, 40, 50}};
    ASSERT_TRUE(f.store(0, 0 + 3, kFnFireKey));
    ASSERT_TRUE(f.store(1, 4, kFnFireKey));
    EXPECT_EQ(f.labels.label[0][3], "Fire Key-F12");
    EXPECT_EQ(f.record.fireChoice[0][3], 58);
    EXPECT_EQ(f.entry(0, 3).code, 0x45);
    EXPECT_EQ(f.entry(0, 3).type, 0x80); // fire until released
    EXPECT_EQ(f.entry(1, 4).code, 0x04);
    EXPECT_EQ(f.entry(1, 4).type, 0xFF);
    ProfileBlock b{};
    buildProfileBlock(f.record, 0, b);
    EXPECT_EQ(b.deviceImage.fireMakeTime, 40);
    EXPECT_EQ(b.deviceImage.fireBreakTime, 50);
}

TEST(FunctionCatalogue, SingleKeyUsesTheNameTable) {
    Fixture f;
    f.dialogs.keyNames = {"Right Ctrl", "Menu"};
    ASSERT_TRUE(f.store(0, 2, kFnSingleKey));
    EXPECT_EQ(f.labels.label[0][2], "Single Key-Right Ctrl");
    EXPECT_EQ(f.entry(0, 2).code, 0xE4);
    ASSERT_TRUE(f.store(0, 2, kFnSingleKey)); // a name the table does not know
    EXPECT_EQ(f.labels.label[0][2], "Single Key-Menu");
    EXPECT_EQ(f.entry(0, 2).code, 0);
    EXPECT_EQ(f.entry(0, 2).type, 0);
}

TEST(FunctionCatalogue, ShiftRules) {
    Fixture f;
    // Shift goes to one slot in both key sets.
    ASSERT_TRUE(f.store(0, 2, kFnShift));
    EXPECT_EQ(f.record.keyFunction[0][2], kFnShift);
    EXPECT_EQ(f.record.keyFunction[1][2], kFnShift);
    EXPECT_EQ(f.labels.label[1][2], "Shift");
    // Refused for another slot while the edited set holds it.
    EXPECT_FALSE(f.store(0, 4, kFnShift));
    EXPECT_FALSE(f.store(1, 4, kFnShift));
    EXPECT_EQ(f.record.keyFunction[0][4], kFnBackward);
    // The DPI sub-list path writes only the edited set.
    storeDpiSwitchChoice(f.record, f.labels, 0, 2, 1);
    EXPECT_EQ(f.record.keyFunction[0][2], kFnDpiSwitch);
    EXPECT_EQ(f.record.dpiSwitchParam[0][2], 4);
    EXPECT_EQ(f.labels.label[0][2], "DPI -");
    EXPECT_EQ(f.record.keyFunction[1][2], kFnShift);
    // Replacing Shift in set B writes both sets and both labels.
    ASSERT_TRUE(f.store(1, 2, kFnForward));
    EXPECT_EQ(f.record.keyFunction[0][2], kFnForward);
    EXPECT_EQ(f.record.keyFunction[1][2], kFnForward);
    EXPECT_EQ(f.labels.label[0][2], "Forward");
    EXPECT_EQ(f.labels.label[1][2], "Forward");
    // Shift now free again; a dialog choice replacing Shift copies the label too.
    ASSERT_TRUE(f.store(1, 5, kFnShift));
    f.dialogs.choices = {{1, "Ctrl+X"}};
    ASSERT_TRUE(f.store(0, 5, kFnHotKey));
    EXPECT_EQ(f.record.keyFunction[1][5], kFnHotKey);
    EXPECT_EQ(f.labels.label[1][5], "Ctrl+X");
}

TEST(FunctionCatalogue, DpiSwitchFromTheListStoresNothingAndDefaultEncodesLoop) {
    Fixture f;
    f.record.keyFunction[0][1] = kFnKeyOff;
    EXPECT_FALSE(f.store(0, 1, kFnDpiSwitch));
    EXPECT_EQ(f.record.keyFunction[0][1], kFnKeyOff);
    restoreDefaultAssignments(f.record, f.labels, f.texts);
    EXPECT_EQ(f.labels.label[0][5], "DPI Loop");
    EXPECT_EQ(f.entry(0, 5).code, 5);
    EXPECT_EQ(f.entry(0, 5).type, 3);
}

TEST(FunctionCatalogue, LeftClickGuard) {
    SettingsRecord r{};
    restoreDefaultKeys(r);
    EXPECT_TRUE(leftClickGuardRefuses(r, 0, 0)); // the only Left Click
    EXPECT_FALSE(leftClickGuardRefuses(r, 0, 1));
    r.keyFunction[0][3] = kFnLeftClick;
    EXPECT_FALSE(leftClickGuardRefuses(r, 0, 0));
    EXPECT_TRUE(leftClickGuardRefuses(r, 1, 0)); // set B still has one
    r.keyFunction[1][7] = kFnLeftClick;          // a stored-only slot counts too
    EXPECT_FALSE(leftClickGuardRefuses(r, 1, 0));
    EXPECT_FALSE(leftClickGuardRefuses(r, 2, 0)); // no such key set
}

TEST(FunctionCatalogue, LabelsFollowTheLanguage) {
    Fixture f;
    f.texts = TextTable(Language::TraditionalChinese);
    f.dialogs.choices = {{1, "播放"}};
    ASSERT_TRUE(f.store(0, 1, kFnMultimedia));
    EXPECT_EQ(f.labels.label[0][1], "多媒體-播放");
    ASSERT_TRUE(f.store(0, 2, kFnHotKey) == false); // no more answers: cancelled
}

} // namespace
} // namespace z417
