#include "device/MouseModel.h"

#include <gtest/gtest.h>

#include <fstream>
#include <sstream>

namespace z417 {
namespace {

TEST(MouseModel, FoundByBothIdsOnly) {
    const MouseModel* z417 = findModel(0x04D9, 0xA09E);
    ASSERT_NE(z417, nullptr);
    EXPECT_EQ(&defaultModel(), z417);
    EXPECT_EQ(findModel(0x04D9, 0xA09F), nullptr);
    EXPECT_EQ(findModel(0x04DA, 0xA09E), nullptr);
    EXPECT_EQ(findModel(0xA09E, 0x04D9), nullptr);
}

// Every row is whole: both channels among its collections, each interface answering one of
// them, and the installed udev rule granting access with the row's match.
TEST(MouseModel, EveryRowAgreesWithItselfAndItsRuleFile) {
    size_t count = 0;
    const MouseModel* const* models = knownModels(count);
    ASSERT_GT(count, 0u);
    for (size_t i = 0; i < count; ++i) {
        const MouseModel& m = *models[i];
        SCOPED_TRACE(m.name);
        const int data = collectionOf(m, ChannelRole::Data);
        const int command = collectionOf(m, ChannelRole::Command);
        EXPECT_GE(data, 0);
        EXPECT_GE(command, 0);
        EXPECT_NE(data, command);
        for (int k = 0; k < m.interfaceCount; ++k) {
            const int c = m.interfaces[k].collection;
            ASSERT_TRUE(c == data || c == command) << "interface " << k;
            const ChannelShape& channel = c == data ? m.data : m.command;
            EXPECT_EQ(m.interfaces[k].featureReportId, channel.reportId);
            EXPECT_EQ(m.interfaces[k].featureReportLength, channel.featureReportLength);
        }
        EXPECT_EQ(m.imageSize, m.chunkSize * m.chunkCount);
        std::ifstream rule(std::string(Z417_SOURCE_DIR) + "/packaging/" + m.udevRuleFile);
        ASSERT_TRUE(rule) << "missing packaging/" << m.udevRuleFile;
        std::stringstream text;
        text << rule.rdbuf();
        EXPECT_NE(text.str().find(std::string(m.udevMatch) + ", TAG+=\"uaccess\""),
                  std::string::npos)
            << m.udevMatch;
    }
}

} // namespace
} // namespace z417
