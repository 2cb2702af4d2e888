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

namespace {

// One short item: where it starts, its type, tag, data length and value.
struct Item {
    size_t offset = 0;
    unsigned type = 0;
    unsigned tag = 0;
    size_t dataLength = 0;
    uint32_t value = 0;
};

// Walks a descriptor item by item. Each step returns false after it has set the error.
class DescriptorParser {
public:
    DescriptorParser(const uint8_t* data, size_t size, std::vector<TopLevelCollection>& out)
        : data_(data), size_(size), out_(out) {}

    const std::string& reason() const { return reason_; }

    bool run() {
        if (data_ == nullptr && size_ > 0)
            return fail(0, "no data");
        Item item;
        while (pos_ < size_) {
            if (!readItem(item) || !handle(item))
                return false;
        }
        if (depth_ != 0)
            return fail(size_, std::to_string(depth_) + " collection(s) not closed at the end");
        return true;
    }

private:
    bool fail(size_t offset, const std::string& why) {
        reason_ = "report descriptor offset " + std::to_string(offset) + ": " + why;
        return false;
    }

    bool readItem(Item& item) {
        item.offset = pos_;
        const uint8_t prefix = data_[pos_];
        if (prefix == kLongItemPrefix) {
            // Long item: prefix, data size, tag, data. No long item tags are defined and the
            // kernel refuses them, so one ends the parse (its header is read only when present).
            if (size_ - pos_ < 3)
                return fail(item.offset, "truncated long item");
            return fail(item.offset, "long item (tag " + hex2(data_[pos_ + 2]) + ", " +
                                         std::to_string(data_[pos_ + 1]) +
                                         " data bytes) is not supported");
        }
        item.dataLength = (prefix & 3u) == 3u ? 4u : (prefix & 3u);
        if (size_ - pos_ - 1 < item.dataLength)
            return fail(item.offset, "truncated item " + hex2(prefix) + ": needs " +
                                         std::to_string(item.dataLength) + " data bytes, " +
                                         std::to_string(size_ - pos_ - 1) + " left");
        item.value = 0;
        for (size_t i = 0; i < item.dataLength; ++i)
            item.value |= static_cast<uint32_t>(data_[pos_ + 1 + i]) << (8 * i);
        pos_ += 1 + item.dataLength;
        item.type = (prefix >> 2) & 3u;
        item.tag = prefix >> 4;
        return true;
    }

    bool handle(const Item& item) {
        switch (item.type) {
        case kTypeMain:
            return mainItem(item);
        case kTypeGlobal:
            return globalItem(item);
        case kTypeLocal:
            localItem(item);
            return true;
        default:
            // Reserved item type 3 (other than the long item prefix): skipped with its data.
            return true;
        }
    }

    bool mainItem(const Item& item) {
        bool ok = true;
        if (item.tag == kMainCollection)
            openCollection();
        else if (item.tag == kMainEndCollection)
            ok = closeCollection(item);
        else if (item.tag == kMainFeature && depth_ > 0)
            ok = addFeatureBits(item);
        // Input and Output items, Feature items outside any collection and unknown main
        // tags add nothing to what is collected here. Local state ends with every main item.
        haveUsage_ = false;
        firstUsage_ = 0;
        firstUsageExtended_ = false;
        return ok;
    }

    void openCollection() {
        if (depth_ == 0) {
            TopLevelCollection c;
            if (haveUsage_ && firstUsageExtended_) {
                c.usagePage = static_cast<uint16_t>(firstUsage_ >> 16);
                c.usage = static_cast<uint16_t>(firstUsage_ & 0xFFFF);
            } else {
                c.usagePage = static_cast<uint16_t>(globals_.usagePage & 0xFFFF);
                c.usage = haveUsage_ ? static_cast<uint16_t>(firstUsage_ & 0xFFFF) : 0;
            }
            out_.push_back(c);
            featureBits_.fill(0);
        }
        ++depth_;
    }

    bool closeCollection(const Item& item) {
        if (depth_ == 0)
            return fail(item.offset, "End Collection without an open collection");
        --depth_;
        return true;
    }

    bool addFeatureBits(const Item& item) {
        // Both factors are bounded by the global item checks, so the product fits.
        const uint32_t bits = globals_.reportSize * globals_.reportCount;
        uint32_t& total = featureBits_[globals_.reportId];
        if (bits > kMaxReportDataBytes * 8u - total)
            return fail(item.offset, "feature report " + std::to_string(globals_.reportId) +
                                         " is longer than " + std::to_string(kMaxReportDataBytes) +
                                         " bytes");
        total += bits;
        if (total > 0) {
            const uint32_t bytes = (total + 7) / 8 + 1; // + the report ID byte
            TopLevelCollection& c = out_.back();
            c.featureReportLength =
                std::max<uint16_t>(c.featureReportLength, static_cast<uint16_t>(bytes));
        }
        return true;
    }

    bool globalItem(const Item& item) {
        const uint32_t value = item.value;
        switch (item.tag) {
        case kGlobalUsagePage:
            globals_.usagePage = value;
            return true;
        case kGlobalReportSize:
            if (value > kMaxReportSizeBits)
                return fail(item.offset, "Report Size " + std::to_string(value) +
                                             " is larger than " +
                                             std::to_string(kMaxReportSizeBits) + " bits");
            globals_.reportSize = value;
            return true;
        case kGlobalReportId:
            if (value == 0 || value > 255)
                return fail(item.offset,
                            "Report ID " + std::to_string(value) + " is outside 1..255");
            globals_.reportId = value;
            return true;
        case kGlobalReportCount:
            if (value > kMaxReportCount)
                return fail(item.offset, "Report Count " + std::to_string(value) +
                                             " is larger than " + std::to_string(kMaxReportCount));
            globals_.reportCount = value;
            return true;
        case kGlobalPush:
            return pushGlobals(item);
        case kGlobalPop:
            return popGlobals(item);
        default:
            // Logical and physical extents, units: nothing collected here depends on them.
            return true;
        }
    }

    bool pushGlobals(const Item& item) {
        if (globalStack_.size() >= kMaxGlobalStackDepth)
            return fail(item.offset,
                        "Push nested deeper than " + std::to_string(kMaxGlobalStackDepth));
        globalStack_.push_back(globals_);
        return true;
    }

    bool popGlobals(const Item& item) {
        if (globalStack_.empty())
            return fail(item.offset, "Pop without Push");
        globals_ = globalStack_.back();
        globalStack_.pop_back();
        return true;
    }

    // Only the first Usage before a main item matters here.
    void localItem(const Item& item) {
        if (item.tag == kLocalUsage && !haveUsage_) {
            haveUsage_ = true;
            firstUsage_ = item.value;
            firstUsageExtended_ = item.dataLength == 4;
        }
    }

    const uint8_t* data_;
    size_t size_;
    std::vector<TopLevelCollection>& out_;
    std::string reason_;
    size_t pos_ = 0;

    GlobalState globals_;
    std::vector<GlobalState> globalStack_;
    bool haveUsage_ = false;
    uint32_t firstUsage_ = 0;
    bool firstUsageExtended_ = false;
    size_t depth_ = 0; // open collections
    // Feature bits per report ID of the top-level collection currently open.
    std::array<uint32_t, 256> featureBits_{};
};

} // namespace

Status parseReportDescriptor(const uint8_t* data, size_t size,
                             std::vector<TopLevelCollection>& out) {
    out.clear();
    DescriptorParser parser(data, size, out);
    if (!parser.run())
        return Status::silentFailure(parser.reason());
    return {};
}

} // namespace z417
