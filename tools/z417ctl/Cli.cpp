#include "Cli.h"

#include "DeviceCommands.h"
#include "Options.h"
#include "Report.h"
#include "SettingsCommands.h"
#include "assign/Texts.h"
#include "platform/AtomicFile.h"
#include "platform/Paths.h"
#include "profile/BuildStep.h"
#include "profile/SettingsFiles.h"
#include "profile/SettingsPair.h"

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

// Reads a whole regular file of at most maxBytes.
Result<std::string> readWholeFile(const std::string& path, size_t maxBytes) {
    Result<std::string> content = readFileContents(path, maxBytes);
    if (!content)
        return Status::silentFailure(statusLine(content.status()));
    return content;
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

Result<SettingsRecord> loadConfigFile(const std::string& path) {
    // Under the folder's lock: never a "config.bin" of a change that is not finished.
    const Result<SettingsPair> files =
        SettingsPair::open(path, folderOf(path) + "/str.ini", LockMode::Shared);
    if (!files) {
        const Message& m = files.status().messages.back();
        return Status::silentFailure(m.caption + ": " + m.text);
    }
    const ConfigFileRead& read = files->config();
    if (read.whole())
        return files->record();
    if (read.error != 0 && read.error != EFBIG)
        return Status::silentFailure(path + ": " + fileErrorText(read.error));
    return Status::silentFailure(path + ": a settings file has " + std::to_string(kConfigFileSize) +
                                 " bytes, this one has " +
                                 (read.error == EFBIG ? "more" : std::to_string(read.size)));
}

Status byteOption(const std::map<std::string, std::string>& options, const char* name,
                  uint8_t& out) {
    const auto it = options.find(name);
    if (it == options.end() || parseByte(it->second, out))
        return {};
    return Status::silentFailure(std::string(name) + " takes a number from 0 to 255, not '" +
                                 it->second + "'");
}

std::string oneLine(const std::string& text) {
    std::string out;
    for (const char c : text) {
        const auto byte = static_cast<unsigned char>(c);
        if (byte >= 0x20 && byte != 0x7F) {
            out += c;
        } else if (c == '\n') {
            out += "\\n";
        } else if (c == '\t') {
            out += "\\t";
        } else if (c == '\r') {
            out += "\\r";
        } else {
            char escaped[5];
            std::snprintf(escaped, sizeof escaped, "\\x%02x", byte);
            out += escaped;
        }
    }
    return out;
}

std::string statusLine(const Status& status) {
    if (status.messages.empty())
        return "failed";
    const Message& m = status.messages.front();
    return m.caption.empty() ? m.text : m.caption + ": " + m.text;
}

int failWith(FILE* err, const std::string& line) {
    std::fprintf(err, "z417ctl: %s\n", oneLine(line).c_str());
    return 1;
}

namespace {

// The --block file build-image starts from: a whole profile block.
Status readStartBlock(const std::string& path, ProfileBlock& block) {
    const Result<std::string> data = readWholeFile(path, sizeof block);
    if (!data)
        return data.status();
    if (data->size() != sizeof block)
        return Status::silentFailure(path + ": a block has " + std::to_string(sizeof block) +
                                     " bytes, this one has " + std::to_string(data->size()));
    std::memcpy(block.bytes(), data->data(), sizeof block);
    return {};
}

int cmdBuildImage(const std::vector<std::string>& args, size_t from, FILE* err) {
    const ParsedOptions p =
        parseOptions(args, from, {"--settings", "--block", "--variant", "--out"}, {});
    if (!p.positional.empty())
        throw UsageError{"unexpected argument " + p.positional.front()};
    const auto settings = p.option("--settings");
    const auto out = p.option("--out");
    if (!settings || !out)
        throw UsageError{"build-image needs --settings and --out"};

    const Result<SettingsRecord> record = loadConfigFile(*settings);
    if (!record)
        return failWith(err, record.status().reason);
    ProfileBlock block{};
    if (const auto start = p.option("--block"))
        if (const Status read = readStartBlock(*start, block); !read)
            return failWith(err, read.reason);
    uint8_t variant = block.deviceImage.sensorVariant;
    if (const Status given = byteOption(p.options, "--variant", variant); !given)
        return failWith(err, given.reason);
    writeFixedTables(block);
    buildProfileBlock(*record, variant, block);
    const std::string bytes(reinterpret_cast<const char*>(block.bytes()), sizeof block);
    if (const Status written = writeFileAtomically(*out, bytes); !written)
        return failWith(err, statusLine(written));
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
    if (const Status given = byteOption(p.options, "--variant", variant); !given)
        return failWith(err, given.reason);
    const Result<SettingsRecord> record = loadConfigFile(p.positional.front());
    if (!record)
        return failWith(err, record.status().reason);
    const TextTable texts(language);
    const std::string text = p.option("--json") ? settingsAsJson(*record, variant, texts)
                                                : settingsAsText(*record, variant, texts);
    std::fputs(text.c_str(), out);
    return 0;
}

// One command's words after its name, and where its output goes.
struct CommandCall {
    const GlobalOptions& global;
    const std::vector<std::string>& args;
    size_t rest;
    FILE* out;
    FILE* err;

    ParsedOptions options(const std::vector<std::string>& withValue,
                          const std::vector<std::string>& flags = {}) const {
        return parseOptions(args, rest, withValue, flags);
    }
    // The options, and exactly `count` other words or a usage error saying `what`.
    ParsedOptions withWords(size_t count, const std::vector<std::string>& withValue,
                            const std::string& what) const {
        ParsedOptions p = options(withValue);
        if (p.positional.size() != count)
            throw UsageError{what};
        return p;
    }
};

int runBuildImage(const CommandCall& c) {
    return cmdBuildImage(c.args, c.rest, c.err);
}

int runShowSettings(const CommandCall& c) {
    return cmdShowSettings(c.args, c.rest, c.out, c.err);
}

int runSet(const CommandCall& c) {
    const ParsedOptions p =
        c.options({"--settings", "--variant", "--times", "--make", "--break"}, {"--apply"});
    return cmdSet(c.global, p, c.out, c.err);
}

int runGet(const CommandCall& c) {
    return cmdGet(c.options({"--settings", "--variant"}), c.out, c.err);
}

int runExport(const CommandCall& c) {
    const ParsedOptions p = c.options({"--settings", "--out"});
    if (!p.positional.empty())
        throw UsageError{"unexpected argument " + p.positional.front()};
    return cmdExport(p, c.out, c.err);
}

int runImport(const CommandCall& c) {
    const ParsedOptions p = c.withWords(1, {"--settings"}, "import needs exactly one JSON file");
    return cmdImport(p, c.err);
}

int runSimCreate(const CommandCall& c) {
    const ParsedOptions p = c.withWords(1, {"--variant", "--report-rate", "--dpi-stage", "--fault"},
                                        "sim-create needs exactly one state file");
    return cmdSimCreate(p.positional.front(), p.options, c.out, c.err);
}

int runList(const CommandCall& c) {
    c.options({});
    return cmdList(c.global, c.out, c.err);
}

int runStatus(const CommandCall& c) {
    c.options({});
    return cmdStatus(c.global, c.out, c.err);
}

int runRead(const CommandCall& c) {
    const ParsedOptions p = c.options({"--out"});
    const auto outPath = p.option("--out");
    if (!outPath || !p.positional.empty())
        throw UsageError{"read needs --out BLOCK.BIN"};
    return cmdRead(c.global, *outPath, c.out, c.err);
}

int runApply(const CommandCall& c) {
    const ParsedOptions p = c.withWords(1, {}, "apply needs exactly one settings file");
    return cmdApply(c.global, p.positional.front(), c.out, c.err);
}

int runBalloon(const CommandCall& c) {
    const ParsedOptions p = c.withWords(2, {}, "balloon needs TYPE and KIND");
    return cmdBalloon(p.positional[0], p.positional[1], c.err);
}

struct CommandRunner {
    const char* name;
    int (*run)(const CommandCall&);
};

const CommandRunner kRunners[] = {
    {"build-image", runBuildImage},
    {"show-settings", runShowSettings},
    {"set", runSet},
    {"get", runGet},
    {"export", runExport},
    {"import", runImport},
    {"sim-create", runSimCreate},
    {"list", runList},
    {"status", runStatus},
    {"read", runRead},
    {"apply", runApply},
    {"balloon", runBalloon},
};

int runCommand(const GlobalOptions& global, const std::string& command,
               const std::vector<std::string>& args, size_t rest, FILE* out, FILE* err) {
    for (const CommandRunner& runner : kRunners)
        if (command == runner.name)
            return runner.run(CommandCall{global, args, rest, out, err});
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
        std::fprintf(err, "z417ctl: %s\n%s", oneLine(e.what).c_str(),
                     commandUsage(command).c_str());
        return 2;
    }
}

} // namespace z417
