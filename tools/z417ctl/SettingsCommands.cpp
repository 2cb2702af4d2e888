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

bool intOption(const ParsedOptions& p, const char* name, int& out, std::string& error) {
    const auto v = p.option(name);
    uint8_t byte = 0;
    if (v && !parseByte(*v, byte)) {
        error = std::string(name) + " takes a whole number, not '" + *v + "'";
        return false;
    }
    out = v ? byte : -1;
    return true;
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

bool openState(const ParsedOptions& p, SettingsPaths& paths, SettingsState& state,
               std::string& error, LockMode mode = LockMode::Shared) {
    checkSettingsOption(p);
    return locateSettings(p.option("--settings").value_or(""), paths, error) &&
           loadSettingsState(paths, state, error, mode);
}

} // namespace

int cmdSet(const GlobalOptions& global, const ParsedOptions& p, FILE* out, FILE* err) {
    std::string error;
    SettingOptions options;
    uint8_t variant = 0;
    if (!intOption(p, "--times", options.times, error) ||
        !intOption(p, "--make", options.makeTime, error) ||
        !intOption(p, "--break", options.breakTime, error) ||
        !byteOption(p.options, "--variant", variant, error))
        return failWith(err, error);
    SettingsPaths paths;
    SettingsState state;
    if (!openState(p, paths, state, error, LockMode::Exclusive))
        return failWith(err, error);
    // DPI values and snipe levels are those of the mouse being applied to.
    if (p.has("--apply") && !p.has("--variant") && !readSensorVariant(global, variant, err))
        return 1;
    const TextTable texts(languageFromCode(state.languageCode));
    SettingsEdit edit{state.record, state.labels, texts, variant};
    if (const Status applied = applySetting(p.positional, options, edit); !applied)
        return failWith(err, statusLine(applied));
    if (!saveAsWindowDoes(paths, state, error))
        return failWith(err, error);
    tellUtility(paths, err);
    return p.has("--apply") ? cmdApply(global, paths.configBin, out, err) : 0;
}

int cmdGet(const ParsedOptions& p, FILE* out, FILE* err) {
    std::string error;
    uint8_t variant = 0;
    SettingsPaths paths;
    SettingsState state;
    if (!byteOption(p.options, "--variant", variant, error) || !openState(p, paths, state, error))
        return failWith(err, error);
    const Result<std::vector<std::string>> lines =
        settingLines(state.record, variant, p.positional);
    if (!lines)
        return failWith(err, statusLine(lines.status()));
    for (const std::string& line : *lines)
        std::fprintf(out, "%s\n", line.c_str());
    return 0;
}

int cmdExport(const ParsedOptions& p, FILE* out, FILE* err) {
    std::string error;
    SettingsPaths paths;
    SettingsState state;
    if (!openState(p, paths, state, error))
        return failWith(err, error);
    const std::string json = settingsToJson(state);
    if (const auto file = p.option("--out")) {
        if (const int e = writeFileAtomically(*file, json); e != 0)
            return failWith(err, *file + ": " + fileErrorText(e));
        return 0;
    }
    std::fputs(json.c_str(), out);
    return 0;
}

int cmdImport(const ParsedOptions& p, FILE* err) {
    std::string error;
    SettingsPaths paths;
    SettingsState state;
    if (!openState(p, paths, state, error, LockMode::Exclusive))
        return failWith(err, error);
    const std::string& file = p.positional.front();
    std::string text;
    if (const int e = readFileContents(file, text, kJsonMaxBytes); e != 0)
        return failWith(err, file + ": " + fileErrorText(e));
    if (const Status parsed = settingsFromJson(text, state); !parsed)
        return failWith(err, file + ": " + statusLine(parsed));
    if (!saveExactly(paths, state, error))
        return failWith(err, error);
    tellUtility(paths, err);
    return 0;
}

} // namespace z417
