// The report descriptors of the virtual mouse's two USB interfaces, as the real mouse presents
// them: interface 0 a mouse without report IDs carrying the 64-byte data report; interface 1
// with report IDs, a keyboard (ID 1) carrying the 7-byte command report, consumer control (ID 2)
// and system control (ID 3). Four top-level collections in all.
#pragma once

#include <cstddef>
#include <cstdint>

namespace z417 {

struct InterfaceDescriptor {
    const uint8_t* bytes;
    size_t size;
    // The feature report this interface answers: its report ID (0: the interface has none)
    // and its length with the report ID byte.
    uint8_t featureReportId;
    uint16_t featureReportLength;
};

constexpr int kVirtualInterfaceCount = 2;
extern const InterfaceDescriptor kVirtualInterfaces[kVirtualInterfaceCount];

} // namespace z417
