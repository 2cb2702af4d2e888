#include "device/DeviceLink.h"

#include "platform/AppTitle.h"

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <functional>
#include <map>
#include <optional>
#include <utility>

namespace z417 {

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
        const MouseModel* model = findModel(c.vendorId, c.productId);
        if (!model)
            continue;
        const auto [at, added] = byGroup.emplace(c.deviceGroup, mice.size());
        if (added)
            mice.push_back(MouseChannels{model});
        examine(mice[at->second], c);
    }
    for (const MouseChannels& mouse : mice)
        if (mouse.complete())
            return mouse;
    return std::nullopt;
}

DeviceLink::DeviceLink(Transport& transport, Clock& clock) : transport_(transport), clock_(clock) {
    useModel(defaultModel());
}

DeviceLink::~DeviceLink() {
    closeHandles();
}

void DeviceLink::useModel(const MouseModel& model) {
    if (driver_ && model_ == &model)
        return;
    model_ = &model;
    driver_ = model.makeDriver(*this, clock_);
    if (!notDetectedText_.empty())
        driver_->setNotDetectedText(notDetectedText_);
}

void DeviceLink::setNotDetectedText(std::string text) {
    notDetectedText_ = std::move(text);
    driver_->setNotDetectedText(notDetectedText_);
}

void DeviceLink::setTrace(std::function<void(const TraceEntry&)> trace) {
    trace_ = std::move(trace);
    traceStarted_ = false;
}

void DeviceLink::closeHandles() {
    // The handles are released either way; a failed close has nobody to tell.
    if (commandHandle_ != Transport::kInvalidHandle)
        (void)transport_.close(commandHandle_);
    if (dataHandle_ != Transport::kInvalidHandle)
        (void)transport_.close(dataHandle_);
    commandHandle_ = Transport::kInvalidHandle;
    dataHandle_ = Transport::kInvalidHandle;
    group_.clear();
    connected_ = false;
    imageRead_ = false;
}

Status DeviceLink::openMouse() {
    Result<std::vector<HidCollection>> collections = transport_.enumerate();
    if (!collections)
        return Status::silentFailure("cannot list the HID devices: " + collections.status().reason);
    // Vendor and product come from the enumeration: the two channels are chosen first, and
    // only they are ever opened.
    const std::optional<MouseChannels> mouse = findMouse(*collections);
    if (!mouse) {
        // The path shown is then the last collection of ours listed.
        const auto last = std::find_if(collections->rbegin(), collections->rend(), isKnownMouse);
        if (last != collections->rend())
            devicePath_ = last->path;
        return Status::silentFailure("the gaming mouse was not found");
    }
    devicePath_ = mouse->completedBy()->path;
    return openChannels(*mouse);
}

Status DeviceLink::openChannels(const MouseChannels& mouse) {
    Result<Transport::Handle> data = openChannel(*mouse.data);
    if (!data)
        return data.takeStatus();
    Result<Transport::Handle> command = openChannel(*mouse.command);
    if (!command) {
        (void)transport_.close(*data);
        return command.takeStatus();
    }
    closeHandles();
    useModel(*mouse.model);
    dataHandle_ = *data;
    commandHandle_ = *command;
    group_ = mouse.data->deviceGroup;
    connected_ = true;
    imageRead_ = false; // a new connection: its image is still to be read
    return {};
}

Result<Transport::Handle> DeviceLink::openChannel(const HidCollection& c) {
    Result<Transport::Handle> handle = transport_.open(c.path);
    if (handle)
        return handle;
    const int errorCode = handle.status().systemError;
    // The wording is the program's own, kept for people who know its messages.
    std::string text = "CreateFile Error Code:" + std::to_string(errorCode);
    if (errorCode == EACCES || errorCode == EPERM)
        text += std::string("\nNo permission to open the mouse: install the udev rule file ") +
                findModel(c.vendorId, c.productId)->udevRuleFile + " and plug the mouse in again.";
    Status failed = Status::failure(kAppTitle, text);
    failed.reason = "cannot open " + c.path + ": " + systemErrorText(errorCode);
    failed.systemError = errorCode;
    return failed;
}

Status DeviceLink::afterOpen(ProfileBlock& block) {
    driver_->startSession();
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

Status DeviceLink::send(Channel channel, const uint8_t* report) {
    return transfer(channel, true, const_cast<uint8_t*>(report));
}

Status DeviceLink::fetch(Channel channel, uint8_t* report) {
    return transfer(channel, false, report);
}

Status DeviceLink::transfer(Channel channel, bool set, uint8_t* report) {
    const bool command = channel == Channel::Command;
    const Transport::Handle h = command ? commandHandle_ : dataHandle_;
    const size_t length =
        command ? model_->command.featureReportLength : model_->data.featureReportLength;
    if (h == Transport::kInvalidHandle)
        return Status::silentFailure("no channel"); // nothing crosses
    Status done =
        set ? transport_.setFeature(h, report, length) : transport_.getFeature(h, report, length);
    if (trace_) {
        double now = clock_.nowMs();
        if (!traceStarted_) {
            traceStarted_ = true;
            traceOrigin_ = now;
        }
        trace_(TraceEntry{now - traceOrigin_, command, set,
                          std::vector<uint8_t>(report, report + length), done.ok});
    }
    return done;
}

} // namespace z417
