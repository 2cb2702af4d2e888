#include "profile/ApplySequence.h"

#include "profile/BuildStep.h"
#include "profile/SettingsFiles.h"
#include "profile/SettingsPair.h"

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

namespace {

Result<SettingsPair> openForApply(const ApplyTargets& targets) {
    return SettingsPair::open(targets.configPath, targets.strIniPath, LockMode::Exclusive);
}

Status uploadAndSave(const SettingsRecord& record, ProfileBlock& block, DeviceOperations& device,
                     const AssignmentLabels& labels, const std::string& labelSection,
                     Result<SettingsPair>& files) {
    Status status = uploadSettings(record, block, device);
    if (!files)
        return status.add(inWindowWords(files.status()));
    return status.add(saveAppliedSettings(*files, record, labels, labelSection));
}

} // namespace

Status saveAppliedSettings(SettingsPair& files, const SettingsRecord& record,
                           const AssignmentLabels& labels, const std::string& labelSection) {
    Status status;
    if (files.configExists())
        files.setConfig(1, record);
    else
        status = Status::failure(kAppTitle, kConfigMissingText);
    Status staged = files.setIniEntries(labelSection, labelEntries(labels));
    return status.add(inWindowWords(staged ? files.commit() : std::move(staged)));
}

ApplyOutcome applyAndConfirm(const SettingsEdits& edits, ProfileBlock& block,
                             DeviceOperations& device, const ApplyTargets& targets) {
    ApplyOutcome outcome;
    Result<SettingsPair> files = openForApply(targets);
    if (files)
        outcome.tookOverFileChanges = takeOverFileChanges(edits, *files, targets.labelSection);
    outcome.status = uploadSettings(edits.record, block, device);
    if (files) {
        const Status saved =
            saveAppliedSettings(*files, edits.record, edits.labels, targets.labelSection);
        if (saved.systemError == 0) { // written (the labels at least, without a "config.bin")
            edits.fileRecord = edits.record;
            edits.fileLabels = edits.labels;
        }
        outcome.status.add(saved);
    } else {
        outcome.status.add(inWindowWords(files.status()));
    }
    edits.confirmed = edits.record;
    return outcome;
}

Status runApplySequence(const SettingsRecord& record, ProfileBlock& block, DeviceOperations& device,
                        const AssignmentLabels& labels, const ApplyTargets& targets) {
    Result<SettingsPair> files = openForApply(targets);
    return uploadAndSave(record, block, device, labels, targets.labelSection, files);
}

} // namespace z417
