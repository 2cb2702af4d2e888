// The skin button: the skins dialog, and on OK the new skin made current and saved.
#include "app/MainWindow.h"
#include "dialogs/SkinsDialog.h"
#include "ui/SkinImage.h"

namespace z417 {

DialogEnvironment MainWindow::dialogEnvironment() const {
    DialogEnvironment d;
    d.skinFolder = skinFolder_;
    d.textColour = textColour_;
    d.languageCode = languageCode_;
    d.services = env_.services;
    d.sensorVariant = device_->sensorVariant();
    d.skinsRoot = QString::fromStdString(paths_.skinsRoot);
    d.currentSkinName = QString::fromStdString(skinValues_.path);
    return d;
}

bool MainWindow::onSkinButton() {
    CSkinsDialog dialog(dialogEnvironment(), this);
    if (dialog.run() != CDialogFrame::kOk)
        return false;
    // Save skin: the choice becomes current, is written to "str.ini", and the page is
    // rebuilt from it.
    skinFolder_ = dialog.skinPath;
    textColour_ = dialog.textColor;
    skinValues_.path = dialog.skinName.toStdString();
    skinValues_.red = textColour_.red();
    skinValues_.green = textColour_.green();
    skinValues_.blue = textColour_.blue();
    saveSkin(paths_.strIni, skinValues_.path, skinValues_.red, skinValues_.green, skinValues_.blue,
             *sink_);
    rebuildPage();
    showNormal();
    raise();
    activateWindow();
    return true;
}

} // namespace z417
