#include "device/DeviceLink.h"

#include "device/Scramble.h"

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <functional>
#include <map>
#include <optional>
#include <utility>

namespace z417 {

const char kUdevRuleFile[] = "70-z417-gaming-mouse.rules";

namespace {

const char kAppTitle[] = "Z417 Gaming mouse";
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

// Collection of the mouse that carries a channel.
constexpr uint16_t kGenericDesktopPage = 0x01;
constexpr uint16_t kUsageMouse = 0x02;
constexpr uint16_t kUsageKeyboard = 0x06;

} // namespace

bool deviceNameMatches(const std::string& interfaceName) {
    return interfaceName.find("Vid_04d9&Pid_a09e") != std::string::npos ||
           interfaceName.find("VID_04D9&PID_A09E") != std::string::npos;
}

namespace {

// Takes a collection of the mouse as one of its channels, the first of each kind.
void examine(MouseChannels& mouse, const HidCollection& c) {
    const ChannelRole role = channelRole(c);
    if (role == ChannelRole::Data && !mouse.data)
        mouse.data = &c;
    else if (role == ChannelRole::Command && !mouse.command)
        mouse.command = &c;
}

} // namespace

bool isOurMouse(const HidCollection& c) {
    return c.vendorId == kVendorId && c.productId == kProductId;
}

ChannelRole channelRole(const HidCollection& c) {
    if (!isOurMouse(c) || c.usagePage != kGenericDesktopPage)
        return ChannelRole::None;
    if (c.usage == kUsageMouse && c.featureReportLength == kDataReportLength)
        return ChannelRole::Data;
    if (c.usage == kUsageKeyboard && c.featureReportLength == kCommandReportLength)
        return ChannelRole::Command;
    return ChannelRole::None;
}

const HidCollection* MouseChannels::completedBy() const {
    if (!complete())
        return nullptr;
    return std::less<const HidCollection*>()(data, command) ? command : data;
}

// Both channels must come from one physical mouse (one device group): with two mice plugged
// in, the first one listed that has both channels is taken.
std::optional<MouseChannels> findMouse(const std::vector<HidCollection>& collections) {
    std::vector<MouseChannels> mice; // in the order they are first listed
    std::map<std::string, size_t> byGroup;
    for (const HidCollection& c : collections) {
        if (!isOurMouse(c))
            continue;
        const auto [at, added] = byGroup.emplace(c.deviceGroup, mice.size());
        if (added)
            mice.emplace_back();
        examine(mice[at->second], c);
    }
    for (const MouseChannels& mouse : mice)
        if (mouse.complete())
            return mouse;
    return std::nullopt;
}

DeviceLink::DeviceLink(Transport& transport, Clock& clock)
    : transport_(transport), clock_(clock), notDetectedText_(kDefaultNotDetected) {}

DeviceLink::~DeviceLink() {
    closeHandles();
}

void DeviceLink::setNotDetectedText(std::string text) {
    notDetectedText_ = std::move(text);
}

void DeviceLink::setTrace(std::function<void(const TraceEntry&)> trace) {
    trace_ = std::move(trace);
    traceStarted_ = false;
}

void DeviceLink::closeHandles() {
    if (commandHandle_ != Transport::kInvalidHandle)
        transport_.close(commandHandle_);
    if (dataHandle_ != Transport::kInvalidHandle)
        transport_.close(dataHandle_);
    commandHandle_ = Transport::kInvalidHandle;
    dataHandle_ = Transport::kInvalidHandle;
    connected_ = false;
    imageRead_ = false;
}

Status DeviceLink::openMouse() {
    lastError_.clear();
    std::vector<HidCollection> collections;
    std::string error;
    if (!transport_.enumerate(collections, error)) {
        lastError_ = "cannot list the HID devices: " + error;
        return Status::silentFailure();
    }
    // Vendor and product come from the enumeration: the two channels are chosen first, and
    // only they are ever opened.
    const std::optional<MouseChannels> mouse = findMouse(collections);
    if (!mouse) {
        // The path shown is then the last collection of ours listed.
        const auto last = std::find_if(collections.rbegin(), collections.rend(), isOurMouse);
        if (last != collections.rend())
            devicePath_ = last->path;
        lastError_ = "the gaming mouse was not found";
        return Status::silentFailure();
    }
    devicePath_ = mouse->completedBy()->path;
    return openChannels(*mouse);
}

Status DeviceLink::openChannels(const MouseChannels& mouse) {
    Transport::Handle data = Transport::kInvalidHandle;
    Transport::Handle command = Transport::kInvalidHandle;
    if (Status s = openChannel(*mouse.data, data); !s.ok)
        return s;
    if (Status s = openChannel(*mouse.command, command); !s.ok) {
        transport_.close(data);
        return s;
    }
    closeHandles();
    dataHandle_ = data;
    commandHandle_ = command;
    dataReportLength_ = kDataReportLength;
    commandReportLength_ = kCommandReportLength;
    connected_ = true;
    imageRead_ = false; // a new connection: its image is still to be read
    return {};
}

Status DeviceLink::openChannel(const HidCollection& c, Transport::Handle& handle) {
    int errorCode = 0;
    handle = transport_.open(c.path, errorCode);
    if (handle != Transport::kInvalidHandle)
        return {};
    std::string text = "CreateFile Error Code:" + std::to_string(errorCode);
    if (errorCode == EACCES || errorCode == EPERM)
        text += std::string("\nNo permission to open the mouse: install the udev rule file ") +
                kUdevRuleFile + " and plug the mouse in again.";
    lastError_ = "cannot open " + c.path + ": " + std::strerror(errorCode);
    return Status::failure(kAppTitle, text);
}

Status DeviceLink::afterOpen(ProfileBlock& block) {
    scramblingOn_ = true;
    std::memset(block.bytes(), 0, sizeof(ProfileBlock));
    // On failure the block stays zero and is read again before an upload.
    Status read = ReadOperation(block);
    imageRead_ = read.ok;
    sensorVariant_ = block.deviceImage.sensorVariant;
    connected_ = true;
    return read;
}

Status DeviceLink::readImage(ProfileBlock& block) {
    Status read = ReadOperation(block);
    if (!read)
        return read;
    sensorVariant_ = block.deviceImage.sensorVariant;
    imageRead_ = true;
    return read;
}

Status DeviceLink::connect(ProfileBlock& block) {
    Status opened = openMouse();
    if (!opened)
        return opened;
    return opened.addMessages(afterOpen(block));
}

Status DeviceLink::handleDeviceChange(DeviceChange change, const std::string& interfaceName,
                                      ProfileBlock& block, DeviceEvents& events) {
    if (change == DeviceChange::Other || !deviceNameMatches(interfaceName))
        return {};
    if (++notificationCount_ < 4)
        return {};
    // The mouse presents four matching collections: react once per arrival or removal.
    notificationCount_ = 0;
    Status status = openMouse();
    if (status && change == DeviceChange::Arrival) {
        events.requestBalloon(kBalloonDetected, 0);
        status.addMessages(afterOpen(block));
    } else if (!status) {
        events.requestBalloon(kBalloonNotDetected, 0);
        events.hideMainWindow();
        connected_ = false;
    }
    return status;
}

bool DeviceLink::transfer(bool command, bool set, uint8_t* report) {
    Transport::Handle h = command ? commandHandle_ : dataHandle_;
    size_t length = command ? commandReportLength_ : dataReportLength_;
    if (h == Transport::kInvalidHandle)
        return false; // no channel: nothing crosses
    bool ok =
        set ? transport_.setFeature(h, report, length) : transport_.getFeature(h, report, length);
    if (trace_) {
        double now = clock_.nowMs();
        if (!traceStarted_) {
            traceStarted_ = true;
            traceOrigin_ = now;
        }
        trace_(TraceEntry{now - traceOrigin_, command, set,
                          std::vector<uint8_t>(report, report + length), ok});
    }
    return ok;
}

bool DeviceLink::sendCommand(uint8_t command, uint8_t param1, uint8_t param2) {
    ReportBuffer report = {};
    report[0] = kCommandReportId;
    std::memcpy(report + 1, kSignature, sizeof kSignature);
    report[5] = command;
    report[6] = param1;
    report[7] = param2;
    if (scramblingOn_)
        scrambleCommandReport(report, true);
    return transfer(true, true, report);
}

bool DeviceLink::readAnswer(ReportBuffer& answer) {
    std::memset(answer, 0, sizeof answer);
    answer[0] = kCommandReportId;
    if (!transfer(true, false, answer))
        return false;
    if (scramblingOn_)
        scrambleCommandReport(answer, false);
    return true;
}

bool DeviceLink::statusQuery(ReportBuffer& answer, bool requireReportId) {
    if (!sendCommand(kStatusQuery) || !readAnswer(answer))
        return false;
    if (std::memcmp(answer + 1, kSignature, sizeof kSignature) != 0)
        return false;
    return !requireReportId || answer[0] == kCommandReportId;
}

Status DeviceLink::fail(const char* operation) const {
    return Status::failure(operation, notDetectedText_);
}

Status DeviceLink::GetDPIStage(ProfileBlock& block) {
    ReportBuffer answer;
    if (!statusQuery(answer, true))
        return fail("GetDPIStage");
    block.reportRate = answer[6];
    block.dpiStage = answer[7];
    return {};
}

Status DeviceLink::ReadOperation(ProfileBlock& block) {
    ReportBuffer answer;
    if (!statusQuery(answer, true))
        return fail("ReadOperation");

    // Chunks go into a scratch image first: the block only ever holds bytes that really came
    // from the mouse, all five chunks or none.
    DeviceImage scratch;
    for (int k = 1; k <= kChunkCount; ++k) {
        ReportBuffer ignored = {};
        ignored[0] = kCommandReportId;
        if (!sendCommand(static_cast<uint8_t>(kReadChunkBase + k)) ||
            !transfer(true, false, ignored))
            return fail("ReadOperation");
        ReportBuffer report = {};
        if (!transfer(false, false, report))
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

Status DeviceLink::WriteOperation(const ProfileBlock& block) {
    ReportBuffer answer;
    if (!statusQuery(answer, false))
        return fail("WriteOperation");
    if (!sendCommand(kSetStatus, block.reportRate, block.dpiStage))
        return fail("WriteOperation");
    clock_.sleepMs(kWaitAfterSetStatusMs);

    for (int n = kBlankChunkCommand; n >= kFirstWrittenChunk; --n) {
        ReportBuffer ignored = {};
        ignored[0] = kCommandReportId;
        if (!sendCommand(static_cast<uint8_t>(n)) || !transfer(true, false, ignored))
            return fail("WriteOperation");
        ReportBuffer report = {};
        if (n <= kChunkCount)
            std::memcpy(report + 1, block.deviceImage.chunk(n), kChunkSize);
        if (scramblingOn_)
            scrambleDataReport(report, true);
        if (!transfer(false, true, report))
            return fail("WriteOperation");
        clock_.sleepMs(kWaitAfterChunkMs);
    }
    return {};
}

} // namespace z417
