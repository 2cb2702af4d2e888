#include "assign/FunctionCatalogue.h"

#include "assign/DefaultLabels.h"
#include "assign/KeyTables.h"
#include "platform/AsciiCase.h"
#include "profile/DpiCodes.h"

namespace z417 {
namespace {

bool holdsShift(const SettingsRecord& r, int keySet) {
    for (int s = 0; s < kSlotCount; ++s)
        if (r.keyFunction[keySet][s] == kFnShift)
            return true;
    return false;
}

struct NameInThree {
    const char* chs;
    const char* cht;
    const char* english;
};

const NameInThree kHotKeyNames[] = {
    {"复制", "複製", "Copy"},       {"剪切", "剪切", "Cut"},  {"粘贴", "粘貼", "Paste"},
    {"全选", "全選", "Select all"}, {"打开", "打開", "Open"}, {"新建", "新建", "New"},
    {"保存", "保存", "Save"},       {"撤销", "撤銷", "Undo"},
};

const NameInThree kMediaKeyNames[] = {
    {"下一首", "下一首", "Next"}, {"上一首", "上一首", "Previous"},
    {"停止", "停止", "Stop"},     {"播放/暂停", "播放/暫停", "Play/Pause"},
    {"静音", "靜音", "Mute"},     {"音量+", "音量+", "Vol+"},
    {"音量-", "音量-", "Vol-"},
};

const NameInThree kLaunchKeyNames[] = {
    {"打开多媒体播放器", "打開多媒體播放器", "Multimedia Player"},
    {"邮件", "郵件", "Mail"},
    {"计算器", "計算器", "Calculator"},
    {"我的电脑", "我的電腦", "My Computer"},
    {"浏览器-搜索", "瀏覽器-搜索", "Browser-Search"},
    {"浏览器-主页", "瀏覽器-主頁", "Browser-Home"},
    {"浏览器-后退", "瀏覽器-後退", "Browser-Back"},
    {"浏览器-前进", "瀏覽器-前進", "Browser-Forward"},
    {"浏览器-刷新", "瀏覽器-刷新", "Browser-Refresh"},
};

template <size_t N>
std::vector<std::string> namesIn(const NameInThree (&names)[N], Language language) {
    std::vector<std::string> out;
    for (const NameInThree& n : names) {
        out.emplace_back(language == Language::SimplifiedChinese    ? n.chs
                         : language == Language::TraditionalChinese ? n.cht
                                                                    : n.english);
    }
    return out;
}

uint8_t clampByte(int v) {
    return static_cast<uint8_t>(v < 0 ? 0 : v > 255 ? 255 : v);
}

// One slot whose function is being chosen: where the parameter goes, and the label it gets.
struct SlotChoice {
    SettingsRecord& r;
    int k;
    int s;
    const TextTable& texts;
    uint8_t variant;
    ParameterDialogs& dialogs;
    std::string label;

