#include "Cli.h"

#include "DeviceCommands.h"
#include "Options.h"
#include "Report.h"
#include "SettingsCommands.h"
#include "assign/Texts.h"
#include "platform/AtomicFile.h"
#include "profile/BuildStep.h"
#include "profile/SettingsFiles.h"

#include <algorithm>
#include <cerrno>
#include <cstring>

namespace z417 {
namespace {

struct CommandHelp {
    const char* name;
    const char* usage;
};

// One line (or a few) per command; --help on a command prints its own.
const CommandHelp kCommands[] = {
    {"build-image",
     "  build-image --settings CONFIG.BIN [--block BLOCK.BIN] [--variant N] --out OUT.BIN\n"},
    {"show-settings", "  show-settings CONFIG.BIN [--json] [--lang CHS|CHT|EN] [--variant N]\n"},
    {"set", "  set [--settings CONFIG.BIN] [--variant N] [--apply] SETTING VALUE...\n"
            "      rate 125|250|500|1000          dpi STAGE DPI|on|off     colour STAGE #RRGGBB\n"
            "      lighting off|standard PERCENT|respiration SPEED EFFECT\n"
            "      button A|B SLOT FUNCTION [PARAMETER] [--times N --make MS --break MS]\n"
            "      fire --make MS --break MS      active-set A|B\n"},
    {"get", "  get [--settings CONFIG.BIN] [--variant N] [SETTING...]\n"},
    {"export", "  export [--settings CONFIG.BIN] [--out FILE.json]\n"},
    {"import", "  import FILE.json [--settings CONFIG.BIN]\n"},
    {"sim-create",
     "  sim-create STATE_FILE [--variant N] [--report-rate R] [--dpi-stage S] [--fault KIND]\n"
     "      KIND: unscrambled, bad-signature, bad-report-id, silent, unplug-after:N,\n"
     "            short-reply:N, slow-reply:MS\n"},
    {"list", "  list\n"},
    {"status", "  status\n"},
    {"read", "  read --out BLOCK.BIN\n"},
    {"apply", "  apply CONFIG.BIN\n"},
    {"balloon", "  balloon TYPE KIND\n"},
};

std::string usageText() {
    std::string text = "usage: z417ctl [--device auto|/dev/hidrawN|sim:STATE_FILE] [--trace FILE] "
                       "COMMAND ...\ncommands:\n";
    for (const CommandHelp& c : kCommands)
        text += c.usage;
    return text;
}

std::string commandUsage(const std::string& name) {
    for (const CommandHelp& c : kCommands)
        if (name == c.name)
            return std::string("usage: z417ctl ") + (c.usage + 2);
    return usageText();
}

} // namespace

// Reads a whole regular file of at most maxBytes; on failure returns false with a reason.
bool readWholeFile(const std::string& path, std::string& out, std::string& error, size_t maxBytes) {
    if (const int e = readFileContents(path, out, maxBytes); e != 0) {
        error = path + ": " + fileErrorText(e);
        return false;
    }
    return true;
}

bool parseByte(const std::string& text, uint8_t& out) {
    if (text.empty() || text.size() > 3)
        return false;
    unsigned v = 0;
    for (char c : text) {
        if (c < '0' || c > '9')
            return false;
        v = v * 10 + static_cast<unsigned>(c - '0');
    }
    if (v > 255)
        return false;
    out = static_cast<uint8_t>(v);
    return true;
}

bool loadConfigFile(const std::string& path, SettingsRecord& record, std::string& error) {
    std::string data;
    const int e = readFileContents(path, data, kConfigFileSize);
    if (e != 0 && e != EFBIG) {
        error = path + ": " + fileErrorText(e);
        return false;
    }
    if (e == EFBIG || data.size() != kConfigFileSize) {
        error = path + ": a settings file has " + std::to_string(kConfigFileSize) +
                " bytes, this one has " + (e == EFBIG ? "more" : std::to_string(data.size()));
        return false;
    }
    std::memcpy(record.bytes(), data.data() + 1, sizeof record);
    return true;
}

namespace {

int cmdBuildImage(const std::vector<std::string>& args, size_t from, FILE* err) {
    const ParsedOptions p =
        parseOptions(args, from, {"--settings", "--block", "--variant", "--out"}, {});
    if (!p.positional.empty())
        throw UsageError{"unexpected argument " + p.positional.front()};
    const auto settings = p.option("--settings");
    const auto out = p.option("--out");
    if (!settings || !out)
        throw UsageError{"build-image needs --settings and --out"};

    std::string error;
    SettingsRecord record{};
    if (!loadConfigFile(*settings, record, error)) {
        std::fprintf(err, "z417ctl: %s\n", error.c_str());
        return 1;
    }
    ProfileBlock block{};
    if (const auto start = p.option("--block")) {
        std::string data;
        if (!readWholeFile(*start, data, error, sizeof block)) {
            std::fprintf(err, "z417ctl: %s\n", error.c_str());
            return 1;
        }
        if (data.size() != sizeof block) {
            std::fprintf(err, "z417ctl: %s: a block has %zu bytes, this one has %zu\n",
                         start->c_str(), sizeof block, data.size());
            return 1;
        }
        std::memcpy(block.bytes(), data.data(), sizeof block);
    }
    uint8_t variant = block.deviceImage.sensorVariant;
    if (const auto v = p.option("--variant")) {
        if (!parseByte(*v, variant)) {
            std::fprintf(err, "z417ctl: --variant takes a number from 0 to 255, not '%s'\n",
                         v->c_str());
            return 1;
        }
    }
    writeFixedTables(block);
    buildProfileBlock(record, variant, block);
    const std::string bytes(reinterpret_cast<const char*>(block.bytes()), sizeof block);
    if (int e = writeFileAtomically(*out, bytes)) {
        std::fprintf(err, "z417ctl: %s: %s\n", out->c_str(), fileErrorText(e).c_str());
        return 1;
    }
    return 0;
}

int cmdShowSettings(const std::vector<std::string>& args, size_t from, FILE* out, FILE* err) {
    const ParsedOptions p = parseOptions(args, from, {"--lang", "--variant"}, {"--json"});
    if (p.positional.size() != 1)
        throw UsageError{"show-settings needs exactly one settings file"};
    Language language = Language::English;
    if (const auto lang = p.option("--lang")) {
        if (*lang != "CHS" && *lang != "CHT" && *lang != "EN")
            throw UsageError{"--lang takes CHS, CHT or EN"};
        language = languageFromCode(*lang);
    }
    uint8_t variant = 0;
    if (const auto v = p.option("--variant")) {
        if (!parseByte(*v, variant)) {
            std::fprintf(err, "z417ctl: --variant takes a number from 0 to 255, not '%s'\n",
                         v->c_str());
            return 1;
        }
    }
    std::string error;
    SettingsRecord record{};
    if (!loadConfigFile(p.positional.front(), record, error)) {
        std::fprintf(err, "z417ctl: %s\n", error.c_str());
        return 1;
    }
    const TextTable texts(language);
    const std::string text = p.option("--json") ? settingsAsJson(record, variant, texts)
                                                : settingsAsText(record, variant, texts);
    std::fputs(text.c_str(), out);
    return 0;
}

} // namespace

namespace {

int runCommand(const GlobalOptions& global, const std::string& command,
               const std::vector<std::string>& args, size_t rest, FILE* out, FILE* err) {
    if (command == "build-image")
        return cmdBuildImage(args, rest, err);
    if (command == "show-settings")
        return cmdShowSettings(args, rest, out, err);
    if (command == "set") {
        const ParsedOptions p = parseOptions(
            args, rest, {"--settings", "--variant", "--times", "--make", "--break"}, {"--apply"});
        return cmdSet(global, p, out, err);
    }
    if (command == "get")
        return cmdGet(parseOptions(args, rest, {"--settings", "--variant"}, {}), out, err);
    if (command == "export") {
        const ParsedOptions p = parseOptions(args, rest, {"--settings", "--out"}, {});
        if (!p.positional.empty())
            throw UsageError{"unexpected argument " + p.positional.front()};
        return cmdExport(p, out, err);
    }
    if (command == "import") {
        const ParsedOptions p = parseOptions(args, rest, {"--settings"}, {});
        if (p.positional.size() != 1)
            throw UsageError{"import needs exactly one JSON file"};
        return cmdImport(p, err);
    }
    if (command == "sim-create") {
        const ParsedOptions p =
            parseOptions(args, rest, {"--variant", "--report-rate", "--dpi-stage", "--fault"}, {});
        if (p.positional.size() != 1)
            throw UsageError{"sim-create needs exactly one state file"};
        return cmdSimCreate(p.positional.front(), p.options, out, err);
    }
    if (command == "list" || command == "status") {
        parseOptions(args, rest, {}, {});
        return command == "list" ? cmdList(global, out, err) : cmdStatus(global, out, err);
    }
    if (command == "read") {
        const ParsedOptions p = parseOptions(args, rest, {"--out"}, {});
        const auto outPath = p.option("--out");
        if (!outPath || !p.positional.empty())
            throw UsageError{"read needs --out BLOCK.BIN"};
        return cmdRead(global, *outPath, out, err);
    }
    if (command == "apply") {
        const ParsedOptions p = parseOptions(args, rest, {}, {});
        if (p.positional.size() != 1)
            throw UsageError{"apply needs exactly one settings file"};
        return cmdApply(global, p.positional.front(), out, err);
    }
    if (command == "balloon") {
        const ParsedOptions p = parseOptions(args, rest, {}, {});
        if (p.positional.size() != 2)
            throw UsageError{"balloon needs TYPE and KIND"};
        return cmdBalloon(p.positional[0], p.positional[1], err);
    }
    throw UsageError{"unknown command " + command};
}

// --help anywhere among a command's own words.
bool asksForHelp(const std::vector<std::string>& args, size_t from) {
    for (size_t i = from; i < args.size() && args[i] != "--"; ++i)
        if (args[i] == "--help")
            return true;
    return false;
}

} // namespace

int runCli(const std::vector<std::string>& args, FILE* out, FILE* err) {
    std::string command;
    try {
        GlobalOptions global;
        ParsedOptions leading;
        const size_t i = parseLeadingOptions(args, {"--device", "--trace"}, {"--help"}, leading);
        if (leading.has("--help")) {
            std::fputs(usageText().c_str(), out);
            return 0;
        }
        global.device = leading.option("--device").value_or(global.device);
        global.tracePath = leading.option("--trace").value_or("");
        if (i >= args.size())
            throw UsageError{"no command given"};
        command = args[i];
        if (asksForHelp(args, i + 1)) {
            std::fputs(commandUsage(command).c_str(), out);
            return 0;
        }
        return runCommand(global, command, args, i + 1, out, err);
    } catch (const UsageError& e) {
        std::fprintf(err, "z417ctl: %s\n%s", e.what.c_str(), commandUsage(command).c_str());
        return 2;
    }
}

} // namespace z417
