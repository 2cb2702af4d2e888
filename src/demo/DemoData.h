// The demo's data folder and the dialogs it can open on request.
#pragma once

#include "demo/DemoLayer.h"

#include <QString>

#include <string>

namespace z417 {

class MainWindow;

extern const char* const kDemoMouseState; // "mouse.state" inside the data folder

// Makes dataDir from the defaults when it does not exist: "config.bin", "str.ini" and Skins/
// from beside the executable (or the installed shared folder), and a simulated mouse.
bool prepareDemoData(const std::string& exeDir, const std::string& dataDir, std::string& error);

// Opens a parameter dialog by name (fire, hotkey, media, windows, single, snipe, skins) as
// its opener would; returns "result: ok NAME=VALUE ..." or "result: cancel", or an empty
// string for an unknown name.
QString openDemoDialog(MainWindow& window, const QString& name);

} // namespace z417
