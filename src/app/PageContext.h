// What the page's controls work with: the window they sit on and draw to, the application
// state, the device link and the desktop services. The controls never see the shell itself.
#pragma once

#include "app/AppLayer.h"

#include "device/DeviceLink.h"
#include "platform/Status.h"
#include "platform/qt/UiServices.h"
#include "ui/AppState.h"
#include "ui/FieldColours.h"
#include "ui/PagePainter.h"

class QWidget;

namespace z417 {

struct DialogEnvironment;

// The window under the page: the owner of its fields, lists, dialogs and message boxes, and
// the back buffer drawn on, which present() shows.
class PageCanvas {
public:
    virtual QWidget* widget() = 0;
    virtual PagePainter painter() = 0;
    virtual void present() = 0;

protected:
    ~PageCanvas() = default;
};

struct PageContext {
    PageCanvas& canvas;
    AppState& state;
    DeviceLink& device;
    UiServices& services;

    // What the page's child fields are coloured from.
    FieldStyle fieldStyle() const {
        return {state.skin.textColour(), state.normalFont, &state.record, state.skin.accent()};
    }
    // What a dialog opened over the window gets.
    DialogEnvironment dialogEnvironment() const;
    // The messages of a core operation as message boxes over the window, in their order.
    void showMessages(const Status& status) const;
    void warn(const QString& text, const QString& caption) const;
};

// The fonts of the language, made once: at the first show, so that a start hidden in the tray
// asks the font system for nothing.
void makeFontsOnce(AppState& state);

} // namespace z417
