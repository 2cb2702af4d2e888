#include "device/MouseModel.h"

#include "device/UhidDescriptors.h"
#include "device/Z417Driver.h"
#include "profile/DpiCodes.h"
#include "profile/ProfileBlock.h"

#include <iterator>

namespace z417 {

namespace {

constexpr uint16_t kGenericDesktop = 0x01;

constexpr CollectionShape kZ417Collections[] = {
    {kGenericDesktop, 0x02, 65}, // mouse: data channel
    {kGenericDesktop, 0x06, 8},  // keyboard: command channel, report ID 1
    {0x0C, 0x01, 0},             // consumer control
    {0xFF00, 0x01, 0},           // vendor
};

const InterfaceDescriptor kZ417Interfaces[] = {
    {kZ417MouseInterface, kZ417MouseInterfaceSize, 0, 65, 0},
    {kZ417KeysInterface, kZ417KeysInterfaceSize, 1, 8, 1},
};

const MouseModel kZ417 = {
    "Z417",
    "Z417 Gaming Mouse",
    0x04D9,
    0xA09E,
    {kGenericDesktop, 0x06, 0x01, 8},  // command channel
    {kGenericDesktop, 0x02, 0x00, 65}, // data channel
    kImageSize,
    kChunkSize,
    kChunkCount,
    dpiCode,
    dpiCodeCount,
    kZ417Collections,
    static_cast<int>(std::size(kZ417Collections)),
    kZ417Interfaces,
    static_cast<int>(std::size(kZ417Interfaces)),
    "70-z417-gaming-mouse.rules",
    R"(SUBSYSTEM=="hidraw", ATTRS{idVendor}=="04d9", ATTRS{idProduct}=="a09e")",
    makeZ417Driver,
};

const MouseModel* const kModels[] = {&kZ417};

bool carries(const ChannelShape& channel, uint16_t usagePage, uint16_t usage, uint16_t length) {
    return channel.usagePage == usagePage && channel.usage == usage &&
           channel.featureReportLength == length;
}

ChannelRole roleOf(const MouseModel& m, uint16_t usagePage, uint16_t usage, uint16_t length) {
    if (carries(m.data, usagePage, usage, length))
        return ChannelRole::Data;
    if (carries(m.command, usagePage, usage, length))
        return ChannelRole::Command;
    return ChannelRole::None;
}

} // namespace

const MouseModel* findModel(uint16_t vendorId, uint16_t productId) {
    for (const MouseModel* m : kModels)
        if (m->vendorId == vendorId && m->productId == productId)
            return m;
    return nullptr;
}

const MouseModel* const* knownModels(size_t& count) {
    count = std::size(kModels);
    return kModels;
}

const MouseModel& defaultModel() {
    return *kModels[0];
}

ChannelRole channelRole(const MouseModel& model, const CollectionShape& shape) {
    return roleOf(model, shape.usagePage, shape.usage, shape.featureReportLength);
}

ChannelRole channelRole(const HidCollection& c) {
    const MouseModel* model = findModel(c.vendorId, c.productId);
    return model ? roleOf(*model, c.usagePage, c.usage, c.featureReportLength) : ChannelRole::None;
}

int collectionOf(const MouseModel& model, ChannelRole role) {
    for (int i = 0; i < model.collectionCount; ++i)
        if (channelRole(model, model.collections[i]) == role)
            return i;
    return -1;
}

bool isKnownMouse(const HidCollection& c) {
    return findModel(c.vendorId, c.productId) != nullptr;
}

} // namespace z417
