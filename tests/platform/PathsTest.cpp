#include "platform/Paths.h"

#include <gtest/gtest.h>

#include <filesystem>

namespace z417 {
namespace {

TEST(Paths, ReplaceAllCountsEveryOccurrence) {
    const struct {
        const char* text;
        const char* search;
        const char* replacement;
        const char* result;
        int count;
    } cases[] = {
        {"a.exe", "a.exe", "b", "b", 1},
        {"x a.exe y a.exe", "a.exe", "", "x  y ", 2},
        {"A.EXE", "a.exe", "b", "A.EXE", 0}, // case-sensitive
        {"aaaa", "aa", "a", "aa", 2},        // non-overlapping, left to right
        {"aaa", "a", "aa", "aaaaaa", 3},     // replaced text is not searched again
        {"", "a", "b", "", 0},
        {"abc", "", "x", "abc", 0}, // an empty search replaces nothing
        {"abc", "abcd", "x", "abc", 0},
    };
    for (const auto& c : cases) {
        const ReplaceResult r = replaceAll(c.text, c.search, c.replacement);
        EXPECT_EQ(r.text, c.result) << c.text << " / " << c.search;
        EXPECT_EQ(r.count, c.count) << c.text << " / " << c.search;
    }
}

TEST(Paths, WindowsNameIsReplacedLiterally) {
    const AppPaths p = buildAppPaths("D:\\Tools\\Z417 Gaming mouse.exe");
    EXPECT_EQ(p.modulePath, "D:\\Tools\\Z417 Gaming mouse.exe");
    EXPECT_EQ(p.configBin, "D:\\Tools\\config.bin");
    EXPECT_EQ(p.strIni, "D:\\Tools\\str.ini");
    EXPECT_EQ(p.exeDir, "D:\\Tools\\");
    EXPECT_EQ(skinFolder(p, "Black"), "D:\\Tools\\/Skins/Black");
    // A missing skin name leaves the "/Skins/" folder itself.
    EXPECT_EQ(skinFolder(p, ""), "D:\\Tools\\/Skins/");

    // Every occurrence is replaced, also inside folder names.
    const AppPaths twice = buildAppPaths("/opt/Z417 Gaming mouse.exe/Z417 Gaming mouse.exe");
    EXPECT_EQ(twice.configBin, "/opt/config.bin/config.bin");
    EXPECT_EQ(twice.strIni, "/opt/str.ini/str.ini");

    // A different case is not the Windows name.
    const AppPaths lower = buildAppPaths("/opt/z417 gaming mouse.exe");
    EXPECT_EQ(lower.configBin, "/opt/config.bin");
    EXPECT_EQ(lower.exeDir, "/opt");
}

TEST(Paths, OtherNamesUseTheExecutablesFolder) {
    const struct {
        const char* module;
        const char* dir;
        const char* configBin;
        const char* strIni;
        const char* skin;
    } cases[] = {
        {"/usr/bin/z417-gaming-mouse", "/usr/bin", "/usr/bin/config.bin", "/usr/bin/str.ini",
         "/usr/bin/Skins/Red"},
        {"/home/u/My Tools/z417-demo", "/home/u/My Tools", "/home/u/My Tools/config.bin",
         "/home/u/My Tools/str.ini", "/home/u/My Tools/Skins/Red"},
        {"/z417", "/", "/config.bin", "/str.ini", "/Skins/Red"},
        {"z417", ".", "./config.bin", "./str.ini", "./Skins/Red"},
    };
    for (const auto& c : cases) {
        const AppPaths p = buildAppPaths(c.module);
        EXPECT_EQ(p.modulePath, c.module);
        EXPECT_EQ(p.exeDir, c.dir) << c.module;
        EXPECT_EQ(p.configBin, c.configBin) << c.module;
        EXPECT_EQ(p.strIni, c.strIni) << c.module;
        EXPECT_EQ(skinFolder(p, "Red"), c.skin) << c.module;
    }
}

TEST(Paths, ModulePathIsThisTestProgram) {
    const Result<std::string> read = readModulePath();
    ASSERT_TRUE(read);
    EXPECT_TRUE(read.status().messages.empty());
    const std::string module = *read;
    const std::filesystem::path path(module);
    EXPECT_TRUE(path.is_absolute()) << module;
    EXPECT_EQ(path.filename(), "z417_core_tests");
    EXPECT_EQ(std::filesystem::canonical(path.parent_path()),
              std::filesystem::canonical(Z417_BIN_DIR));

    // The settings files copied beside the program are found through the path rule.
    const AppPaths paths = buildAppPaths(module);
    EXPECT_TRUE(std::filesystem::is_regular_file(paths.configBin)) << paths.configBin;
    EXPECT_TRUE(std::filesystem::is_regular_file(paths.strIni)) << paths.strIni;
}

} // namespace
} // namespace z417
