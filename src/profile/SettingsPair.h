// "config.bin" and the "str.ini" beside it as one pair: read under the settings folder's lock
// and changed together or not at all, so that no reader ever sees a record whose functions do
// not match its labels, and no two writers lose each other's changes.
#pragma once

#include "platform/FolderLock.h"
#include "platform/IniFile.h"
#include "platform/Status.h"
#include "profile/SettingsFiles.h"
#include "profile/SettingsRecord.h"

#include <optional>
#include <string>
#include <utility>
#include <vector>

namespace z417 {

using IniEntries = std::vector<std::pair<std::string, std::string>>;

// One session with the pair: the folder's lock, what both files held when it was taken, and
// the changes to make. The lock is let go when the session ends.
class SettingsPair {
public:
    // Takes the lock of the folder of configBin (Exclusive to change the files), which also
    // finishes a change a dead holder left half done, then reads both files.
    static Result<SettingsPair> open(const std::string& configBin, const std::string& strIni,
                                     LockMode mode);

    // What "config.bin" held: record() is valid when config().whole().
    const ConfigFileRead& config() const { return config_; }
    const SettingsRecord& record() const { return record_; }
    bool configExists() const { return configExists_; }
    // "str.ini" as UTF-8 text; iniError() is the errno of reading it (ENOENT: missing).
    int iniError() const { return iniError_; }
    AssignmentLabels labels(const std::string& section) const;
    SkinValues skinValues() const;

    // Changes, made only by commit().
    void setConfig(uint8_t firstRunFlag, const SettingsRecord& record);
    // Refused (EINVAL) when an entry cannot be written; EIO-like errors of reading the file
    // refuse it too, as the file would lose everything else it holds.
    Status setIniEntries(const std::string& section, const IniEntries& entries);
    // Writes the changed files together. A failure names the file and the system's text, and
    // leaves both as they were. Content the readers would refuse is refused first.
    Status commit();

private:
    SettingsPair(FolderLock lock, std::string configBin, std::string strIni);
    void read();

    FolderLock lock_;
    std::string configBin_;
    std::string strIni_;
    ConfigFileRead config_;
    SettingsRecord record_{};
    bool configExists_ = false;
    std::string iniText_;
    ProfileEncoding encoding_ = ProfileEncoding::Utf8;
    int iniError_ = 0;
    std::optional<std::string> newConfig_;
    std::optional<std::string> newIniText_;
};

// The 16 labels as "str.ini" entries, "Item1" first and "Item83" last.
IniEntries labelEntries(const AssignmentLabels& labels);

// The window's values, the confirmed copy Cancel goes back to (savedSettings), and what the
// files held when the window last read or wrote them: the values the edits started from.
struct SettingsEdits {
    SettingsRecord& record;
    SettingsRecord& confirmed;
    AssignmentLabels& labels;
    SettingsRecord& fileRecord;
    AssignmentLabels& fileLabels;
};

// Takes over what another program changed in the files without losing unapplied edits: each
// byte of the record and each label that still equals what the files held before takes the
// file's value, the ones the user changed stay. The confirmed copy and the files' copy become
// the file's. A file that could not be read leaves its part alone. True when a value changed.
bool takeOverFileChanges(const SettingsEdits& edits, const SettingsPair& files,
                         const std::string& labelSection);

} // namespace z417
