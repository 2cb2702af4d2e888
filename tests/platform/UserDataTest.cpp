#include "platform/UserData.h"

#include "platform/AtomicFile.h"

#include "support/TestFiles.h"

#include <gtest/gtest.h>

#include <cerrno>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <functional>
#include <optional>
#include <pwd.h>
#include <sys/stat.h>
#include <unistd.h>
#include <vector>

namespace z417 {
namespace {

namespace fs = std::filesystem;

// A result as the assertions read it: true and the value in out, or false and the messages'
// text in error, out left as it was.
template <class T> bool unpack(Result<T> result, T& out, std::string& error) {
    if (!result) {
        error.clear();
        for (const Message& m : result.status().messages)
            error += m.caption + ": " + m.text;
        return false;
    }
    out = std::move(*result);
    return true;
}

// Sets or clears environment variables for one test and puts the old values back afterwards.
class EnvGuard {
public:
    ~EnvGuard() {
        for (auto it = saved_.rbegin(); it != saved_.rend(); ++it) {
            if (it->second) {
                setenv(it->first.c_str(), it->second->c_str(), 1);
            } else {
                unsetenv(it->first.c_str());
            }
        }
    }
    void set(const std::string& name, const std::string& value) {
        remember(name);
        setenv(name.c_str(), value.c_str(), 1);
    }
    void unset(const std::string& name) {
        remember(name);
        unsetenv(name.c_str());
    }

private:
    void remember(const std::string& name) {
        const char* old = std::getenv(name.c_str());
        saved_.emplace_back(name, old ? std::optional<std::string>(old) : std::nullopt);
    }
    std::vector<std::pair<std::string, std::optional<std::string>>> saved_;
};

using test::FaultHookGuard;
using test::readRaw;
using test::writeRaw;

// A scratch tree: exe/ (the executable's folder), shared/ (the installed defaults with a
// 220-byte config.bin, a str.ini and Skins/) and cfg/ as XDG_CONFIG_HOME.
class UserData : public ::testing::Test {
public: // the data-driven cases below prepare the tree through a reference
    void SetUp() override {
        std::string pattern = (fs::temp_directory_path() / "z417-userdata-XXXXXX").string();
        ASSERT_NE(mkdtemp(pattern.data()), nullptr) << "mkdtemp: errno " << errno;
        root_ = pattern;
        fs::create_directories(exeDir());
        fs::create_directories(sharedDir() + "/Skins/Default");
        sharedConfig_ = std::string(220, '\0');
        for (size_t i = 1; i < sharedConfig_.size(); ++i) {
            sharedConfig_[i] = static_cast<char>(i * 7);
        }
        writeRaw(sharedDir() + "/config.bin", sharedConfig_);
        writeRaw(sharedDir() + "/str.ini", sharedIni_);
        env_.set("XDG_CONFIG_HOME", configHome());
    }
    void TearDown() override {
        std::error_code ec;
        fs::remove_all(root_, ec);
    }

    std::string exeDir() const { return root_ + "/exe"; }
    std::string sharedDir() const { return root_ + "/shared"; }
    std::string configHome() const { return root_ + "/cfg"; }
    std::string userDir() const { return configHome() + "/z417-gaming-mouse"; }

    // Names in the user folder that are neither the two settings files nor Skins.
    std::vector<std::string> strayFiles() const {
        std::vector<std::string> names;
        std::error_code ec;
        for (const auto& e : fs::directory_iterator(userDir(), ec)) {
            const std::string name = e.path().filename().string();
            if (name != "config.bin" && name != "str.ini" && name != "Skins") {
                names.push_back(name);
            }
        }
        return names;
    }

