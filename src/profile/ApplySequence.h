// What OK and Apply do: fixed tables, status refresh, build, upload, and saving both files.
#pragma once

#include "platform/Status.h"
#include "profile/ProfileBlock.h"
#include "profile/SettingsRecord.h"

#include <cstdint>
#include <string>

namespace z417 {

struct AssignmentLabels;

// The device operations the apply sequence needs; the device link implements them.
class DeviceOperations {
public:
    virtual ~DeviceOperations() = default;
    // Makes sure the block holds the mouse's own image: when the read at connect failed, it
    // is read now. A failure when it cannot be had: then nothing may be uploaded, or the
    // mouse's own bytes would be overwritten with zeros.
    virtual Status ensureImage(ProfileBlock& block) = 0;
    virtual Status GetDPIStage(ProfileBlock& block) = 0;
    virtual Status WriteOperation(const ProfileBlock& block) = 0;
    virtual uint8_t sensorVariant() const = 0;
};

struct ApplyTargets {
    std::string configPath;   // "config.bin"
    std::string strIniPath;   // "str.ini"
    std::string labelSection; // "Setting-EN", "Setting-CHS" or "Setting-CHT"
};

// Steps 1 to 4: fixed tables, status refresh, build step, upload. After a failed status
// refresh the upload still runs with the header as it was. Nothing is built or sent while
// the mouse's image has never been read. The messages of every step, in order.
Status uploadSettings(const SettingsRecord& record, ProfileBlock& block, DeviceOperations& device);

// Runs the six steps in order. Each step goes on after a failure of an earlier one; the
// result carries every step's messages in the order they arose.
Status runApplySequence(const SettingsRecord& record, ProfileBlock& block, DeviceOperations& device,
                        const AssignmentLabels& labels, const ApplyTargets& targets);

} // namespace z417
