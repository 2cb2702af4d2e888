#include "profile/ApplySequence.h"

#include "platform/AtomicFile.h"
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

// Steps 5 and 6, or why they could not run: without the folder's lock nothing is written.
Status saveUnderLock(Result<SettingsPair>& files, const SettingsRecord& record,
                     const AssignmentLabels& labels, const ApplyTargets& targets) {
    if (files)
        return saveAppliedSettings(*files, record, labels, targets.labelSection);
    Status status;
    if (!fileExists(targets.configPath))
        status = Status::failure(kAppTitle, kConfigMissingText);
    return status.add(inWindowWords(files.status()));
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
    const Status saved = saveUnderLock(files, edits.record, edits.labels, targets);
    if (files && saved.systemError == 0) { // written (the labels at least, without a config.bin)
        edits.fileRecord = edits.record;
        edits.fileLabels = edits.labels;
    }
    outcome.status.add(saved);
    edits.confirmed = edits.record;
    return outcome;
}

Status runApplySequence(const SettingsRecord& record, ProfileBlock& block, DeviceOperations& device,
                        const AssignmentLabels& labels, const ApplyTargets& targets) {
    Result<SettingsPair> files = openForApply(targets);
    Status status = uploadSettings(record, block, device);
    return status.add(saveUnderLock(files, record, labels, targets));
}

} // namespace z417
