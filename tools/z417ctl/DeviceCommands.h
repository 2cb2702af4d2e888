#pragma once

#include <cstdio>
#include <map>
#include <string>

namespace z417 {

struct GlobalOptions {
    std::string device = "auto";
    std::string tracePath; // empty: no trace
};

int cmdSimCreate(const std::string& stateFile, const std::map<std::string, std::string>& options,
                 FILE* out, FILE* err);
int cmdList(const GlobalOptions& global, FILE* out, FILE* err);
int cmdStatus(const GlobalOptions& global, FILE* out, FILE* err);
int cmdRead(const GlobalOptions& global, const std::string& outPath, FILE* out, FILE* err);
int cmdApply(const GlobalOptions& global, const std::string& configPath, FILE* out, FILE* err);
// Connects to the mouse as the utility does and tells its sensor variant.
bool readSensorVariant(const GlobalOptions& global, uint8_t& variant, FILE* err);
int cmdBalloon(const std::string& type, const std::string& kind, FILE* err);

// Shared with the offline commands.
bool readWholeFile(const std::string& path, std::string& out, std::string& error, size_t maxBytes);
bool parseByte(const std::string& text, uint8_t& out);
struct SettingsRecord;
bool loadConfigFile(const std::string& path, SettingsRecord& record, std::string& error);

} // namespace z417
