#include "SettingWords.h"

#include "Report.h"

#include "assign/FunctionCatalogue.h"
#include "assign/KeyTables.h"
#include "assign/LedTexts.h"
#include "profile/DpiCodes.h"

#include <algorithm>
#include <cctype>
#include <cstdio>
#include <functional>

namespace z417 {
namespace {

constexpr int kShownStages = 6;
constexpr int kRespirationEffects = 2; // "RGB Effect", "RGB Flash"
constexpr int kMinFireTime = 5;
constexpr int kMaxFireTime = 255;
constexpr int kMaxFireTimes = 127;

const TextTable& englishTexts() {
    static const TextTable texts(Language::English);
    return texts;
}

bool parseInt(const std::string& text, int low, int high, int& out) {
    if (text.empty() || text.size() > 6 ||
        !std::all_of(text.begin(), text.end(), [](char c) { return c >= '0' && c <= '9'; }))
        return false;
    out = std::stoi(text);
    return out >= low && out <= high;
}

// A refused setting: one line saying why, without a caption.
Status refused(const std::string& why) {
    return Status::failure("", why);
}

// A setting given more words than it takes: the first extra word is named, not the value.
Status noExtraWords(const std::vector<std::string>& w, size_t count) {
    if (w.size() <= count)
        return {};
    std::string setting;
    for (size_t i = 0; i < count; ++i)
        setting += (i ? " " : "") + w[i];
    return refused("unexpected '" + w[count] + "' after '" + setting + "'");
}

// "A" or "B" (either case) as key set 0 or 1.
bool parseKeySet(const std::string& text, int& set) {
    if (text == "A" || text == "a" || text == "B" || text == "b") {
        set = (text == "B" || text == "b") ? 1 : 0;
        return true;
    }
    return false;
}

// "NAME STAGE VALUE": the stage (0-based) of a per-stage setting.
Result<int> stageWords(const std::vector<std::string>& w, const char* usage) {
    if (Status extra = noExtraWords(w, 3); !extra)
        return extra;
    if (w.size() != 3)
        return refused(usage);
    int stage = 0;
    if (!parseInt(w[1], 1, kShownStages, stage))
        return refused("stage '" + w[1] + "': a DPI stage is 1 to 6");
    return stage - 1;
}

bool parseColour(const std::string& text, uint8_t rgb[3]) {
    if (text.size() != 7 || text[0] != '#')
        return false;
    for (size_t i = 1; i < text.size(); ++i)
        if (!std::isxdigit(static_cast<unsigned char>(text[i])))
            return false;
    for (int c = 0; c < 3; ++c)
        rgb[c] = static_cast<uint8_t>(std::stoi(text.substr(1 + 2 * c, 2), nullptr, 16));
    return true;
}

// A list entry given with or without its unit ("55%" or "55", "8S", "8s" or "8").
int findWithUnit(const std::vector<std::string>& list, const std::string& text, char unit) {
    int found = findName(list, text);
    if (found < 0)
        found = findName(list, text + unit);
    return found;
}

// The DPI values a stage can take with this sensor: its names, cut to the levels it has a
// DPI code for.
std::vector<std::string> offeredDpiValues(uint8_t variant) {
    const std::vector<std::string>& row = dpiLabelRow(variant);
    const size_t count =
        std::min(row.size(), static_cast<size_t>(std::max(0, dpiCodeCount(variant))));
    return std::vector<std::string>(row.begin(), row.begin() + static_cast<long>(count));
}

std::string joined(const std::vector<std::string>& list) {
    std::string out;
    for (const std::string& entry : list)
        out += (out.empty() ? "" : ", ") + entry;
    return out;
}

// ---- set ------------------------------------------------------------------------------------

Status setRate(const std::vector<std::string>& w, SettingsEdit& e) {
    int hz = 0;
    if (Status extra = noExtraWords(w, 2); !extra)
        return extra;
    if (w.size() != 2 || !parseInt(w[1], 125, 1000, hz) || 1000 % hz != 0 ||
        (hz != 125 && hz != 250 && hz != 500 && hz != 1000))
        return refused("rate takes 125, 250, 500 or 1000");
    e.record.reportRate = static_cast<uint8_t>(1000 / hz);
    return {};
}

Status setDpi(const std::vector<std::string>& w, SettingsEdit& e) {
    const Result<int> stageOrWhy = stageWords(w, "dpi takes STAGE and a DPI value, on or off");
    if (!stageOrWhy)
        return stageOrWhy.status();
    const int stage = *stageOrWhy;
    if (w[2] == "on" || w[2] == "off") {
        e.record.dpiStageEnabled[stage] = w[2] == "on" ? 1 : 0;
        return {};
    }
    const std::vector<std::string> values = offeredDpiValues(e.sensorVariant);
    const int level = findName(values, w[2]);
    if (level < 0)
        return refused("dpi '" + w[2] + "': this sensor offers " + joined(values));
    e.record.dpiLevel[stage] = static_cast<uint8_t>(level);
    return {};
}

Status setColour(const std::vector<std::string>& w, SettingsEdit& e) {
    const Result<int> stageOrWhy = stageWords(w, "colour takes STAGE and #RRGGBB");
    if (!stageOrWhy)
        return stageOrWhy.status();
    const int stage = *stageOrWhy;
    uint8_t rgb[3];
    if (!parseColour(w[2], rgb))
        return refused("colour '" + w[2] + "': a colour is #RRGGBB");
    std::copy(rgb, rgb + 3, e.record.dpiColor[stage]);
    return {};
}

Status setLighting(const std::vector<std::string>& w, SettingsEdit& e) {
    const std::string mode = w.size() > 1 ? w[1] : "";
    const size_t words = mode == "off" ? 2 : mode == "standard" ? 3 : mode == "respiration" ? 4 : 0;
    if (Status extra = noExtraWords(w, words); words != 0 && !extra)
        return extra;
    if (mode == "off" && w.size() == 2) {
        e.record.lightMode = 0;
        return {};
    }
    if (mode == "standard" && w.size() == 3) {
        const int level = findWithUnit(brightnessTexts(), w[2], '%');
        if (level < 0)
            return refused("brightness '" + w[2] + "': one of " + joined(brightnessTexts()));
        e.record.lightMode = 1;
        e.record.lightBrightness = static_cast<uint8_t>(level);
        return {};
    }
    if (mode == "respiration" && w.size() == 4) {
        const int speed = findWithUnit(breathSpeedTexts(), w[2], 'S');
        if (speed < 0)
            return refused("speed '" + w[2] + "': one of " + joined(breathSpeedTexts()));
        std::vector<std::string> effects;
        for (int i = 1; i <= kRespirationEffects; ++i)
            effects.push_back(englishTexts().slot(TextId::EffectNonDisplay, i));
        const int effect = findName(effects, w[3]);
        if (effect < 0)
            return refused("effect '" + w[3] + "': one of " + joined(effects));
        e.record.lightMode = 2;
        e.record.breathSpeed = static_cast<uint8_t>(speed);
        e.record.breathEffect = static_cast<uint8_t>(effect + 1);
        return {};
    }
    return refused("lighting takes off, standard PERCENT or respiration SPEED EFFECT");
}

Status setFire(const std::vector<std::string>& w, const SettingOptions& o, SettingsEdit& e) {
    if (Status extra = noExtraWords(w, 1); !extra)
        return extra;
    if (o.makeTime < 0 || o.breakTime < 0)
        return refused("fire takes --make MS and --break MS");
    e.record.fireMakeTime = static_cast<uint8_t>(o.makeTime);
    e.record.fireBreakTime = static_cast<uint8_t>(o.breakTime);
    return {};
}

Status setActiveSet(const std::vector<std::string>& w, SettingsEdit& e) {
    int set = 0;
    if (Status extra = noExtraWords(w, 2); !extra)
        return extra;
    if (w.size() != 2 || !parseKeySet(w[1], set))
        return refused("active-set takes A or B");
    e.record.activeKeySet = static_cast<uint8_t>(set);
    return {};
}

// The parameter dialogs answered from the command line: each returns the prepared answer.
class PreparedAnswers final : public ParameterDialogs {
public:
    Choice choice;
    FireKey fire;
    std::string keyName;
    bool windowsKey(Choice& out) override { return give(out); }
    bool mediaKey(Choice& out) override { return give(out); }
    bool hotKey(Choice& out) override { return give(out); }
    bool snipe(Choice& out) override { return give(out); }
    bool fireKey(FireKey& out) override {
        out = fire;
        return true;
    }
    bool singleKey(std::string& out) override {
        out = keyName;
        return true;
    }

private:
    bool give(Choice& out) {
        out = choice;
        return true;
    }
};

// One list parameter (Windows, Multimedia, HotKey) by its English name; the label carries
// the name in the files' language.
Status prepareListChoice(ParameterList list, const std::string& name, const TextTable& texts,
                         PreparedAnswers& answers) {
    const std::vector<std::string> english = parameterNames(list, Language::English);
    const int index = findName(english, name);
    if (index < 0)
        return refused("'" + name + "': one of " + joined(english));
    answers.choice = {index, parameterNames(list, texts.language())[static_cast<size_t>(index)]};
    return {};
}

Status prepareFireKey(const std::string& name, const SettingOptions& o, const SettingsEdit& e,
                      PreparedAnswers& answers) {
    const int index = findName(fireKeyList(), name);
    if (index < 0)
        return refused("fire key '" + name + "': one of " + joined(fireKeyList()));
    answers.fire.keyIndex = index;
    answers.fire.keyName = fireKeyList()[static_cast<size_t>(index)];
    // The press and release times are shared by every fire key: without --make and --break
    // they stay as they are.
    answers.fire.times = o.times >= 0 ? o.times : answers.fire.times;
    answers.fire.makeTime = o.makeTime >= 0 ? o.makeTime : e.record.fireMakeTime;
    answers.fire.breakTime = o.breakTime >= 0 ? o.breakTime : e.record.fireBreakTime;
    return {};
}

Status prepareSingleKey(const std::string& name, PreparedAnswers& answers) {
    for (const KeyNameRow& row : kKeyNameTable) {
        if (findName({row.name}, name) == 0) {
            answers.keyName = row.name;
            return {};
        }
    }
    return refused("key '" + name + "' is not a key name (for example A, F12, Space)");
}

Status prepareSnipe(const std::string& value, uint8_t variant, PreparedAnswers& answers) {
    const std::vector<std::string>& list = snipeList(variant);
    const int index = findName(list, value);
    if (index < 0)
        return refused("snipe DPI '" + value + "': this sensor offers " + joined(list));
    answers.choice = {index, list[static_cast<size_t>(index)]};
    return {};
}

// Fills the answer the function's dialog would give; functions without one need no words.
Status prepareAnswers(int function, const std::vector<std::string>& params, const SettingOptions& o,
                      const SettingsEdit& e, PreparedAnswers& answers) {
    const bool takesParameter = function >= kFnDpiSwitch && function <= kFnSnipeKey;
    const std::string name = functionName(englishTexts(), static_cast<uint8_t>(function));
    if (params.size() != (takesParameter ? 1u : 0u))
        return refused("\"" + name + "\" takes " +
                       (takesParameter ? "one parameter" : "no parameter"));
    switch (function) {
    case kFnWindows:
        return prepareListChoice(ParameterList::Windows, params[0], e.texts, answers);
    case kFnMultimedia:
        return prepareListChoice(ParameterList::Multimedia, params[0], e.texts, answers);
    case kFnHotKey:
        return prepareListChoice(ParameterList::HotKey, params[0], e.texts, answers);
    case kFnFireKey:
        return prepareFireKey(params[0], o, e, answers);
    case kFnSingleKey:
        return prepareSingleKey(params[0], answers);
    case kFnSnipeKey:
        return prepareSnipe(params[0], e.sensorVariant, answers);
    default:
        return {};
    }
}

Status checkFireOptions(int function, const SettingOptions& o) {
    const bool given = o.times >= 0 || o.makeTime >= 0 || o.breakTime >= 0;
    if (given && function != kFnFireKey)
        return refused("--times, --make and --break go with \"Fire Key\" only");
    return {};
}

Status setButton(const std::vector<std::string>& w, const SettingOptions& o, SettingsEdit& e) {
    int set = 0;
    int slot = 0;
    if (w.size() < 4)
        return refused("button takes A|B, SLOT and a function");
    if (!parseKeySet(w[1], set))
        return refused("key set '" + w[1] + "': A or B");
    if (!parseInt(w[2], 1, kShownSlotCount, slot))
        return refused("slot '" + w[2] + "': a button is 1 to 6");
    --slot;
    int function = -1;
    for (int code = 0; code < kFunctionCount && function < 0; ++code)
        if (findName({functionName(englishTexts(), static_cast<uint8_t>(code))}, w[3]) == 0)
            function = code;
    if (function < 0)
        return refused("function '" + w[3] + "' is not a button function");
    const std::vector<std::string> params(w.begin() + 4, w.end());
    PreparedAnswers answers;
    if (Status fireOptions = checkFireOptions(function, o); !fireOptions)
        return fireOptions;
    if (Status prepared = prepareAnswers(function, params, o, e, answers); !prepared)
        return prepared;
    // The only Left Click of a key set stays; giving it Left Click again changes nothing.
    if (function != kFnLeftClick && leftClickGuardRefuses(e.record, set, slot))
        return refused(englishTexts().slot(TextId::LeftKeyRequired) + " (button " + w[2] +
                       " is the only Left Click of set " + w[1] + ")");
    if (function == kFnDpiSwitch) {
        const int entry = findName(dpiSubList(), params[0]);
        if (entry < 0)
            return refused("'" + params[0] + "': one of " + joined(dpiSubList()));
        storeDpiSwitchChoice(e.record, e.labels, set, slot, entry);
        return {};
    }
    if (function == kFnShift && e.record.keyFunction[set][slot] == kFnShift)
        return {}; // already there
    if (!storeFunctionChoice(e.record, e.labels, set, slot, function, e.texts, e.sensorVariant,
                             answers))
        return refused("Shift is on another button already; it goes on one button at a time");
    return {};
}

Status checkTimes(const SettingOptions& o) {
    if (o.times > kMaxFireTimes)
        return refused("--times takes 0 to 127");
    const auto badTime = [](int t) { return t >= 0 && (t < kMinFireTime || t > kMaxFireTime); };
    if (badTime(o.makeTime) || badTime(o.breakTime))
        return refused("--make and --break take 5 to 255");
    return {};
}

// ---- get ------------------------------------------------------------------------------------

std::string quoted(const std::string& word) {
    if (!word.empty() && word.find_first_of(" \t\"'\\$`!*?&;|<>()#~") == std::string::npos)
        return word;
    std::string out = "\"";
    for (char c : word) {
        if (c == '"' || c == '\\' || c == '$' || c == '`')
            out += '\\';
        out += c;
    }
    return out + "\"";
}

std::string entryOr(const std::vector<std::string>& list, unsigned index) {
    const std::string text = textAt(list, index);
    return text.empty() ? "#" + std::to_string(index) : text;
}

std::string parameterWords(const SettingsRecord& r, int k, int s, uint8_t variant) {
    switch (r.keyFunction[k][s]) {
    case kFnDpiSwitch:
        return " " + quoted(entryOr(dpiSubList(), r.dpiSwitchParam[k][s] - 3u));
    case kFnWindows:
        return " " + quoted(entryOr(parameterNames(ParameterList::Windows, Language::English),
                                    r.windowsIndex[k][s]));
    case kFnMultimedia:
        return " " + quoted(entryOr(parameterNames(ParameterList::Multimedia, Language::English),
                                    r.mediaIndex[k][s]));
    case kFnHotKey:
        return " " + quoted(entryOr(parameterNames(ParameterList::HotKey, Language::English),
                                    r.hotKeyIndex[k][s]));
    case kFnFireKey:
        return " " + quoted(entryOr(fireKeyList(), r.fireChoice[k][s])) + " --times " +
               std::to_string(r.fireTimes[k][s]);
    case kFnSingleKey: {
        for (const KeyNameRow& row : kKeyNameTable)
            if (row.usage == r.singleKeyUsage[k][s])
                return " " + quoted(row.name);
        return " #" + std::to_string(r.singleKeyUsage[k][s]);
    }
    case kFnSnipeKey:
        return " " + quoted(entryOr(snipeList(variant), r.snipeChoice[k][s]));
    default:
        return "";
    }
}

std::string hzOf(uint8_t code) {
    const int hz = reportRateHz(code);
    return hz != 0 ? std::to_string(hz) : "#" + std::to_string(code);
}

std::string lightingWords(const SettingsRecord& r) {
    switch (r.lightMode) {
    case 0:
        return "off";
    case 1:
        return "standard " + entryOr(brightnessTexts(), r.lightBrightness);
    case 2:
        return "respiration " + entryOr(breathSpeedTexts(), r.breathSpeed) + " " +
               quoted(englishTexts().slot(TextId::EffectNonDisplay,
                                          std::min<int>(r.breathEffect, kEffectCount - 1)));
    case 3:
        return "neon";
    default:
        return "#" + std::to_string(r.lightMode);
    }
}

using LineWriter = std::function<void(const SettingsRecord&, uint8_t, std::vector<std::string>&)>;

struct SettingRow {
    const char* name;
    LineWriter lines;
};

const std::vector<SettingRow>& settingRows() {
    static const std::vector<SettingRow> rows = {
        {"rate",
         [](const SettingsRecord& r, uint8_t, std::vector<std::string>& out) {
             out.push_back("rate " + hzOf(r.reportRate));
         }},
        {"dpi",
         [](const SettingsRecord& r, uint8_t v, std::vector<std::string>& out) {
             for (int j = 0; j < kShownStages; ++j) {
                 const std::string stage = "dpi " + std::to_string(j + 1) + " ";
                 out.push_back(stage + entryOr(offeredDpiValues(v), r.dpiLevel[j]));
                 out.push_back(stage + (r.dpiStageEnabled[j] ? "on" : "off"));
             }
         }},
        {"colour",
         [](const SettingsRecord& r, uint8_t, std::vector<std::string>& out) {
             for (int j = 0; j < kShownStages; ++j) {
                 out.push_back("colour " + std::to_string(j + 1) + " " +
                               quoted(colourText(r.dpiColor[j])));
             }
         }},
        {"lighting",
         [](const SettingsRecord& r, uint8_t, std::vector<std::string>& out) {
             out.push_back("lighting " + lightingWords(r));
         }},
        {"button",
         [](const SettingsRecord& r, uint8_t v, std::vector<std::string>& out) {
             for (int k = 0; k < kKeySetCount; ++k)
                 for (int s = 0; s < kShownSlotCount; ++s) {
                     const std::string name = functionName(englishTexts(), r.keyFunction[k][s]);
                     out.push_back(
                         std::string("button ") + (k ? "B " : "A ") + std::to_string(s + 1) + " " +
                         (name.empty() ? "#" + std::to_string(r.keyFunction[k][s]) : quoted(name)) +
                         parameterWords(r, k, s, v));
                 }
         }},
        {"fire",
         [](const SettingsRecord& r, uint8_t, std::vector<std::string>& out) {
             out.push_back("fire --make " + std::to_string(r.fireMakeTime) + " --break " +
                           std::to_string(r.fireBreakTime));
         }},
        {"active-set",
         [](const SettingsRecord& r, uint8_t, std::vector<std::string>& out) {
             out.push_back(std::string("active-set ") + (r.activeKeySet == 1 ? "B" : "A"));
         }},
    };
    return rows;
}

} // namespace

const std::vector<std::string>& settingNames() {
    static const std::vector<std::string> names = [] {
        std::vector<std::string> out;
        for (const SettingRow& row : settingRows())
            out.emplace_back(row.name);
        return out;
    }();
    return names;
}

Status applySetting(const std::vector<std::string>& words, const SettingOptions& options,
                    SettingsEdit& edit) {
    if (words.empty())
        return refused("set needs a setting: " + joined(settingNames()));
    if (Status times = checkTimes(options); !times)
        return times;
    const std::string& name = words[0];
    const bool optionsAllowed = name == "button" || name == "fire";
    if (!optionsAllowed && (options.times >= 0 || options.makeTime >= 0 || options.breakTime >= 0))
        return refused("--times, --make and --break go with button and fire only");
    // Changes are made on copies, so that a refused value leaves everything as it was.
    SettingsRecord record = edit.record;
    AssignmentLabels labels = edit.labels;
    SettingsEdit copy{record, labels, edit.texts, edit.sensorVariant};
    Status done;
    if (name == "rate")
        done = setRate(words, copy);
    else if (name == "dpi")
        done = setDpi(words, copy);
    else if (name == "colour" || name == "color")
        done = setColour(words, copy);
    else if (name == "lighting")
        done = setLighting(words, copy);
    else if (name == "button")
        done = setButton(words, options, copy);
    else if (name == "fire")
        done = setFire(words, options, copy);
    else if (name == "active-set")
        done = setActiveSet(words, copy);
    else
        return refused("unknown setting '" + name + "': " + joined(settingNames()));
    if (done) {
        edit.record = record;
        edit.labels = labels;
    }
    return done;
}

Result<std::vector<std::string>> settingLines(const SettingsRecord& record, uint8_t sensorVariant,
                                              const std::vector<std::string>& names) {
    for (const std::string& name : names)
        if (std::find(settingNames().begin(), settingNames().end(), name) == settingNames().end())
            return refused("unknown setting '" + name + "': " + joined(settingNames()));
    std::vector<std::string> lines;
    for (const SettingRow& row : settingRows())
        if (names.empty() || std::find(names.begin(), names.end(), row.name) != names.end())
            row.lines(record, sensorVariant, lines);
    return lines;
}

} // namespace z417