    // "<function name>-<parameter>", the label of most functions with a parameter.
    void labelAs(uint8_t function, const std::string& parameter) {
        label = functionName(texts, function) + "-" + parameter;
    }
};

// A function whose parameter is an entry of a list dialog, stored as the entry's index.
struct ListParameter {
    bool (ParameterDialogs::*ask)(ParameterDialogs::Choice&);
    uint8_t (SettingsRecord::*index)[kKeySetCount][kSlotCount];
    bool labelledByFunction; // "<function name>-<entry>" rather than the entry alone
};

bool chooseListEntry(SlotChoice& slot, uint8_t function, const ListParameter& list) {
    ParameterDialogs::Choice c;
    if (!(slot.dialogs.*list.ask)(c))
        return false;
    (slot.r.*list.index)[slot.k][slot.s] = clampByte(c.index);
    if (list.labelledByFunction)
        slot.labelAs(function, c.text);
    else
        slot.label = c.text;
    return true;
}

bool chooseFireKey(SlotChoice& slot) {
    ParameterDialogs::FireKey f;
    if (!slot.dialogs.fireKey(f))
        return false;
    SettingsRecord& r = slot.r;
    r.fireChoice[slot.k][slot.s] = clampByte(f.keyIndex);
    r.fireKeyCode[slot.k][slot.s] = usageOfFireKeyPosition(static_cast<unsigned>(f.keyIndex));
    r.fireTimes[slot.k][slot.s] = clampByte(f.times);
    r.fireMakeTime = clampByte(f.makeTime);
    r.fireBreakTime = clampByte(f.breakTime);
    slot.labelAs(kFnFireKey, f.keyName);
    return true;
}

bool chooseSingleKey(SlotChoice& slot) {
    std::string name;
    if (!slot.dialogs.singleKey(name))
        return false;
    slot.r.singleKeyUsage[slot.k][slot.s] = usageOfKeyName(name);
    slot.labelAs(kFnSingleKey, name);
    return true;
}

bool chooseSnipe(SlotChoice& slot) {
    ParameterDialogs::Choice c;
    if (!slot.dialogs.snipe(c))
        return false;
    slot.r.snipeChoice[slot.k][slot.s] = clampByte(c.index);
    slot.r.snipeDpi = dpiCode(slot.variant, clampByte(c.index), true);
    slot.labelAs(kFnSnipeKey, c.text);
    return true;
}

// Asks for function p's parameter, if it has one, and stores it; false when cancelled.
bool chooseParameter(SlotChoice& slot, uint8_t p) {
    switch (p) {
    case kFnWindows:
        return chooseListEntry(
            slot, p, {&ParameterDialogs::windowsKey, &SettingsRecord::windowsIndex, false});
    case kFnMultimedia:
        return chooseListEntry(slot, p,
                               {&ParameterDialogs::mediaKey, &SettingsRecord::mediaIndex, true});
    case kFnHotKey:
        return chooseListEntry(slot, p,
                               {&ParameterDialogs::hotKey, &SettingsRecord::hotKeyIndex, false});
    case kFnFireKey:
        return chooseFireKey(slot);
    case kFnSingleKey:
        return chooseSingleKey(slot);
    case kFnSnipeKey:
        return chooseSnipe(slot);
    default: // 0 to 4 and 12: the list entry's own text
        slot.label = functionName(slot.texts, p);
        return true;
    }
}

// Shift goes to one slot at a time, in both key sets at once.
bool storeShift(SettingsRecord& r, AssignmentLabels& labels, int k, int s, const TextTable& texts) {
    if (holdsShift(r, k))
        return false;
    r.keyFunction[0][s] = r.keyFunction[1][s] = kFnShift;
    labels.label[0][s] = labels.label[1][s] = functionName(texts, kFnShift);
    return true;
}

} // namespace

bool storeFunctionChoice(SettingsRecord& r, AssignmentLabels& labels, int k, int s, int p,
                         const TextTable& texts, uint8_t variant, ParameterDialogs& dialogs) {
    if (k < 0 || k >= kKeySetCount || s < 0 || s >= kSlotCount || p < 0 || p >= kFunctionCount)
        return false;
    if (p == kFnDpiSwitch)
        return false;
    if (p == kFnShift)
        return storeShift(r, labels, k, s, texts);
    SlotChoice slot{r, k, s, texts, variant, dialogs, {}};
    const auto function = static_cast<uint8_t>(p);
    if (!chooseParameter(slot, function))
        return false;
    // Replacing Shift writes both key sets.
    if (r.keyFunction[k][s] == kFnShift) {
        r.keyFunction[0][s] = r.keyFunction[1][s] = function;
        labels.label[1 - k][s] = slot.label;
    } else {
        r.keyFunction[k][s] = function;
    }
    labels.label[k][s] = slot.label;
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

std::vector<std::string> parameterNames(ParameterList list, Language language) {
    switch (list) {
    case ParameterList::Windows:
        return namesIn(kLaunchKeyNames, language);
    case ParameterList::Multimedia:
        return namesIn(kMediaKeyNames, language);
    case ParameterList::HotKey:
        break;
    }
    return namesIn(kHotKeyNames, language);
}

int findName(const std::vector<std::string>& list, const std::string& name) {
    for (size_t i = 0; i < list.size(); ++i)
        if (equalsIgnoringCase(list[i], name))
            return static_cast<int>(i);
    return -1;
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
