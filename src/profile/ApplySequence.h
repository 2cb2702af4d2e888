// What OK and Apply do: fixed tables, status refresh, build, upload, and saving both files.
#pragma once

#include "platform/Status.h"
#include "profile/ProfileBlock.h"
#include "profile/SettingsRecord.h"

#include <cstdint>
#include <string>

namespace z417 {

struct AssignmentLabels;
class SettingsPair;
struct SettingsEdits;

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

// Steps 5 and 6 as one change of the pair: the record (first-run flag 1) and the labels, in
// the window's words. Without a "config.bin": "Config file is not exist." and only the labels.
Status saveAppliedSettings(SettingsPair& files, const SettingsRecord& record,
                           const AssignmentLabels& labels, const std::string& labelSection);

// What OK and Apply do: take the settings folder's lock, take over what other programs
// changed in the files where the edits left the confirmed value, run the six steps with the
// lock held, and make the result the confirmed copy. Without the lock the upload still runs
// and its failure is reported in the window's words.
struct ApplyOutcome {
    Status status;
    bool tookOverFileChanges = false; // the page shows values it did not show before
};
ApplyOutcome applyAndConfirm(const SettingsEdits& edits, ProfileBlock& block,
                             DeviceOperations& device, const ApplyTargets& targets);

// Runs the six steps in order. Each step goes on after a failure of an earlier one; the
// result carries every step's messages in the order they arose. The files are saved as one
// pair with the folder's lock held from before the upload to the last write.
Status runApplySequence(const SettingsRecord& record, ProfileBlock& block, DeviceOperations& device,
                        const AssignmentLabels& labels, const ApplyTargets& targets);

} // namespace z417
