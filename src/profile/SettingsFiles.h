// "config.bin" (first-run flag and the SettingsRecord) and the values kept in "str.ini"
// (language, skin, text colour and the 16 button labels of the current language).
#pragma once

#include "platform/AppTitle.h"
#include "platform/Status.h"
#include "profile/SettingsRecord.h"

#include <cstddef>
#include <cstdint>
#include <string>

namespace z417 {

constexpr size_t kConfigFileSize = 220; // byte 0: first-run flag; bytes 1..219: the record

extern const char* const kConfigMissingText;  // "Config file is not exist."
extern const char* const kWriteFailedCaption; // "NULL ==fp "
// "Error Code is: %d \n" with the error number filled in.
std::string writeFailedText(int error);

// What reading a "config.bin" found.
struct ConfigFileRead {
    int error = 0;   // errno of reading; EFBIG: longer than a settings file
    size_t size = 0; // bytes read when error is 0
    uint8_t firstRunFlag = 0;
    bool whole() const { return error == 0 && size == kConfigFileSize; }
};
// Reads a regular file of at most 220 bytes; record and firstRunFlag are filled only when it
// has exactly 220.
ConfigFileRead readConfigFile(const std::string& configPath, SettingsRecord& record);

struct LoadedSettings {
    bool loaded = false;
    uint8_t firstRunFlag = 0;
    int error = 0; // errno when the file exists but could not be read; never shown
    Status status; // the message of a missing file
};
// "Config file is not exist." (caption kAppTitle) when missing; exact 220 bytes only; any
// other size silently ignored; unreadable: nothing loaded. The record is changed only when
// the whole file was read.
LoadedSettings loadSettings(const std::string& configPath, SettingsRecord& record);
// Missing: "Config file is not exist."; write failure: text "Error Code is: %d \n" (errno)
// caption "NULL ==fp "; writes byte 1 then the record, atomically. Succeeds when written.
// Every save here holds the settings folder's lock (SettingsPair) while it reads and writes.
Status saveSettings(const std::string& configPath, const SettingsRecord& record);

// A failure of the system (a file that cannot be written) in the window's own words:
// caption "NULL ==fp ", text "Error Code is: %d \n" with the errno. Others as they are.
Status inWindowWords(Status status);

struct AssignmentLabels {
    std::string label[2][8]; // [keySet][slot]
    int readError = 0;       // errno of reading "str.ini" (ENOENT when missing); labels then empty
};
// "Item1".."Item8", "Item13","Item23",...,"Item83"
extern const char* const kLabelKeys[2][8];

// Section names in "str.ini".
extern const char* const kSkinsSection; // "Skins"
// "Setting-CHS", "Setting-CHT" or "Setting-EN" for a language code ("CHS", "CHT", anything
// else; compared exactly).
std::string labelSectionFor(const std::string& languageCode);

struct SkinValues {
    std::string languageCode;
    std::string path;
    int red = 0, green = 0, blue = 0;
    int readError = 0; // errno of reading "str.ini" (ENOENT when missing); values then empty
};
// "Lan", "Path", "RColor", "GColor", "BColor" from "Skins"; a colour that is not a number
// gives 0 (like _wtoi: leading digits count).
SkinValues loadSkinValues(const std::string& iniPath);
AssignmentLabels loadLabels(const std::string& iniPath, const std::string& section);
// The same, from the text of a "str.ini" already read (readError stays 0).
SkinValues skinValuesFromIni(const std::string& iniText);
AssignmentLabels labelsFromIni(const std::string& iniText, const std::string& section);
// Item1 first, Item83 last. A failed write fails with "Error Code is: %d \n" / "NULL ==fp ";
// the file then stays as it was.
Status saveLabels(const std::string& iniPath, const std::string& section,
                  const AssignmentLabels& labels);
// "RColor", "GColor", "BColor" as %d, then "Path", in this order, to "Skins". A failed write
// fails like saveLabels.
Status saveSkin(const std::string& iniPath, const std::string& skinName, int red, int green,
                int blue);

// Decimal text to int the way _wtoi reads it: leading blanks, an optional sign, then digits up
// to the first non-digit; no digits gives 0; out of range gives INT_MAX or INT_MIN.
int decimalPrefixToInt(const std::string& text);

} // namespace z417
