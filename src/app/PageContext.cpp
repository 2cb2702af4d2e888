#include "app/PageContext.h"

#include "assign/FontTable.h"
#include "dialogs/DialogFrame.h"
#include "ui/TextDraw.h"

namespace z417 {

DialogEnvironment PageContext::dialogEnvironment() const {
    DialogEnvironment d;
    d.skin = &state.skin;
    d.languageCode = state.languageCode();
    d.services = &services;
    d.sensorVariant = device.sensorVariant();
    d.skinsRoot = state.paths.skinsRoot;
    d.currentSkinName = state.skinValues.path;
    return d;
}

void makeFontsOnce(AppState& state) {
    if (state.fontsMade)
        return;
    state.fontsMade = true;
    int major = 0, minor = 0;
    platformVersion(major, minor);
    const FontPair fonts = fontsFor(state.languageCode(), major, minor);
    state.normalFont = makeFont(fonts.normal);
    state.titleFont = makeFont(fonts.title);
}

void PageContext::showMessages(const Status& status) const {
    for (const Message& m : status.messages)
        warn(QString::fromStdString(m.text), QString::fromStdString(m.caption));
}

void PageContext::warn(const QString& text, const QString& caption) const {
    services.messageBox(canvas.widget(), text, caption);
}

} // namespace z417
