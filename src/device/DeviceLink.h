// The link to one mouse: finding and opening its two channels among the HID collections,
// the driver that speaks its protocol over them, and whether it is connected.
#pragma once

#include "device/MouseDriver.h"
#include "device/MouseModel.h"
#include "platform/Clock.h"
#include "platform/Status.h"
#include "platform/Transport.h"
#include "profile/ApplySequence.h"
#include "profile/ProfileBlock.h"

#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <vector>

namespace z417 {

// One transfer as it crossed the transport. ms counts from the first transfer traced since
// setTrace (on the link's clock); command = command channel (else data channel); set =
// setFeature (else getFeature); bytes = the report-length bytes handed over (set) or
// returned (get); ok = what the transport answered.
struct TraceEntry {
    double ms;
    bool command;
    bool set;
    std::vector<uint8_t> bytes;
    bool ok = true;
};

// The two channel collections of one physical mouse found in one enumeration.
struct MouseChannels {
    const MouseModel* model = nullptr;
    const HidCollection* data = nullptr;
    const HidCollection* command = nullptr;
    bool complete() const { return data != nullptr && command != nullptr; }
    // The later listed of the two channels, when both are found.
    const HidCollection* completedBy() const;
};

// The first mouse (of a known model) of one enumeration that has both channels within one
// device group. Its pointers point into collections, which must outlive it.
std::optional<MouseChannels> findMouse(const std::vector<HidCollection>& collections);

class DeviceLink final : public DeviceOperations, private FeatureChannels {
public:
    DeviceLink(Transport& transport, Clock& clock);
    ~DeviceLink() override; // closes valid handles
    DeviceLink(const DeviceLink&) = delete;
    DeviceLink& operator=(const DeviceLink&) = delete;

    // The localised "The system did not detect the gaming mouse!" (English until set).
    void setNotDetectedText(std::string text);
    // Called for every transfer; nullptr switches tracing off.
    void setTrace(std::function<void(const TraceEntry&)> trace);

    // Finds a mouse's data and command collections among the enumerated ones and opens both.
    // Only the mouse's own collections are opened. A channel that cannot be opened gives the
    // message "CreateFile Error Code:%d". On success the new handles replace the old ones and
    // connected := 1; on failure the old handles stay. A mouse not found, or a list that cannot
    // be had, is a failure without a message whose reason says why.
    Status openMouse();
    // Open mouse; on success the driver's session starts, the block is zeroed, ReadOperation,
    // sensor variant copy := image[0xC1], connected := 1. Succeeds when the mouse was opened,
    // even when the read failed: its message is then carried along.
    Status connect(ProfileBlock& block);
    // Closes both channels: not connected any more.
    void closeHandles();

    // The block read from this mouse since it was opened? (A failed read at connect leaves
    // an all-zero block that must never be uploaded.)
    bool imageRead() const { return imageRead_; }
    // ReadOperation, and on success the sensor variant copy taken from the image.
    Status readImage(ProfileBlock& block);
    Status ensureImage(ProfileBlock& block) override {
        return imageRead_ ? Status{} : readImage(block);
    }

    Status GetDPIStage(ProfileBlock& block) override { return driver_->GetDPIStage(block); }
    Status ReadOperation(ProfileBlock& block) { return driver_->ReadOperation(block); }
    Status WriteOperation(const ProfileBlock& block) override {
        return driver_->WriteOperation(block);
    }

    bool connected() const { return connected_; }
    uint8_t sensorVariant() const override { return sensorVariant_; }
    // The mouse speaks as after a connect (its reports scrambled, for the Z417).
    void startSession() { driver_->startSession(); }
    bool sessionStarted() const { return driver_->sessionStarted(); }
    // The model of the mouse opened last (the first model before any).
    const MouseModel& model() const { return *model_; }
    // Path of the mouse collection most recently examined by openMouse.
    const std::string& devicePath() const { return devicePath_; }
    // The device group of the open mouse (empty when none is open).
    const std::string& connectedGroup() const { return group_; }

private:
    Status openChannels(const MouseChannels& mouse);
    Result<Transport::Handle> openChannel(const HidCollection& collection);
    void useModel(const MouseModel& model);
    Status afterOpen(ProfileBlock& block);
    // FeatureChannels: the driver's transfers, traced.
    Status send(Channel channel, const uint8_t* report) override;
    Status fetch(Channel channel, uint8_t* report) override;
    Status transfer(Channel channel, bool set, uint8_t* report);

    Transport& transport_;
    Clock& clock_;
    const MouseModel* model_;
    std::unique_ptr<MouseDriver> driver_;
    std::string notDetectedText_;
    std::function<void(const TraceEntry&)> trace_;
    bool traceStarted_ = false;
    double traceOrigin_ = 0.0;

    Transport::Handle commandHandle_ = Transport::kInvalidHandle;
    Transport::Handle dataHandle_ = Transport::kInvalidHandle;
    std::string devicePath_;
    std::string group_;
    bool connected_ = false;
    bool imageRead_ = false;
    uint8_t sensorVariant_ = 0;
};

} // namespace z417
