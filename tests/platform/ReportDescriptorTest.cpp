#include "platform/ReportDescriptor.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <string>
#include <vector>

namespace z417 {
namespace {

using Bytes = std::vector<uint8_t>;

Bytes concat(std::initializer_list<Bytes> parts) {
    Bytes all;
    for (const Bytes& p : parts)
        all.insert(all.end(), p.begin(), p.end());
    return all;
}

struct Parsed {
    bool ok;
    std::vector<TopLevelCollection> collections;
    std::string error;
};

// Parses from a heap block of exactly the descriptor's size, so a sanitizer build catches any
// read past the end.
Parsed parse(const Bytes& d) {
    Parsed p;
    std::vector<uint8_t> exact(d.begin(), d.end());
    const Status status =
        parseReportDescriptor(exact.empty() ? nullptr : exact.data(), exact.size(), p.collections);
    p.ok = status.ok;
    p.error = status.reason;
    return p;
}

void expectCollection(const TopLevelCollection& c, uint16_t page, uint16_t usage,
                      uint16_t featureLength) {
    EXPECT_EQ(c.usagePage, page);
    EXPECT_EQ(c.usage, usage);
    EXPECT_EQ(c.featureReportLength, featureLength);
}

// A boot-protocol mouse, no report IDs, with a 64-byte vendor-defined feature report inside
// the mouse collection (the shape of the mouse's data channel).
const Bytes kBootMouseWithFeature = {
    0x05, 0x01,       // Usage Page (Generic Desktop)
    0x09, 0x02,       // Usage (Mouse)
    0xA1, 0x01,       // Collection (Application)
    0x09, 0x01,       //   Usage (Pointer)
    0xA1, 0x00,       //   Collection (Physical)
    0x05, 0x09,       //     Usage Page (Button)
    0x19, 0x01,       //     Usage Minimum (1)
    0x29, 0x05,       //     Usage Maximum (5)
    0x15, 0x00,       //     Logical Minimum (0)
    0x25, 0x01,       //     Logical Maximum (1)
    0x95, 0x05,       //     Report Count (5)
    0x75, 0x01,       //     Report Size (1)
    0x81, 0x02,       //     Input (Data,Var,Abs)      5 button bits
    0x95, 0x01,       //     Report Count (1)
    0x75, 0x03,       //     Report Size (3)
    0x81, 0x01,       //     Input (Const)             3 padding bits
    0x05, 0x01,       //     Usage Page (Generic Desktop)
    0x09, 0x30,       //     Usage (X)
    0x09, 0x31,       //     Usage (Y)
    0x09, 0x38,       //     Usage (Wheel)
    0x15, 0x81,       //     Logical Minimum (-127)
    0x25, 0x7F,       //     Logical Maximum (127)
    0x75, 0x08,       //     Report Size (8)
    0x95, 0x03,       //     Report Count (3)
    0x81, 0x06,       //     Input (Data,Var,Rel)
    0xC0,             //   End Collection
    0x06, 0x00, 0xFF, //   Usage Page (Vendor 0xFF00)
    0x09, 0x01,       //   Usage (1)
    0x15, 0x00,       //   Logical Minimum (0)
    0x26, 0xFF, 0x00, //   Logical Maximum (255)
    0x75, 0x08,       //   Report Size (8)
    0x95, 0x40,       //   Report Count (64)
    0xB1, 0x02,       //   Feature (Data,Var,Abs)      64 bytes
    0xC0,             // End Collection
};

// A keyboard interface with report IDs: keyboard (ID 1) with a 7-byte vendor feature report
// (the shape of the mouse's command channel), consumer control (ID 2) and system control
// (ID 3) without feature reports.
const Bytes kKeyboardConsumerSystem = {
    0x05, 0x01,       // Usage Page (Generic Desktop)
    0x09, 0x06,       // Usage (Keyboard)
    0xA1, 0x01,       // Collection (Application)
    0x85, 0x01,       //   Report ID (1)
    0x05, 0x07,       //   Usage Page (Keyboard/Keypad)
    0x19, 0xE0,       //   Usage Minimum (Left Control)
    0x29, 0xE7,       //   Usage Maximum (Right GUI)
    0x15, 0x00,       //   Logical Minimum (0)
    0x25, 0x01,       //   Logical Maximum (1)
    0x75, 0x01,       //   Report Size (1)
    0x95, 0x08,       //   Report Count (8)
    0x81, 0x02,       //   Input (Data,Var,Abs)        modifier bits
    0x95, 0x01,       //   Report Count (1)
    0x75, 0x08,       //   Report Size (8)
    0x81, 0x01,       //   Input (Const)               reserved byte
    0x95, 0x06,       //   Report Count (6)
    0x75, 0x08,       //   Report Size (8)
    0x26, 0xFF, 0x00, //   Logical Maximum (255)
    0x19, 0x00,       //   Usage Minimum (0)
    0x2A, 0xFF, 0x00, //   Usage Maximum (255)
    0x81, 0x00,       //   Input (Data,Array)          6 key codes
    0x06, 0x00, 0xFF, //   Usage Page (Vendor 0xFF00)
    0x09, 0x02,       //   Usage (2)
    0x75, 0x08,       //   Report Size (8)
    0x95, 0x07,       //   Report Count (7)
    0xB1, 0x02,       //   Feature (Data,Var,Abs)      7 bytes after the ID
    0xC0,             // End Collection
    0x05, 0x0C,       // Usage Page (Consumer)
    0x09, 0x01,       // Usage (Consumer Control)
    0xA1, 0x01,       // Collection (Application)
    0x85, 0x02,       //   Report ID (2)
    0x15, 0x00,       //   Logical Minimum (0)
    0x26, 0xFF, 0x03, //   Logical Maximum (1023)
    0x19, 0x00,       //   Usage Minimum (0)
    0x2A, 0xFF, 0x03, //   Usage Maximum (1023)
    0x75, 0x10,       //   Report Size (16)
    0x95, 0x01,       //   Report Count (1)
    0x81, 0x00,       //   Input (Data,Array)
    0xC0,             // End Collection
    0x05, 0x01,       // Usage Page (Generic Desktop)
    0x09, 0x80,       // Usage (System Control)
    0xA1, 0x01,       // Collection (Application)
    0x85, 0x03,       //   Report ID (3)
    0x19, 0x81,       //   Usage Minimum (System Power Down)
    0x29, 0x83,       //   Usage Maximum (System Wake Up)
    0x15, 0x00,       //   Logical Minimum (0)
    0x25, 0x01,       //   Logical Maximum (1)
    0x75, 0x01,       //   Report Size (1)
    0x95, 0x03,       //   Report Count (3)
    0x81, 0x02,       //   Input (Data,Var,Abs)
    0x95, 0x05,       //   Report Count (5)
    0x81, 0x01,       //   Input (Const)
    0xC0,             // End Collection
};

TEST(ReportDescriptor, BootMouseWithVendorFeatureReport) {
    const Parsed p = parse(kBootMouseWithFeature);
    EXPECT_TRUE(p.ok) << p.error;
    EXPECT_TRUE(p.error.empty());
    ASSERT_EQ(p.collections.size(), 1u);
    // 64 data bytes + the report ID byte (0 without report IDs). The vendor usage page set
    // inside the collection does not change the collection's own page and usage.
    expectCollection(p.collections[0], 0x0001, 0x0002, 65);
}

TEST(ReportDescriptor, KeyboardConsumerAndSystemControlWithReportIds) {
    const Parsed p = parse(kKeyboardConsumerSystem);
    EXPECT_TRUE(p.ok) << p.error;
    ASSERT_EQ(p.collections.size(), 3u);
    expectCollection(p.collections[0], 0x0001, 0x0006, 8); // report ID 1 + 7 bytes
    expectCollection(p.collections[1], 0x000C, 0x0001, 0); // input only
    expectCollection(p.collections[2], 0x0001, 0x0080, 0); // input only
}

TEST(ReportDescriptor, CollectionsOfSeveralInterfacesInOneDescriptor) {
    // A vendor collection with its own report ID between the two, to check that each
    // collection's feature reports are counted on their own.
    const Bytes vendor = {
        0x06, 0x00, 0xFF, // Usage Page (Vendor 0xFF00)
        0x09, 0x01,       // Usage (1)
        0xA1, 0x01,       // Collection (Application)
        0x85, 0x05,       //   Report ID (5)
        0x75, 0x08,       //   Report Size (8)
        0x95, 0x20,       //   Report Count (32)
        0xB1, 0x02,       //   Feature (Data,Var,Abs)  32 bytes
        0xC0,             // End Collection
    };
    const Parsed p = parse(concat({kKeyboardConsumerSystem, vendor, kBootMouseWithFeature}));
    EXPECT_TRUE(p.ok) << p.error;
    ASSERT_EQ(p.collections.size(), 5u);
    expectCollection(p.collections[0], 0x0001, 0x0006, 8);
    expectCollection(p.collections[1], 0x000C, 0x0001, 0);
    expectCollection(p.collections[2], 0x0001, 0x0080, 0);
    expectCollection(p.collections[3], 0xFF00, 0x0001, 33);
    expectCollection(p.collections[4], 0x0001, 0x0002, 65);
}

TEST(ReportDescriptor, FeatureBitsAreSummedPerReportIdAndRoundedUp) {
    struct Case {
        const char* name;
        Bytes features; // items inside one application collection
        uint16_t expected;
    };
    const Case cases[] = {
        {"no feature item", {0x75, 0x08, 0x95, 0x04, 0x81, 0x02}, 0},
        {"one bit", {0x75, 0x01, 0x95, 0x01, 0xB1, 0x02}, 2},
        {"eight bits", {0x75, 0x01, 0x95, 0x08, 0xB1, 0x02}, 2},
        {"nine bits", {0x75, 0x01, 0x95, 0x09, 0xB1, 0x02}, 3},
        {"3 x 4 bits", {0x75, 0x04, 0x95, 0x03, 0xB1, 0x02}, 3},
        {"zero count declares nothing", {0x75, 0x08, 0x95, 0x00, 0xB1, 0x02}, 0},
        // 5 + 3 padding bits are one byte, then 2 bytes: 3 bytes + ID byte.
        {"items of one report add up",
         {0x75, 0x01, 0x95, 0x05, 0xB1, 0x02,  // Feature 5 x 1 bit
          0x75, 0x03, 0x95, 0x01, 0xB1, 0x01,  // Feature (Const) 3 bits
          0x75, 0x08, 0x95, 0x02, 0xB1, 0x02}, // Feature 2 x 8 bits
         4},
        // Report 1 has 7 bytes, report 4 has 3 + 5 = 8 bytes: the longest wins.
        {"longest report ID wins",
         {0x85, 0x01, 0x75, 0x08, 0x95, 0x07, 0xB1, 0x02, // ID 1: 7 bytes
          0x85, 0x04, 0x95, 0x03, 0xB1, 0x02,             // ID 4: 3 bytes
          0x85, 0x01, 0x95, 0x01, 0xB1, 0x02,             // ID 1: +1 byte = 8
          0x85, 0x04, 0x95, 0x05, 0xB1, 0x02},            // ID 4: +5 bytes = 8
         9},
        // Input and output items never count.
        {"input and output ignored",
         {0x75, 0x08, 0x95, 0x10, 0x81, 0x02, 0x91, 0x02, 0x95, 0x02, 0xB1, 0x02},
         3},
        // A feature item in a nested logical collection belongs to the top-level one.
        {"nested collection", {0xA1, 0x02, 0x75, 0x08, 0x95, 0x05, 0xB1, 0x02, 0xC0}, 6},
        // A 4-byte Report Count is read little-endian: 0x00000100 = 256 bytes.
        {"four-byte count", {0x75, 0x08, 0x97, 0x00, 0x01, 0x00, 0x00, 0xB1, 0x02}, 257},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const Parsed p = parse(concat({{0x05, 0x01, 0x09, 0x02, 0xA1, 0x01}, c.features, {0xC0}}));
        EXPECT_TRUE(p.ok) << p.error;
        ASSERT_EQ(p.collections.size(), 1u);
        EXPECT_EQ(p.collections[0].featureReportLength, c.expected);
    }
}

TEST(ReportDescriptor, PushAndPopRestoreGlobals) {
    const Bytes d = {
        0x05, 0x0C, // Usage Page (Consumer)
        0xA4,       // Push
        0x05, 0x01, //   Usage Page (Generic Desktop)
        0x75, 0x01, //   Report Size (1)
        0x95, 0x03, //   Report Count (3)
        0xB4,       // Pop: Consumer, size and count unset again
        0x09, 0x01, // Usage (Consumer Control)
        0xA1, 0x01, // Collection (Application)
        0x75, 0x08, //   Report Size (8)
        0x95, 0x04, //   Report Count (4)
        0xA4,       //   Push
        0x75, 0x01, //     Report Size (1)
        0x95, 0x03, //     Report Count (3)
        0xB1, 0x02, //     Feature               3 bits
        0xB4,       //   Pop: 8 x 4 again
        0xB1, 0x02, //   Feature                 32 bits: 35 bits = 5 bytes
        0xC0,       // End Collection
    };
    const Parsed p = parse(d);
    EXPECT_TRUE(p.ok) << p.error;
    ASSERT_EQ(p.collections.size(), 1u);
    expectCollection(p.collections[0], 0x000C, 0x0001, 6);
}

TEST(ReportDescriptor, CollectionUsage) {
    struct Case {
        const char* name;
        Bytes d;
        uint16_t page;
        uint16_t usage;
    };
    const Case cases[] = {
        // A 4-byte usage carries its page (0x0001) over the one in force (0xFF00).
        {"extended usage",
         {0x06, 0x00, 0xFF, 0x0B, 0x02, 0x00, 0x01, 0x00, 0xA1, 0x01, 0xC0},
         0x0001,
         0x0002},
        // The first usage names the collection.
        {"first of several usages", {0x05, 0x01, 0x09, 0x02, 0x09, 0x06, 0xA1, 0x01, 0xC0}, 1, 2},
        // The page in force at the Collection item applies.
        {"page after usage", {0x09, 0x06, 0x05, 0x01, 0xA1, 0x01, 0xC0}, 1, 6},
        {"no usage", {0x05, 0x01, 0xA1, 0x01, 0xC0}, 1, 0},
        // A vendor page given in two bytes.
        {"vendor page", {0x06, 0xA0, 0xFF, 0x09, 0x01, 0xA1, 0x01, 0xC0}, 0xFFA0, 1},
        // Reserved item type 3 (0x0D, one data byte) is skipped with its data.
        {"reserved item skipped", {0x05, 0x01, 0x0D, 0xA1, 0x09, 0x02, 0xA1, 0x01, 0xC0}, 1, 2},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const Parsed p = parse(c.d);
        EXPECT_TRUE(p.ok) << p.error;
        ASSERT_EQ(p.collections.size(), 1u);
        expectCollection(p.collections[0], c.page, c.usage, 0);
    }
}

TEST(ReportDescriptor, UsageIsConsumedByItsMainItem) {
    // The usage before the first collection does not carry over to the second one, and a
    // feature item outside every collection belongs to none.
    const Bytes d = {
        0x05, 0x01, // Usage Page (Generic Desktop)
        0x09, 0x06, // Usage (Keyboard)
        0xA1, 0x01, // Collection (Application)
        0xC0,       // End Collection
        0x75, 0x08, // Report Size (8)
        0x95, 0x10, // Report Count (16)
        0xB1, 0x02, // Feature outside any collection
        0xA1, 0x01, // Collection (Application), no usage
        0xC0,       // End Collection
    };
    const Parsed p = parse(d);
    EXPECT_TRUE(p.ok) << p.error;
    ASSERT_EQ(p.collections.size(), 2u);
    expectCollection(p.collections[0], 1, 6, 0);
    expectCollection(p.collections[1], 1, 0, 0);
}

TEST(ReportDescriptor, EmptyDescriptor) {
    std::vector<TopLevelCollection> out{{1, 2, 3}};
    const Status empty = parseReportDescriptor(nullptr, 0, out);
    EXPECT_TRUE(empty.ok);
    EXPECT_TRUE(out.empty());
    EXPECT_TRUE(empty.reason.empty());
    const Status missing = parseReportDescriptor(nullptr, 4, out);
    EXPECT_FALSE(missing.ok);
    EXPECT_TRUE(missing.messages.empty());
    EXPECT_FALSE(missing.reason.empty());
}

TEST(ReportDescriptor, MalformedDescriptorsKeepWhatParsedBefore) {
    const Bytes closedMouse = {0x05, 0x01, 0x09, 0x02, 0xA1, 0x01, 0xC0};
    struct Case {
        const char* name;
        Bytes d;
        size_t collections;        // entries kept
        uint16_t firstLength;      // feature length of the first entry, when there is one
        const char* errorContains; // part of the reason
    };
    const Case cases[] = {
        // Logical Maximum needs 2 data bytes, 1 is there.
        {"truncated item", {0x05, 0x01, 0x09, 0x02, 0xA1, 0x01, 0x26, 0xFF}, 1, 0, "truncated"},
        {"truncated 4-byte item", {0x05, 0x01, 0x07, 0x00, 0x01}, 0, 0, "offset 2"},
        {"long item", concat({closedMouse, {0xFE, 0x02, 0x10, 0xAA, 0xBB}}), 1, 0, "long item"},
        {"long item header cut", concat({closedMouse, {0xFE, 0x05}}), 1, 0, "truncated long"},
        {"long item prefix last", {0xFE}, 0, 0, "truncated long"},
        {"end collection first", {0xC0}, 0, 0, "End Collection without"},
        {"one end collection too many", concat({closedMouse, {0xC0}}), 1, 0, "offset 7"},
        {"collection not closed",
         {0x05, 0x01, 0x09, 0x02, 0xA1, 0x01, 0xA1, 0x00, 0xC0},
         1,
         0,
         "1 collection(s) not closed"},
        {"huge report count",
         {0x05, 0x01, 0x09, 0x02, 0xA1, 0x01, 0x75, 0x08, 0x97, 0xFF, 0xFF, 0xFF, 0xFF, 0xB1, 0x02,
          0xC0},
         1,
         0,
         "Report Count 4294967295"},
        {"huge report size",
         {0x05, 0x01, 0x09, 0x02, 0xA1, 0x01, 0x77, 0x00, 0x00, 0x00, 0x80, 0xC0},
         1,
         0,
         "Report Size"},
        // 8 x 12288 bits fits (12288 bytes); the same again makes the report too long, and the
        // first item stays counted.
        {"report too long",
         {0x05, 0x01, 0x09, 0x02, 0xA1, 0x01, 0x75, 0x08, 0x96, 0x00, 0x30, 0xB1, 0x02, 0xB1, 0x02,
          0xC0},
         1,
         12289,
         "longer than 16383"},
        {"report ID 0", {0x05, 0x01, 0x09, 0x02, 0xA1, 0x01, 0x85, 0x00, 0xC0}, 1, 0, "Report ID"},
        {"report ID 256",
         {0x05, 0x01, 0x09, 0x02, 0xA1, 0x01, 0x86, 0x00, 0x01, 0xC0},
         1,
         0,
         "Report ID 256"},
        {"pop without push", {0xB4, 0x05, 0x01}, 0, 0, "Pop without Push"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const Parsed p = parse(c.d);
        EXPECT_FALSE(p.ok);
        EXPECT_NE(p.error.find(c.errorContains), std::string::npos) << p.error;
        ASSERT_EQ(p.collections.size(), c.collections);
        if (c.collections > 0) {
            EXPECT_EQ(p.collections[0].featureReportLength, c.firstLength);
        }
    }
}

TEST(ReportDescriptor, PushDepthIsBounded) {
    Bytes d(kMaxGlobalStackDepth, 0xA4);
    EXPECT_TRUE(parse(concat({d, Bytes(kMaxGlobalStackDepth, 0xB4)})).ok);
    d.push_back(0xA4);
    const Parsed p = parse(d);
    EXPECT_FALSE(p.ok);
    EXPECT_NE(p.error.find("offset 16"), std::string::npos) << p.error;
}

TEST(ReportDescriptor, EveryTruncationIsRejectedWithoutReadingPastTheEnd) {
    // Cut anywhere after its Collection item (offset 4..5), the mouse descriptor has an item cut
    // short or its collection still open. Whatever was found is what the whole descriptor
    // gives, with at most part of the feature report counted.
    const Bytes& full = kBootMouseWithFeature;
    for (size_t cut = 0; cut < full.size(); ++cut) {
        SCOPED_TRACE(cut);
        const Parsed p = parse(Bytes(full.begin(), full.begin() + static_cast<long>(cut)));
        if (cut >= 6) {
            EXPECT_FALSE(p.ok);
            EXPECT_TRUE(p.error.find("truncated") != std::string::npos ||
                        p.error.find("not closed") != std::string::npos)
                << p.error;
            ASSERT_EQ(p.collections.size(), 1u);
            EXPECT_EQ(p.collections[0].usagePage, 1);
            EXPECT_EQ(p.collections[0].usage, 2);
            // The feature item is the second to last item: only a cut after it counts it.
            EXPECT_EQ(p.collections[0].featureReportLength, cut == full.size() - 1 ? 65 : 0);
        } else {
            EXPECT_TRUE(p.collections.empty());
        }
    }
}

} // namespace
} // namespace z417
