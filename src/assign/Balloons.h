// The notification-area balloons: which request shows what.
#pragma once

#include "assign/Texts.h"
#include "profile/SettingsRecord.h"

#include <string>

namespace z417 {

// The balloons the program asks for itself: the mouse detected, and not detected.
constexpr int kBalloonDetected = 14;
constexpr int kBalloonNotDetected = 15;

struct BalloonText {
    bool shown = false; // false: the request shows nothing
    std::string title;  // "Info" or "Warning"
    std::string text;
    int timeoutMs = 0;
};

// A balloon request of a type and kind, with the texts of the current language; type 7
// names the DPI value of the stage from the record and the sensor variant.
BalloonText balloonFor(int type, int kind, const TextTable& texts, const SettingsRecord& record,
                       uint8_t sensorVariant);

} // namespace z417
