// Storing a button function for a slot: parameters, labels and the Shift rules.
#pragma once

#include "assign/Texts.h"
#include "profile/SettingsFiles.h"
#include "profile/SettingsRecord.h"

#include <string>
#include <vector>

namespace z417 {

// The parameter dialogs as the catalogue sees them: each returns true on OK with its
// result members filled, false on anything else.
class ParameterDialogs {
public:
    virtual ~ParameterDialogs() = default;
    struct Choice {
        int index = 0;
        std::string text;
    };
    struct FireKey {
        int keyIndex = 0;
        std::string keyName;
        int times = 1;
        int makeTime = 32;
        int breakTime = 32;
    };
    virtual bool windowsKey(Choice& out) = 0;
    virtual bool mediaKey(Choice& out) = 0;
    virtual bool hotKey(Choice& out) = 0;
    virtual bool fireKey(FireKey& out) = 0;
    virtual bool singleKey(std::string& keyName) = 0;
    virtual bool snipe(Choice& out) = 0;
};

// Stores the function at list position `position` for slot `slot` of key set `keySet`
// (the one being edited). Position 5 (DPI Switch) stores nothing: the DPI sub-list does.
// Returns true when something was stored.
bool storeFunctionChoice(SettingsRecord& record, AssignmentLabels& labels, int keySet, int slot,
                         int position, const TextTable& texts, uint8_t sensorVariant,
                         ParameterDialogs& dialogs);

// The DPI sub-list's entry e (0 "DPI +", 1 "DPI -", 2 "DPI Loop") for the slot: code 5 and
// parameter 3 + e in the edited key set only, label the entry's text.
void storeDpiSwitchChoice(SettingsRecord& record, AssignmentLabels& labels, int keySet, int slot,
                          int entry);

// "Default": the default functions in both key sets and their labels.
void restoreDefaultAssignments(SettingsRecord& record, AssignmentLabels& labels,
                               const TextTable& texts);

// True when slot s is the only slot (0..7) of the key set holding Left Click; its list
// then must not open.
bool leftClickGuardRefuses(const SettingsRecord& record, int keySet, int slot);

// The entries of the Windows key, multimedia and combination key dialogs, in index order
// (the stored parameter), in a language: the texts the labels of those functions carry.
enum class ParameterList { Windows, Multimedia, HotKey };
std::vector<std::string> parameterNames(ParameterList list, Language language);

// Position of name in list, compared without regard to ASCII case; -1 when absent.
int findName(const std::vector<std::string>& list, const std::string& name);

} // namespace z417
