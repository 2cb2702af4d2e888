#pragma once

#include "platform/Status.h"

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
// A failure's reason is the line z417ctl prints.
Result<std::string> readWholeFile(const std::string& path, size_t maxBytes);
bool parseByte(const std::string& text, uint8_t& out);
// The option name's value as a byte, when given (out is then left alone otherwise); a failure
// "NAME takes a number from 0 to 255, not 'VALUE'" when it is not one.
Status byteOption(const std::map<std::string, std::string>& options, const char* name,
                  uint8_t& out);
// Prints "z417ctl: LINE" on err and returns 1, the exit code of a failed command. Control
// characters in LINE (a line break inside an argument) are shown escaped ("\n"), so that
// the message stays one line.
int failWith(FILE* err, const std::string& line);
std::string oneLine(const std::string& text);
// "CAPTION: TEXT" of a failure's first message (only TEXT when it has no caption).
std::string statusLine(const Status& status);
struct SettingsRecord;
Result<SettingsRecord> loadConfigFile(const std::string& path);

} // namespace z417
