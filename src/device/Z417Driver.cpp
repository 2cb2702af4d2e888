#include "device/Z417Driver.h"

#include "device/Scramble.h"

#include <cstring>

namespace z417 {

namespace {

const char kDefaultNotDetected[] = "The system did not detect the gaming mouse!";

constexpr uint8_t kCommandReportId = 0x01;
constexpr uint8_t kSignature[4] = {0xAA, 0xCC, 0xEE, 0xDD};
constexpr uint8_t kStatusQuery = 0x80;
constexpr uint8_t kSetStatus = 0x00;
constexpr uint8_t kReadChunkBase = 0x80; // 0x81..0x85 read chunk 1..5
constexpr int kFirstWrittenChunk = 2;    // chunk 1 is never written
constexpr int kBlankChunkCommand = 6;    // followed by a chunk of zeros

constexpr unsigned kWaitAfterSetStatusMs = 20;
constexpr unsigned kWaitAfterChunkMs = 100;

} // namespace

std::unique_ptr<MouseDriver> makeZ417Driver(FeatureChannels& channels, Clock& clock) {
    return std::make_unique<Z417Driver>(channels, clock);
}

Z417Driver::Z417Driver(FeatureChannels& channels, Clock& clock)
    : channels_(channels), clock_(clock), notDetectedText_(kDefaultNotDetected) {}

bool Z417Driver::sendCommand(uint8_t command, uint8_t param1, uint8_t param2) {
    ReportBuffer report = {};
    report[0] = kCommandReportId;
    std::memcpy(report + 1, kSignature, sizeof kSignature);
    report[5] = command;
    report[6] = param1;
    report[7] = param2;
    if (scramblingOn_)
        scrambleCommandReport(report, true);
    return channels_.send(Channel::Command, report).ok;
}

bool Z417Driver::readAnswer(ReportBuffer& answer) {
    std::memset(answer, 0, sizeof answer);
    answer[0] = kCommandReportId;
    if (!channels_.fetch(Channel::Command, answer).ok)
        return false;
    if (scramblingOn_)
        scrambleCommandReport(answer, false);
    return true;
}

// The answer to a chunk command is read and not looked at.
bool Z417Driver::skipAnswer() {
    ReportBuffer ignored = {};
    ignored[0] = kCommandReportId;
    return channels_.fetch(Channel::Command, ignored).ok;
}

bool Z417Driver::statusQuery(ReportBuffer& answer, bool requireReportId) {
    if (!sendCommand(kStatusQuery) || !readAnswer(answer))
        return false;
    if (std::memcmp(answer + 1, kSignature, sizeof kSignature) != 0)
        return false;
    return !requireReportId || answer[0] == kCommandReportId;
}

Status Z417Driver::fail(const char* operation) const {
    return Status::failure(operation, notDetectedText_);
}

Status Z417Driver::GetDPIStage(ProfileBlock& block) {
    ReportBuffer answer;
    if (!statusQuery(answer, true))
        return fail("GetDPIStage");
    block.reportRate = answer[6];
    block.dpiStage = answer[7];
    return {};
}

Status Z417Driver::ReadOperation(ProfileBlock& block) {
    ReportBuffer answer;
    if (!statusQuery(answer, true))
        return fail("ReadOperation");

    // Chunks go into a scratch image first: the block only ever holds bytes that really came
    // from the mouse, all five chunks or none.
    DeviceImage scratch;
    for (int k = 1; k <= kChunkCount; ++k) {
        if (!sendCommand(static_cast<uint8_t>(kReadChunkBase + k)) || !skipAnswer())
            return fail("ReadOperation");
        ReportBuffer report = {};
        if (!channels_.fetch(Channel::Data, report).ok)
            return fail("ReadOperation");
        if (scramblingOn_)
            scrambleDataReport(report, false);
        std::memcpy(scratch.chunk(k), report + 1, kChunkSize);
        clock_.sleepMs(kWaitAfterChunkMs);
    }
    block.reportRate = answer[6];
    block.dpiStage = answer[7];
    block.deviceImage = scratch;
    return {};
}

Status Z417Driver::WriteOperation(const ProfileBlock& block) {
    ReportBuffer answer;
    if (!statusQuery(answer, false))
        return fail("WriteOperation");
    if (!sendCommand(kSetStatus, block.reportRate, block.dpiStage))
        return fail("WriteOperation");
    clock_.sleepMs(kWaitAfterSetStatusMs);

    for (int n = kBlankChunkCommand; n >= kFirstWrittenChunk; --n) {
        if (!sendCommand(static_cast<uint8_t>(n)) || !skipAnswer())
            return fail("WriteOperation");
        ReportBuffer report = {};
        if (n <= kChunkCount)
            std::memcpy(report + 1, block.deviceImage.chunk(n), kChunkSize);
        if (scramblingOn_)
            scrambleDataReport(report, true);
        if (!channels_.send(Channel::Data, report).ok)
            return fail("WriteOperation");
        clock_.sleepMs(kWaitAfterChunkMs);
    }
    return {};
}

} // namespace z417
