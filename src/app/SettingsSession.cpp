#include "app/SettingsSession.h"

#include "app/BusyCursor.h"

#include "profile/ApplySequence.h"
#include "profile/SettingsFiles.h"

namespace z417 {

SettingsSession::SettingsSession(PageContext& context, BasicPage& page)
    : context_(context), page_(page) {}

bool SettingsSession::apply() {
    if (!context_.device.connected())
        return false;
    AppState& state = context_.state;
    const ApplyTargets targets{state.paths.configBin, state.paths.strIni,
                               state.texts.sectionName()};
    Status applied;
    {
        BusyCursor busy(context_.canvas.widget());
        applied =
            runApplySequence(state.record, state.block, context_.device, state.labels, targets);
    }
    state.savedSettings = state.record;
    context_.showMessages(applied);
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
        state.labels = loadLabels(state.paths.strIni, state.texts.sectionName());
        page_.rebuild();
    }
}

// z417ctl changed "config.bin" and "str.ini": take them over as the saved state, so that the
// next Apply does not write the older copy over them. A file that cannot be read leaves
// what is shown as it is.
void SettingsSession::reloadSettingsFiles() {
    AppState& state = context_.state;
    if (loadSettings(state.paths.configBin, state.record).loaded)
        state.savedSettings = state.record;
    state.labels = loadLabels(state.paths.strIni, state.texts.sectionName());
    page_.rebuild();
}

} // namespace z417
