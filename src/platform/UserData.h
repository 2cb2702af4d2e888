// Where the utility keeps its settings files and finds its skins.
//
// Portable layout (the build tree, an unpacked folder): "config.bin" lies beside the executable,
// and "str.ini" and Skins/ are used from there too.
//
// Installed layout (no "config.bin" beside the executable): each user has a settings folder
// $XDG_CONFIG_HOME/z417-gaming-mouse (default ~/.config/z417-gaming-mouse). At the first start
// the installed defaults "config.bin" and "str.ini" are copied into it from the shared data
// folder; a file the user already has is never replaced. Skins are read from the settings
// folder's Skins/ when the user made one, else from the shared folder's Skins/.
#pragma once

#include <string>

namespace z417 {

struct DataLocation {
    std::string settingsDir; // the folder holding "config.bin" and "str.ini"
    std::string configBin;
    std::string strIni;
    std::string skinsRoot; // the folder holding one folder per skin
    bool portable = false; // true: everything beside the executable
};

// The name of the per-user settings folder inside the configuration home.
extern const char* const kUserDataFolderName; // "z417-gaming-mouse"

// The user's configuration home: $XDG_CONFIG_HOME when it is an absolute path, else
// $HOME/.config, else (HOME unset or empty) the home folder of the user database entry of the
// real user id + "/.config". Returns false with a readable error when none can be found.
bool userConfigHome(std::string& out, std::string& error);

// Chooses the layout for an executable in exeDir with the installed defaults in sharedDir, and in
// the installed layout makes the settings folder and seeds it. Returns false with a readable
// error when the folder cannot be made or a default cannot be copied; out is then unchanged.
bool resolveDataLocation(const std::string& exeDir, const std::string& sharedDir, DataLocation& out,
                         std::string& error);

// The same choice without making or copying anything: where the files are, or will be once
// resolveDataLocation() has run.
bool locateDataLocation(const std::string& exeDir, const std::string& sharedDir, DataLocation& out,
                        std::string& error);

// The running program's own layout: its executable's folder and the installed defaults of
// this build, as the utility resolves them at start.
bool resolveOwnDataLocation(DataLocation& out, std::string& error);
bool locateOwnDataLocation(DataLocation& out, std::string& error);

} // namespace z417
