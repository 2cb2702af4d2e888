#include "assign/Balloons.h"

#include "assign/KeyTables.h"

namespace z417 {
namespace {

// How long every balloon stays: the desktop's usual time. The "detected" and "not detected"
// balloons stay as long as the others: the warning is the only sign of a missing mouse and
// must stay long enough to be read.
constexpr int kShownMs = 5000;

BalloonText balloon(const char* title, std::string text) {
    return {true, title, std::move(text), kShownMs};
}

BalloonText info(std::string text) {
    return balloon("Info", std::move(text));
}

} // namespace

BalloonText balloonFor(int type, int kind, const TextTable& texts, const SettingsRecord& record,
                       uint8_t sensorVariant) {
    switch (type) {
    case 5: // report rate: kinds are the polling intervals 1, 2, 4, 8
        switch (kind) {
        case 1:
            return info(texts.slot(TextId::ReportRate1000));
        case 2:
            return info(texts.slot(TextId::ReportRate500));
        case 4:
            return info(texts.slot(TextId::ReportRate250));
        case 8:
            return info(texts.slot(TextId::ReportRate125));
        default:
            return {};
        }
    case 7: // DPI stage 1..8 with the stage's value
        if (kind < 1 || kind > 8)
            return {};
        return info(texts.slot(TextId::DpiStage1, kind - 1) +
                    dpiLevelName(sensorVariant, record.dpiLevel[kind - 1]));
    case 8: // key set
        if (kind != 1 && kind != 2)
            return {};
        return info(texts.slot(kind == 1 ? TextId::KeyMatrix1 : TextId::KeyMatrix2));
    case 9:
        if (kind == 0)
            return {};
        return info(texts.slot(TextId::MacroKey) + std::to_string(kind));
    case 14:
        return info(texts.slot(TextId::MouseDetected));
    case 15:
        return balloon("Warning", texts.slot(TextId::MouseNotDetected));
    default:
        return {};
    }
}

} // namespace z417
