// Feeds arbitrary bytes to the report descriptor parser. Beyond memory safety (the sanitizers
// watch every read) it checks what the parser promises about its result.
#include "platform/ReportDescriptor.h"

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <vector>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    std::vector<z417::TopLevelCollection> collections;
    const z417::Status parsed = z417::parseReportDescriptor(data, size, collections);

    // A failure always says why; a success never carries a reason.
    if (parsed.ok != parsed.reason.empty())
        std::abort();
    // Every top-level collection needs at least its own one-byte Collection item.
    if (collections.size() > size)
        std::abort();
    for (const z417::TopLevelCollection& c : collections) {
        // A report ID byte is counted with every feature report, and no report is longer than
        // the limit allows.
        if (c.featureReportLength == 1 || c.featureReportLength > z417::kMaxReportDataBytes + 1)
            std::abort();
    }

    // A second parse gives the same result.
    std::vector<z417::TopLevelCollection> again;
    if (z417::parseReportDescriptor(data, size, again).ok != parsed.ok ||
        again.size() != collections.size())
        std::abort();
    return 0;
}
