// The simulated mouse presented to the kernel through /dev/uhid: one uhid device per USB
// interface of its model, feature requests answered by the simulated mouse's firmware.
#pragma once

#include "device/SimulatedMouse.h"

#include <string>
#include <vector>

namespace z417 {

class UhidMouse {
public:
    // uniq names this mouse; both interfaces carry it and the phys "z417-uhid/<uniq>/inputN".
    UhidMouse(SimulatedMouse& mouse, std::string uniq);
    ~UhidMouse(); // unplugs
    UhidMouse(const UhidMouse&) = delete;
    UhidMouse& operator=(const UhidMouse&) = delete;

    // Creates the uhid devices; a failure says why (e.g. no access to /dev/uhid).
    Status plug();
    // Destroys the devices: the kernel removes their hidraw nodes.
    void unplug();
    bool plugged() const { return fds_[0] >= 0; }
    int interfaceCount() const { return static_cast<int>(fds_.size()); }
    // Descriptors to poll while plugged (-1 otherwise).
    int fd(int interface) const { return fds_[interface]; }
    // Answers what the kernel asked on that interface. Returns false when the simulated mouse
    // went away (an unplug-after fault fired): the devices are destroyed then.
    bool handleEvent(int interface);

private:
    Status openChannels();
    void answerGet(int interface, uint32_t id, uint8_t reportId, uint8_t type);
    void answerSet(int interface, uint32_t id, uint8_t reportId, uint8_t type, const uint8_t* data,
                   size_t size);
    void waitIfSlow();
    bool send(int interface, const void* event, size_t size);

    SimulatedMouse& mouse_;
    std::string uniq_;
    const MouseModel& model_;
    std::vector<int> fds_;
    std::vector<Transport::Handle> channels_;
};

} // namespace z417
