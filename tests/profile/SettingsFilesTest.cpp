#include "profile/SettingsFiles.h"

#include "platform/AtomicFile.h"
#include "platform/FolderLock.h"

#include "support/MessageLog.h"
#include "support/TestFiles.h"

#include <gtest/gtest.h>

#include <cerrno>
#include <climits>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <sys/stat.h>

namespace z417 {
namespace {

namespace fs = std::filesystem;

struct SettingsTempDir : test::TempDir {
    SettingsTempDir() : TempDir("z417-settings") {}
};

using test::FaultHookGuard;
using test::readRaw;
using test::writeRaw;

LoadedSettings loadAndLog(const std::string& path, SettingsRecord& record,
                          test::MessageLog& shown) {
    LoadedSettings loaded = loadSettings(path, record);
    shown(loaded.status);
    return loaded;
}

// A record whose every byte differs from its neighbours, so a shifted copy shows.
SettingsRecord patternRecord(uint8_t seed) {
    SettingsRecord record{};
    for (size_t i = 0; i < sizeof record; ++i) {
        record.bytes()[i] = static_cast<uint8_t>(seed + i * 7);
    }
    return record;
}

std::string configFile(uint8_t flag, const SettingsRecord& record) {
    std::string bytes(1, static_cast<char>(flag));
    bytes.append(reinterpret_cast<const char*>(record.bytes()), sizeof record);
    return bytes;
}

bool isZero(const SettingsRecord& record) {
    const SettingsRecord zero{};
    return std::memcmp(record.bytes(), zero.bytes(), sizeof record) == 0;
}

// ---------------------------------------------------------------------------------------------
// config.bin

TEST(ConfigBin, FirstRunFileLoadsAndTheSaveMarksItSaved) {
    SettingsTempDir dir;
    const std::string path = dir.file("config.bin");
    const SettingsRecord stored = patternRecord(3);
    writeRaw(path, configFile(0, stored));

    test::MessageLog shown;
    SettingsRecord record{};
    const LoadedSettings loaded = loadAndLog(path, record, shown);
    EXPECT_TRUE(loaded.loaded);
    EXPECT_EQ(loaded.firstRunFlag, 0);
    EXPECT_EQ(std::memcmp(record.bytes(), stored.bytes(), sizeof record), 0);
    EXPECT_TRUE(shown.messages.empty());

    record.reportRate = 8;        // offset 0x05
    record.keyFunction[1][3] = 9; // offset 0x3B + 8 + 3
    ASSERT_TRUE(shown(saveSettings(path, record)));
    EXPECT_TRUE(shown.messages.empty());
    const std::string saved = readRaw(path);
    ASSERT_EQ(saved.size(), kConfigFileSize);
    EXPECT_EQ(saved[0], 1); // byte 0: first-run flag, now "saved"
    EXPECT_EQ(saved.substr(1), configFile(0, record).substr(1)); // bytes 1..219: the record
    EXPECT_EQ(static_cast<uint8_t>(saved[1 + 0x05]), 8);
    EXPECT_EQ(static_cast<uint8_t>(saved[1 + 0x3B + 11]), 9);

    SettingsRecord again{};
    const LoadedSettings reloaded = loadAndLog(path, again, shown);
    EXPECT_TRUE(reloaded.loaded);
    EXPECT_EQ(reloaded.firstRunFlag, 1);
    EXPECT_EQ(std::memcmp(again.bytes(), record.bytes(), sizeof record), 0);
}

TEST(ConfigBin, AnyOtherSizeIsIgnoredSilently) {
    SettingsTempDir dir;
    const std::string path = dir.file("config.bin");
    for (const size_t size : {size_t{0}, size_t{1}, size_t{219}, size_t{221}, size_t{440}}) {
        writeRaw(path, std::string(size, '\x05'));
        test::MessageLog shown;
        SettingsRecord record{};
        const LoadedSettings loaded = loadAndLog(path, record, shown);
        EXPECT_FALSE(loaded.loaded) << size;
        EXPECT_EQ(loaded.error, 0) << size;
        EXPECT_TRUE(isZero(record)) << size;
        EXPECT_TRUE(shown.messages.empty()) << size;
    }
    // The next save turns such a file into a correct one.
    test::MessageLog shown;
    const SettingsRecord record = patternRecord(40);
    ASSERT_TRUE(shown(saveSettings(path, record)));
    EXPECT_EQ(readRaw(path), configFile(1, record));
}

// The command line tool names the size it found; the record is filled only from a whole file.
TEST(ConfigBin, ReadingTellsTheSizeFoundAndFillsOnlyFromAWholeFile) {
    SettingsTempDir dir;
    const std::string path = dir.file("config.bin");
    const SettingsRecord pattern = patternRecord(7);
    struct Case {
        size_t size; // SIZE_MAX: no file
        int error;
        size_t sizeSeen;
        bool whole;
    } cases[] = {{0, 0, 0, false},       {219, 0, 219, false},    {220, 0, 220, true},
                 {221, EFBIG, 0, false}, {4096, EFBIG, 0, false}, {SIZE_MAX, ENOENT, 0, false}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.size);
        std::remove(path.c_str());
        if (c.size != SIZE_MAX)
            writeRaw(path, configFile(3, pattern).append(c.size, '\x05').substr(0, c.size));
        SettingsRecord record{};
        const ConfigFileRead read = readConfigFile(path, record);
        EXPECT_EQ(read.error, c.error);
        EXPECT_EQ(read.size, c.sizeSeen);
        EXPECT_EQ(read.whole(), c.whole);
        EXPECT_EQ(read.firstRunFlag, c.whole ? 3 : 0);
        EXPECT_EQ(std::memcmp(record.bytes(), pattern.bytes(), sizeof record) == 0, c.whole);
        EXPECT_EQ(isZero(record), !c.whole);
    }
}

TEST(ConfigBin, MissingFileIsReportedAndNeverCreated) {
    SettingsTempDir dir;
    const std::string path = dir.file("config.bin");
    test::MessageLog shown;
    SettingsRecord record{};
    EXPECT_FALSE(loadAndLog(path, record, shown).loaded);
    EXPECT_TRUE(isZero(record));
    EXPECT_FALSE(shown(saveSettings(path, patternRecord(1))));
    EXPECT_FALSE(fileExists(path));
    ASSERT_EQ(shown.messages.size(), 2u);
    for (const auto& message : shown.messages) {
        EXPECT_EQ(message.text, "Config file is not exist.");
        EXPECT_EQ(message.caption, "Z417 Gaming mouse");
    }
}

TEST(ConfigBin, UnreadableFileLoadsNothingAndSaysWhyToTheCaller) {
    SettingsTempDir dir;
    const std::string path = dir.file("config.bin");
    ASSERT_TRUE(fs::create_directory(path)); // exists, but reading fails even for root
    test::MessageLog shown;
    SettingsRecord record{};
    const LoadedSettings loaded = loadAndLog(path, record, shown);
    EXPECT_FALSE(loaded.loaded);
    EXPECT_EQ(loaded.error, EISDIR);
    EXPECT_TRUE(isZero(record));
    EXPECT_TRUE(shown.messages.empty());
}

// A FIFO (no writer) or a device where the files should be: unreadable at start, never waited
// on, and never replaced by a save, which reports it like any failed write.
TEST(SettingsFilesSafety, FifoOrDeviceIsUnreadableAndNeverReplaced) {
    SettingsTempDir dir;
    const std::string config = dir.file("config.bin");
    const std::string ini = dir.file("str.ini");
    ASSERT_EQ(mkfifo(config.c_str(), 0600), 0);
    ASSERT_EQ(mkfifo(ini.c_str(), 0600), 0);
    test::MessageLog shown;
    SettingsRecord record = patternRecord(3);
    const LoadedSettings loaded = loadAndLog(config, record, shown);
    EXPECT_FALSE(loaded.loaded);
    EXPECT_EQ(loaded.error, kErrNotRegularFile);
    EXPECT_TRUE(shown.messages.empty());
    EXPECT_EQ(loadLabels(ini, "Setting-EN").readError, kErrNotRegularFile);
    EXPECT_EQ(loadSkinValues("/dev/zero").readError, kErrNotRegularFile);

    EXPECT_FALSE(shown(saveSettings(config, record)));
    AssignmentLabels labels;
    EXPECT_FALSE(shown(saveLabels(ini, "Setting-EN", labels)));
    ASSERT_EQ(shown.messages.size(), 2u);
    EXPECT_EQ(shown.messages[0].caption, kWriteFailedCaption);
    struct stat st {};
    EXPECT_TRUE(stat(config.c_str(), &st) == 0 && S_ISFIFO(st.st_mode));
    EXPECT_TRUE(stat(ini.c_str(), &st) == 0 && S_ISFIFO(st.st_mode));
}

TEST(ConfigBin, FailedSaveKeepsTheOldFileAndShowsTheErrorCode) {
    SettingsTempDir dir;
    const std::string path = dir.file("config.bin");
    const std::string original = configFile(0, patternRecord(9));
    writeRaw(path, original);
    test::MessageLog shown;
    {
        FaultHookGuard guard([](size_t) { return ENOSPC; });
        EXPECT_FALSE(shown(saveSettings(path, patternRecord(77))));
    }
    EXPECT_TRUE(readRaw(path) == original);
    ASSERT_EQ(shown.messages.size(), 1u);
    EXPECT_EQ(shown.messages[0].text, "Error Code is: 28 \n"); // ENOSPC
    EXPECT_EQ(shown.messages[0].caption, "NULL ==fp ");
    EXPECT_EQ(dir.entries().size(), 2u) << "temporary file left beside the folder's lock";
    EXPECT_TRUE(fileExists(dir.file(kFolderLockName)));
}

// ---------------------------------------------------------------------------------------------
// str.ini

const char* const kThreeLanguages = "\xEF\xBB\xBF[Skins]\r\n"
                                    "Lan=CHT\r\n"
                                    "Path=Black\r\n"
                                    "RColor=255\r\n"
                                    "GColor=128\r\n"
                                    "BColor=0\r\n"
                                    "\r\n"
                                    "[Setting-CHS]\r\n"
                                    "Item1=\xE5\xB7\xA6\xE9\x94\xAE\r\n" // 左键
                                    "Item13=chs-b0\r\n"
                                    "\r\n"
                                    "[Setting-CHT]\r\n"
                                    "Item1=\xE5\xB7\xA6\xE9\x8D\xB5\r\n" // 左鍵
                                    "item2 = cht-a1\r\n"
                                    "Item83=cht-b7\r\n"
                                    "; hand-written note\r\n"
                                    "\r\n"
                                    "[Setting-EN]\r\n"
                                    "Item1=Left Click\r\n";

TEST(StrIni, LabelsComeFromTheLanguageSectionOnly) {
    SettingsTempDir dir;
    const std::string path = dir.file("str.ini");
    writeRaw(path, kThreeLanguages);

    const SkinValues skin = loadSkinValues(path);
    EXPECT_EQ(skin.languageCode, "CHT");
    EXPECT_EQ(skin.path, "Black");
    EXPECT_EQ(skin.red, 255);
    EXPECT_EQ(skin.green, 128);
    EXPECT_EQ(skin.blue, 0);
    EXPECT_EQ(skin.readError, 0);
    ASSERT_EQ(labelSectionFor(skin.languageCode), "Setting-CHT");

    const AssignmentLabels labels = loadLabels(path, "Setting-CHT");
    EXPECT_EQ(labels.label[0][0], "\xE5\xB7\xA6\xE9\x8D\xB5");
    EXPECT_EQ(labels.label[0][1], "cht-a1");
    EXPECT_EQ(labels.label[1][7], "cht-b7");
    EXPECT_EQ(labels.label[1][0], ""); // Item13 only exists in another language's section
    EXPECT_EQ(labels.label[0][2], "");
}

TEST(StrIni, SavingLabelsRewritesTheLanguageSectionAndNothingElse) {
    SettingsTempDir dir;
    const std::string path = dir.file("str.ini");
    writeRaw(path, kThreeLanguages);

    AssignmentLabels labels;
    for (int set = 0; set < 2; ++set) {
        for (int slot = 0; slot < 8; ++slot) {
            labels.label[set][slot] = "L" + std::to_string(set) + std::to_string(slot);
        }
    }
    test::MessageLog shown;
    ASSERT_TRUE(shown(saveLabels(path, "Setting-CHT", labels)));
    EXPECT_TRUE(shown.messages.empty());
    // Existing keys keep their line and spelling; missing ones follow in Item1..Item83 order
    // before the section's trailing blank line; every other byte is as it was.
    EXPECT_EQ(readRaw(path), "\xEF\xBB\xBF[Skins]\r\n"
                             "Lan=CHT\r\n"
                             "Path=Black\r\n"
                             "RColor=255\r\n"
                             "GColor=128\r\n"
                             "BColor=0\r\n"
                             "\r\n"
                             "[Setting-CHS]\r\n"
                             "Item1=\xE5\xB7\xA6\xE9\x94\xAE\r\n"
                             "Item13=chs-b0\r\n"
                             "\r\n"
                             "[Setting-CHT]\r\n"
                             "Item1=L00\r\n"
                             "item2 = L01\r\n"
                             "Item83=L17\r\n"
                             "; hand-written note\r\n"
                             "Item3=L02\r\n"
                             "Item4=L03\r\n"
                             "Item5=L04\r\n"
                             "Item6=L05\r\n"
                             "Item7=L06\r\n"
                             "Item8=L07\r\n"
                             "Item13=L10\r\n"
                             "Item23=L11\r\n"
                             "Item33=L12\r\n"
                             "Item43=L13\r\n"
                             "Item53=L14\r\n"
                             "Item63=L15\r\n"
                             "Item73=L16\r\n"
                             "\r\n"
                             "[Setting-EN]\r\n"
                             "Item1=Left Click\r\n");
    const AssignmentLabels back = loadLabels(path, "setting-cht");
    for (int set = 0; set < 2; ++set) {
        for (int slot = 0; slot < 8; ++slot) {
            EXPECT_EQ(back.label[set][slot], labels.label[set][slot]) << set << "/" << slot;
        }
    }
}

TEST(StrIni, FirstSaveIntoAMissingFileWritesTheKeysInOrder) {
    SettingsTempDir dir;
    const std::string path = dir.file("str.ini");
    const AssignmentLabels empty = loadLabels(path, "Setting-EN");
    EXPECT_EQ(empty.readError, ENOENT);
    EXPECT_EQ(empty.label[1][7], "");

    AssignmentLabels labels;
    labels.label[0][0] = "Left Click";
    labels.label[1][5] = "DPI Loop";
    test::MessageLog shown;
    ASSERT_TRUE(shown(saveLabels(path, "Setting-EN", labels)));
    EXPECT_EQ(readRaw(path), "[Setting-EN]\nItem1=Left Click\nItem2=\nItem3=\nItem4=\nItem5=\n"
                             "Item6=\nItem7=\nItem8=\nItem13=\nItem23=\nItem33=\nItem43=\n"
                             "Item53=\nItem63=DPI Loop\nItem73=\nItem83=\n");
}

TEST(StrIni, FailedLabelSaveIsReportedOnceAndChangesNothing) {
    SettingsTempDir dir;
    const std::string path = dir.file("str.ini");
    writeRaw(path, kThreeLanguages);
    AssignmentLabels labels;
    labels.label[0][0] = "changed";
    test::MessageLog shown;
    {
        FaultHookGuard guard([](size_t) { return EDQUOT; });
        EXPECT_FALSE(shown(saveLabels(path, "Setting-CHT", labels)));
    }
    EXPECT_EQ(readRaw(path), kThreeLanguages);
    ASSERT_EQ(shown.messages.size(), 1u);
    EXPECT_EQ(shown.messages[0].text, "Error Code is: " + std::to_string(EDQUOT) + " \n");
    EXPECT_EQ(shown.messages[0].caption, "NULL ==fp ");

    // A label with a line break cannot be stored without breaking the file: refused as a whole.
    labels.label[1][2] = "two\nlines";
    EXPECT_FALSE(shown(saveLabels(path, "Setting-CHT", labels)));
    EXPECT_EQ(readRaw(path), kThreeLanguages);
    ASSERT_EQ(shown.messages.size(), 2u);
    EXPECT_EQ(shown.messages[1].text, "Error Code is: 22 \n"); // EINVAL
}

TEST(StrIni, SkinSaveWritesColoursThenPath) {
    SettingsTempDir dir;
    const std::string path = dir.file("str.ini");
    test::MessageLog shown;
    ASSERT_TRUE(shown(saveSkin(path, "Blue Sky", 12, 0, 255)));
    EXPECT_EQ(readRaw(path), "[Skins]\nRColor=12\nGColor=0\nBColor=255\nPath=Blue Sky\n");

    writeRaw(path, kThreeLanguages);
    ASSERT_TRUE(shown(saveSkin(path, "Red", 1, 2, 3)));
    std::string expected = kThreeLanguages;
    for (const auto& [from, to] : {std::pair<std::string, std::string>{"Path=Black", "Path=Red"},
                                   {"RColor=255", "RColor=1"},
                                   {"GColor=128", "GColor=2"},
                                   {"BColor=0", "BColor=3"}}) {
        expected.replace(expected.find(from), from.size(), to);
    }
    EXPECT_EQ(readRaw(path), expected);
    EXPECT_TRUE(shown.messages.empty());
}

TEST(StrIni, MissingFileReadsAsEmptyValues) {
    SettingsTempDir dir;
    const SkinValues skin = loadSkinValues(dir.file("str.ini"));
    EXPECT_EQ(skin.languageCode, "");
    EXPECT_EQ(skin.path, "");
    EXPECT_EQ(skin.red + skin.green + skin.blue, 0);
    EXPECT_EQ(skin.readError, ENOENT);
    EXPECT_EQ(labelSectionFor(skin.languageCode), "Setting-EN");
}

TEST(StrIni, LanguageCodeChoosesTheLabelSectionExactly) {
    EXPECT_EQ(labelSectionFor("CHS"), "Setting-CHS");
    EXPECT_EQ(labelSectionFor("CHT"), "Setting-CHT");
    EXPECT_EQ(labelSectionFor("chs"), "Setting-EN");
    EXPECT_EQ(labelSectionFor("CHS "), "Setting-EN");
    EXPECT_EQ(labelSectionFor("EN"), "Setting-EN");
}

TEST(StrIni, ColoursAreReadLikeWtoi) {
    struct Case {
        const char* text;
        int expected;
    } cases[] = {
        {"255", 255},
        {"0", 0},
        {"", 0},
        {"abc", 0},
        {"12abc", 12},
        {"  42", 42},
        {"+7", 7},
        {"-5", -5},
        {"- 5", 0},
        {"0x1F", 0},
        {"2147483647", INT_MAX},
        {"2147483648", INT_MAX},
        {"99999999999999999999", INT_MAX},
        {"-2147483648", INT_MIN},
        {"-99999999999999999999", INT_MIN},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(decimalPrefixToInt(c.text), c.expected) << '"' << c.text << '"';
    }
    // Through the file as well.
    SettingsTempDir dir;
    const std::string path = dir.file("str.ini");
    writeRaw(path, "[skins]\nrcolor = 12abc\nGCOLOR=x\nBColor=  -3  \n");
    const SkinValues skin = loadSkinValues(path);
    EXPECT_EQ(skin.red, 12);
    EXPECT_EQ(skin.green, 0);
    EXPECT_EQ(skin.blue, -3);
}

} // namespace
} // namespace z417
