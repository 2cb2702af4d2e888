#include "profile/SettingsPair.h"

#include "platform/AtomicFile.h"
#include "platform/IniFile.h"

#include "support/TestFiles.h"

#include <gtest/gtest.h>

#include <cerrno>
#include <string>

namespace z417 {
namespace {

using test::readRaw;
using test::writeRaw;

std::string configBytes(const SettingsRecord& r) {
    return std::string(1, '\1') + std::string(reinterpret_cast<const char*>(r.bytes()), sizeof r);
}

struct Folder : test::TempDir {
    Folder() : TempDir("z417-pair") {}
    std::string config() const { return file("config.bin"); }
    std::string ini() const { return file("str.ini"); }
    Result<SettingsPair> open(LockMode mode = LockMode::Shared) const {
        return SettingsPair::open(config(), ini(), mode);
    }
};

// A reload or an Apply meets files another program changed: a value the user did not touch
// takes the file's, a value the user changed stays, whatever the file says.
TEST(SettingsPairMerge, UserEditsStayAndUntouchedValuesComeFromTheFile) {
    struct Row {
        const char* name;
        uint8_t before, mine, file, expected;
        const char *labelBefore, *labelMine, *labelFile, *labelExpected;
    } rows[] = {
        {"untouched, changed in the file", 1, 1, 4, 4, "Forward", "Forward", "Key Off", "Key Off"},
        {"edited, file as before", 1, 8, 1, 8, "Forward", "Shift", "Forward", "Shift"},
        {"edited, changed in the file too", 1, 8, 4, 8, "Forward", "Shift", "Key Off", "Shift"},
        {"edited back to the file's value", 1, 4, 4, 4, "Forward", "Key Off", "Key Off", "Key Off"},
        {"nothing changed anywhere", 2, 2, 2, 2, "Forward", "Forward", "Forward", "Forward"},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        Folder folder;
        SettingsRecord file{};
        file.reportRate = row.file;
        file.keyFunction[1][7] = 9; // a byte nobody edited, changed in the file
        writeRaw(folder.config(), configBytes(file));
        writeRaw(folder.ini(),
                 std::string("[Setting-EN]\nItem4=") + row.labelFile + "\nItem13=From file\n");

        SettingsRecord before{}, mine{}, confirmed{};
        before.reportRate = row.before;
        mine.reportRate = row.mine;
        AssignmentLabels beforeLabels, mineLabels;
        beforeLabels.label[0][3] = row.labelBefore;
        mineLabels.label[0][3] = row.labelMine;
        const Result<SettingsPair> pair = folder.open();
        ASSERT_TRUE(pair);
        const bool changed = takeOverFileChanges(
            {mine, confirmed, mineLabels, before, beforeLabels}, *pair, "Setting-EN");

        EXPECT_EQ(mine.reportRate, row.expected);
        EXPECT_EQ(mine.keyFunction[1][7], 9);
        EXPECT_EQ(mineLabels.label[0][3], row.labelExpected);
        EXPECT_EQ(mineLabels.label[1][0], "From file");
        EXPECT_TRUE(changed); // at least the untouched byte and label
        EXPECT_EQ(configBytes(confirmed), configBytes(file));
        EXPECT_EQ(configBytes(before), configBytes(file));
        EXPECT_EQ(beforeLabels.label[0][3], row.labelFile);
    }
}

// A "config.bin" of another size holds no record: the record and its copies stay as they are.
TEST(SettingsPairMerge, AnUnreadableRecordLeavesTheEditsAlone) {
    Folder folder;
    writeRaw(folder.config(), std::string(100, '\7'));
    SettingsRecord mine{}, confirmed{}, before{};
    mine.reportRate = confirmed.reportRate = before.reportRate = 2;
    AssignmentLabels labels, beforeLabels;
    const Result<SettingsPair> pair = folder.open();
    ASSERT_TRUE(pair);
    EXPECT_FALSE(
        takeOverFileChanges({mine, confirmed, labels, before, beforeLabels}, *pair, "Setting-EN"));
    EXPECT_EQ(mine.reportRate, 2);
    EXPECT_EQ(confirmed.reportRate, 2);
}

// The writer never leaves a "str.ini" its own reader refuses: one label of 600,000 characters
// in a UTF-16 file would make it 1.2 MB.
TEST(SettingsPairWriter, RefusesAnIniTheReaderWouldRefuse) {
    Folder folder;
    writeRaw(folder.config(), configBytes(SettingsRecord{}));
    const std::string utf16 =
        encodeProfileText("[Setting-EN]\nItem1=Left Click\n", ProfileEncoding::Utf16Le);
    writeRaw(folder.ini(), utf16);
    const std::string huge(600000, 'x');
    {
        Result<SettingsPair> pair = folder.open(LockMode::Exclusive);
        ASSERT_TRUE(pair);
        SettingsRecord changed{};
        changed.reportRate = 8;
        pair->setConfig(1, changed);
        ASSERT_TRUE(pair->setIniEntries("Setting-EN", {{"Item1", huge}}));
        const Status committed = pair->commit();
        EXPECT_FALSE(committed);
        EXPECT_EQ(committed.systemError, EFBIG);
        ASSERT_EQ(committed.messages.size(), 1u);
        EXPECT_EQ(committed.messages[0].caption, folder.ini());
        EXPECT_EQ(committed.messages[0].text, "file too large");
    }
    EXPECT_EQ(writeProfileString(folder.ini(), "Setting-EN", "Item1", huge).systemError, EFBIG);
    EXPECT_EQ(readRaw(folder.ini()), utf16);
    EXPECT_EQ(readRaw(folder.config()), configBytes(SettingsRecord{}));
    // Half of it fits in UTF-8 and in UTF-16 alike, and reads back whole.
    EXPECT_EQ(
        writeProfileString(folder.ini(), "Setting-EN", "Item2", huge.substr(0, 300000)).systemError,
        0);
}

} // namespace
} // namespace z417
