// Settings as words: what `z417ctl set` takes and `z417ctl get` prints ("rate 500",
// "dpi 2 1600", "button A 4 \"Fire Key\" F12 --times 5"). Changes go through the same catalogue
// functions the main window uses, so records and labels come out as the window leaves them.
#pragma once

#include "assign/Texts.h"
#include "platform/Status.h"
#include "profile/SettingsFiles.h"
#include "profile/SettingsRecord.h"

#include <string>
#include <vector>

namespace z417 {

// Values of the options that go with some settings; -1 = not given.
struct SettingOptions {
    int times = -1;     // --times, a fire key's repeat count
    int makeTime = -1;  // --make
    int breakTime = -1; // --break
};

// What a change works on: the record, the labels of the files' language and its texts.
struct SettingsEdit {
    SettingsRecord& record;
    AssignmentLabels& labels;
    const TextTable& texts;
    uint8_t sensorVariant;
};

// Applies one setting. A bad value is refused with one line saying why (the message's text;
// it has no caption); the record and labels are then unchanged.
Status applySetting(const std::vector<std::string>& words, const SettingOptions& options,
                    SettingsEdit& edit);

// The record as lines of set words, in a fixed order. names limits them to those settings
// (first words, for example "rate" or "button"); an unknown name is an error.
Result<std::vector<std::string>> settingLines(const SettingsRecord& record, uint8_t sensorVariant,
                                              const std::vector<std::string>& names);

// The first words set and get know, in the order get prints them.
const std::vector<std::string>& settingNames();

} // namespace z417
