// The main window's localised texts: the language chosen by the "Lan" code, the "str.ini"
// section of the button labels, the named captions and the numbered text slots.
#pragma once

#include <array>
#include <cstdint>
#include <string>

namespace z417 {

enum class Language { English, SimplifiedChinese, TraditionalChinese };

// "CHS" and "CHT", compared whole and case-sensitively; anything else (also "") is English.
Language languageFromCode(const std::string& lan);

// "Setting-CHS", "Setting-CHT" or "Setting-EN".
std::string labelSectionName(Language);

enum class Caption {
    PageTitle,
    OkButton,
    ApplyButton,
    CancelButton,
    DefaultButton,
    KeyHeading,
    ReportRateHeading,
    DpiHeading
};
constexpr int kCaptionCount = 8;

constexpr int kTextSlotCount = 74;

// The maker's web site, text slot 53, the same in every language.
extern const char* const kWebAddress;

// Text slot numbers that other code names directly.
namespace text_slot {
constexpr int kDpiEffect = 12;
constexpr int kLightingMode = 13;
constexpr int kLightingParameter = 14;
constexpr int kLightingEffect = 17;
constexpr int kCurrentMode = 19;      // run-time entry
constexpr int kCurrentParameter = 20; // run-time entry
constexpr int kCurrentEffect = 23;    // run-time entry
constexpr int kModeOff = 24;          // lighting modes 24..27
constexpr int kEffectNonDisplay = 28; // lighting effects 28..31
constexpr int kRgbOnOff = 42;
constexpr int kLeftKeyRequired = 52;
constexpr int kWebLink = 53;
constexpr int kReportRate1000 = 54; // 54..57: 1000, 500, 250, 125 Hz
constexpr int kDpiStage1 = 58;      // 58..65: stages 1..8
constexpr int kKeyMatrix1 = 66;
constexpr int kKeyMatrix2 = 67;
constexpr int kMacroKey = 70;
constexpr int kExit = 71;
constexpr int kMouseNotDetected = 72;
constexpr int kMouseDetected = 73;
} // namespace text_slot

class TextTable {
public:
    explicit TextTable(Language = Language::English);

    Language language() const { return language_; }
    std::string sectionName() const { return labelSectionName(language_); }

    const std::string& caption(Caption) const;

    // The text of slot n; empty for slots that do not exist and for n out of range.
    const std::string& slot(int n) const;

    // Slots 0..5 (DPI stage captions), 19, 20 and 23 (current lighting texts) are filled at
    // run time; writes to any other slot are ignored.
    void setRuntimeSlot(int n, std::string text);

    static bool isRuntimeSlot(int n);

private:
    Language language_;
    std::array<std::string, kCaptionCount> captions_;
    std::array<std::string, kTextSlotCount> slots_;
};

// The text slot naming function code 0..13; -1 for other codes.
int functionNameSlot(uint8_t functionCode);

// The function's name in the table's language; "" for codes above 13.
std::string functionName(const TextTable&, uint8_t functionCode);

} // namespace z417
