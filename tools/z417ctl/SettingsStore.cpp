#include "SettingsStore.h"

#include "platform/AtomicFile.h"
#include "platform/BalloonSocket.h"
#include "platform/IniFile.h"
#include "platform/Paths.h"
#include "platform/UserData.h"

#include <climits>
#include <cstdlib>
#include <cstring>
#include <utility>
#include <vector>

namespace z417 {
namespace {

// The file a path names in the end, for telling whether two paths are the same file.
std::string canonical(const std::string& path) {
    char* resolved = realpath(path.c_str(), nullptr);
    if (!resolved)
        return path;
    std::string out = resolved;
    std::free(resolved);
    return out;
}

// Turns the message box the settings code would show into an error line.
std::string errorLine(const Status& status) {
    if (status.messages.empty())
        return {};
    const Message& m = status.messages.back();
    std::string line = m.caption + ": " + m.text;
    while (!line.empty() && (line.back() == '\n' || line.back() == ' '))
        line.pop_back();
    return line;
}

bool writeLabels(const SettingsPaths& paths, const std::string& section,
                 const std::vector<std::pair<std::string, std::string>>& entries,
                 std::string& error) {
    if (const int e = writeProfileStrings(paths.strIni, section, entries); e != 0) {
        error =
            paths.strIni + ": " + (e == EINVAL ? "a label holds a line break" : fileErrorText(e));
        return false;
    }
    return true;
}

// Where the utility's own "config.bin" is, without making or seeding any folder.
std::string utilitysConfigBin() {
    const Result<DataLocation> own = locateOwnDataLocation();
    return own ? own->configBin : std::string();
}

} // namespace

bool locateSettings(const std::string& configOption, SettingsPaths& paths, std::string& error) {
    if (configOption.empty()) {
        const Result<DataLocation> own = resolveOwnDataLocation();
        if (!own) {
            error =
                own.status().messages.empty() ? std::string() : own.status().messages.front().text;
            return false;
        }
        paths = {own->configBin, own->strIni, true};
        return true;
    }
    paths.configBin = configOption;
    paths.strIni = folderOf(configOption) + "/str.ini";
    paths.utilitysOwn = canonical(configOption) == canonical(utilitysConfigBin());
    return true;
}

bool loadSettingsState(const SettingsPaths& paths, SettingsState& state, std::string& error) {
    const ConfigFileRead read = readConfigFile(paths.configBin, state.record);
    if (!read.whole()) {
        error = paths.configBin + ": " +
                (read.error == 0 || read.error == EFBIG
                     ? "a settings file has " + std::to_string(kConfigFileSize) + " bytes"
                     : fileErrorText(read.error));
        return false;
    }
    state.firstRunFlag = read.firstRunFlag;
    const SkinValues skin = loadSkinValues(paths.strIni);
    if (skin.readError != 0 && skin.readError != ENOENT) {
        error = paths.strIni + ": " + fileErrorText(skin.readError);
        return false;
    }
    state.languageCode = skin.languageCode;
    state.labels = loadLabels(paths.strIni, labelSectionFor(skin.languageCode));
    return true;
}

bool saveAsWindowDoes(const SettingsPaths& paths, const SettingsState& state, std::string& error) {
    Status saved = saveSettings(paths.configBin, state.record);
    if (saved)
        saved = saveLabels(paths.strIni, labelSectionFor(state.languageCode), state.labels);
    error = errorLine(saved);
    return saved.ok;
}

bool saveExactly(const SettingsPaths& paths, const SettingsState& state, std::string& error) {
    std::string bytes(1, static_cast<char>(state.firstRunFlag));
    bytes.append(reinterpret_cast<const char*>(state.record.bytes()), sizeof state.record);
    if (const int e = writeFileAtomically(paths.configBin, bytes); e != 0) {
        error = paths.configBin + ": " + fileErrorText(e);
        return false;
    }
    const std::string section = labelSectionFor(state.languageCode);
    const AssignmentLabels onDisk = loadLabels(paths.strIni, section);
    std::vector<std::pair<std::string, std::string>> changed;
    for (int k = 0; k < kKeySetCount; ++k)
        for (int s = 0; s < kSlotCount; ++s)
            if (onDisk.label[k][s] != state.labels.label[k][s])
                changed.emplace_back(kLabelKeys[k][s], state.labels.label[k][s]);
    return changed.empty() || writeLabels(paths, section, changed, error);
}

void askUtilityToReload(const SettingsPaths& paths) {
    if (!paths.utilitysOwn)
        return;
    std::string ignored; // not running: it reads the files at its next start
    sendReloadRequest(ignored);
}

} // namespace z417
