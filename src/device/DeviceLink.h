// The link to the mouse: finding and opening its two configuration collections, the three
// feature-report operations, and the connection state that follows arrival and removal.
#pragma once

#include "platform/Clock.h"
#include "platform/Status.h"
#include "platform/Transport.h"
#include "profile/ApplySequence.h"
#include "profile/ProfileBlock.h"

#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <vector>

namespace z417 {

constexpr uint16_t kVendorId = 0x04D9, kProductId = 0xA09E;

// Feature report lengths of the two channels; collections of the mouse with other lengths
// are not taken.
constexpr uint16_t kDataReportLength = 65;
constexpr uint16_t kCommandReportLength = 8;

// The udev rule that gives the logged-in user access to the mouse's hidraw nodes.
extern const char kUdevRuleFile[]; // "70-z417-gaming-mouse.rules"

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

// Things the connection asks of the window: balloons (type 14 detected, type 15 warning)
// and hiding the window.
class DeviceEvents {
public:
    virtual ~DeviceEvents() = default;
    virtual void requestBalloon(int type, int kind) = 0;
    virtual void hideMainWindow() = 0;
};

constexpr int kBalloonDetected = 14;
constexpr int kBalloonNotDetected = 15;

enum class DeviceChange { Arrival, Removal, Other };

// True when a device notification's interface name carries the mouse's vendor and product
// as "Vid_04d9&Pid_a09e" or "VID_04D9&PID_A09E" (case-sensitive).
bool deviceNameMatches(const std::string& interfaceName);

// Vendor and product are the mouse's.
bool isOurMouse(const HidCollection& collection);
// Which of the mouse's channels a collection can carry: a collection of the mouse with the
// channel's usage and feature report length.
enum class ChannelRole { None, Data, Command };
ChannelRole channelRole(const HidCollection& collection);

// The mouse's two channel collections found in one enumeration for one physical mouse.
struct MouseChannels {
    const HidCollection* data = nullptr;
    const HidCollection* command = nullptr;
    bool complete() const { return data != nullptr && command != nullptr; }
    // The later listed of the two channels, when both are found.
    const HidCollection* completedBy() const;
};

// The first mouse (vendor and product ours) of one enumeration that has both channels. Its
// pointers point into collections, which must outlive it.
std::optional<MouseChannels> findMouse(const std::vector<HidCollection>& collections);

class DeviceLink : public DeviceOperations {
public:
    DeviceLink(Transport& transport, Clock& clock);
    ~DeviceLink() override; // closes valid handles
    DeviceLink(const DeviceLink&) = delete;
    DeviceLink& operator=(const DeviceLink&) = delete;

    // The localised "The system did not detect the gaming mouse!" (English until set).
    void setNotDetectedText(std::string text);
    // Called for every transfer; nullptr switches tracing off.
    void setTrace(std::function<void(const TraceEntry&)> trace);

    // Finds the mouse's data and command collections among the enumerated ones and opens
    // both. Only the mouse's own collections are opened. A channel that cannot be opened
    // gives the message "CreateFile Error Code:%d". On success the new handles replace the
    // old ones and connected := 1; on failure the old handles stay and lastError() says why.
    Status openMouse();
    // Open mouse; on success scrambling on, block zeroed, ReadOperation, sensor variant copy
    // := image[0xC1], connected := 1. Succeeds when the mouse was opened, even when the read
    // failed: its message is then carried along.
    Status connect(ProfileBlock& block);

    // The block read from this mouse since it was opened? (A failed read at connect leaves
    // an all-zero block that must never be uploaded.)
    bool imageRead() const { return imageRead_; }
    // ReadOperation, and on success the sensor variant copy taken from the image.
    Status readImage(ProfileBlock& block);
    Status ensureImage(ProfileBlock& block) override {
        return imageRead_ ? Status{} : readImage(block);
    }

    // Status query: header := report rate, DPI stage.
    Status GetDPIStage(ProfileBlock& block) override;
    // Status and all five chunks; the block changes only when everything arrived.
    Status ReadOperation(ProfileBlock& block);
    // Status query, set status, chunks 6 (all zero), 5, 4, 3, 2.
    Status WriteOperation(const ProfileBlock& block) override;

    // The device-change handler: interfaceName is the name carried by the notification.
    // Reacts on every fourth matching notification (arrivals and removals counted together).
    // Returns the messages of opening and reading the mouse.
    Status handleDeviceChange(DeviceChange change, const std::string& interfaceName,
                              ProfileBlock& block, DeviceEvents& events);

    void closeHandles();

    bool connected() const { return connected_; }
    uint8_t sensorVariant() const override { return sensorVariant_; }
    bool scramblingOn() const { return scramblingOn_; }
    int notificationCount() const { return notificationCount_; }
    void setScramblingOn(bool on) { scramblingOn_ = on; }
    // Path of the mouse collection most recently examined by openMouse.
    const std::string& devicePath() const { return devicePath_; }
    // Why the last openMouse failed (empty after a success).
    const std::string& lastError() const { return lastError_; }

private:
    static constexpr size_t kReportBufferSize = 80;
    using ReportBuffer = uint8_t[kReportBufferSize];

    Status openChannels(const MouseChannels& mouse);
    Status openChannel(const HidCollection& collection, Transport::Handle& handle);
    Status afterOpen(ProfileBlock& block);
    bool transfer(bool command, bool set, uint8_t* report);
    bool sendCommand(uint8_t command, uint8_t param1 = 0, uint8_t param2 = 0);
    bool readAnswer(ReportBuffer& answer);
    bool statusQuery(ReportBuffer& answer, bool requireReportId);
    Status fail(const char* operation) const;

    Transport& transport_;
    Clock& clock_;
    std::string notDetectedText_;
    std::function<void(const TraceEntry&)> trace_;
    bool traceStarted_ = false;
    double traceOrigin_ = 0.0;

    Transport::Handle commandHandle_ = Transport::kInvalidHandle;
    Transport::Handle dataHandle_ = Transport::kInvalidHandle;
    uint16_t commandReportLength_ = 0;
    uint16_t dataReportLength_ = 0;
    std::string devicePath_;
    std::string lastError_;
    bool connected_ = false;
    bool imageRead_ = false;
    bool scramblingOn_ = false;
    int notificationCount_ = 0;
    uint8_t sensorVariant_ = 0;
};

} // namespace z417
