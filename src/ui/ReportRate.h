// The report-rate segments of the page and the polling interval each one stores.
#pragma once

#include <cstdint>

namespace z417 {

constexpr int kReportRateSegments = 4;
// Stored reportRate (polling interval in ms) of each segment: 125, 250, 500, 1000 Hz.
constexpr uint8_t kReportRateCodes[kReportRateSegments] = {8, 4, 2, 1};

// Captions under the segments, the same in every language.
constexpr const char* kReportRateCaptions[kReportRateSegments] = {"125", "250", "500", "1000"};

// The segment that shows a stored rate; values other than 8, 4, 2, 1 count as 1000 Hz.
constexpr int segmentOfReportRate(uint8_t reportRate) {
    for (int i = 0; i < kReportRateSegments; ++i)
        if (kReportRateCodes[i] == reportRate)
            return i;
    return kReportRateSegments - 1;
}

} // namespace z417