    std::string root_;
    std::string sharedConfig_;
    const std::string sharedIni_ = "[Skins]\nLan=EN\nPath=Default\n";
    EnvGuard env_;
};

TEST_F(UserData, ConfigBesideTheExecutableMeansPortable) {
    writeRaw(exeDir() + "/config.bin", std::string(220, '\x01'));

    DataLocation loc;
    std::string error;
    ASSERT_TRUE(unpack(resolveDataLocation(exeDir(), sharedDir()), loc, error)) << error;
    EXPECT_TRUE(loc.portable);
    EXPECT_EQ(loc.settingsDir, exeDir());
    EXPECT_EQ(loc.configBin, exeDir() + "/config.bin");
    EXPECT_EQ(loc.strIni, exeDir() + "/str.ini"); // used from there even while missing
    EXPECT_EQ(loc.skinsRoot, exeDir() + "/Skins");
    // The per-user folder is not even made.
    EXPECT_FALSE(fs::exists(configHome()));
}

TEST_F(UserData, FolderNamedConfigBinIsNotPortable) {
    fs::create_directories(exeDir() + "/config.bin");

    DataLocation loc;
    std::string error;
    ASSERT_TRUE(unpack(resolveDataLocation(exeDir(), sharedDir()), loc, error)) << error;
    EXPECT_FALSE(loc.portable);
    EXPECT_EQ(loc.settingsDir, userDir());
}

// Locating names the same files as resolving, but makes and copies nothing.
TEST_F(UserData, LocatingMakesNothing) {
    DataLocation located;
    std::string error;
    ASSERT_TRUE(unpack(locateDataLocation(exeDir(), sharedDir()), located, error)) << error;
    EXPECT_FALSE(fs::exists(configHome()));
    DataLocation resolved;
    ASSERT_TRUE(unpack(resolveDataLocation(exeDir(), sharedDir()), resolved, error)) << error;
    EXPECT_EQ(located.configBin, resolved.configBin);
    EXPECT_EQ(located.strIni, resolved.strIni);
    EXPECT_EQ(located.skinsRoot, resolved.skinsRoot);
}

TEST_F(UserData, FirstStartCopiesTheDefaultsAndLaterStartsKeepTheUsersFiles) {
    DataLocation loc;
    std::string error;
    ASSERT_TRUE(unpack(resolveDataLocation(exeDir(), sharedDir()), loc, error)) << error;
    EXPECT_FALSE(loc.portable);
    EXPECT_EQ(loc.settingsDir, userDir());
    EXPECT_EQ(loc.configBin, userDir() + "/config.bin");
    EXPECT_EQ(loc.strIni, userDir() + "/str.ini");
    EXPECT_EQ(readRaw(loc.configBin), sharedConfig_);
    EXPECT_EQ(readRaw(loc.strIni), sharedIni_);
    EXPECT_TRUE(strayFiles().empty());
    // A folder the program makes for the user is private to the user.
    struct stat st {};
    ASSERT_EQ(stat(userDir().c_str(), &st), 0);
    EXPECT_EQ(st.st_mode & 0777, 0700u);

    // The user applies settings; the package is upgraded with new defaults; the user deletes
    // str.ini. Only the missing file is seeded again.
    const std::string edited(220, '\x55');
    writeRaw(loc.configBin, edited);
    fs::remove(loc.strIni);
    const std::string newIni = "[Skins]\nLan=CHS\n";
    writeRaw(sharedDir() + "/config.bin", std::string(220, '\x02'));
    writeRaw(sharedDir() + "/str.ini", newIni);

    DataLocation again;
    ASSERT_TRUE(unpack(resolveDataLocation(exeDir(), sharedDir()), again, error)) << error;
    EXPECT_EQ(readRaw(again.configBin), edited);
    EXPECT_EQ(readRaw(again.strIni), newIni);
    EXPECT_TRUE(strayFiles().empty());
}

TEST_F(UserData, UsersLinkAtASettingsNameIsLeftAlone) {
    fs::create_directories(userDir());
    const std::string elsewhere = root_ + "/elsewhere.bin";
    writeRaw(elsewhere, "mine");
    fs::create_symlink(elsewhere, userDir() + "/config.bin");
    // A dangling link counts as the user's too.
    fs::create_symlink(root_ + "/missing.ini", userDir() + "/str.ini");

    DataLocation loc;
    std::string error;
    ASSERT_TRUE(unpack(resolveDataLocation(exeDir(), sharedDir()), loc, error)) << error;
    EXPECT_TRUE(fs::is_symlink(loc.configBin));
    EXPECT_EQ(readRaw(elsewhere), "mine");
    EXPECT_TRUE(fs::is_symlink(loc.strIni));
    EXPECT_FALSE(fs::exists(root_ + "/missing.ini"));
}

TEST_F(UserData, FileThatAppearsWhileTheDefaultIsStagedIsNotReplaced) {
    // Another start writes the user's config.bin while this one is copying the default.
    const std::string theirs(220, '\x33');
    bool planted = false;
    FaultHookGuard hook([&](size_t) {
        if (!planted) {
            planted = true;
            writeRaw(userDir() + "/config.bin", theirs);
        }
        return 0;
    });

    DataLocation loc;
    std::string error;
    ASSERT_TRUE(unpack(resolveDataLocation(exeDir(), sharedDir()), loc, error)) << error;
    EXPECT_TRUE(planted);
    EXPECT_EQ(readRaw(loc.configBin), theirs);
    EXPECT_EQ(readRaw(loc.strIni), sharedIni_);
    EXPECT_TRUE(strayFiles().empty());
}

TEST_F(UserData, FullDiskWhileSeedingLeavesNoFileAndTheNextStartSucceeds) {
    DataLocation loc;
    loc.settingsDir = "unchanged";
    std::string error;
    {
        FaultHookGuard hook([](size_t) { return ENOSPC; });
        EXPECT_FALSE(unpack(resolveDataLocation(exeDir(), sharedDir()), loc, error));
    }
    EXPECT_NE(error.find("Cannot write the settings file"), std::string::npos) << error;
    EXPECT_NE(error.find("No space left on device"), std::string::npos) << error;
    EXPECT_EQ(loc.settingsDir, "unchanged");
    EXPECT_FALSE(fs::exists(userDir() + "/config.bin"));
    EXPECT_TRUE(strayFiles().empty());

    error.clear();
    ASSERT_TRUE(unpack(resolveDataLocation(exeDir(), sharedDir()), loc, error)) << error;
    EXPECT_EQ(readRaw(loc.configBin), sharedConfig_);
}

TEST_F(UserData, UserSkinsFolderIsPreferredWhenItIsAFolder) {
    DataLocation loc;
    std::string error;
    ASSERT_TRUE(unpack(resolveDataLocation(exeDir(), sharedDir()), loc, error)) << error;
    EXPECT_EQ(loc.skinsRoot, sharedDir() + "/Skins");

    writeRaw(userDir() + "/Skins", "not a folder");
    ASSERT_TRUE(unpack(resolveDataLocation(exeDir(), sharedDir()), loc, error)) << error;
    EXPECT_EQ(loc.skinsRoot, sharedDir() + "/Skins");

    fs::remove(userDir() + "/Skins");
    fs::create_directories(userDir() + "/Skins/Mine");
    ASSERT_TRUE(unpack(resolveDataLocation(exeDir(), sharedDir()), loc, error)) << error;
    EXPECT_EQ(loc.skinsRoot, userDir() + "/Skins");
}

TEST_F(UserData, MissingConfigHomeIsMadeWithItsParents) {
    env_.set("XDG_CONFIG_HOME", root_ + "/deep/er/cfg/");
    DataLocation loc;
    std::string error;
    ASSERT_TRUE(unpack(resolveDataLocation(exeDir(), sharedDir()), loc, error)) << error;
    EXPECT_EQ(loc.settingsDir, root_ + "/deep/er/cfg/z417-gaming-mouse");
    EXPECT_EQ(readRaw(loc.configBin), sharedConfig_);
}

TEST_F(UserData, FailuresGiveAReadableErrorAndLeaveTheResultAlone) {
    // Paths below a regular file fail with ENOTDIR for every user, root included.
    const struct {
        const char* what;
        std::function<void(UserData&, const std::string& plainFile)> prepare;
        std::vector<std::string> expected; // pieces of the error text
    } cases[] = {
        {"config home below a file",
         [](UserData& t, const std::string& plainFile) {
             t.env_.set("XDG_CONFIG_HOME", plainFile + "/cfg");
         },
         {"Cannot create the settings folder", "/plain/cfg/z417-gaming-mouse (at ",
          "/plain): Not a directory"}}, // names the file in the way
        {"settings folder is a file",
         [](UserData& t, const std::string&) {
             fs::create_directories(t.configHome());
             writeRaw(t.userDir(), "x");
         },
         {"Cannot create the settings folder", "Not a directory"}},
        {"default str.ini missing",
         [](UserData& t, const std::string&) { fs::remove(t.sharedDir() + "/str.ini"); },
         {"Cannot read the default settings file", "/shared/str.ini", "No such file or directory"}},
        {"shared folder missing",
         [](UserData& t, const std::string&) { fs::remove_all(t.sharedDir()); },
         {"Cannot read the default settings file", "/shared/config.bin"}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        TearDown();
        SetUp();
        const std::string plainFile = root_ + "/plain";
        writeRaw(plainFile, "x");
        c.prepare(*this, plainFile);

        DataLocation loc;
        loc.settingsDir = "unchanged";
        std::string error;
        EXPECT_FALSE(unpack(resolveDataLocation(exeDir(), sharedDir()), loc, error));
        EXPECT_EQ(loc.settingsDir, "unchanged");
        for (const std::string& piece : c.expected) {
            EXPECT_NE(error.find(piece), std::string::npos) << error;
        }
        if (fs::is_directory(userDir())) {
            EXPECT_TRUE(strayFiles().empty());
        }
    }
}

TEST(UserConfigHome, ChoosesXdgThenHomeThenTheUserDatabase) {
    EnvGuard env;
    std::string out, error;

    env.set("XDG_CONFIG_HOME", "/x/cfg//");
    env.set("HOME", "/h/user");
    ASSERT_TRUE(unpack(userConfigHome(), out, error)) << error;
    EXPECT_EQ(out, "/x/cfg");

    // Relative and empty values are not valid configuration homes.
    for (const char* ignored : {"relative/cfg", ""}) {
        env.set("XDG_CONFIG_HOME", ignored);
        ASSERT_TRUE(unpack(userConfigHome(), out, error)) << error;
        EXPECT_EQ(out, "/h/user/.config") << ignored;
    }

    env.unset("XDG_CONFIG_HOME");
    env.set("HOME", "/h/user/");
    ASSERT_TRUE(unpack(userConfigHome(), out, error)) << error;
    EXPECT_EQ(out, "/h/user/.config");

    const passwd* me = getpwuid(getuid());
    ASSERT_NE(me, nullptr);
    const std::string expected =
        std::string(me->pw_dir) == "/" ? "/.config" : std::string(me->pw_dir) + "/.config";
    for (bool empty : {false, true}) {
        if (empty) {
            env.set("HOME", "");
        } else {
            env.unset("HOME");
        }
        ASSERT_TRUE(unpack(userConfigHome(), out, error)) << error;
        EXPECT_EQ(out, expected);
    }
}

} // namespace
} // namespace z417
