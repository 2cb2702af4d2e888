#include "device/TransportFactory.h"

#include "device/SimulatedMouse.h"
#include "platform/HidrawTransport.h"

namespace z417 {

bool SinglePathTransport::enumerate(std::vector<HidCollection>& out, std::string& error) {
    std::vector<HidCollection> all;
    if (!inner_->enumerate(all, error))
        return false;
    out.clear();
    for (HidCollection& c : all)
        if (c.path == path_)
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
        return std::make_unique<SinglePathTransport>(std::make_unique<HidrawTransport>(), device);
    error = "unknown device '" + device + "': use auto, /dev/hidrawN or sim:STATE_FILE";
    return nullptr;
}

} // namespace z417
