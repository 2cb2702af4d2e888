// z417ctl end to end: real files in, real files out, the real program.
#include "platform/IniFile.h"
#include "profile/BuildStep.h"
#include "profile/ProfileBlock.h"
#include "profile/SettingsRecord.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <iterator>
#include <sstream>
#include <string>
#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/sysmacros.h>
#include <sys/un.h>
#include <sys/wait.h>
#include <unistd.h>
#include <vector>

namespace z417 {
namespace {

struct CtlRun {
    int code;
    std::string out;
    std::string err;
};

std::string slurp(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

void spit(const std::string& path, const std::string& data) {
    std::ofstream(path, std::ios::binary) << data;
}

class CtlTest : public ::testing::Test {
protected:
    void SetUp() override {
        char tmpl[] = "/tmp/z417-ctl-test.XXXXXX";
        ASSERT_NE(mkdtemp(tmpl), nullptr);
        dir = tmpl;
    }
    void TearDown() override { std::system(("rm -rf '" + dir + "'").c_str()); }

    CtlRun ctl(const std::string& args) {
        const std::string out = dir + "/stdout", err = dir + "/stderr";
        const std::string cmd =
            std::string(Z417_BIN_DIR) + "/z417ctl " + args + " >" + out + " 2>" + err;
        const int status = std::system(cmd.c_str());
        return {WIFEXITED(status) ? WEXITSTATUS(status) : -1, slurp(out), slurp(err)};
    }
    std::string path(const std::string& name) const { return dir + "/" + name; }

    // A settings file with the given record and first-run flag 1.
    std::string writeConfig(const SettingsRecord& r, const std::string& name = "config.bin") {
        std::string data(1, '\x01');
        data.append(reinterpret_cast<const char*>(r.bytes()), sizeof r);
        spit(path(name), data);
        return path(name);
    }

    std::string dir;
};

SettingsRecord sampleRecord() {
    SettingsRecord r{};
    restoreDefaultKeys(r);
    r.reportRate = 2;
    r.lightMode = 1;
    r.lightBrightness = 4;
    r.keyFunction[0][3] = kFnFireKey;
    r.fireKeyCode[0][3] = 0x04;
    r.fireTimes[0][3] = 3;
    for (int j = 0; j < 8; ++j) {
        r.dpiLevel[j] = static_cast<uint8_t>(j);
        r.dpiStageEnabled[j] = j < 4;
    }
    return r;
}

TEST_F(CtlTest, BuildImageMatchesTheBuildStepAndKeepsTheStartBlock) {
    const SettingsRecord r = sampleRecord();
    const std::string config = writeConfig(r);
    ProfileBlock start{};
    for (size_t i = 0; i < sizeof start; ++i)
        start.bytes()[i] = static_cast<uint8_t>(i * 31 + 7);
    start.deviceImage.sensorVariant = 2;
    spit(path("start.bin"),
         std::string(reinterpret_cast<const char*>(start.bytes()), sizeof start));

    CtlRun run = ctl("build-image --settings " + config + " --block " + path("start.bin") +
                     " --out " + path("out.bin"));
    ASSERT_EQ(run.code, 0) << run.err;
    ProfileBlock expected = start;
    writeFixedTables(expected);
    buildProfileBlock(r, 2, expected); // the start block's variant byte
    const std::string got = slurp(path("out.bin"));
    ASSERT_EQ(got.size(), sizeof expected);
    EXPECT_EQ(0, std::memcmp(got.data(), expected.bytes(), sizeof expected));
    EXPECT_EQ(static_cast<uint8_t>(got[1]), start.dpiStage);

    // --variant overrides the start block's byte; without a block the start is all zero.
    run = ctl("build-image --settings " + config + " --variant 1 --out " + path("zero.bin"));
    ASSERT_EQ(run.code, 0) << run.err;
    ProfileBlock fromZero{};
    writeFixedTables(fromZero);
    buildProfileBlock(r, 1, fromZero);
    EXPECT_EQ(slurp(path("zero.bin")),
              std::string(reinterpret_cast<const char*>(fromZero.bytes()), sizeof fromZero));
}

TEST_F(CtlTest, BadInputGetsOneLineAndNoOutputFile) {
    spit(path("short.bin"), std::string(219, '\0'));
    CtlRun run = ctl("build-image --settings " + path("short.bin") + " --out " + path("o.bin"));
    EXPECT_EQ(run.code, 1);
    EXPECT_NE(run.err.find("219"), std::string::npos) << run.err;
    EXPECT_EQ(std::count(run.err.begin(), run.err.end(), '\n'), 1);
    EXPECT_NE(access(path("o.bin").c_str(), F_OK), 0);

    run = ctl("build-image --settings " + path("missing.bin") + " --out " + path("o.bin"));
    EXPECT_EQ(run.code, 1);
    EXPECT_NE(run.err.find("missing.bin"), std::string::npos);

    const std::string config = writeConfig(sampleRecord());
    spit(path("block.bin"), std::string(100, 'x'));
    run = ctl("build-image --settings " + config + " --block " + path("block.bin") + " --out " +
              path("o.bin"));
    EXPECT_EQ(run.code, 1);
    EXPECT_NE(run.err.find("100"), std::string::npos);
    EXPECT_NE(access(path("o.bin").c_str(), F_OK), 0);

    run = ctl("build-image --settings " + config + " --variant 300 --out " + path("o.bin"));
    EXPECT_EQ(run.code, 1);

    // An output folder that does not exist: no partial file anywhere, exit 1.
    run = ctl("build-image --settings " + config + " --out " + path("nodir/o.bin"));
    EXPECT_EQ(run.code, 1);

    // Usage errors: exit 2 with the usage.
    for (const char* args : {"build-image --settings x --bogus 1 --out y", "frobnicate", "",
                             "show-settings", "--device"}) {
        run = ctl(args);
        EXPECT_EQ(run.code, 2) << args;
        EXPECT_NE(run.err.find("usage:"), std::string::npos) << args;
    }
}

// Refused input gets exactly one line naming the file or option and what was wrong with it.
TEST_F(CtlTest, RefusedInputIsNamedInOneLine) {
    const std::string good = writeConfig(sampleRecord());
    spit(path("short.bin"), std::string(219, '\0'));
    spit(path("long.bin"), std::string(221, '\0'));
    const std::string o = " --out " + path("o.bin");
    const std::string sizes = ": a settings file has 220 bytes, this one has ";
    const std::string byte = " takes a number from 0 to 255, not ";
    const struct {
        std::string args, line;
    } cases[] = {
        {"build-image --settings " + path("short.bin") + o, path("short.bin") + sizes + "219"},
        {"show-settings " + path("long.bin"), path("long.bin") + sizes + "more"},
        {"apply " + path("long.bin"), path("long.bin") + sizes + "more"},
        {"build-image --settings " + good + " --variant 300" + o, "--variant" + byte + "'300'"},
        {"show-settings --variant x " + good, "--variant" + byte + "'x'"},
        {"sim-create --dpi-stage 256 " + path("s.state"), "--dpi-stage" + byte + "'256'"},
        {"balloon 1 x", "balloon takes two whole numbers, not '1 x'"},
    };
    for (const auto& c : cases) {
        const CtlRun run = ctl(c.args);
        EXPECT_EQ(run.code, 1) << c.args;
        EXPECT_EQ(run.err, "z417ctl: " + c.line + "\n") << c.args;
    }
    EXPECT_NE(access(path("o.bin").c_str(), F_OK), 0);
    EXPECT_NE(access(path("s.state").c_str(), F_OK), 0);
}

TEST_F(CtlTest, ShowSettingsReadsLikeAPerson) {
    const std::string config = writeConfig(sampleRecord());
    CtlRun run = ctl("show-settings " + config);
    ASSERT_EQ(run.code, 0) << run.err;
    EXPECT_NE(run.out.find("Report rate: 500 Hz"), std::string::npos) << run.out;
    EXPECT_NE(run.out.find("  2: 800 DPI, on"), std::string::npos) << run.out;
    EXPECT_NE(run.out.find("  5: 2000 DPI, off"), std::string::npos) << run.out;
    EXPECT_NE(run.out.find("Lighting: Standard, 45%"), std::string::npos) << run.out;
    EXPECT_NE(run.out.find("button 4: Fire Key (code 0x04, 3 times)"), std::string::npos);
    EXPECT_NE(run.out.find("button 6: DPI Switch (DPI Loop)"), std::string::npos);

    run = ctl("show-settings " + config + " --lang CHS --variant 2");
    ASSERT_EQ(run.code, 0) << run.err;
    EXPECT_NE(run.out.find("标准模式"), std::string::npos) << run.out;
    EXPECT_NE(run.out.find("  3: 750 DPI"), std::string::npos) << run.out;

    run = ctl("show-settings " + config + " --json");
    ASSERT_EQ(run.code, 0) << run.err;
    EXPECT_NE(run.out.find("\"reportRateHz\": 500"), std::string::npos);
    EXPECT_NE(run.out.find("{\"stage\": 2, \"level\": 1, \"dpi\": \"800\", \"enabled\": true"),
              std::string::npos)
        << run.out;

    run = ctl("show-settings " + config + " --lang de");
    EXPECT_EQ(run.code, 2);
}

TEST_F(CtlTest, DefaultsToolReproducesTheCommittedFiles) {
    const std::string gen = std::string(Z417_BIN_DIR) + "/z417-gen-defaults " + dir;
    ASSERT_EQ(std::system(gen.c_str()), 0);
    for (const char* name : {"config.bin", "str.ini"}) {
        const std::string committed = slurp(std::string(Z417_SOURCE_DIR) + "/data/" + name);
        EXPECT_FALSE(committed.empty()) << name;
        EXPECT_EQ(slurp(path(name)), committed) << name << " differs: run z417-gen-defaults data";
    }
    const std::string config = slurp(path("config.bin"));
    ASSERT_EQ(config.size(), 220u);
    EXPECT_EQ(config[0], '\0'); // first start writes the default labels
}

} // namespace
} // namespace z417

namespace z417 {
namespace {

// Image offsets the build step owns.
bool ownedByBuild(size_t image) {
    return (image >= 0x80 && image < 0x8C) || (image >= 0xA0 && image < 0xAC) ||
           (image >= 0xC6 && image < 0xCD) || image == 0xCE || image == 0xCF ||
           (image >= 0xD7 && image < 0xE0) || (image >= 0x118 && image < 0x130);
}
bool fixedTable(size_t image) {
    return (image >= 0xE0 && image < 0x100) || (image >= 0x130 && image < 0x140);
}

TEST_F(CtlTest, ReadApplyReadAgainAgainstTheSimulatedMouse) {
    const std::string state = path("mouse.state");
    CtlRun run = ctl("sim-create " + state + " --variant 2 --report-rate 8 --dpi-stage 3");
    ASSERT_EQ(run.code, 0) << run.err;
    const std::string dev = "--device sim:" + state + " ";

    run = ctl(dev + "status");
    ASSERT_EQ(run.code, 0) << run.err;
    EXPECT_NE(run.out.find("125 Hz"), std::string::npos) << run.out;
    EXPECT_NE(run.out.find("DPI stage: 3"), std::string::npos) << run.out;

    ASSERT_EQ(ctl(dev + "read --out " + path("before.bin")).code, 0);
    const SettingsRecord r = sampleRecord();
    const std::string config = writeConfig(r);
    run = ctl(dev + "--trace " + path("trace.txt") + " apply " + config);
    ASSERT_EQ(run.code, 0) << run.err;
    ASSERT_EQ(ctl(dev + "read --out " + path("after.bin")).code, 0);

    const std::string before = slurp(path("before.bin"));
    const std::string after = slurp(path("after.bin"));
    ASSERT_EQ(before.size(), 322u);
    ASSERT_EQ(after.size(), 322u);
    ProfileBlock expected{};
    std::memcpy(expected.bytes(), before.data(), sizeof expected);
    writeFixedTables(expected);
    buildProfileBlock(r, 2, expected);
    EXPECT_EQ(static_cast<uint8_t>(after[0]), r.reportRate);
    EXPECT_EQ(static_cast<uint8_t>(after[1]), 3); // the stage is the mouse's
    for (size_t i = 0; i < kImageSize; ++i) {
        const uint8_t got = static_cast<uint8_t>(after[2 + i]);
        if (ownedByBuild(i) || fixedTable(i)) {
            EXPECT_EQ(got, expected.deviceImage.bytes()[i]) << "image 0x" << std::hex << i;
        } else {
            EXPECT_EQ(got, static_cast<uint8_t>(before[2 + i])) << "image 0x" << std::hex << i;
        }
    }

    // The trace: one line per transfer, "ms channel direction bytes".
    const std::string trace = slurp(path("trace.txt"));
    std::istringstream lines(trace);
    std::string line;
    int count = 0, dataSets = 0;
    while (std::getline(lines, line)) {
        ++count;
        std::istringstream words(line);
        std::string ms, channel, direction, byte;
        words >> ms >> channel >> direction;
        EXPECT_NE(ms.find('.'), std::string::npos) << line;
        EXPECT_EQ(ms.size() - ms.find('.'), 4u) << line; // three decimals
        EXPECT_TRUE(channel == "cmd" || channel == "data") << line;
        EXPECT_TRUE(direction == "set" || direction == "get") << line;
        int bytes = 0;
        while (words >> byte) {
            EXPECT_EQ(byte.size(), 2u) << line;
            EXPECT_EQ(byte.find_first_not_of("0123456789abcdef"), std::string::npos) << line;
            ++bytes;
        }
        EXPECT_EQ(bytes, channel == "cmd" ? 8 : 65) << line;
        dataSets += channel == "data" && direction == "set";
    }
    // The read at connect (status 2 + 5 x 3), GetDPIStage (2), then the upload (status 2,
    // set status 1, 5 x 3).
    EXPECT_EQ(count, 17 + 2 + 18);
    EXPECT_EQ(dataSets, 5);
    EXPECT_EQ(trace.rfind("0.000 cmd set 01 ", 0), 0u);
}

TEST_F(CtlTest, AFaultyMouseGivesTheOperationsMessageAndExitOne) {
    struct Case {
        const char* fault;
        const char* command;
        const char* message;
    };
    for (const Case& c :
         {Case{"bad-signature", "status",
               "GetDPIStage: The system did not detect the gaming mouse!"},
          Case{"silent", "read --out x.bin", "ReadOperation: The system did not detect"},
          Case{"bad-report-id", "status", "GetDPIStage: The system did not detect"},
          Case{"unscrambled", "read --out x.bin", "ReadOperation: The system did not detect"}}) {
        const std::string state = path(std::string(c.fault) + ".state");
        ASSERT_EQ(ctl("sim-create " + state + " --fault " + c.fault).code, 0);
        const CtlRun run = ctl("--device sim:" + state + " " + c.command);
        EXPECT_EQ(run.code, 1) << c.fault;
        EXPECT_NE(run.err.find(c.message), std::string::npos) << c.fault << ": " << run.err;
    }
    // A mouse that is gone half way through an upload: the upload's own message.
    const std::string state = path("unplug.state");
    ASSERT_EQ(ctl("sim-create " + state + " --fault unplug-after:20").code, 0);
    const CtlRun run = ctl("--device sim:" + state + " apply " + writeConfig(sampleRecord()));
    EXPECT_EQ(run.code, 1);
    EXPECT_NE(run.err.find("WriteOperation: The system did not detect"), std::string::npos)
        << run.err;

    EXPECT_EQ(ctl("sim-create " + path("bad.state") + " --fault sideways").code, 1);
    EXPECT_EQ(ctl("--device sim: status").code, 1);
    EXPECT_EQ(ctl("--device /dev/hidraw999 status").code, 1);
}

// ---- set, get, export, import -----------------------------------------------------------------

// A settings folder holding copies of the installed defaults.
class CtlSettingsTest : public CtlTest {
protected:
    void SetUp() override {
        CtlTest::SetUp();
        spit(path("config.bin"), slurp(std::string(Z417_BIN_DIR) + "/config.bin"));
        spit(path("str.ini"), slurp(std::string(Z417_BIN_DIR) + "/str.ini"));
        settings = " --settings " + path("config.bin") + " ";
    }
    CtlRun set(const std::string& args) { return ctl("set" + settings + args); }
    std::string files() { return slurp(path("config.bin")) + slurp(path("str.ini")); }
    std::string settings;
};

TEST_F(CtlSettingsTest, SetChangesWhatTheWindowWouldAndGetPrintsItBackAsSetWords) {
    const char* changes[] = {
        "rate 250",
        "dpi 3 2000",
        "dpi 5 off",
        "colour 2 '#12AB9f'",
        "lighting respiration 6S 'RGB Flash'",
        "button A 4 'Fire Key' F12 --times 5 --make 40 --break 50",
        "button B 3 Multimedia Mute",
        "button A 3 'Single Key' A",
        "button B 5 HotKey Copy",
        "button A 6 'DPI Switch' 'DPI +'",
        "button A 5 'Snipe Key' 1000",
        "button A 2 Shift",
        "active-set B",
    };
    for (const char* change : changes) {
        const CtlRun run = set(change);
        ASSERT_EQ(run.code, 0) << change << ": " << run.err;
    }
    const CtlRun got = ctl("get" + settings);
    ASSERT_EQ(got.code, 0) << got.err;
    for (const char* line :
         {"rate 250\n", "dpi 3 2000\n", "dpi 5 off\n", "colour 2 \"#12AB9F\"\n",
          "lighting respiration 6S \"RGB Flash\"\n", "button A 4 \"Fire Key\" F12 --times 5\n",
          "fire --make 40 --break 50\n", "button B 3 Multimedia Mute\n",
          "button A 3 \"Single Key\" A\n", "button B 5 HotKey Copy\n",
          "button A 6 \"DPI Switch\" \"DPI +\"\n", "button A 5 \"Snipe Key\" 1000\n",
          "button A 2 Shift\n", "button B 2 Shift\n", "active-set B\n"})
        EXPECT_NE(got.out.find(line), std::string::npos) << line << got.out;
    const std::string ini = slurp(path("str.ini"));
    for (const char* label :
         {"Item4=Fire Key-F12\n", "Item3=Single Key-A\n", "Item6=DPI +\n", "Item5=Snipe Key-1000\n",
          "Item2=Shift\n", "Item23=Shift\n", "Item53=Copy\n", "Item33=Multimedia-Mute\n"})
        EXPECT_NE(ini.find(label), std::string::npos) << label;

    // Every printed line, set again, changes no byte.
    const std::string before = files();
    std::istringstream lines(got.out);
    for (std::string line; std::getline(lines, line);)
        EXPECT_EQ(set(line).code, 0) << line;
    EXPECT_EQ(files(), before);
}

TEST_F(CtlSettingsTest, BadValuesGetOneLineExitOneAndLeaveTheFilesAlone) {
    ASSERT_EQ(set("button A 2 Shift").code, 0);
    const std::string before = files();
    for (const char* bad : {"rate 333",
                            "dpi 9 800",
                            "dpi 1 801",
                            "dpi 1",
                            "colour 1 #12345",
                            "lighting standard 50%",
                            "lighting neon",
                            "button C 1 Forward",
                            "button A 7 Forward",
                            "button A 1 Teleport",
                            "button A 2 'Single Key' NoSuchKey",
                            "button A 2 'Fire Key' F12 --times 128",
                            "button A 2 'Fire Key' F12 --make 4",
                            "button A 2 Multimedia",
                            "button A 2 Forward --times 3",
                            "button A 1 Forward", // the only Left Click of set A
                            "button A 3 Shift",   // Shift is on button 2 already
                            "fire --make 40",
                            "active-set C",
                            "volume 11",
                            ""}) {
        const CtlRun run = set(bad);
        EXPECT_EQ(run.code, 1) << bad;
        EXPECT_EQ(std::count(run.err.begin(), run.err.end(), '\n'), 1) << bad << ": " << run.err;
    }
    EXPECT_EQ(files(), before);
    EXPECT_EQ(ctl("get" + settings + "volume").code, 1);
}

TEST_F(CtlSettingsTest, ImportOfAnExportIsByteIdenticalAndBadJsonNamesTheField) {
    ASSERT_EQ(set("button A 4 'Fire Key' F12 --times 0").code, 0);
    ASSERT_EQ(ctl("export" + settings + "--out " + path("all.json")).code, 0);
    const std::string exported = files();
    ASSERT_EQ(set("rate 125").code, 0);
    ASSERT_EQ(set("button A 4 Forward").code, 0);
    ASSERT_EQ(ctl("import " + path("all.json") + settings).code, 0);
    EXPECT_EQ(files(), exported);

    const std::string json = slurp(path("all.json"));
    const auto edited = [&](const std::string& from, const std::string& to) {
        std::string text = json;
        text.replace(text.find(from), from.size(), to);
        return text;
    };
    struct Bad {
        std::string json;
        const char* field;
    } bads[] = {
        {"{", "not valid JSON"},
        {edited("\"reportRate\": 1", "\"reportRate\": 256"), "record.reportRate"},
        {edited("\"keyFunction\": {\"A\":[0,", "\"keyFunction\": {\"A\":[-1,"),
         "record.keyFunction.A[0]"},
        {edited("\"reserved06\": 0,", ""), "record.reserved06"},
        {edited("\"version\": 1", "\"version\": 2"), "version"},
        {edited("\"language\": \"EN\"", "\"language\": \"FR\""), "labels.language"},
        {edited("\"Left Click\"", "\"two\\nlines\""), "labels.A[0]"},
        {edited("\"firstRunFlag\"", "\"extra\": 1, \"firstRunFlag\""), "extra"},
    };
    const std::string before = files();
    for (const Bad& bad : bads) {
        spit(path("bad.json"), bad.json);
        const CtlRun run = ctl("import " + path("bad.json") + settings);
        EXPECT_EQ(run.code, 1) << bad.field;
        EXPECT_NE(run.err.find(bad.field), std::string::npos) << run.err;
        EXPECT_EQ(std::count(run.err.begin(), run.err.end(), '\n'), 1) << run.err;
    }
    EXPECT_EQ(files(), before);
}

// Directories, FIFOs (nobody writing) and endless devices as input; FIFOs and device nodes
// as output: one line, exit 1, never a hang, and nothing there is replaced.
TEST_F(CtlSettingsTest, InputsAndOutputsMustBeRegularFiles) {
    const std::string fifo = path("fifo");
    ASSERT_EQ(mkfifo(fifo.c_str(), 0600), 0);
    ASSERT_EQ(mkdir(path("folder").c_str(), 0700), 0);
    std::vector<std::string> commands;
    for (const std::string& input : {fifo, path("folder"), std::string("/dev/zero")}) {
        commands.push_back("show-settings " + input);
        commands.push_back("get --settings " + input);
        commands.push_back("build-image --settings " + input + " --out " + path("o.bin"));
        commands.push_back("build-image --settings " + path("config.bin") + " --block " + input +
                           " --out " + path("o.bin"));
        commands.push_back("apply " + input);
        commands.push_back("import " + input + settings);
    }
    std::vector<std::string> outputs = {fifo, path("folder")};
    if (mknod(path("null").c_str(), S_IFCHR | 0666, makedev(1, 3)) == 0)
        outputs.push_back(path("null")); // a real /dev/null node, without risking the real one
    for (const std::string& output : outputs) {
        commands.push_back("build-image --settings " + path("config.bin") + " --out " + output);
        commands.push_back("export" + settings + "--out " + output);
        commands.push_back("--trace " + output + " status");
    }
    ASSERT_EQ(ctl("sim-create " + path("mouse.state")).code, 0);
    for (const std::string& command : commands) {
        const CtlRun run = ctl("--device sim:" + path("mouse.state") + " " + command);
        EXPECT_EQ(run.code, 1) << command;
        EXPECT_EQ(std::count(run.err.begin(), run.err.end(), '\n'), 1)
            << command << ": " << run.err;
    }
    struct stat st {};
    EXPECT_TRUE(stat(fifo.c_str(), &st) == 0 && S_ISFIFO(st.st_mode));
    EXPECT_NE(access(path("o.bin").c_str(), F_OK), 0);
}

TEST_F(CtlSettingsTest, EveryCommandHasHelp) {
    for (const char* command : {"set", "get", "export", "import", "build-image", "show-settings",
                                "sim-create", "list", "status", "read", "apply", "balloon"}) {
        const CtlRun run = ctl(std::string(command) + " --help");
        EXPECT_EQ(run.code, 0) << command;
        EXPECT_EQ(run.out.rfind(std::string("usage: z417ctl ") + command, 0), 0u) << run.out;
    }
}

// With --apply the DPI values are those of the mouse's sensor (750 exists for variant 2 only).
TEST_F(CtlSettingsTest, SetApplyUploadsThroughTheSimulatedMouse) {
    const std::string state = path("mouse.state");
    ASSERT_EQ(ctl("sim-create " + state + " --variant 2").code, 0);
    const std::string device = "--device sim:" + state + " ";
    const CtlRun run = ctl(device + "set --apply" + settings + "dpi 2 750");
    ASSERT_EQ(run.code, 0) << run.err;
    ASSERT_EQ(ctl(device + "set --apply" + settings + "rate 250").code, 0);
    ASSERT_EQ(ctl(device + "read --out " + path("after.bin")).code, 0);
    const std::string block = slurp(path("after.bin"));
    ASSERT_EQ(block.size(), 322u);
    EXPECT_EQ(block[0], 4);               // 250 Hz
    EXPECT_EQ(block[2 + 0xD8 + 1], 0x06); // stage 2: variant 2's code of 750
}

// Without --settings: the files beside the program when it has them, and a running utility
// (here a listener on its socket) is asked to read them again.
TEST_F(CtlSettingsTest, WithoutSettingsTheProgramsOwnFilesAreEditedAndTheUtilityReloads) {
    ASSERT_EQ(mkdir(path("bin").c_str(), 0700), 0);
    ASSERT_EQ(mkdir(path("run").c_str(), 0700), 0);
    const std::string copy = path("bin/z417ctl");
    spit(copy, slurp(std::string(Z417_BIN_DIR) + "/z417ctl"));
    ASSERT_EQ(chmod(copy.c_str(), 0700), 0);
    spit(path("bin/config.bin"), slurp(path("config.bin")));
    spit(path("bin/str.ini"), slurp(path("str.ini")));

    const std::string socketDir = path("run/z417-gaming-mouse");
    ASSERT_EQ(mkdir(socketDir.c_str(), 0700), 0);
    const int server = socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0);
    sockaddr_un addr{};
    addr.sun_family = AF_UNIX;
    const std::string socketPath = socketDir + "/balloon.sock";
    std::strncpy(addr.sun_path, socketPath.c_str(), sizeof addr.sun_path - 1);
    ASSERT_EQ(bind(server, reinterpret_cast<sockaddr*>(&addr), sizeof addr), 0);
    ASSERT_EQ(chmod(socketPath.c_str(), 0600), 0); // as the utility makes it, whatever the umask
    ASSERT_EQ(listen(server, 4), 0);

