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

// The one line for a failed change of the files: the file and the system's words.
std::string errorLine(const SettingsPaths& paths, const Status& status) {
    if (status.systemError == EINVAL && !status.messages.empty() &&
        status.messages.back().caption == paths.strIni)
        return paths.strIni + ": a label holds a line break";
    if (status.messages.empty())
        return {};
    const Message& m = status.messages.back();
    return m.caption + ": " + m.text;
}

// Commits what was staged, and lets go of the lock either way.
Status commitAndRelease(const SettingsPaths& paths, SettingsState& state, Status staged) {
    if (staged)
        staged = state.files->commit();
    state.files.reset();
    if (staged)
        return {};
    return Status::silentFailure(errorLine(paths, staged));
}

// Where the utility's own "config.bin" is, without making or seeding any folder.
std::string utilitysConfigBin() {
    const Result<DataLocation> own = locateOwnDataLocation();
    return own ? own->configBin : std::string();
}

} // namespace

Result<SettingsPaths> locateSettings(const std::string& configOption) {
    if (configOption.empty()) {
        const Result<DataLocation> own = resolveOwnDataLocation();
        if (!own)
            return Status::silentFailure(
                own.status().messages.empty() ? std::string() : own.status().messages.front().text);
        return SettingsPaths{own->configBin, own->strIni, true};
    }
    SettingsPaths paths;
    paths.configBin = configOption;
    paths.strIni = folderOf(configOption) + "/str.ini";
    paths.utilitysOwn = canonical(configOption) == canonical(utilitysConfigBin());
    return paths;
}

Result<SettingsState> loadSettingsState(const SettingsPaths& paths, LockMode mode) {
    Result<SettingsPair> files = SettingsPair::open(paths.configBin, paths.strIni, mode);
    if (!files)
        return Status::silentFailure(errorLine(paths, files.status()));
    const ConfigFileRead& read = files->config();
    if (!read.whole())
        return Status::silentFailure(
            paths.configBin + ": " +
            (read.error == 0 || read.error == EFBIG
                 ? "a settings file has " + std::to_string(kConfigFileSize) + " bytes"
                 : fileErrorText(read.error)));
    const SkinValues skin = files->skinValues();
    if (skin.readError != 0 && skin.readError != ENOENT)
        return Status::silentFailure(paths.strIni + ": " + fileErrorText(skin.readError));
    SettingsState state;
    state.firstRunFlag = read.firstRunFlag;
    state.record = files->record();
    state.languageCode = skin.languageCode;
    state.labels = files->labels(labelSectionFor(skin.languageCode));
    state.files = std::make_shared<SettingsPair>(std::move(files.value()));
    return state;
}

Status saveAsWindowDoes(const SettingsPaths& paths, SettingsState& state) {
    state.files->setConfig(1, state.record);
    Status staged =
        state.files->setIniEntries(labelSectionFor(state.languageCode), labelEntries(state.labels));
    return commitAndRelease(paths, state, std::move(staged));
}

Status saveExactly(const SettingsPaths& paths, SettingsState& state) {
    state.files->setConfig(state.firstRunFlag, state.record);
    const std::string section = labelSectionFor(state.languageCode);
    const AssignmentLabels onDisk = state.files->labels(section);
    IniEntries changed;
    for (int k = 0; k < kKeySetCount; ++k)
        for (int s = 0; s < kSlotCount; ++s)
            if (onDisk.label[k][s] != state.labels.label[k][s])
                changed.emplace_back(kLabelKeys[k][s], state.labels.label[k][s]);
    Status staged = changed.empty() ? Status{} : state.files->setIniEntries(section, changed);
    return commitAndRelease(paths, state, std::move(staged));
}

Status askUtilityToReload(const SettingsPaths& paths) {
    if (!paths.utilitysOwn)
        return {};
    return sendReloadRequest();
}

} // namespace z417
