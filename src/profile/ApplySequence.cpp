#include "profile/ApplySequence.h"

#include "profile/BuildStep.h"
#include "profile/SettingsFiles.h"

namespace z417 {

void uploadSettings(const SettingsRecord& record, ProfileBlock& block, DeviceOperations& device) {
    if (!device.ensureImage(block))
        return;
    writeFixedTables(block);
    device.GetDPIStage(block); // on failure the header keeps what it held
    buildProfileBlock(record, device.sensorVariant(), block);
    device.WriteOperation(block);
}

void runApplySequence(const SettingsRecord& record, ProfileBlock& block, DeviceOperations& device,
                      const AssignmentLabels& labels, const ApplyTargets& targets,
                      MessageSink& sink) {
    uploadSettings(record, block, device);
    saveSettings(targets.configPath, record, sink);
    saveLabels(targets.strIniPath, targets.labelSection, labels, sink);
}

} // namespace z417
