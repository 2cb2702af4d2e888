#include "app/SettingsSession.h"

#include "app/BusyCursor.h"

#include "profile/ApplySequence.h"
#include "profile/SettingsFiles.h"
#include "profile/SettingsPair.h"

namespace z417 {
namespace {

SettingsEdits editsOf(AppState& state) {
    return {state.record, state.savedSettings, state.labels, state.fileRecord, state.fileLabels};
}

} // namespace

SettingsSession::SettingsSession(PageContext& context, BasicPage& page)
    : context_(context), page_(page) {}

bool SettingsSession::apply() {
    if (!context_.device.connected())
        return false;
    AppState& state = context_.state;
    const ApplyTargets targets{state.paths.configBin, state.paths.strIni,
                               state.texts.sectionName()};
    ApplyOutcome applied;
    {
        BusyCursor busy(context_.canvas.widget());
        applied = applyAndConfirm(editsOf(state), state.block, context_.device, targets);
    }
    if (applied.tookOverFileChanges)
        page_.rebuild();
    context_.showMessages(applied.status);
    return true;
}

void SettingsSession::cancel() {
    context_.state.record = context_.state.savedSettings;
    cancelPending_ = true;
}

void SettingsSession::reloadAfterCancel() {
    if (!cancelPending_)
        return;
    cancelPending_ = false;
    if (page_.shown()) {
        AppState& state = context_.state;
        const Result<SettingsPair> files =
            SettingsPair::open(state.paths.configBin, state.paths.strIni, LockMode::Shared);
        const std::string section = state.texts.sectionName();
        state.labels = files ? files->labels(section) : loadLabels(state.paths.strIni, section);
        state.fileLabels = state.labels;
        page_.rebuild();
    }
}

// Another program (z417ctl) changed "config.bin" and "str.ini": what it changed is taken over
// as the saved state, so that the next Apply does not write the older copy over it, while
// edits not yet applied stay. A file that cannot be read leaves what is shown as it is.
void SettingsSession::reloadSettingsFiles() {
    AppState& state = context_.state;
    const Result<SettingsPair> files =
        SettingsPair::open(state.paths.configBin, state.paths.strIni, LockMode::Shared);
    if (!files)
        return;
    takeOverFileChanges(editsOf(state), *files, state.texts.sectionName());
    page_.rebuild();
}

} // namespace z417
