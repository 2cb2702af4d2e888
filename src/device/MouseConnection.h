// Follows whole mice through the hidraw nodes that come and go: a mouse has arrived when a
// node carrying one of its channels completes both within one device group, and may be gone
// when a node carrying one of them goes. The connection reacts once per arrival (connect and read)
// and once per removal (open again; a mouse no longer there is lost), whatever order, doubling or
// loss the node events come with, and ignores nodes of other devices, even those with the mouse's
// ids.
#pragma once

#include "device/DeviceLink.h"
#include "platform/Status.h"
#include "platform/UdevMonitor.h"
#include "profile/ProfileBlock.h"

#include <map>
#include <string>
#include <vector>

namespace z417 {

class MouseConnection {
public:
    enum class Change { None, Connected, Lost };
    struct Outcome {
        Change change = Change::None;
        Status status; // what opening and reading had to say
    };

    MouseConnection(DeviceLink& link, ProfileBlock& block) : link_(link), block_(block) {}

    // The nodes present before the events began: known, without a reaction.
    void seed(const std::vector<HidrawEvent>& present);
    Outcome handle(const HidrawEvent& event);
    // The block a connect reads into.
    ProfileBlock& block() { return block_; }

private:
    struct Roles {
        bool data = false;
        bool command = false;
    };
    static Roles rolesOf(const MouseModel& model, const KnownNode& node);
    struct Mouse {
        std::map<std::string, Roles> nodes;
        bool complete() const;
    };

    // What one event changed for its mouse.
    struct Effect {
        bool known = false; // a node of a known model
        std::string group;
        bool wasComplete = false;
        bool nowComplete = false;
        bool carriesChannel = false; // the node carries one of the channels
    };
    Effect apply(const HidrawEvent& event);
    Outcome arrived();
    Outcome removed();

    DeviceLink& link_;
    ProfileBlock& block_;
    std::map<std::string, Mouse> mice_; // by device group
};

} // namespace z417
