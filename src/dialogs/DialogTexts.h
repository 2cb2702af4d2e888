// Every text of the parameter dialogs in its three languages, and the lists they offer.
#pragma once

#include "assign/Texts.h"

#include <QString>
#include <QStringList>

#include <string>

namespace z417 {

// One text in the three languages (UTF-8).
struct DialogText {
    const char* chs;
    const char* cht;
    const char* english;
    QString in(Language language) const;
};

namespace dialogText {
extern const DialogText ok;
extern const DialogText cancel;
// Fire key dialog.
extern const DialogText timesLabel;
extern const DialogText makeTimeLabel;
extern const DialogText breakTimeLabel;
extern const DialogText timeNote;
extern const DialogText timesNote;
// Single key dialog.
extern const DialogText singleKeyPrompt;
// Skins dialog.
extern const DialogText colourHint;
} // namespace dialogText

// The commands of an edit field's context menu, in menu order.
enum class EditCommand { Undo, Redo, Cut, Copy, Paste, Delete, SelectAll };
inline constexpr int kEditCommandCount = 7;
// The menu text of a command ("&" marks the mnemonic).
const DialogText& editCommandText(EditCommand command);

// The entries of the list dialogs, in index order.
QStringList hotKeyNames(Language language);    // 8 presets
QStringList mediaKeyNames(Language language);  // 7 multimedia keys
QStringList launchKeyNames(Language language); // 9 launch keys

// Failure captions when the background is missing.
namespace failureCaption {
inline constexpr const char* fireKey = "FireKey Dialog Load background image failed!!!";
inline constexpr const char* hotKey = "HotKey Dialog Load background image failed!!!";
inline constexpr const char* media = "Media Dialog Load background image failed!!!";
inline constexpr const char* windows = "Windows Dialog Load background image failed!!!";
inline constexpr const char* singleKey = "Single Key Dialog Load background image failed!!!";
inline constexpr const char* snipe = "Snipe Dialog Load background image failed!!!";
inline constexpr const char* skins = "Skins Dialog Load background image failed!!!";
} // namespace failureCaption

} // namespace z417
