#include "platform/ReportDescriptor.h"

#include <algorithm>
#include <array>

namespace z417 {

namespace {

// Item types (bits 2..3 of the prefix byte).
constexpr unsigned kTypeMain = 0;
constexpr unsigned kTypeGlobal = 1;
constexpr unsigned kTypeLocal = 2;

// Main item tags.
constexpr unsigned kMainFeature = 0xB;
constexpr unsigned kMainCollection = 0xA;
constexpr unsigned kMainEndCollection = 0xC;

// Global item tags.
constexpr unsigned kGlobalUsagePage = 0x0;
constexpr unsigned kGlobalReportSize = 0x7;
constexpr unsigned kGlobalReportId = 0x8;
constexpr unsigned kGlobalReportCount = 0x9;
constexpr unsigned kGlobalPush = 0xA;
constexpr unsigned kGlobalPop = 0xB;

// Local item tags.
constexpr unsigned kLocalUsage = 0x0;

constexpr uint8_t kLongItemPrefix = 0xFE;

struct GlobalState {
    uint32_t usagePage = 0;
    uint32_t reportSize = 0;
    uint32_t reportId = 0;
    uint32_t reportCount = 0;
};

std::string hex2(unsigned v) {
    static const char digits[] = "0123456789ABCDEF";
    std::string s = "0x";
    s += digits[(v >> 4) & 0xF];
    s += digits[v & 0xF];
    return s;
}

} // namespace

bool parseReportDescriptor(const uint8_t* data, size_t size, std::vector<TopLevelCollection>& out,
                           std::string* error) {
    out.clear();
    if (error)
        error->clear();
    auto fail = [&](size_t offset, const std::string& why) {
        if (error)
            *error = "report descriptor offset " + std::to_string(offset) + ": " + why;
        return false;
    };

    if (data == nullptr && size > 0)
        return fail(0, "no data");

    GlobalState globals;
    std::vector<GlobalState> globalStack;

    // Local state, cleared after every main item: only the first Usage matters here.
    bool haveUsage = false;
    uint32_t firstUsage = 0;
    bool firstUsageExtended = false;

    size_t depth = 0; // open collections
    // Feature bits per report ID of the top-level collection currently open.
    std::array<uint32_t, 256> featureBits{};

    size_t pos = 0;
    while (pos < size) {
        const size_t itemOffset = pos;
        const uint8_t prefix = data[pos];
        if (prefix == kLongItemPrefix) {
            // Long item: prefix, data size, tag, data. No long item tags are defined and the
            // kernel refuses them, so one ends the parse (its header is read only when present).
            if (size - pos < 3)
                return fail(itemOffset, "truncated long item");
            return fail(itemOffset, "long item (tag " + hex2(data[pos + 2]) + ", " +
                                        std::to_string(data[pos + 1]) +
                                        " data bytes) is not supported");
        }
        const size_t dataLength = (prefix & 3u) == 3u ? 4u : (prefix & 3u);
        if (size - pos - 1 < dataLength)
            return fail(itemOffset, "truncated item " + hex2(prefix) + ": needs " +
                                        std::to_string(dataLength) + " data bytes, " +
                                        std::to_string(size - pos - 1) + " left");
        uint32_t value = 0;
        for (size_t i = 0; i < dataLength; ++i)
            value |= static_cast<uint32_t>(data[pos + 1 + i]) << (8 * i);
        pos += 1 + dataLength;

        const unsigned type = (prefix >> 2) & 3u;
        const unsigned tag = prefix >> 4;

        if (type == kTypeMain) {
            if (tag == kMainCollection) {
                if (depth == 0) {
                    TopLevelCollection c;
                    if (haveUsage && firstUsageExtended) {
                        c.usagePage = static_cast<uint16_t>(firstUsage >> 16);
                        c.usage = static_cast<uint16_t>(firstUsage & 0xFFFF);
                    } else {
                        c.usagePage = static_cast<uint16_t>(globals.usagePage & 0xFFFF);
                        c.usage = haveUsage ? static_cast<uint16_t>(firstUsage & 0xFFFF) : 0;
                    }
                    out.push_back(c);
                    featureBits.fill(0);
                }
                ++depth;
            } else if (tag == kMainEndCollection) {
                if (depth == 0)
                    return fail(itemOffset, "End Collection without an open collection");
                --depth;
            } else if (tag == kMainFeature && depth > 0) {
                // Both factors are bounded by the global item checks, so the product fits.
                const uint32_t bits = globals.reportSize * globals.reportCount;
                uint32_t& total = featureBits[globals.reportId];
                if (bits > kMaxReportDataBytes * 8u - total)
                    return fail(itemOffset, "feature report " + std::to_string(globals.reportId) +
                                                " is longer than " +
                                                std::to_string(kMaxReportDataBytes) + " bytes");
                total += bits;
                if (total > 0) {
                    const uint32_t bytes = (total + 7) / 8 + 1; // + the report ID byte
                    TopLevelCollection& c = out.back();
                    c.featureReportLength =
                        std::max<uint16_t>(c.featureReportLength, static_cast<uint16_t>(bytes));
                }
            }
            // Input and Output items, Feature items outside any collection and unknown main
            // tags add nothing to what is collected here.
            haveUsage = false;
            firstUsage = 0;
            firstUsageExtended = false;
        } else if (type == kTypeGlobal) {
            switch (tag) {
            case kGlobalUsagePage:
                globals.usagePage = value;
                break;
            case kGlobalReportSize:
                if (value > kMaxReportSizeBits)
                    return fail(itemOffset, "Report Size " + std::to_string(value) +
                                                " is larger than " +
                                                std::to_string(kMaxReportSizeBits) + " bits");
                globals.reportSize = value;
                break;
            case kGlobalReportId:
                if (value == 0 || value > 255)
                    return fail(itemOffset,
                                "Report ID " + std::to_string(value) + " is outside 1..255");
                globals.reportId = value;
                break;
            case kGlobalReportCount:
                if (value > kMaxReportCount)
                    return fail(itemOffset, "Report Count " + std::to_string(value) +
                                                " is larger than " +
                                                std::to_string(kMaxReportCount));
                globals.reportCount = value;
                break;
            case kGlobalPush:
                if (globalStack.size() >= kMaxGlobalStackDepth)
                    return fail(itemOffset,
                                "Push nested deeper than " + std::to_string(kMaxGlobalStackDepth));
                globalStack.push_back(globals);
                break;
            case kGlobalPop:
                if (globalStack.empty())
                    return fail(itemOffset, "Pop without Push");
                globals = globalStack.back();
                globalStack.pop_back();
                break;
            default:
                // Logical and physical extents, units: nothing collected here depends on them.
                break;
            }
        } else if (type == kTypeLocal) {
            if (tag == kLocalUsage && !haveUsage) {
                haveUsage = true;
                firstUsage = value;
                firstUsageExtended = dataLength == 4;
            }
        }
        // Reserved item type 3 (other than the long item prefix): skipped with its data.
    }

    if (depth != 0)
        return fail(size, std::to_string(depth) + " collection(s) not closed at the end");
    return true;
}

} // namespace z417
