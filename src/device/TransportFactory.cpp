#include "device/TransportFactory.h"

#include "device/SimulatedMouse.h"
#include "platform/HidrawTransport.h"

#include <algorithm>

namespace z417 {

Result<std::vector<HidCollection>> OneMouseTransport::enumerate() {
    Result<std::vector<HidCollection>> listed = inner_->enumerate();
    if (!listed)
        return listed;
    std::vector<HidCollection>& all = *listed;
    const auto named = std::find_if(all.begin(), all.end(),
                                    [&](const HidCollection& c) { return c.path == path_; });
    std::vector<HidCollection> out;
    if (named == all.end())
        return out;
    // A collection without a group has no known siblings: only its own node is taken.
    const std::string group = named->deviceGroup;
    for (HidCollection& c : all)
        if (c.path == path_ || (!group.empty() && c.deviceGroup == group))
            out.push_back(std::move(c));
    return out;
}

Result<std::unique_ptr<Transport>> makeTransport(const std::string& device) {
    using Made = std::unique_ptr<Transport>;
    if (device == "auto")
        return Made(std::make_unique<HidrawTransport>());
    if (device.rfind("sim:", 0) == 0) {
        const std::string state = device.substr(4);
        if (state.empty())
            return Status::silentFailure("sim: needs the path of a state file (sim:STATE_FILE)");
        Result<std::unique_ptr<SimulatedMouse>> mouse = SimulatedMouse::load(state);
        if (!mouse)
            return mouse.takeStatus();
        return Made(std::move(mouse).value());
    }
    if (device.rfind("/dev/", 0) == 0)
        return Made(
            std::make_unique<OneMouseTransport>(std::make_unique<HidrawTransport>(), device));
    return Status::silentFailure("unknown device '" + device +
                                 "': use auto, /dev/hidrawN or sim:STATE_FILE");
}

} // namespace z417
