// Where the program finds its settings files and skins: beside its own executable.
#pragma once

#include "platform/Status.h"

#include <string>
#include <vector>

namespace z417 {

struct ReplaceResult {
    std::string text;
    int count; // number of occurrences replaced
};

// Replaces every occurrence of search, case-sensitive, scanning left to right and never
// rescanning replaced text. An empty search string replaces nothing.
ReplaceResult replaceAll(const std::string& text, const std::string& search,
                         const std::string& replacement);

// The executable name the settings paths are derived from.
extern const char* const kWindowsExeName; // "Z417 Gaming mouse.exe"

struct AppPaths {
    std::string modulePath; // the executable's full path
    std::string exeDir;     // its folder
    std::string configBin;  // "config.bin"
    std::string strIni;     // "str.ini"
    std::string skinsRoot;  // the folder holding one folder per skin
};

// Every occurrence of kWindowsExeName in the module path is replaced by "config.bin",
// "str.ini" and "" respectively, the last followed by "/Skins". When the path does not contain
// that name, the files are looked for in the executable's own folder under their own names.
AppPaths buildAppPaths(const std::string& modulePath);

// The folder part of a path without a trailing separator: "/usr/bin" for "/usr/bin/prog",
// "/" for "/prog", "." for a bare name.
std::string folderOf(const std::string& path);

// skinsRoot + "/" + skinName.
std::string skinFolder(const AppPaths&, const std::string& skinName);

// The names of the folders in root, as the system gives them (bytes, not necessarily UTF-8),
// in the order it reads them; files, "." and ".." are left out. Empty when root cannot be read.
std::vector<std::string> subfolderNames(const std::string& root);

// Caption of the messages about the program's own files and folders.
extern const char* const kProgramCaption; // "z417-gaming-mouse"

// The running program's executable path from /proc/self/exe.
Result<std::string> readModulePath();

} // namespace z417
