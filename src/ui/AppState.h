// The process-wide state of the utility in one plain object: the settings record and its
// saved copy, the profile block, texts, labels and the skin choice. The shell, the page,
// the tray and the device watcher all work on the one instance main() declares; no widget
// owns it, and a test builds a fresh one.
#pragma once

#include "assign/Texts.h"
#include "platform/Paths.h"
#include "profile/ProfileBlock.h"
#include "profile/SettingsFiles.h"
#include "profile/SettingsRecord.h"
#include "ui/Skin.h"

#include <QFont>
#include <QString>

#include <cstdint>
#include <string>

namespace z417 {

struct AppState {
    SettingsRecord record{};
    SettingsRecord savedSettings{}; // what OK or Apply last kept; Cancel returns to it
    ProfileBlock block{};
    uint8_t firstRunFlag = 0;
    AppPaths paths;
    TextTable texts;
    AssignmentLabels labels;
    // What "config.bin" and "str.ini" held when last read or written here: where the record
    // or a label still equals them, a change another program made to the files is taken over.
    SettingsRecord fileRecord{};
    AssignmentLabels fileLabels;
    SkinValues skinValues;
    Skin skin; // images, text colour and accent of the skin in use
    QFont normalFont;
    QFont titleFont;
    bool fontsMade = false; // the fonts are made at the first show

    // "Lan" of "str.ini", as read at start.
    const std::string& languageCode() const { return skinValues.languageCode; }
};

} // namespace z417
