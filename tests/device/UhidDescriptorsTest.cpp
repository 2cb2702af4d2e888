#include "device/MouseModel.h"
#include "platform/ReportDescriptor.h"

#include <gtest/gtest.h>

namespace z417 {
namespace {

// The Z417's interfaces as the real mouse presents them: four top-level collections, the
// first of each the channel whose feature report the interface answers.
TEST(UhidDescriptors, TheZ417PresentsFourCollections) {
    const MouseModel& model = *findModel(0x04D9, 0xA09E);
    const std::vector<std::vector<uint16_t>> expected[] = {
        {{0x01, 0x02, 65}},
        {{0x01, 0x06, 8}, {0x0C, 0x01, 0}, {0x01, 0x80, 0}},
    };
    ASSERT_EQ(model.interfaceCount, 2);
    for (int i = 0; i < model.interfaceCount; ++i) {
        const InterfaceDescriptor& d = model.interfaces[i];
        std::vector<TopLevelCollection> collections;
        ASSERT_TRUE(parseReportDescriptor(d.bytes, d.size, collections).ok);
        std::vector<std::vector<uint16_t>> got;
        for (const TopLevelCollection& c : collections)
            got.push_back({c.usagePage, c.usage, c.featureReportLength});
        EXPECT_EQ(got, expected[i]) << "interface " << i;
        const CollectionShape& answers = model.collections[d.collection];
        EXPECT_EQ(answers.usage, expected[i][0][1]) << "interface " << i;
        EXPECT_EQ(d.featureReportLength, expected[i][0][2]) << "interface " << i;
    }
}

} // namespace
} // namespace z417
