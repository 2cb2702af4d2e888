// The settings files z417ctl edits: a "config.bin" and the "str.ini" beside it, or, without
// --settings, the utility's own files (found the way the utility finds them).
#pragma once

#include "assign/Texts.h"
#include "profile/SettingsFiles.h"
#include "profile/SettingsPair.h"
#include "profile/SettingsRecord.h"

#include <memory>
#include <string>

namespace z417 {

struct SettingsPaths {
    std::string configBin;
    std::string strIni;
    bool utilitysOwn = false; // the running utility may hold these files
};

// configOption empty: the utility's own files. Otherwise that file and the "str.ini" in its
// folder. A failure's reason, here and below, is the line z417ctl prints.
Result<SettingsPaths> locateSettings(const std::string& configOption);

struct SettingsState {
    uint8_t firstRunFlag = 0;
    SettingsRecord record{};
    std::string languageCode; // "Lan" of "str.ini"
    AssignmentLabels labels;  // of the language's section
    // The files as read, with the settings folder's lock, held until saved or let go.
    std::shared_ptr<SettingsPair> files;
};

// A settings file must be a regular file of exactly 220 bytes; "str.ini" may be missing.
// Exclusive: for a change, which then holds the folder's lock until it is saved.
Result<SettingsState> loadSettingsState(const SettingsPaths& paths,
                                        LockMode mode = LockMode::Shared);

// Writes the record (first-run flag 1) and the 16 labels the way the window's Apply does,
// both files together or neither; then lets go of the lock.
Status saveAsWindowDoes(const SettingsPaths& paths, SettingsState& state);

// Writes the record with its own first-run flag, and only the labels that differ from those
// in the file, so that writing back what was read changes no byte; then lets go of the lock.
Status saveExactly(const SettingsPaths& paths, SettingsState& state);

// After a change to the utility's own files: asks the running utility to read them again, so
// that its next Apply does not write its older copy over them. A utility that is not running,
// refused (not this user's) or not answering is a failure; the files are written all the same.
Status askUtilityToReload(const SettingsPaths& paths);

} // namespace z417
