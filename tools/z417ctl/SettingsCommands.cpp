#include "SettingsCommands.h"

#include "JsonForm.h"
#include "SettingWords.h"
#include "SettingsStore.h"
#include "platform/AtomicFile.h"

#include <cerrno>
#include <unistd.h>

namespace z417 {
namespace {

constexpr size_t kJsonMaxBytes = 1024 * 1024;

// The option's value, or -1 when it is not given.
Status intOption(const ParsedOptions& p, const char* name, int& out) {
    const auto v = p.option(name);
    uint8_t byte = 0;
    if (v && !parseByte(*v, byte))
        return Status::silentFailure(std::string(name) + " takes a whole number, not '" + *v + "'");
    out = v ? byte : -1;
    return {};
}

// --settings names the files to edit: an empty name or one that cannot be read is a command
// line that cannot run, never a reason to fall back to the utility's own files.
void checkSettingsOption(const ParsedOptions& p) {
    const auto file = p.option("--settings");
    if (!file)
        return;
    if (file->empty())
        throw UsageError{"--settings needs a file name"};
    if (access(file->c_str(), R_OK) != 0)
        throw UsageError{"--settings " + *file + ": " + systemErrorText(errno)};
}

// The files are written whatever the answer; a utility that was not told says so on one line.
void tellUtility(const SettingsPaths& paths, FILE* err) {
    const Status told = askUtilityToReload(paths);
    if (!told)
        std::fprintf(err, "z417ctl: files written; the utility was not told to reload: %s\n",
                     oneLine(statusLine(told)).c_str());
}

// The files the command edits, read; a failure's reason is the line to print.
struct OpenedSettings {
    SettingsPaths paths;
    SettingsState state;
};

Result<OpenedSettings> openState(const ParsedOptions& p, LockMode mode = LockMode::Shared) {
    checkSettingsOption(p);
    Result<SettingsPaths> paths = locateSettings(p.option("--settings").value_or(""));
    if (!paths)
        return paths.status();
    Result<SettingsState> state = loadSettingsState(*paths, mode);
    if (!state)
        return state.status();
    return OpenedSettings{std::move(paths).value(), std::move(state).value()};
}

} // namespace

int cmdSet(const GlobalOptions& global, const ParsedOptions& p, FILE* out, FILE* err) {
    SettingOptions options;
    uint8_t variant = 0;
    Status given = intOption(p, "--times", options.times);
    given.add(intOption(p, "--make", options.makeTime));
    given.add(intOption(p, "--break", options.breakTime));
    given.add(byteOption(p.options, "--variant", variant));
    if (!given)
        return failWith(err, given.reason);
    Result<OpenedSettings> opened = openState(p, LockMode::Exclusive);
    if (!opened)
        return failWith(err, opened.status().reason);
    const SettingsPaths& paths = opened->paths;
    SettingsState& state = opened->state;
    // DPI values and snipe levels are those of the mouse being applied to.
    if (p.has("--apply") && !p.has("--variant") && !readSensorVariant(global, variant, err))
        return 1;
    const TextTable texts(languageFromCode(state.languageCode));
    SettingsEdit edit{state.record, state.labels, texts, variant};
    if (const Status applied = applySetting(p.positional, options, edit); !applied)
        return failWith(err, statusLine(applied));
    if (const Status saved = saveAsWindowDoes(paths, state); !saved)
        return failWith(err, saved.reason);
    tellUtility(paths, err);
    return p.has("--apply") ? cmdApply(global, paths.configBin, out, err) : 0;
}

int cmdGet(const ParsedOptions& p, FILE* out, FILE* err) {
    uint8_t variant = 0;
    if (const Status given = byteOption(p.options, "--variant", variant); !given)
        return failWith(err, given.reason);
    const Result<OpenedSettings> opened = openState(p);
    if (!opened)
        return failWith(err, opened.status().reason);
    const Result<std::vector<std::string>> lines =
        settingLines(opened->state.record, variant, p.positional);
    if (!lines)
        return failWith(err, statusLine(lines.status()));
    for (const std::string& line : *lines)
        std::fprintf(out, "%s\n", line.c_str());
    return 0;
}

int cmdExport(const ParsedOptions& p, FILE* out, FILE* err) {
    const Result<OpenedSettings> opened = openState(p);
    if (!opened)
        return failWith(err, opened.status().reason);
    const std::string json = settingsToJson(opened->state);
    if (const auto file = p.option("--out")) {
        if (const Status written = writeFileAtomically(*file, json); !written)
            return failWith(err, statusLine(written));
        return 0;
    }
    std::fputs(json.c_str(), out);
    return 0;
}

int cmdImport(const ParsedOptions& p, FILE* err) {
    Result<OpenedSettings> opened = openState(p, LockMode::Exclusive);
    if (!opened)
        return failWith(err, opened.status().reason);
    const SettingsPaths& paths = opened->paths;
    SettingsState& state = opened->state;
    const std::string& file = p.positional.front();
    const Result<std::string> text = readFileContents(file, kJsonMaxBytes);
    if (!text)
        return failWith(err, statusLine(text.status()));
    if (const Status parsed = settingsFromJson(*text, state); !parsed)
        return failWith(err, file + ": " + statusLine(parsed));
    if (const Status saved = saveExactly(paths, state); !saved)
        return failWith(err, saved.reason);
    tellUtility(paths, err);
    return 0;
}

} // namespace z417
