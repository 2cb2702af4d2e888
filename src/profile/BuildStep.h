// The pure transform from the user's record to the mouse's configuration image.
#pragma once

#include "profile/ProfileBlock.h"
#include "profile/SettingsRecord.h"

namespace z417 {

// Writes the fixed consumer-usage and key-combination tables into the image (first step
// of an apply).
void writeFixedTables(ProfileBlock& block);

// Encodes one button slot of a key set as (code byte, type byte).
struct ButtonEntry {
    uint8_t code;
    uint8_t type;
};
ButtonEntry encodeButton(const SettingsRecord& record, int keySet, int slot);

// Rewrites the fields of the block that are derived from the record; every other byte,
// the dpiStage header included, is left as it was.
void buildProfileBlock(const SettingsRecord& record, uint8_t sensorVariant, ProfileBlock& block);

} // namespace z417
