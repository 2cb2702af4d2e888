// What the rest of the program asks of a mouse's protocol, and the two open channels a
// driver speaks over. Failures come back as statuses whose caption is the operation's name.
#pragma once

#include "platform/Status.h"
#include "profile/ProfileBlock.h"

#include <cstdint>
#include <string>

namespace z417 {

enum class Channel { Command, Data };

// The open channels of one mouse. A report is the channel's feature report length long, with
// the report ID (or 0) in byte 0; a buffer passed here holds at least kMaxReportLength bytes.
class FeatureChannels {
public:
    static constexpr size_t kMaxReportLength = 80;
    virtual ~FeatureChannels() = default;
    virtual Status send(Channel channel, const uint8_t* report) = 0;
    virtual Status fetch(Channel channel, uint8_t* report) = 0;
};

class MouseDriver {
public:
    virtual ~MouseDriver() = default;

    // Every connect starts a session before the first exchange; it is never ended.
    virtual void startSession() = 0;
    virtual bool sessionStarted() const = 0;
    // The localised text of a failed operation ("The system did not detect the gaming mouse!").
    virtual void setNotDetectedText(std::string text) = 0;

    // Status query: header := report rate, DPI stage.
    virtual Status GetDPIStage(ProfileBlock& block) = 0;
    // Status and the whole image; the block changes only when everything arrived.
    virtual Status ReadOperation(ProfileBlock& block) = 0;
    // Status and the image.
    virtual Status WriteOperation(const ProfileBlock& block) = 0;
};

} // namespace z417
