#include "profile/SettingsPair.h"

#include "platform/AtomicFile.h"
#include "platform/FileSet.h"
#include "platform/Paths.h"

#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <sys/stat.h>

namespace z417 {
namespace {

// The folder both files live in, links of the folder resolved, so that every path to it
// meets at the same lock.
std::string lockFolderOf(const std::string& configBin) {
    const std::string folder = folderOf(configBin);
    char* resolved = realpath(folder.c_str(), nullptr);
    if (resolved == nullptr)
        return folder;
    std::string out = resolved;
    std::free(resolved);
    return out;
}

template <class T> bool mergeValue(T& mine, T& before, const T& file) {
    const bool changes = mine == before && mine != file;
    if (mine == before)
        mine = file;
    before = file;
    return changes;
}

} // namespace

SettingsPair::SettingsPair(FolderLock lock, std::string configBin, std::string strIni)
    : lock_(std::move(lock)), configBin_(std::move(configBin)), strIni_(std::move(strIni)) {}

Result<SettingsPair> SettingsPair::open(const std::string& configBin, const std::string& strIni,
                                        LockMode mode) {
    // Something else than a file where "config.bin" should be: no settings folder to lock,
    // and no lock file left in a folder such as /dev.
    struct stat st {};
    if (stat(configBin.c_str(), &st) == 0 && !S_ISREG(st.st_mode)) {
        SettingsPair pair(FolderLock::none(folderOf(configBin), mode), configBin, strIni);
        pair.read();
        return Result<SettingsPair>(std::move(pair));
    }
    Result<FolderLock> lock = FolderLock::acquire(lockFolderOf(configBin), mode);
    if (!lock)
        return lock.takeStatus();
    SettingsPair pair(std::move(lock.value()), configBin, strIni);
    pair.read();
    return Result<SettingsPair>(std::move(pair));
}

void SettingsPair::read() {
    configExists_ = fileExists(configBin_);
    config_ = readConfigFile(configBin_, record_);
    const Result<ProfileText> ini = readProfileFile(strIni_);
    iniError_ = ini ? 0 : ini.status().systemError;
    iniText_ = ini ? ini->text : std::string();
    encoding_ = ini ? ini->encoding : ProfileEncoding::Utf8;
}

AssignmentLabels SettingsPair::labels(const std::string& section) const {
    AssignmentLabels labels = labelsFromIni(iniText_, section);
    labels.readError = iniError_;
    return labels;
}

SkinValues SettingsPair::skinValues() const {
    SkinValues values = skinValuesFromIni(iniText_);
    values.readError = iniError_;
    return values;
}

void SettingsPair::setConfig(uint8_t firstRunFlag, const SettingsRecord& record) {
    static_assert(1 + sizeof(SettingsRecord) == kConfigFileSize);
    std::string bytes(kConfigFileSize, '\0');
    bytes[0] = static_cast<char>(firstRunFlag);
    std::memcpy(&bytes[1], record.bytes(), sizeof(SettingsRecord));
    newConfig_ = std::move(bytes);
}

Status SettingsPair::setIniEntries(const std::string& section, const IniEntries& entries) {
    for (const auto& [key, value] : entries)
        if (!iniEntryWritable(section, key, value))
            return fileFailure(strIni_, EINVAL);
    if (iniError_ != 0 && iniError_ != ENOENT)
        return fileFailure(strIni_, iniError_);
    newIniText_ = iniUpdate(newIniText_ ? *newIniText_ : iniText_, section, entries);
    return {};
}

Status SettingsPair::commit() {
    std::vector<FileReplacement> files;
    if (newConfig_) {
        if (newConfig_->size() != kConfigFileSize)
            return fileFailure(configBin_, EINVAL);
        files.push_back({configBin_, *newConfig_});
    }
    if (newIniText_ && (iniError_ != 0 || *newIniText_ != iniText_)) {
        Result<std::string> bytes = profileFileBytes(strIni_, *newIniText_, encoding_);
        if (!bytes)
            return bytes.takeStatus();
        files.push_back({strIni_, std::move(bytes.value())});
    }
    if (files.empty())
        return {};
    Status committed = replaceFilesTogether(lock_, files);
    newConfig_.reset();
    newIniText_.reset();
    read();
    return committed;
}

IniEntries labelEntries(const AssignmentLabels& labels) {
    IniEntries entries;
    for (int set = 0; set < kKeySetCount; ++set)
        for (int slot = 0; slot < kSlotCount; ++slot)
            entries.emplace_back(kLabelKeys[set][slot], labels.label[set][slot]);
    return entries;
}

bool takeOverFileChanges(const SettingsEdits& edits, const SettingsPair& files,
                         const std::string& labelSection) {
    bool changed = false;
    if (files.config().whole()) {
        uint8_t* mine = edits.record.bytes();
        uint8_t* before = edits.fileRecord.bytes();
        const uint8_t* file = files.record().bytes();
        for (size_t i = 0; i < sizeof(SettingsRecord); ++i)
            changed = mergeValue(mine[i], before[i], file[i]) || changed;
        edits.confirmed = files.record();
    }
    if (files.iniError() == 0 || files.iniError() == ENOENT) {
        const AssignmentLabels file = files.labels(labelSection);
        for (int set = 0; set < kKeySetCount; ++set)
            for (int slot = 0; slot < kSlotCount; ++slot)
                changed = mergeValue(edits.labels.label[set][slot],
                                     edits.fileLabels.label[set][slot], file.label[set][slot]) ||
                          changed;
    }
    return changed;
}

} // namespace z417
