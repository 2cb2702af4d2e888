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

// Text slots that code names directly; the numbers are the language files' own.
enum class TextId {
    DpiEffect = 12,
    LightingMode = 13,
    LightingParameter = 14,
    LightingEffect = 17,
    CurrentMode = 19,      // run-time entry
    CurrentParameter = 20, // run-time entry
    CurrentEffect = 23,    // run-time entry
    ModeOff = 24,          // lighting modes 24..27
    EffectNonDisplay = 28, // lighting effects 28..31
    RgbOnOff = 42,         // default label of slot 6
    LeftKeyRequired = 52,
    WebLink = 53,
    ReportRate1000 = 54,
    ReportRate500 = 55,
    ReportRate250 = 56,
    ReportRate125 = 57,
    DpiStage1 = 58, // 58..65: stages 1..8
    KeyMatrix1 = 66,
    KeyMatrix2 = 67,
    MacroKey = 70,
    Exit = 71,
    MouseNotDetected = 72,
    MouseDetected = 73
};

class TextTable {
public:
    explicit TextTable(Language = Language::English);

    Language language() const { return language_; }
    std::string sectionName() const { return labelSectionName(language_); }

    const std::string& caption(Caption) const;

    // The text of slot n; empty for slots that do not exist and for n out of range.
    const std::string& slot(int n) const;
    const std::string& slot(TextId id) const { return slot(static_cast<int>(id)); }
    // The slot offset places after first, for runs of slots such as the DPI stages.
    const std::string& slot(TextId first, int offset) const {
        return slot(static_cast<int>(first) + offset);
    }

    // Slots 0..5 (DPI stage captions), 19, 20 and 23 (current lighting texts) are filled at
    // run time; writes to any other slot are ignored.
    void setRuntimeSlot(int n, std::string text);

    static bool isRuntimeSlot(int n);

private:
    Language language_;
    std::array<std::string, kCaptionCount> captions_;
    std::array<std::string, kTextSlotCount> slots_;
};

// Names a screen reader gives the page's controls that show no text of their own. "%1" stands
// for a number (a button or a DPI stage).
enum class ControlNameText { ButtonNumber, DpiStageNumber, DpiStageColour, Skin, Minimise, Close };

// The name in the language, with "%1" replaced by number.
std::string controlNameText(Language, ControlNameText, int number = 0);

// The text slot naming function code 0..13; -1 for other codes.
int functionNameSlot(uint8_t functionCode);

// The function's name in the table's language; "" for codes above 13.
std::string functionName(const TextTable&, uint8_t functionCode);

} // namespace z417
