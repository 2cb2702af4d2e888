#include "profile/ApplySequence.h"

#include "profile/BuildStep.h"
#include "profile/SettingsFiles.h"

namespace z417 {

Status uploadSettings(const SettingsRecord& record, ProfileBlock& block, DeviceOperations& device) {
    Status status = device.ensureImage(block);
    if (!status)
        return status;
    writeFixedTables(block);
    status.add(device.GetDPIStage(block)); // on failure the header keeps what it held
    buildProfileBlock(record, device.sensorVariant(), block);
    return status.add(device.WriteOperation(block));
}

Status runApplySequence(const SettingsRecord& record, ProfileBlock& block, DeviceOperations& device,
                        const AssignmentLabels& labels, const ApplyTargets& targets) {
    Status status = uploadSettings(record, block, device);
    status.add(saveSettings(targets.configPath, record));
    return status.add(saveLabels(targets.strIniPath, targets.labelSection, labels));
}

} // namespace z417
