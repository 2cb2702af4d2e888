#include "device/UhidDescriptors.h"
#include "device/DeviceLink.h"
#include "platform/ReportDescriptor.h"

#include <gtest/gtest.h>

namespace z417 {
namespace {

// The virtual mouse's interfaces parse into the four top-level collections the link expects,
// with the channels' feature report lengths.
TEST(UhidDescriptors, TwoInterfacesFourCollectionsTheTwoChannels) {
    const std::vector<std::vector<uint16_t>> expected[kVirtualInterfaceCount] = {
        {{0x01, 0x02, kDataReportLength}},
        {{0x01, 0x06, kCommandReportLength}, {0x0C, 0x01, 0}, {0x01, 0x80, 0}},
    };
    for (int i = 0; i < kVirtualInterfaceCount; ++i) {
        const InterfaceDescriptor& d = kVirtualInterfaces[i];
        std::vector<TopLevelCollection> collections;
        std::string error;
        ASSERT_TRUE(parseReportDescriptor(d.bytes, d.size, collections, &error)) << error;
        std::vector<std::vector<uint16_t>> got;
        for (const TopLevelCollection& c : collections)
            got.push_back({c.usagePage, c.usage, c.featureReportLength});
        EXPECT_EQ(got, expected[i]) << "interface " << i;
        EXPECT_EQ(d.featureReportLength, expected[i][0][2]);
    }
}

} // namespace
} // namespace z417
