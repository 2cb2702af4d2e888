#include "platform/IniFile.h"
#include "platform/AtomicFile.h"

#include "support/TestFiles.h"

#include <gtest/gtest.h>

#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <strings.h>
#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/un.h>
#include <unistd.h>

namespace z417 {
namespace {

namespace fs = std::filesystem;
using namespace std::string_literals;

struct IniTempDir : test::TempDir {
    IniTempDir() : TempDir("z417-ini") {}
};

using test::FaultHookGuard;
using test::readRaw;
using test::writeRaw;

// ---------------------------------------------------------------------------------------------
// Reading

struct LookupCase {
    const char* what;
    std::string content;
    const char* section;
    const char* key;
    const char* expected;
};

TEST(IniLookup, FindsValuesTheWayTheProfileFunctionsDo) {
    const std::string bom = "\xEF\xBB\xBF";
    const LookupCase cases[] = {
        {"plain", "[Skins]\nLan=CHT\n", "Skins", "Lan", "CHT"},
        {"section and key ignore ASCII case", "[sKINS]\nlAN=CHT\n", "Skins", "LAN", "CHT"},
        {"blanks around key and value", "[Skins]\n \t Lan \t=  CHT \t \n", "Skins", "Lan", "CHT"},
        {"blanks inside the brackets", "  [ Skins ]  \nLan=CHT\n", "Skins", "Lan", "CHT"},
        {"CRLF line ends", "[Skins]\r\nLan=CHT\r\nPath=Black\r\n", "Skins", "Path", "Black"},
        {"no line end at the end", "[Skins]\nPath=Black", "Skins", "Path", "Black"},
        {"BOM before the first section", bom + "[Skins]\r\nLan=CHS\r\n", "Skins", "Lan", "CHS"},
        {"missing section", "[Skins]\nLan=CHT\n", "Setting-EN", "Item1", ""},
        {"missing key", "[Skins]\nLan=CHT\n", "Skins", "Path", ""},
        {"empty file", "", "Skins", "Lan", ""},
        {"key of another section", "[A]\nk=1\n[B]\nj=2\n", "B", "k", ""},
        {"entries before any section belong to none", "Lan=X\n[Skins]\n", "Skins", "Lan", ""},
        {"comment is not an entry", "[S]\n;Lan=X\n", "S", ";Lan", ""},
        {"first section of a name wins", "[S]\na=1\n[s]\nb=2\n", "S", "b", ""},
        {"first key of a name wins", "[S]\nk=1\nK=2\n", "S", "k", "1"},
        {"matched double quotes are dropped", "[S]\nk = \"a=b\" \n", "S", "k", "a=b"},
        {"matched single quotes are dropped", "[Skins]\nLan='CHS'\n", "Skins", "Lan", "CHS"},
        {"blanks inside quotes are kept", "[S]\nk=\" x \"\n", "S", "k", " x "},
        {"only the outer pair goes", "[S]\nk=\"a\"b\"\n", "S", "k", "a\"b"},
        {"unmatched quote stays", "[S]\nk=\"CHS\n", "S", "k", "\"CHS"},
        {"mixed quotes stay", "[S]\nk=\"CHS'\n", "S", "k", "\"CHS'"},
        {"a lone quote stays", "[S]\nk=\"\n", "S", "k", "\""},
        {"empty quotes read empty", "[S]\nk=\"\"\n", "S", "k", ""},
        {"blanks around '=' with quotes", "[S]\n k \t= \t\"v\"\t\n", "S", "k", "v"},
        {"duplicate section: the first one only", "[S]\nk=1\n[T]\n[S]\nk=2\nj=3\n", "S", "j", ""},
        {"empty value", "[S]\nk=\nj=2\n", "S", "k", ""},
        {"'[' without ']' does not end the section", "[S]\n[broken\nk=v\n", "S", "k", "v"},
        {"line without '=' ignored", "[S]\nk\nk=v\n", "S", "k", "v"},
        {"text after ']' ignored", "[S] trailing\nk=v\n", "S", "k", "v"},
        {"name runs to the last ']'", "[a]b]\nk=v\n", "a]b", "k", "v"},
        {"garbage bytes around", "\xFF\xFE\x00\x01\n[S]\n\x80\x81=\xC0\nk=v\n\xFF"s, "S", "k", "v"},
        {"NUL ends the value as in a C buffer", "[S]\nk=ab\0cd\n"s, "S", "k", "ab"},
        {"empty key is never found", "[S]\n=v\n", "S", "", ""},
        {"empty section is never found", "[]\nk=v\n", "", "k", ""},
    };
    for (const LookupCase& c : cases) {
        EXPECT_EQ(iniLookup(c.content, c.section, c.key), c.expected) << c.what;
    }
}

TEST(IniLookup, LongValuesAreCutAt1023CodePointsNeverInsideOne) {
    const std::string euro = "\xE2\x82\xAC";     // U+20AC, 3 bytes
    const std::string grin = "\xF0\x9F\x98\x80"; // U+1F600, 4 bytes
    struct Case {
        const char* what;
        std::string value;
        std::string expected;
    } cases[] = {
        {"exactly 1023 kept", std::string(1023, 'a'), std::string(1023, 'a')},
        {"1024 cut to 1023", std::string(1024, 'a'), std::string(1023, 'a')},
        {"3000 cut to 1023", std::string(3000, 'x'), std::string(1023, 'x')},
        {"4-byte character as the 1023rd kept whole", std::string(1022, 'a') + grin + "b",
         std::string(1022, 'a') + grin},
        {"4-byte character as the 1024th dropped whole", std::string(1023, 'a') + grin,
         std::string(1023, 'a')},
        {"1023 three-byte characters",
         [&] {
             std::string s;
             for (int i = 0; i < 1500; ++i) {
                 s += euro;
             }
             return s;
         }(),
         [&] {
             std::string s;
             for (int i = 0; i < 1023; ++i) {
                 s += euro;
             }
             return s;
         }()},
        {"invalid bytes count one each", std::string(1100, '\xFF'), std::string(1023, '\xFF')},
    };
    for (const Case& c : cases) {
        const std::string content = "[S]\nk=" + c.value + "\nnext=ok\n";
        EXPECT_EQ(iniLookup(content, "S", "k"), c.expected) << c.what;
        EXPECT_EQ(iniLookup(content, "S", "next"), "ok") << c.what << ": line after a long one";
    }
}

TEST(Utf8Prefix, CountsWellFormedSequencesAsOneAndAnythingElseByteByByte) {
    struct Case {
        const char* what;
        std::string text;
        size_t maxChars;
        size_t expectedBytes;
    } cases[] = {
        {"ASCII", "abcdef", 4, 4},
        {"two-byte", "\xC3\xA9\xC3\xA9", 1, 2},
        {"three-byte", "\xE4\xB8\xAD\xE6\x96\x87", 1, 3},
        {"four-byte", "\xF0\x9F\x98\x80z", 1, 4},
        {"truncated sequence at the end", "a\xE4\xB8", 2, 2},
        {"overlong C0 80 is two bytes of garbage", "\xC0\x80", 1, 1},
        {"surrogate ED A0 80 is garbage", "\xED\xA0\x80", 1, 1},
        {"F5 lead is garbage", "\xF5\x80\x80\x80", 2, 2},
        {"stray continuation bytes", "\x80\x80\x80", 2, 2},
        {"more characters allowed than present", "\xC3\xA9", 10, 2},
        {"zero characters", "abc", 0, 0},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(utf8PrefixBytes(c.text, c.maxChars), c.expectedBytes) << c.what;
    }
}

// ---------------------------------------------------------------------------------------------
// Updating

struct UpdateCase {
    const char* what;
    std::string before;
    const char* section;
    std::vector<std::pair<std::string, std::string>> entries;
    std::string after;
};

TEST(IniUpdate, ChangesOnlyWhatItMust) {
    const std::string bom = "\xEF\xBB\xBF";
    const UpdateCase cases[] = {
        {"empty file gets section and key with LF",
         "",
         "Skins",
         {{"Path", "Black"}},
         "[Skins]\nPath=Black\n"},
        {"replace in place keeps key spelling and spacing",
         "[Skins]\npath = Black\nLan=EN\n",
         "skins",
         {{"PATH", "White"}},
         "[Skins]\npath = White\nLan=EN\n"},
        {"a value with its own leading blanks replaces the spacing",
         "[S]\nk = old\n",
         "S",
         {{"k", "\tnew"}},
         "[S]\nk =\tnew\n"},
        {"replace drops the old trailing blanks",
         "[S]\nk=old   \n",
         "S",
         {{"k", "new"}},
         "[S]\nk=new\n"},
        {"new key before the section's trailing blank lines",
         "[A]\na=1\n\n \n[B]\nb=2\n",
         "A",
         {{"c", "3"}},
         "[A]\na=1\nc=3\n\n \n[B]\nb=2\n"},
        {"new key after a comment at the section end",
         "[A]\na=1\n; note\n",
         "A",
         {{"c", "3"}},
         "[A]\na=1\n; note\nc=3\n"},
        {"new key into an empty section", "[A]\n[B]\n", "A", {{"k", "v"}}, "[A]\nk=v\n[B]\n"},
        {"last line without line end gets one", "[A]\na=1", "A", {{"b", "2"}}, "[A]\na=1\nb=2\n"},
        {"header as last line without line end", "[A]", "A", {{"b", "2"}}, "[A]\nb=2\n"},
        {"new section after one blank line",
         "[A]\na=1\n",
         "B",
         {{"b", "2"}},
         "[A]\na=1\n\n[B]\nb=2\n"},
        {"new section: no second blank line",
         "[A]\na=1\n\n",
         "B",
         {{"b", "2"}},
         "[A]\na=1\n\n[B]\nb=2\n"},
        {"new section after text without line end",
         "junk",
         "B",
         {{"b", "2"}},
         "junk\n\n[B]\nb=2\n"},
        {"CRLF file keeps CRLF",
         "[A]\r\na=1\r\n",
         "B",
         {{"b", "2"}, {"a", "x"}},
         "[A]\r\na=1\r\n\r\n[B]\r\nb=2\r\na=x\r\n"},
        {"CRLF in-place keeps the line end",
         "[A]\r\na=1\r\nz=9\r\n",
         "A",
         {{"a", "22"}},
         "[A]\r\na=22\r\nz=9\r\n"},
        {"BOM kept", bom + "[A]\na=1\n", "A", {{"a", "2"}}, bom + "[A]\na=2\n"},
        {"file holding only a BOM", bom, "A", {{"a", "2"}}, bom + "[A]\na=2\n"},
        {"only the first of two same-named sections",
         "[A]\nk=1\n[B]\n[a]\nk=2\n",
         "A",
         {{"k", "X"}, {"n", "Y"}},
         "[A]\nk=X\nn=Y\n[B]\n[a]\nk=2\n"},
        {"comments, unknown keys, garbage kept byte for byte",
         "; top\n\xFF\xFE\n[A]\n\x80=\x81\nother = 5\n[broken\n",
         "A",
         {{"k", "v"}},
         "; top\n\xFF\xFE\n[A]\n\x80=\x81\nother = 5\n[broken\nk=v\n"},
        {"entries applied in order, a later one wins",
         "",
         "S",
         {{"k", "1"}, {"K", "2"}},
         "[S]\nk=2\n"},
        {"refused entries skipped",
         "[S]\n",
         "S",
         {{"bad\nkey", "v"},
          {"k", "line\nbreak"},
          {"a=b", "v"},
          {"[k", "v"},
          {";k", "v"},
          {" k", "v"},
          {"", "v"},
          {"ok", "yes"}},
         "[S]\nok=yes\n"},
    };
    for (const UpdateCase& c : cases) {
        const std::string after = iniUpdate(c.before, c.section, c.entries);
        EXPECT_EQ(after, c.after) << c.what;
        EXPECT_EQ(iniUpdate(after, c.section, c.entries), after) << c.what << ": second write";
        // Every entry that was applied reads back (the last write of a key wins).
        for (const auto& [key, value] : c.entries) {
            if (iniEntryWritable(c.section, key, value)) {
                std::string last;
                for (const auto& [k2, v2] : c.entries) {
                    if (strcasecmp(k2.c_str(), key.c_str()) == 0) {
                        last = v2;
                    }
                }
                // Blanks around a value do not survive reading.
                const size_t first = last.find_first_not_of(" \t");
                last = first == std::string::npos
                           ? std::string()
                           : last.substr(first, last.find_last_not_of(" \t") - first + 1);
                EXPECT_EQ(iniLookup(after, c.section, key), last) << c.what << " / " << key;
            }
        }
    }
}

TEST(IniUpdate, RefusesNamesAndValuesTheFormatCannotCarry) {
    struct Case {
        std::string section, key, value;
        bool writable;
    } cases[] = {
        {"S", "k", "v", true},
        {"S", "k", "", true},
        {"S", "k", " a = \"b\" [c] ;d ", true}, // blanks around are lost on reading only
        {"a]b", "k", "v", true},
        {"[S", "k", "v", true},
        {"", "k", "v", false},
        {"S", "", "v", false},
        {" S", "k", "v", false},
        {"S\t", "k", "v", false},
        {"S", "k ", "v", false},
        {"S\n", "k", "v", false},
        {"S", "k\r", "v", false},
        {"S", "k", "v\n", false},
        {"S", "k", "a\rb", false},
        {"S", "k", std::string("a\0b", 3), false},
        {std::string("S\0", 2), "k", "v", false},
        {"S", "a=b", "v", false},
        {"S", "[k", "v", false},
        {"S", ";k", "v", false},
        {"S", "k;", "v", true},
        {"S", "k]", "v", true},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(iniEntryWritable(c.section, c.key, c.value), c.writable)
            << "[" << c.section << "] " << c.key << "=" << c.value;
    }
}

// ---------------------------------------------------------------------------------------------
// Files

TEST(ProfileFile, MissingFileReadsEmptyAndTheFirstWriteCreatesIt) {
    IniTempDir dir;
    const std::string path = dir.file("str.ini");
    EXPECT_EQ(readProfileString(path, "Skins", "Lan"), "");
    EXPECT_EQ(readProfileFile(path).status().systemError, ENOENT);

    ASSERT_EQ(writeProfileString(path, "Skins", "Path", "Black").systemError, 0);
    EXPECT_EQ(readRaw(path), "[Skins]\nPath=Black\n");
    EXPECT_EQ(readProfileString(path, "SKINS", "path"), "Black");
    EXPECT_TRUE(readProfileFile(path));

    struct stat st {};
    ASSERT_EQ(stat(path.c_str(), &st), 0);
    const mode_t mask = umask(0);
    umask(mask);
    EXPECT_EQ(st.st_mode & 07777, 0666 & ~mask);
}

TEST(ProfileFile, SeveralKeysInOneRewriteEqualConsecutiveWrites) {
    IniTempDir dir;
    const std::string original = "\xEF\xBB\xBF; settings\r\n[Skins]\r\nLan=CHT\r\n\r\n"
                                 "[Setting-EN]\r\nItem1=Left\r\n";
    const std::vector<std::pair<std::string, std::string>> entries = {
        {"Item2", "Right"}, {"item1", "Fire Key"}, {"Item3", ""}, {"Item2", "Mid"}};
    const std::string one = dir.file("one.ini");
    const std::string many = dir.file("many.ini");
    writeRaw(one, original);
    writeRaw(many, original);
    ASSERT_EQ(writeProfileStrings(one, "Setting-EN", entries).systemError, 0);
    for (const auto& [key, value] : entries) {
        ASSERT_EQ(writeProfileString(many, "Setting-EN", key, value).systemError, 0);
    }
    EXPECT_EQ(readRaw(one), readRaw(many));
    EXPECT_EQ(readRaw(one), "\xEF\xBB\xBF; settings\r\n[Skins]\r\nLan=CHT\r\n\r\n"
                            "[Setting-EN]\r\nItem1=Fire Key\r\nItem2=Mid\r\nItem3=\r\n");
}

TEST(ProfileFile, RefusedEntryLeavesTheFileAlone) {
    IniTempDir dir;
    const std::string path = dir.file("str.ini");
    writeRaw(path, "[S]\nk=1\n");
    EXPECT_EQ(writeProfileStrings(path, "S", {{"k", "2"}, {"j", "two\nlines"}}).systemError,
              EINVAL);
    EXPECT_EQ(readRaw(path), "[S]\nk=1\n");
    EXPECT_EQ(writeProfileString(dir.file("new.ini"), "S", "bad=key", "v").systemError, EINVAL);
    EXPECT_FALSE(fileExists(dir.file("new.ini")));
}

TEST(ProfileFile, ReplacesByRenameAndSkipsWritesThatChangeNothing) {
    IniTempDir dir;
    const std::string path = dir.file("str.ini");
    writeRaw(path, "[S]\nk=1\n");
    struct stat before {};
    ASSERT_EQ(stat(path.c_str(), &before), 0);

    ASSERT_EQ(writeProfileString(path, "S", "K", "1").systemError,
              0); // same value: file not touched
    struct stat same {};
    ASSERT_EQ(stat(path.c_str(), &same), 0);
    EXPECT_EQ(same.st_ino, before.st_ino);

    ASSERT_EQ(writeProfileString(path, "S", "k", "2").systemError,
              0); // a new file renamed over the old
    struct stat after {};
    ASSERT_EQ(stat(path.c_str(), &after), 0);
    EXPECT_NE(after.st_ino, before.st_ino);
    EXPECT_EQ(readRaw(path), "[S]\nk=2\n");
}

TEST(ProfileFile, AFileThatCannotBeReadIsNotReplaced) {
    IniTempDir dir;
    // A folder where the file should be: it exists but reading it fails (even for root).
    const std::string path = dir.file("str.ini");
    ASSERT_TRUE(fs::create_directory(path));
    EXPECT_EQ(readProfileString(path, "S", "k"), "");
    EXPECT_EQ(readProfileFile(path).status().systemError, EISDIR);
    EXPECT_EQ(writeProfileString(path, "S", "k", "v").systemError, EISDIR);
    EXPECT_TRUE(fs::is_directory(path));

    // A socket: it exists, is no regular file, and a rename would replace it, so only the
    // read check keeps it.
    const std::string socketPath = dir.file("sock.ini");
    const int fd = socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0);
    ASSERT_GE(fd, 0);
    sockaddr_un address{};
    address.sun_family = AF_UNIX;
    ASSERT_LT(socketPath.size(), sizeof address.sun_path);
    std::memcpy(address.sun_path, socketPath.c_str(), socketPath.size() + 1);
    ASSERT_EQ(bind(fd, reinterpret_cast<const sockaddr*>(&address), sizeof address), 0);
    EXPECT_EQ(writeProfileString(socketPath, "S", "k", "v").systemError, kErrNotRegularFile);
    EXPECT_TRUE(fs::is_socket(socketPath));
    close(fd);
}

TEST(ProfileFile, FailedWriteHalfWayLeavesTheOldFileAndReportsTheError) {
    IniTempDir dir;
    const std::string path = dir.file("str.ini");
    // Large enough to need several write() calls.
    const std::string original =
        "[Big]\nfiller=" + std::string(3 * kAtomicWriteChunkBytes, 'f') + "\n[S]\nk=1\n";
    writeRaw(path, original);
    int calls = 0;
    setAtomicWriteFaultHook([&](size_t) { return ++calls == 2 ? ENOSPC : 0; });
    const int result = writeProfileString(path, "S", "k", "2").systemError;
    setAtomicWriteFaultHook({});
    EXPECT_EQ(result, ENOSPC);
    EXPECT_EQ(calls, 2);
    EXPECT_TRUE(readRaw(path) == original);
    size_t entries = 0;
    for (const auto& entry : fs::directory_iterator(fs::path(path).parent_path())) {
        (void)entry;
        ++entries;
    }
    EXPECT_EQ(entries, 1u) << "temporary file left behind";
}

// Windows writes Unicode profile files as UTF-16LE with a byte order mark; such a file is
// read, and a write keeps its encoding and every other line.
TEST(ProfileFile, Utf16LeFileIsReadAndWrittenBackInUtf16Le) {
    const auto utf16 = [](const std::string& utf8) {
        ProfileEncoding encoding = ProfileEncoding::Utf16Le;
        return encodeProfileText(utf8, encoding);
    };
    const std::string before =
        "[Skins]\r\nLan=\"CHS\"\r\n[Setting-CHS]\r\nItem1=左键\r\nItem2=\xF0\x9F\x98\x80\r\n";
    ASSERT_EQ(utf16(before).substr(0, 4), std::string("\xFF\xFE[\0", 4));
    test::TempDir dir;
    const std::string path = dir.file("str.ini");
    test::writeRaw(path, utf16(before));
    EXPECT_EQ(readProfileString(path, "Skins", "Lan"), "CHS");
    EXPECT_EQ(readProfileString(path, "Setting-CHS", "Item1"), "左键");
    EXPECT_EQ(readProfileString(path, "Setting-CHS", "Item2"),
              "\xF0\x9F\x98\x80"); // a surrogate pair

    ASSERT_EQ(writeProfileString(path, "Setting-CHS", "Item1", "火力键-F12").systemError, 0);
    const std::string after =
        "[Skins]\r\nLan=\"CHS\"\r\n[Setting-CHS]\r\nItem1=火力键-F12\r\nItem2=\xF0\x9F\x98\x80\r\n";
    EXPECT_EQ(test::readRaw(path), utf16(after));
}

TEST(ProfileFile, BrokenUtf16ReadsAsReplacementCharacters) {
    ProfileEncoding encoding = ProfileEncoding::Utf8;
    // A lone low surrogate, a high surrogate with nothing after it and an odd last byte.
    const std::string bytes("\xFF\xFEk\0=\0\x00\xDC\x00\xD8x", 11);
    EXPECT_EQ(decodeProfileBytes(bytes, encoding), "k=\xEF\xBF\xBD\xEF\xBF\xBD\xEF\xBF\xBD");
    EXPECT_EQ(encoding, ProfileEncoding::Utf16Le);
}

} // namespace
} // namespace z417
