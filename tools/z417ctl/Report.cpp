#include "Report.h"

#include "assign/KeyTables.h"
#include "assign/LedTexts.h"
#include "profile/DpiCodes.h"

#include <cstdio>
#include <vector>

namespace z417 {
int reportRateHz(uint8_t code) {
    switch (code) {
    case 1:
        return 1000;
    case 2:
        return 500;
    case 4:
        return 250;
    case 8:
        return 125;
    default:
        return 0;
    }
}

std::string colourText(const uint8_t rgb[3]) {
    char buf[16];
    std::snprintf(buf, sizeof buf, "#%02X%02X%02X", rgb[0], rgb[1], rgb[2]);
    return buf;
}

namespace {

std::string hex2(unsigned v) {
    char buf[8];
    std::snprintf(buf, sizeof buf, "0x%02X", v & 0xFFu);
    return buf;
}

// The name of a key set's slot function with its parameter, for example
// "Fire Key (code 0x04, 3 times)".
std::string slotText(const SettingsRecord& r, int set, int s, const TextTable& texts) {
    const uint8_t fn = r.keyFunction[set][s];
    std::string name = functionName(texts, fn);
    if (name.empty())
        return "code " + std::to_string(fn) + " (no function)";
    switch (fn) {
    case kFnDpiSwitch: {
        const uint8_t p = r.dpiSwitchParam[set][s];
        const int row = p >= 3 && p <= 5 ? p - 3 : -1;
        return name + " (" + (row >= 0 ? dpiSubList()[static_cast<size_t>(row)] : hex2(p)) + ")";
    }
    case kFnWindows:
        return name + " (entry " + std::to_string(r.windowsIndex[set][s]) + ")";
    case kFnMultimedia:
        return name + " (entry " + std::to_string(r.mediaIndex[set][s]) + ")";
    case kFnHotKey:
        return name + " (entry " + std::to_string(r.hotKeyIndex[set][s]) + ")";
    case kFnFireKey: {
        const uint8_t times = r.fireTimes[set][s];
        return name + " (code " + hex2(r.fireKeyCode[set][s]) + ", " +
               (times == 0 ? std::string("until released") : std::to_string(times) + " times") +
               ")";
    }
    case kFnSingleKey:
        return name + " (usage " + hex2(r.singleKeyUsage[set][s]) + ")";
    default:
        return name;
    }
}

std::string effectText(const SettingsRecord& r, const TextTable& texts) {
    unsigned effect = 0;
    if (r.lightMode == 1)
        effect = r.reserved33;
    else if (r.lightMode == 2)
        effect = r.breathEffect;
    else if (r.lightMode == 3)
        effect = r.reserved35[0];
    return effect < kEffectCount ? texts.slot(TextId::EffectNonDisplay, static_cast<int>(effect))
                                 : "";
}

std::string parameterText(const SettingsRecord& r) {
    switch (r.lightMode) {
    case 1:
        return textAt(brightnessTexts(), r.lightBrightness);
    case 2:
        return textAt(breathSpeedTexts(), r.breathSpeed);
    case 3:
        return textAt(neonSpeedTexts(), r.neonSpeed);
    default:
        return "";
    }
}

std::string modeText(const SettingsRecord& r, const TextTable& texts) {
    return r.lightMode < kLightModeCount ? texts.slot(TextId::ModeOff, r.lightMode)
                                         : "mode " + std::to_string(r.lightMode);
}

std::string jsonString(const std::string& s) {
    std::string out = "\"";
    for (unsigned char c : s) {
        if (c == '"' || c == '\\') {
            out += '\\';
            out += static_cast<char>(c);
        } else if (c < 0x20) {
            char buf[8];
            std::snprintf(buf, sizeof buf, "\\u%04x", c);
            out += buf;
        } else {
            out += static_cast<char>(c);
        }
    }
    return out + "\"";
}

} // namespace

std::string settingsAsText(const SettingsRecord& r, uint8_t variant, const TextTable& texts) {
    std::string out;
    const int hz = reportRateHz(r.reportRate);
    out +=
        "Report rate: " +
        (hz ? std::to_string(hz) + " Hz" : "unknown (code " + std::to_string(r.reportRate) + ")") +
        "\n";
    out += "DPI stages (sensor variant " + std::to_string(variant) + "):\n";
    for (int j = 0; j < kDpiStageCount; ++j) {
        const std::string dpi = dpiLevelName(variant, r.dpiLevel[j]);
        out += "  " + std::to_string(j + 1) + ": " +
               (dpi.empty() ? "level " + std::to_string(r.dpiLevel[j]) : dpi + " DPI") + ", " +
               (r.dpiStageEnabled[j] ? "on" : "off") + ", colour " + colourText(r.dpiColor[j]) +
               "\n";
    }
    out += "Lighting: " + modeText(r, texts);
    const std::string param = parameterText(r);
    if (!param.empty())
        out += ", " + param;
    const std::string effect = effectText(r, texts);
    if (!effect.empty() && (r.lightMode == 2))
        out += ", " + effect;
    out += "\n";
    out += "Fire key times: press " + std::to_string(r.fireMakeTime) + ", release " +
           std::to_string(r.fireBreakTime) + "\n";
    out += "Snipe DPI code: " + hex2(r.snipeDpi) + "\n";
    out += std::string("Active key set: ") + (r.activeKeySet == 1 ? "Mode B" : "Mode A") + "\n";
    for (int set = 0; set < kKeySetCount; ++set) {
        out += set == 0 ? "Mode A:\n" : "Mode B:\n";
        for (int s = 0; s < kSlotCount; ++s)
            out += "  button " + std::to_string(s + 1) + ": " + slotText(r, set, s, texts) +
                   (s >= kShownSlotCount ? " (stored only)" : "") + "\n";
    }
    return out;
}

std::string settingsAsJson(const SettingsRecord& r, uint8_t variant, const TextTable& texts) {
    std::string out = "{\n";
    out += "  \"reportRateHz\": " + std::to_string(reportRateHz(r.reportRate)) + ",\n";
    out += "  \"reportRateCode\": " + std::to_string(r.reportRate) + ",\n";
    out += "  \"sensorVariant\": " + std::to_string(variant) + ",\n";
    out += "  \"dpiStages\": [\n";
    for (int j = 0; j < kDpiStageCount; ++j) {
        char colour[64];
        std::snprintf(colour, sizeof colour, "[%d, %d, %d]", r.dpiColor[j][0], r.dpiColor[j][1],
                      r.dpiColor[j][2]);
        out += "    {\"stage\": " + std::to_string(j + 1) +
               ", \"level\": " + std::to_string(r.dpiLevel[j]) +
               ", \"dpi\": " + jsonString(dpiLevelName(variant, r.dpiLevel[j])) +
               ", \"enabled\": " + (r.dpiStageEnabled[j] ? "true" : "false") +
               ", \"color\": " + colour + "}" + (j + 1 < kDpiStageCount ? "," : "") + "\n";
    }
    out += "  ],\n";
    out += "  \"lighting\": {\"mode\": " + std::to_string(r.lightMode) +
           ", \"modeName\": " + jsonString(modeText(r, texts)) +
           ", \"parameter\": " + jsonString(parameterText(r)) +
           ", \"effect\": " + jsonString(effectText(r, texts)) + "},\n";
    out += "  \"fireMakeTime\": " + std::to_string(r.fireMakeTime) + ",\n";
    out += "  \"fireBreakTime\": " + std::to_string(r.fireBreakTime) + ",\n";
    out += "  \"snipeDpi\": " + std::to_string(r.snipeDpi) + ",\n";
    out += "  \"activeKeySet\": " + std::to_string(r.activeKeySet) + ",\n";
    out += "  \"keySets\": [\n";
    for (int set = 0; set < kKeySetCount; ++set) {
        out += "    [\n";
        for (int s = 0; s < kSlotCount; ++s)
            out += "      {\"slot\": " + std::to_string(s) +
                   ", \"function\": " + std::to_string(r.keyFunction[set][s]) +
                   ", \"text\": " + jsonString(slotText(r, set, s, texts)) + "}" +
                   (s + 1 < kSlotCount ? "," : "") + "\n";
        out += std::string("    ]") + (set + 1 < kKeySetCount ? "," : "") + "\n";
    }
    out += "  ]\n}\n";
    return out;
}

} // namespace z417
