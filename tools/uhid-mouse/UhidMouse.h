// The simulated mouse presented to the kernel through /dev/uhid: one uhid device per USB
// interface, feature requests answered by the simulated mouse's firmware.
#pragma once

#include "device/SimulatedMouse.h"

#include <string>

namespace z417 {

class UhidMouse {
public:
    // uniq names this mouse; both interfaces carry it and the phys "z417-uhid/<uniq>/inputN".
    UhidMouse(SimulatedMouse& mouse, std::string uniq);
    ~UhidMouse(); // unplugs
    UhidMouse(const UhidMouse&) = delete;
    UhidMouse& operator=(const UhidMouse&) = delete;

    // Creates both uhid devices. False with the reason in error (e.g. no access to /dev/uhid).
    bool plug(std::string& error);
    // Destroys both devices: the kernel removes their hidraw nodes.
    void unplug();
    bool plugged() const { return fds_[0] >= 0; }
    // Descriptors to poll while plugged (-1 otherwise).
    int fd(int interface) const { return fds_[interface]; }
    // Answers what the kernel asked on that interface. Returns false when the simulated mouse
    // went away (an unplug-after fault fired): the devices are destroyed then.
    bool handleEvent(int interface, std::string& error);

private:
    bool openChannels(std::string& error);
    void answerGet(int interface, uint32_t id, uint8_t reportId, uint8_t type);
    void answerSet(int interface, uint32_t id, uint8_t reportId, uint8_t type, const uint8_t* data,
                   size_t size);
    void waitIfSlow();
    bool send(int interface, const void* event, size_t size);

    SimulatedMouse& mouse_;
    std::string uniq_;
    int fds_[2] = {-1, -1};
    Transport::Handle channels_[2] = {Transport::kInvalidHandle, Transport::kInvalidHandle};
};

} // namespace z417
