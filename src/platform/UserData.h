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

#include "platform/Status.h"

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

// Failures say why in their message (caption kProgramCaption); every path is the system's bytes.

// The user's configuration home: $XDG_CONFIG_HOME when it is an absolute path, else
// $HOME/.config, else (HOME unset or empty) the home folder of the user database entry of the
// real user id + "/.config". A failure when none can be found.
Result<std::string> userConfigHome();

// Chooses the layout for an executable in exeDir with the installed defaults in sharedDir, and in
// the installed layout makes the settings folder and seeds it. A failure when the folder cannot
// be made or a default cannot be copied.
Result<DataLocation> resolveDataLocation(const std::string& exeDir, const std::string& sharedDir);

// The same choice without making or copying anything: where the files are, or will be once
// resolveDataLocation() has run.
Result<DataLocation> locateDataLocation(const std::string& exeDir, const std::string& sharedDir);

// The running program's own layout: its executable's folder and the installed defaults of
// this build, as the utility resolves them at start.
Result<DataLocation> resolveOwnDataLocation();
Result<DataLocation> locateOwnDataLocation();

} // namespace z417
