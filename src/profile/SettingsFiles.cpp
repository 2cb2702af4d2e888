#include "profile/SettingsFiles.h"

#include "platform/AtomicFile.h"
#include "platform/IniFile.h"
#include "platform/Paths.h"
#include "profile/SettingsPair.h"

#include <cerrno>
#include <climits>
#include <cstdio>
#include <cstring>
#include <utility>
#include <vector>

namespace z417 {

const char* const kConfigMissingText = "Config file is not exist.";
// The wording is the program's own, kept for people who know its messages.
const char* const kWriteFailedCaption = "NULL ==fp ";
const char* const kSkinsSection = "Skins";

const char* const kLabelKeys[2][8] = {
    {"Item1", "Item2", "Item3", "Item4", "Item5", "Item6", "Item7", "Item8"},
    {"Item13", "Item23", "Item33", "Item43", "Item53", "Item63", "Item73", "Item83"},
};

namespace {

Result<SettingsPair> openPairForIni(const std::string& iniPath) {
    return SettingsPair::open(folderOf(iniPath) + "/config.bin", iniPath, LockMode::Exclusive);
}

// Writes entries to one section of "str.ini" under the folder's lock.
Status saveIniEntries(const std::string& iniPath, const std::string& section,
                      const IniEntries& entries) {
    Result<SettingsPair> pair = openPairForIni(iniPath);
    if (!pair)
        return inWindowWords(pair.takeStatus());
    Status staged = pair->setIniEntries(section, entries);
    return inWindowWords(staged ? pair->commit() : std::move(staged));
}

} // namespace

Status inWindowWords(Status status) {
    if (status.ok || status.systemError == 0)
        return status;
    Status worded = Status::failure(kWriteFailedCaption, writeFailedText(status.systemError));
    worded.systemError = status.systemError;
    return worded;
}

// The wording is the program's own, like the caption above.
std::string writeFailedText(int error) {
    char text[64];
    std::snprintf(text, sizeof text, "Error Code is: %d \n", error);
    return text;
}

ConfigFileRead readConfigFile(const std::string& configPath, SettingsRecord& record) {
    // Not a regular file (a FIFO, a device): unreadable, and never waited on.
    ConfigFileRead read;
    const Result<std::string> content = readFileContents(configPath, kConfigFileSize);
    read.error = content ? 0 : content.status().systemError;
    read.size = content ? content->size() : 0;
    if (read.whole()) {
        read.firstRunFlag = static_cast<uint8_t>((*content)[0]);
        std::memcpy(record.bytes(), content->data() + 1, sizeof(SettingsRecord));
    }
    return read;
}

LoadedSettings loadSettings(const std::string& configPath, SettingsRecord& record) {
    LoadedSettings result;
    if (!fileExists(configPath)) {
        result.status = Status::failure(kAppTitle, kConfigMissingText);
        return result;
    }
    // Longer than a settings file: another size, ignored like a shorter one.
    const ConfigFileRead read = readConfigFile(configPath, record);
    if (read.error != 0 && read.error != EFBIG) {
        result.error = read.error;
    }
    result.loaded = read.whole();
    result.firstRunFlag = read.firstRunFlag;
    return result;
}

Status saveSettings(const std::string& configPath, const SettingsRecord& record) {
    static_assert(1 + sizeof(SettingsRecord) == kConfigFileSize);
    if (!fileExists(configPath)) {
        return Status::failure(kAppTitle, kConfigMissingText);
    }
    Result<SettingsPair> pair =
        SettingsPair::open(configPath, folderOf(configPath) + "/str.ini", LockMode::Exclusive);
    if (!pair)
        return inWindowWords(pair.takeStatus());
    pair->setConfig(1, record); // saved at least once, whatever the flag in memory says
    return inWindowWords(pair->commit());
}

std::string labelSectionFor(const std::string& languageCode) {
    if (languageCode == "CHS") {
        return "Setting-CHS";
    }
    if (languageCode == "CHT") {
        return "Setting-CHT";
    }
    return "Setting-EN";
}

int decimalPrefixToInt(const std::string& text) {
    size_t pos = 0;
    while (pos < text.size() && (text[pos] == ' ' || (text[pos] >= '\t' && text[pos] <= '\r'))) {
        ++pos;
    }
    bool negative = false;
    if (pos < text.size() && (text[pos] == '+' || text[pos] == '-')) {
        negative = text[pos] == '-';
        ++pos;
    }
    long long value = 0;
    for (; pos < text.size() && text[pos] >= '0' && text[pos] <= '9'; ++pos) {
        value = value * 10 + (text[pos] - '0');
        if (value > static_cast<long long>(INT_MAX) + 1) {
            value = static_cast<long long>(INT_MAX) + 1; // saturate, keep reading digits
        }
    }
    if (negative) {
        value = -value;
    }
    if (value > INT_MAX) {
        return INT_MAX;
    }
    if (value < INT_MIN) {
        return INT_MIN;
    }
    return static_cast<int>(value);
}

SkinValues loadSkinValues(const std::string& iniPath) {
    // A missing or unreadable file reads as empty values, as with the profile functions.
    const Result<ProfileText> read = readProfileFile(iniPath);
    SkinValues values = skinValuesFromIni(read ? read->text : std::string());
    values.readError = read ? 0 : read.status().systemError;
    return values;
}

SkinValues skinValuesFromIni(const std::string& content) {
    SkinValues values;
    values.languageCode = iniLookup(content, kSkinsSection, "Lan");
    values.path = iniLookup(content, kSkinsSection, "Path");
    values.red = decimalPrefixToInt(iniLookup(content, kSkinsSection, "RColor"));
    values.green = decimalPrefixToInt(iniLookup(content, kSkinsSection, "GColor"));
    values.blue = decimalPrefixToInt(iniLookup(content, kSkinsSection, "BColor"));
    return values;
}

AssignmentLabels loadLabels(const std::string& iniPath, const std::string& section) {
    const Result<ProfileText> read = readProfileFile(iniPath); // failed: labels read empty
    AssignmentLabels labels = labelsFromIni(read ? read->text : std::string(), section);
    labels.readError = read ? 0 : read.status().systemError;
    return labels;
}

AssignmentLabels labelsFromIni(const std::string& content, const std::string& section) {
    AssignmentLabels labels;
    for (int set = 0; set < 2; ++set) {
        for (int slot = 0; slot < 8; ++slot) {
            labels.label[set][slot] = iniLookup(content, section, kLabelKeys[set][slot]);
        }
    }
    return labels;
}

Status saveLabels(const std::string& iniPath, const std::string& section,
                  const AssignmentLabels& labels) {
    return saveIniEntries(iniPath, section, labelEntries(labels));
}

Status saveSkin(const std::string& iniPath, const std::string& skinName, int red, int green,
                int blue) {
    const IniEntries entries = {
        {"RColor", std::to_string(red)},
        {"GColor", std::to_string(green)},
        {"BColor", std::to_string(blue)},
        {"Path", skinName},
    };
    return saveIniEntries(iniPath, kSkinsSection, entries);
}

} // namespace z417
