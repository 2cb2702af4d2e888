// The settings as a session of the window: Apply keeps them (mouse, "config.bin", "str.ini"),
// Cancel goes back to what was last kept and reloads the labels once the window is back,
// and files changed by z417ctl are taken over as the kept state.
#pragma once

#include "app/AppLayer.h"
#include "app/BasicPage.h"
#include "app/PageContext.h"

namespace z417 {

class SettingsSession {
public:
    SettingsSession(PageContext& context, BasicPage& page);

    // Acts only while the mouse is there; true when it did.
    bool apply();
    void cancel();
    // After Cancel: the labels of "str.ini" come back and the page is rebuilt from them.
    void reloadAfterCancel();
    void reloadSettingsFiles();
    bool cancelPending() const { return cancelPending_; }

private:
    PageContext& context_;
    BasicPage& page_;
    bool cancelPending_ = false;
};

} // namespace z417
