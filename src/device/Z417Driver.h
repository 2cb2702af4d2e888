// The Z417's protocol: 8-byte command reports with the signature AA CC EE DD, the image in
// five 64-byte chunks on the data channel, every report scrambled once a session started.
#pragma once

#include "device/MouseDriver.h"
#include "platform/Clock.h"

#include <memory>

namespace z417 {

class Z417Driver final : public MouseDriver {
public:
    Z417Driver(FeatureChannels& channels, Clock& clock);

    void startSession() override { scramblingOn_ = true; }
    bool sessionStarted() const override { return scramblingOn_; }
    void setNotDetectedText(std::string text) override { notDetectedText_ = std::move(text); }

    Status GetDPIStage(ProfileBlock& block) override;
    Status ReadOperation(ProfileBlock& block) override;
    // Status query, set status, chunks 6 (all zero), 5, 4, 3, 2.
    Status WriteOperation(const ProfileBlock& block) override;

private:
    using ReportBuffer = uint8_t[FeatureChannels::kMaxReportLength];

    bool sendCommand(uint8_t command, uint8_t param1 = 0, uint8_t param2 = 0);
    bool readAnswer(ReportBuffer& answer);
    bool skipAnswer();
    bool statusQuery(ReportBuffer& answer, bool requireReportId);
    Status fail(const char* operation) const;

    FeatureChannels& channels_;
    Clock& clock_;
    std::string notDetectedText_;
    bool scramblingOn_ = false;
};

std::unique_ptr<MouseDriver> makeZ417Driver(FeatureChannels& channels, Clock& clock);

} // namespace z417
