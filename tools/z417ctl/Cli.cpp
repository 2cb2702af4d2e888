#include "Cli.h"

#include "DeviceCommands.h"
#include "Report.h"
#include "assign/Texts.h"
#include "platform/AtomicFile.h"
#include "profile/BuildStep.h"
#include "profile/SettingsFiles.h"

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <fstream>
#include <iterator>
#include <map>
#include <optional>

namespace z417 {
namespace {

const char* const kUsage =
    "usage: z417ctl [--device auto|/dev/hidrawN|sim:STATE_FILE] [--trace FILE] COMMAND ...\n"
    "commands:\n"
    "  build-image --settings CONFIG.BIN [--block BLOCK.BIN] [--variant N] --out OUT.BIN\n"
    "  show-settings CONFIG.BIN [--json] [--lang CHS|CHT|EN] [--variant N]\n"
    "  sim-create STATE_FILE [--variant N] [--report-rate R] [--dpi-stage S] [--fault KIND]\n"
    "      KIND: unscrambled, bad-signature, bad-report-id, silent, unplug-after:N,\n"
    "            short-reply:N, slow-reply:MS\n"
    "  list\n"
    "  status\n"
    "  read --out BLOCK.BIN\n"
    "  apply CONFIG.BIN\n"
    "  balloon TYPE KIND\n";

struct UsageError {
    std::string what;
};

// Splits "--name value" options and positional words. Flags take no value.
struct Parsed {
    std::map<std::string, std::string> options;
    std::vector<std::string> positional;
};

Parsed parseOptions(const std::vector<std::string>& args, size_t from,
                    const std::vector<std::string>& withValue,
                    const std::vector<std::string>& flags) {
    Parsed p;
    for (size_t i = from; i < args.size(); ++i) {
        const std::string& a = args[i];
        if (a.rfind("--", 0) == 0) {
            if (std::find(flags.begin(), flags.end(), a) != flags.end()) {
                p.options[a] = "";
            } else if (std::find(withValue.begin(), withValue.end(), a) != withValue.end()) {
                if (i + 1 >= args.size())
                    throw UsageError{"option " + a + " needs a value"};
                p.options[a] = args[++i];
            } else {
                throw UsageError{"unknown option " + a};
            }
        } else {
            p.positional.push_back(a);
        }
    }
    return p;
}

std::optional<std::string> option(const Parsed& p, const std::string& name) {
    auto it = p.options.find(name);
    if (it == p.options.end())
        return std::nullopt;
    return it->second;
}

} // namespace

// Reads a whole file; on failure returns false with a readable reason.
bool readWholeFile(const std::string& path, std::string& out, std::string& error) {
    std::ifstream in(path, std::ios::binary);
    if (!in) {
        error = path + ": " + std::strerror(errno);
        return false;
    }
    out.assign(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
    if (in.bad()) {
        error = path + ": read error";
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
    if (!readWholeFile(path, data, error))
        return false;
    if (data.size() != kConfigFileSize) {
        error = path + ": a settings file has " + std::to_string(kConfigFileSize) +
                " bytes, this one has " + std::to_string(data.size());
        return false;
    }
    std::memcpy(record.bytes(), data.data() + 1, sizeof record);
    return true;
}

namespace {

int cmdBuildImage(const std::vector<std::string>& args, size_t from, FILE* err) {
    const Parsed p = parseOptions(args, from, {"--settings", "--block", "--variant", "--out"}, {});
    if (!p.positional.empty())
        throw UsageError{"unexpected argument " + p.positional.front()};
    const auto settings = option(p, "--settings");
    const auto out = option(p, "--out");
    if (!settings || !out)
        throw UsageError{"build-image needs --settings and --out"};

    std::string error;
    SettingsRecord record{};
    if (!loadConfigFile(*settings, record, error)) {
        std::fprintf(err, "z417ctl: %s\n", error.c_str());
        return 1;
    }
    ProfileBlock block{};
    if (const auto start = option(p, "--block")) {
        std::string data;
        if (!readWholeFile(*start, data, error)) {
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
    if (const auto v = option(p, "--variant")) {
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
        std::fprintf(err, "z417ctl: %s: %s\n", out->c_str(), std::strerror(e));
        return 1;
    }
    return 0;
}

int cmdShowSettings(const std::vector<std::string>& args, size_t from, FILE* out, FILE* err) {
    const Parsed p = parseOptions(args, from, {"--lang", "--variant"}, {"--json"});
    if (p.positional.size() != 1)
        throw UsageError{"show-settings needs exactly one settings file"};
    Language language = Language::English;
    if (const auto lang = option(p, "--lang")) {
        if (*lang != "CHS" && *lang != "CHT" && *lang != "EN")
            throw UsageError{"--lang takes CHS, CHT or EN"};
        language = languageFromCode(*lang);
    }
    uint8_t variant = 0;
    if (const auto v = option(p, "--variant")) {
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
    const std::string text = option(p, "--json") ? settingsAsJson(record, variant, texts)
                                                 : settingsAsText(record, variant, texts);
    std::fputs(text.c_str(), out);
    return 0;
}

} // namespace

int runCli(const std::vector<std::string>& args, FILE* out, FILE* err) {
    try {
        GlobalOptions global;
        size_t i = 0;
        for (; i < args.size() && args[i].rfind("--", 0) == 0; ++i) {
            if (args[i] == "--help") {
                std::fputs(kUsage, out);
                return 0;
            }
            if (i + 1 >= args.size())
                throw UsageError{"option " + args[i] + " needs a value"};
            if (args[i] == "--device")
                global.device = args[++i];
            else if (args[i] == "--trace")
                global.tracePath = args[++i];
            else
                throw UsageError{"unknown option " + args[i]};
        }
        if (i >= args.size())
            throw UsageError{"no command given"};
        const std::string& command = args[i];
        const size_t rest = i + 1;
        if (command == "build-image")
            return cmdBuildImage(args, rest, err);
        if (command == "show-settings")
            return cmdShowSettings(args, rest, out, err);
        if (command == "sim-create") {
            const Parsed p = parseOptions(
                args, rest, {"--variant", "--report-rate", "--dpi-stage", "--fault"}, {});
            if (p.positional.size() != 1)
                throw UsageError{"sim-create needs exactly one state file"};
            return cmdSimCreate(p.positional.front(), p.options, out, err);
        }
        if (command == "list" || command == "status") {
            parseOptions(args, rest, {}, {});
            return command == "list" ? cmdList(global, out, err) : cmdStatus(global, out, err);
        }
        if (command == "read") {
            const Parsed p = parseOptions(args, rest, {"--out"}, {});
            const auto outPath = option(p, "--out");
            if (!outPath || !p.positional.empty())
                throw UsageError{"read needs --out BLOCK.BIN"};
            return cmdRead(global, *outPath, out, err);
        }
        if (command == "apply") {
            const Parsed p = parseOptions(args, rest, {}, {});
            if (p.positional.size() != 1)
                throw UsageError{"apply needs exactly one settings file"};
            return cmdApply(global, p.positional.front(), out, err);
        }
        if (command == "balloon") {
            const Parsed p = parseOptions(args, rest, {}, {});
            if (p.positional.size() != 2)
                throw UsageError{"balloon needs TYPE and KIND"};
            return cmdBalloon(p.positional[0], p.positional[1], err);
        }
        throw UsageError{"unknown command " + command};
    } catch (const UsageError& e) {
        std::fprintf(err, "z417ctl: %s\n%s", e.what.c_str(), kUsage);
        return 2;
    }
}

} // namespace z417
