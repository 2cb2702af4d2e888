// The report descriptors of the Z417's two USB interfaces, as the real mouse presents them:
// interface 0 a mouse without report IDs carrying the 64-byte data report; interface 1 with
// report IDs, a keyboard (ID 1) carrying the 7-byte command report, consumer control (ID 2)
// and system control (ID 3). Four top-level collections in all. The model table refers to
// them; everything else reaches them through its row.
#pragma once

#include <cstddef>
#include <cstdint>

namespace z417 {

extern const uint8_t kZ417MouseInterface[];
extern const size_t kZ417MouseInterfaceSize;
extern const uint8_t kZ417KeysInterface[];
extern const size_t kZ417KeysInterfaceSize;

} // namespace z417