    const int rc = std::system(
        ("XDG_RUNTIME_DIR=" + path("run") + " " + copy + " set button A 2 Backward >/dev/null 2>&1")
            .c_str());
    EXPECT_EQ(WEXITSTATUS(rc), 0);
    EXPECT_NE(slurp(path("bin/str.ini")).find("Item2=Backward\n"), std::string::npos);
    EXPECT_EQ(slurp(path("str.ini")), slurp(std::string(Z417_BIN_DIR) + "/str.ini"));

    const int client = accept4(server, nullptr, nullptr, SOCK_NONBLOCK | SOCK_CLOEXEC);
    ASSERT_GE(client, 0) << "no request reached the utility's socket";
    char buffer[32] = {};
    EXPECT_EQ(read(client, buffer, sizeof buffer - 1), 7);
    EXPECT_STREQ(buffer, "reload\n");
    close(client);

    // Installed (nothing beside the program): the per-user folder.
    ASSERT_EQ(unlink(path("bin/config.bin").c_str()), 0);
    ASSERT_EQ(mkdir(path("home").c_str(), 0700), 0);
    ASSERT_EQ(mkdir(path("home/z417-gaming-mouse").c_str(), 0700), 0);
    spit(path("home/z417-gaming-mouse/config.bin"), slurp(path("config.bin")));
    spit(path("home/z417-gaming-mouse/str.ini"), slurp(path("str.ini")));
    const int installed =
        std::system(("XDG_RUNTIME_DIR=" + path("run") + " XDG_CONFIG_HOME=" + path("home") + " " +
                     copy + " set button A 2 Forward >/dev/null 2>&1")
                        .c_str());
    EXPECT_EQ(WEXITSTATUS(installed), 0);
    EXPECT_NE(slurp(path("home/z417-gaming-mouse/str.ini")).find("Item2=Forward\n"),
              std::string::npos);
    close(server);
}

// The same changes made by a person in the demo (pointer and lists, the fire key dialog, Apply)
// and with z417ctl set leave the same bytes in "config.bin" and "str.ini".
TEST_F(CtlSettingsTest, SetLeavesTheSameFilesAsTheWindow) {
    const std::string demo = std::string(Z417_BIN_DIR) + "/z417-demo";
    if (access(demo.c_str(), X_OK) != 0)
        GTEST_SKIP() << "no demo in this build";
    // Stage 2 takes 3200; 500 Hz; Respiration with its second effect; button 4 of set A gets
    // a fire key (F12, the dialog's own times); a look at set B and back; Apply.
    spit(path("tour.txt"),
         "wait 200\n"
         "click 610 367\nselect 59 7\n"
         "click 686 209\n"
         "click 800 337\nselect 60 2\nclick 800 397\nselect 62 1\n"
         "click 350 278\nselect 44 9\nclick 120 77\nselect 573 58\nclick 218 263\n"
         "click 409 528\nclick 305 528\n"
         "click 718 633\nquit\n");
    ASSERT_EQ(mkdir(path("run").c_str(), 0700), 0);
    const int rc =
        std::system(("cd " + dir + " && QT_QPA_PLATFORM=offscreen XDG_RUNTIME_DIR=" + path("run") +
                     " " + demo + " --data " + path("demo") + " --script " + path("tour.txt") +
                     " --virtual-clock >" + path("demo.log") + " 2>&1")
                        .c_str());
    ASSERT_EQ(WEXITSTATUS(rc), 0) << slurp(path("demo.log"));

    for (const char* change : {"dpi 2 3200", "rate 500", "lighting respiration 8S 'RGB Flash'",
                               "button A 4 'Fire Key' F12 --times 1 --make 32 --break 32"}) {
        const CtlRun run = set(change);
        ASSERT_EQ(run.code, 0) << change << ": " << run.err;
    }
    EXPECT_EQ(slurp(path("config.bin")), slurp(path("demo/config.bin")));
    EXPECT_EQ(slurp(path("str.ini")), slurp(path("demo/str.ini")));
}

std::string replaced(std::string text, const std::string& from, const std::string& to) {
    const size_t at = text.find(from);
    EXPECT_NE(at, std::string::npos) << from;
    return at == std::string::npos ? text : text.replace(at, from.size(), to);
}

// Labels another program wrote in Latin-1 or GBK come back from an import byte for byte.
TEST_F(CtlSettingsTest, LabelsThatAreNotUtf8SurviveExportAndImport) {
    const std::string original = files();
    std::string ini = slurp(path("str.ini"));
    ini = replaced(ini, "Item3=Mid Click\n", "Item3=Caf\xe9 \xe0 gauche\n");
    ini = replaced(ini, "Item13=Left Click\n", "Item13=\xd7\xf3\xbc\xfc\n"); // GBK
    spit(path("str.ini"), ini);
    ASSERT_EQ(ctl("export" + settings + "--out " + path("all.json")).code, 0);
    const std::string exported = files();
    EXPECT_NE(slurp(path("all.json"))
                  .find("\"raw\": {\"A3\":\"436166e920e02067617563686"
                        "5\",\"B1\":\"d7f3bcfc\"}"),
              std::string::npos)
        << slurp(path("all.json"));

    spit(path("config.bin"), original.substr(0, 220));
    spit(path("str.ini"), original.substr(220));
    const CtlRun run = ctl("import " + path("all.json") + settings);
    ASSERT_EQ(run.code, 0) << run.err;
    EXPECT_EQ(files(), exported);
}

// An export from a Simplified Chinese setup, imported into an English one: the window then
// shows labels that match the record.
TEST_F(CtlSettingsTest, AnImportFromAnotherLanguageSetsTheLabelsTheWindowShows) {
    ASSERT_EQ(mkdir(path("chs").c_str(), 0700), 0);
    spit(path("chs/config.bin"), slurp(path("config.bin")));
    spit(path("chs/str.ini"), replaced(slurp(path("str.ini")), "Lan=EN", "Lan=CHS"));
    const std::string chs = " --settings " + path("chs/config.bin") + " ";
    ASSERT_EQ(ctl("set" + chs + "button A 4 'Fire Key' F12").code, 0);
    ASSERT_EQ(ctl("export" + chs + "--out " + path("chs.json")).code, 0);
    const std::string otherSectionBefore =
        readProfileString(path("str.ini"), "Setting-CHS", "Item4");

    const CtlRun run = ctl("import " + path("chs.json") + settings);
    ASSERT_EQ(run.code, 0) << run.err;
    EXPECT_EQ(slurp(path("config.bin")), slurp(path("chs/config.bin")));
    const std::string chsLabel = readProfileString(path("chs/str.ini"), "Setting-CHS", "Item4");
    EXPECT_NE(chsLabel.find("F12"), std::string::npos) << chsLabel;
    EXPECT_EQ(readProfileString(path("str.ini"), "Setting-EN", "Item4"), chsLabel);
    EXPECT_EQ(readProfileString(path("str.ini"), "Setting-CHS", "Item4"), otherSectionBefore);
}

// What a read of "str.ini" keeps is 1023 characters; an import never writes more, so the
// files stay readable (600,000 characters once made a UTF-16 file of 1.2 MB, over the limit).
TEST_F(CtlSettingsTest, ImportRefusesLabelsLongerThanAReadGivesBack) {
    std::string utf16 = "\xff\xfe";
    for (const char c : std::string("[Skins]\r\nLan=EN\r\n"))
        utf16 += std::string{c, '\0'};
    spit(path("str.ini"), utf16);
    ASSERT_EQ(ctl("export" + settings + "--out " + path("all.json")).code, 0);
    const std::string json = slurp(path("all.json"));
    std::string accented;
    for (int i = 0; i < 1023; ++i)
        accented += "\xc3\xa9"; // é, two bytes, one character
    const struct {
        std::string label;
        int code;
    } cases[] = {{std::string(1023, 'x'), 0},
                 {accented, 0},
                 {std::string(1024, 'x'), 1},
                 {std::string(600000, 'x'), 1}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.label.size());
        const std::string before = files();
        spit(path("long.json"), replaced(json, "\"A\": [\"\"", "\"A\": [\"" + c.label + "\""));
        const CtlRun run = ctl("import " + path("long.json") + settings);
        EXPECT_EQ(run.code, c.code) << run.err;
        if (c.code == 0) {
            EXPECT_EQ(readProfileString(path("str.ini"), "Setting-EN", "Item1"), c.label);
        } else {
            EXPECT_EQ(files(), before);
            EXPECT_EQ(std::count(run.err.begin(), run.err.end(), '\n'), 1) << run.err;
            EXPECT_NE(run.err.find("labels.A[0]: longer than 1023 characters"), std::string::npos);
        }
    }
}

// --settings names the files to work on: an empty or unreadable name never falls back to
// the utility's own files.
TEST_F(CtlSettingsTest, AnEmptyOrUnreadableSettingsPathIsAUsageError) {
    ASSERT_EQ(mkdir(path("bin").c_str(), 0700), 0);
    const std::string copy = path("bin/z417ctl");
    spit(copy, slurp(std::string(Z417_BIN_DIR) + "/z417ctl"));
    ASSERT_EQ(chmod(copy.c_str(), 0700), 0);
    spit(path("bin/config.bin"), slurp(path("config.bin")));
    spit(path("bin/str.ini"), slurp(path("str.ini")));
    ASSERT_EQ(ctl("export" + settings + "--out " + path("all.json")).code, 0);
    const std::string own = slurp(path("bin/config.bin")) + slurp(path("bin/str.ini"));
    for (const std::string& args : std::vector<std::string>{
             "set --settings '' rate 125", "set --settings= button A 2 Backward",
             "import " + path("all.json") + " --settings ''",
             "export --settings '' --out " + path("x"), "get --settings ''",
             "set --settings " + path("missing.bin") + " rate 125"}) {
        const int rc =
            std::system((copy + " " + args + " >" + path("out") + " 2>" + path("err")).c_str());
        EXPECT_EQ(WEXITSTATUS(rc), 2) << args;
        EXPECT_EQ(slurp(path("err")).rfind("z417ctl: --settings ", 0), 0u) << slurp(path("err"));
    }
    EXPECT_EQ(slurp(path("bin/config.bin")) + slurp(path("bin/str.ini")), own);
    EXPECT_NE(access(path("x").c_str(), F_OK), 0);
}

// The manual's example of each setting is one this tool takes (variant 0, the default).
std::string manualSnipeExample() {
    const std::string manual = slurp(std::string(Z417_SOURCE_DIR) + "/docs/man/z417ctl.1");
    const std::string mark = "Snipe Key\\(dq ";
    const size_t at = manual.find(mark);
    if (at == std::string::npos)
        return {};
    const size_t from = at + mark.size();
    return manual.substr(from, manual.find_first_not_of("0123456789", from) - from);
}

// Each refusal is one line naming what was wrong; negative numbers are values.
TEST_F(CtlSettingsTest, RefusalsNameWhatWasWrongInOneLine) {
    ASSERT_EQ(mkfifo(path("fifo").c_str(), 0600), 0);
    ASSERT_EQ(ctl("sim-create " + path("mouse.state")).code, 0);
    ASSERT_EQ(chmod(dir.c_str(), 0755), 0); // the unprivileged run reads the state file
    const std::string asUser = "--reuid=4175 --regid=4175 --clear-groups ";
    const struct {
        std::string args;
        std::string line;
        bool unprivileged;
    } cases[] = {
        {"set" + settings + "dpi 1 -400", "dpi '-400': this sensor offers 400, 800,", false},
        {"set" + settings + "button A 2 'Single Key' \"$(printf 'x\\ny')\"",
         "key 'x\\ny' is not a key name", false},
        {"set" + settings + "rate 1000 extra", "unexpected 'extra' after 'rate 1000'", false},
        {"--device sim:" + path("fifo") + " status",
         "cannot read the simulated mouse state file " + path("fifo") + ": not a regular file",
         false},
        {"--device sim:" + path("mouse.state") + " status",
         "cannot write the simulated mouse state file " + path("mouse.state") +
             ": Permission denied",
         true},
    };
    for (const auto& c : cases) {
        const std::string program = std::string(Z417_BIN_DIR) + "/z417ctl ";
        const std::string command = (c.unprivileged ? "setpriv " + asUser : "") + program + c.args +
                                    " >" + path("out") + " 2>" + path("err");
        const int rc = std::system(command.c_str());
        const std::string err = slurp(path("err"));
        EXPECT_EQ(WEXITSTATUS(rc), 1) << c.args;
        EXPECT_EQ(std::count(err.begin(), err.end(), '\n'), 1) << err;
        EXPECT_EQ(err.rfind("z417ctl: " + c.line, 0), 0u) << err;
    }
    const std::string snipe = manualSnipeExample();
    ASSERT_FALSE(snipe.empty());
    const CtlRun run = set("button A 5 'Snipe Key' " + snipe);
    EXPECT_EQ(run.code, 0) << run.err;
}

} // namespace
} // namespace z417
