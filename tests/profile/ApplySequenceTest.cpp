// The apply sequence against a scripted device and real files: it goes on after a failure,
// and hands back every step's message in the order the steps ran.
#include "profile/ApplySequence.h"

#include "platform/AtomicFile.h"
#include "profile/SettingsFiles.h"
#include "support/TestFiles.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace z417 {
namespace {

const char kNotDetected[] = "The system did not detect the gaming mouse!";

class ScriptedDevice final : public DeviceOperations {
public:
    bool imageFails = false, statusFails = false, writeFails = false;
    std::vector<std::string> calls;

    Status ensureImage(ProfileBlock&) override { return step("ReadOperation", imageFails); }
    Status GetDPIStage(ProfileBlock&) override { return step("GetDPIStage", statusFails); }
    Status WriteOperation(const ProfileBlock&) override {
        return step("WriteOperation", writeFails);
    }
    uint8_t sensorVariant() const override { return 0; }

private:
    Status step(const char* name, bool fails) {
        calls.push_back(name);
        return fails ? Status::failure(name, kNotDetected) : Status{};
    }
};

TEST(ApplySequence, GoesOnAfterFailuresAndReportsThemInOrder) {
    const struct Case {
        const char* name;
        bool imageFails, statusFails, writeFails, configMissing;
        std::vector<std::string> calls;
        std::vector<Message> messages;
    } cases[] = {
        {"all well",
         false,
         false,
         false,
         false,
         {"ReadOperation", "GetDPIStage", "WriteOperation"},
         {}},
        {"no image: nothing uploaded, files still saved",
         true,
         false,
         false,
         false,
         {"ReadOperation"},
         {{"ReadOperation", kNotDetected}}},
        {"status refresh fails, upload still runs",
         false,
         true,
         false,
         false,
         {"ReadOperation", "GetDPIStage", "WriteOperation"},
         {{"GetDPIStage", kNotDetected}}},
        {"every step fails",
         false,
         true,
         true,
         true,
         {"ReadOperation", "GetDPIStage", "WriteOperation"},
         {{"GetDPIStage", kNotDetected},
          {"WriteOperation", kNotDetected},
          {"Z417 Gaming mouse", "Config file is not exist."}}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        test::TempDir dir("z417-apply");
        const ApplyTargets targets{dir.file("config.bin"), dir.file("str.ini"), "Setting-EN"};
        if (!c.configMissing)
            test::writeRaw(targets.configPath, std::string(kConfigFileSize, '\0'));
        ScriptedDevice device;
        device.imageFails = c.imageFails;
        device.statusFails = c.statusFails;
        device.writeFails = c.writeFails;
        ProfileBlock block{};
        AssignmentLabels labels;
        labels.label[0][0] = "Left Click";

        const Status status = runApplySequence(SettingsRecord{}, block, device, labels, targets);

        EXPECT_EQ(status.ok, c.messages.empty());
        EXPECT_EQ(status.messages, c.messages);
        EXPECT_EQ(device.calls, c.calls);
        EXPECT_EQ(loadLabels(targets.strIniPath, "Setting-EN").label[0][0], "Left Click");
        if (c.configMissing)
            EXPECT_FALSE(fileExists(targets.configPath)); // never created
        else
            EXPECT_EQ(test::readRaw(targets.configPath)[0], 1); // saved
    }
}

} // namespace
} // namespace z417
