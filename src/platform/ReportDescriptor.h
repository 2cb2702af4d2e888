// A HID report descriptor parser that yields what the device layer needs to pick the
// mouse's configuration collections: each top-level collection's usage page, usage and
// feature report length, computed the way Windows' HidP_GetCaps computes it.
#pragma once

#include "platform/Status.h"

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

namespace z417 {

struct TopLevelCollection {
    uint16_t usagePage = 0;
    uint16_t usage = 0;
    // Largest feature report of the collection in bytes plus one byte for the report ID
    // (which is 0 when the descriptor declares no report IDs); 0 when the collection has no
    // feature report at all.
    uint16_t featureReportLength = 0;
};

// Limits beyond which a descriptor is treated as malformed. They are the kernel's own, so
// every descriptor that has a hidraw node passes them.
constexpr uint32_t kMaxReportSizeBits = 256;    // largest Report Size
constexpr uint32_t kMaxReportCount = 12288;     // largest Report Count
constexpr uint32_t kMaxReportDataBytes = 16383; // largest report, report ID byte excluded
constexpr size_t kMaxGlobalStackDepth = 16;     // nested Push items

// Replaces out with one entry per top-level collection (a collection not nested in another),
// in descriptor order. The collection's usage is the first Usage before its Collection item
// (a 4-byte Usage carries its own page), its usage page the Usage Page in force at the
// Collection item. Feature item bits (Report Size x Report Count) are summed per report ID
// within the collection; each report is rounded up to whole bytes.
//
// Succeeds when the whole descriptor is well formed. Otherwise parsing stops at the first
// bad item (truncated item, long item, End Collection without a collection, Pop without Push,
// report ID 0 or above 255, sizes beyond the limits above) or at the end with collections still
// open; out keeps what was parsed before, and the failure's reason names the offset and the
// fault (it has no message for the person). Nothing outside data[0..size) is ever read.
Status parseReportDescriptor(const uint8_t* data, size_t size,
                             std::vector<TopLevelCollection>& out);

} // namespace z417
