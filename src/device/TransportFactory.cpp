#include "device/TransportFactory.h"

#include "device/SimulatedMouse.h"
#include "platform/HidrawTransport.h"

#include <algorithm>

namespace z417 {

bool OneMouseTransport::enumerate(std::vector<HidCollection>& out, std::string& error) {
    std::vector<HidCollection> all;
    if (!inner_->enumerate(all, error))
        return false;
    const auto named = std::find_if(all.begin(), all.end(),
                                    [&](const HidCollection& c) { return c.path == path_; });
    out.clear();
    if (named == all.end())
        return true;
    // A collection without a group has no known siblings: only its own node is taken.
    const std::string group = named->deviceGroup;
    for (HidCollection& c : all)
        if (c.path == path_ || (!group.empty() && c.deviceGroup == group))
            out.push_back(std::move(c));
    return true;
}

std::unique_ptr<Transport> makeTransport(const std::string& device, std::string& error) {
    if (device == "auto")
        return std::make_unique<HidrawTransport>();
    if (device.rfind("sim:", 0) == 0) {
        const std::string state = device.substr(4);
        if (state.empty()) {
            error = "sim: needs the path of a state file (sim:STATE_FILE)";
            return nullptr;
        }
        return SimulatedMouse::load(state, error);
    }
    if (device.rfind("/dev/", 0) == 0)
        return std::make_unique<OneMouseTransport>(std::make_unique<HidrawTransport>(), device);
    error = "unknown device '" + device + "': use auto, /dev/hidrawN or sim:STATE_FILE";
    return nullptr;
}

} // namespace z417
