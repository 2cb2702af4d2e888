#include "profile/SettingsRecord.h"

namespace z417 {

void restoreDefaultKeys(SettingsRecord& record) {
    static constexpr uint8_t kDefaults[kSlotCount] = {kFnLeftClick, kFnRightClick, kFnMidClick,
                                                      kFnForward,   kFnBackward,   kFnDpiSwitch,
                                                      kFnKeyOff,    kFnKeyOff};
    for (int set = 0; set < kKeySetCount; ++set) {
        for (int s = 0; s < kSlotCount; ++s)
            record.keyFunction[set][s] = kDefaults[s];
        record.dpiSwitchParam[set][5] = 5;
    }
}

} // namespace z417
