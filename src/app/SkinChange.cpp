// The skin button: the skins dialog, and on OK the new skin made current and saved.
#include "app/MainWindow.h"
#include "dialogs/SkinsDialog.h"
#include "ui/SkinImage.h"

namespace z417 {

DialogEnvironment MainWindow::dialogEnvironment() const {
    DialogEnvironment d;
    d.skinFolder = state_.skinFolder;
    d.textColour = state_.textColour;
    d.languageCode = state_.languageCode();
    d.services = env_.services;
    d.sensorVariant = device_.sensorVariant();
    d.skinsRoot = QString::fromStdString(state_.paths.skinsRoot);
    d.currentSkinName = QString::fromStdString(state_.skinValues.path);
    return d;
}

bool MainWindow::onSkinButton() {
    const auto chosen = ask<SkinsDialog>(dialogEnvironment(), this);
    if (!chosen)
        return false;
    // Save skin: the choice becomes current, is written to "str.ini", and the page is
    // rebuilt from it.
    state_.skinFolder = chosen->path;
    state_.textColour = chosen->textColour;
    state_.skinValues.path = chosen->name.toStdString();
    state_.skinValues.red = state_.textColour.red();
    state_.skinValues.green = state_.textColour.green();
    state_.skinValues.blue = state_.textColour.blue();
    showMessages(saveSkin(state_.paths.strIni, state_.skinValues.path, state_.skinValues.red,
                          state_.skinValues.green, state_.skinValues.blue));
    rebuildPage();
    bringForward();
    return true;
}

} // namespace z417
