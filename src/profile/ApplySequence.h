// What OK and Apply do: fixed tables, status refresh, build, upload, and saving both files.
#pragma once

#include "profile/ProfileBlock.h"
#include "profile/SettingsRecord.h"

#include <cstdint>
#include <string>

namespace z417 {

class MessageSink;
struct AssignmentLabels;

// The device operations the apply sequence needs; the device link implements them.
class DeviceOperations {
public:
    virtual ~DeviceOperations() = default;
    // Makes sure the block holds the mouse's own image: when the read at connect failed, it
    // is read now. False (already reported) when it cannot be had: then nothing may be
    // uploaded, or the mouse's own bytes would be overwritten with zeros.
    virtual bool ensureImage(ProfileBlock& block) = 0;
    virtual bool GetDPIStage(ProfileBlock& block) = 0;
    virtual bool WriteOperation(const ProfileBlock& block) = 0;
    virtual uint8_t sensorVariant() const = 0;
};

struct ApplyTargets {
    std::string configPath;   // "config.bin"
    std::string strIniPath;   // "str.ini"
    std::string labelSection; // "Setting-EN", "Setting-CHS" or "Setting-CHT"
};

// Steps 1 to 4: fixed tables, status refresh, build step, upload. A failed status refresh
// is reported by the device and the upload still runs with the header as it was. Nothing
// is built or sent while the mouse's image has never been read.
void uploadSettings(const SettingsRecord& record, ProfileBlock& block, DeviceOperations& device);

// Runs the six steps in order. Each step goes on after a failure that an earlier step has
// already reported to the person.
void runApplySequence(const SettingsRecord& record, ProfileBlock& block, DeviceOperations& device,
                      const AssignmentLabels& labels, const ApplyTargets& targets,
                      MessageSink& sink);

} // namespace z417
