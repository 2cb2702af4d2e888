#include "assign/FunctionCatalogue.h"

#include "assign/DefaultLabels.h"
#include "assign/KeyTables.h"
#include "profile/DpiCodes.h"

namespace z417 {
namespace {

bool holdsShift(const SettingsRecord& r, int keySet) {
    for (int s = 0; s < kSlotCount; ++s)
        if (r.keyFunction[keySet][s] == kFnShift)
            return true;
    return false;
}

uint8_t clampByte(int v) {
    return static_cast<uint8_t>(v < 0 ? 0 : v > 255 ? 255 : v);
}

} // namespace

bool storeFunctionChoice(SettingsRecord& r, AssignmentLabels& labels, int k, int s, int p,
                         const TextTable& texts, uint8_t variant, ParameterDialogs& dialogs) {
    if (k < 0 || k >= kKeySetCount || s < 0 || s >= kSlotCount || p < 0 || p >= kFunctionCount)
        return false;
    if (p == kFnDpiSwitch)
        return false;
    const int other = 1 - k;
    if (p == kFnShift) {
        // One slot at a time, in both key sets at once.
        if (holdsShift(r, k))
            return false;
        r.keyFunction[0][s] = r.keyFunction[1][s] = kFnShift;
        labels.label[0][s] = labels.label[1][s] = functionName(texts, kFnShift);
        return true;
    }

    std::string text;
    switch (p) {
    case kFnWindows: {
        ParameterDialogs::Choice c;
        if (!dialogs.windowsKey(c))
            return false;
        r.windowsIndex[k][s] = clampByte(c.index);
        text = c.text;
        break;
    }
    case kFnMultimedia: {
        ParameterDialogs::Choice c;
        if (!dialogs.mediaKey(c))
            return false;
        r.mediaIndex[k][s] = clampByte(c.index);
        text = functionName(texts, kFnMultimedia) + "-" + c.text;
        break;
    }
    case kFnHotKey: {
        ParameterDialogs::Choice c;
        if (!dialogs.hotKey(c))
            return false;
        r.hotKeyIndex[k][s] = clampByte(c.index);
        text = c.text;
        break;
    }
    case kFnFireKey: {
        ParameterDialogs::FireKey f;
        if (!dialogs.fireKey(f))
            return false;
        r.fireChoice[k][s] = clampByte(f.keyIndex);
        r.fireKeyCode[k][s] = usageOfFireKeyPosition(static_cast<unsigned>(f.keyIndex));
        r.fireTimes[k][s] = clampByte(f.times);
        r.fireMakeTime = clampByte(f.makeTime);
        r.fireBreakTime = clampByte(f.breakTime);
        text = functionName(texts, kFnFireKey) + "-" + f.keyName;
        break;
    }
    case kFnSingleKey: {
        std::string name;
        if (!dialogs.singleKey(name))
            return false;
        r.singleKeyUsage[k][s] = usageOfKeyName(name);
        text = functionName(texts, kFnSingleKey) + "-" + name;
        break;
    }
    case kFnSnipeKey: {
        ParameterDialogs::Choice c;
        if (!dialogs.snipe(c))
            return false;
        r.snipeChoice[k][s] = clampByte(c.index);
        r.snipeDpi = dpiCode(variant, clampByte(c.index), true);
        text = functionName(texts, kFnSnipeKey) + "-" + c.text;
        break;
    }
    default: // 0 to 4 and 12: the list entry's own text
        text = functionName(texts, static_cast<uint8_t>(p));
        break;
    }

    // Replacing Shift writes both key sets.
    if (r.keyFunction[k][s] == kFnShift) {
        r.keyFunction[0][s] = r.keyFunction[1][s] = static_cast<uint8_t>(p);
        labels.label[other][s] = text;
    } else {
        r.keyFunction[k][s] = static_cast<uint8_t>(p);
    }
    labels.label[k][s] = text;
    return true;
}

void storeDpiSwitchChoice(SettingsRecord& r, AssignmentLabels& labels, int k, int s, int entry) {
    if (k < 0 || k >= kKeySetCount || s < 0 || s >= kSlotCount || entry < 0 || entry > 2)
        return;
    r.keyFunction[k][s] = kFnDpiSwitch;
    r.dpiSwitchParam[k][s] = static_cast<uint8_t>(3 + entry);
    labels.label[k][s] = dpiSubList()[static_cast<size_t>(entry)];
}

void restoreDefaultAssignments(SettingsRecord& r, AssignmentLabels& labels,
                               const TextTable& texts) {
    restoreDefaultKeys(r);
    labels = defaultAssignmentLabels(texts);
}

bool leftClickGuardRefuses(const SettingsRecord& r, int k, int s) {
    if (k != 0 && k != 1)
        return false;
    if (r.keyFunction[k][s] != kFnLeftClick)
        return false;
    for (int j = 0; j < kSlotCount; ++j)
        if (j != s && r.keyFunction[k][j] == kFnLeftClick)
            return false;
    return true;
}

} // namespace z417
