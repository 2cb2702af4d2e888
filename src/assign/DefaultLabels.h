#pragma once

#include "assign/Texts.h"
#include "profile/SettingsFiles.h"

namespace z417 {

// The labels "Default" and a first start give both key sets: the five buttons' own
// functions, "DPI Loop", "RGB On/Off" and "Key Off", in the table's language.
AssignmentLabels defaultAssignmentLabels(const TextTable& texts);

} // namespace z417
