// The mice this utility knows, one table row each: everything about a model that discovery,
// the protocol, the simulated mouse, the uhid front and the command-line tool ask. A second
// model is a second row (and a driver of its own only when its protocol differs).
#pragma once

#include "platform/Clock.h"
#include "platform/Transport.h"

#include <cstddef>
#include <cstdint>
#include <memory>

namespace z417 {

class FeatureChannels;
class MouseDriver;

// A top-level collection that carries one of the protocol's channels.
struct ChannelShape {
    uint16_t usagePage;
    uint16_t usage;
    uint8_t reportId;             // byte 0 of every report on the channel (0: the channel has none)
    uint16_t featureReportLength; // with the report ID byte, as HidP_GetCaps counts it
};

// A top-level collection the mouse presents, channel or not.
struct CollectionShape {
    uint16_t usagePage;
    uint16_t usage;
    uint16_t featureReportLength; // 0: no feature report
};

// The report descriptor of one USB interface of the mouse (for the uhid front) and which of
// the model's collections answers its feature report.
struct InterfaceDescriptor {
    const uint8_t* bytes;
    size_t size;
    uint8_t featureReportId;      // 0: the interface has no report IDs
    uint16_t featureReportLength; // with the report ID byte
    int collection;               // index into MouseModel::collections
};

struct MouseModel {
    const char* name;    // "Z417" in listings
    const char* usbName; // the device's own product string
    uint16_t vendorId;
    uint16_t productId;
    ChannelShape command;
    ChannelShape data;
    // The device image and how it travels: chunkCount chunks of chunkSize bytes.
    int imageSize;
    int chunkSize;
    int chunkCount;
    // The DPI code of a level for a sensor variant (bit 7 set for a stage that is off), and
    // how many levels the variant has.
    uint8_t (*dpiCode)(uint8_t variant, uint8_t level, bool enabled);
    int (*dpiCodeCount)(uint8_t variant);
    // The collections the mouse presents, in the order its interfaces list them.
    const CollectionShape* collections;
    int collectionCount;
    const InterfaceDescriptor* interfaces;
    int interfaceCount;
    // The udev rule file that grants the seat's user access, and its match.
    const char* udevRuleFile;
    const char* udevMatch;
    // The protocol, speaking over the model's two open channels.
    std::unique_ptr<MouseDriver> (*makeDriver)(FeatureChannels& channels, Clock& clock);
};

// The model with these ids; nullptr for any other device.
const MouseModel* findModel(uint16_t vendorId, uint16_t productId);
// Every known model, for listings.
const MouseModel* const* knownModels(size_t& count);
// The first model: the one the simulated mouse and the uhid front present by default.
const MouseModel& defaultModel();

// Which of its model's channels a collection carries.
enum class ChannelRole { None, Data, Command };
ChannelRole channelRole(const MouseModel& model, const CollectionShape& shape);
ChannelRole channelRole(const HidCollection& collection);
// The index of the model's collection that carries a channel, -1 when none does.
int collectionOf(const MouseModel& model, ChannelRole role);
// A collection of a known model.
bool isKnownMouse(const HidCollection& collection);

} // namespace z417
