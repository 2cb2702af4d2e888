// The skin button: the skins dialog, and on OK the new skin made current and saved.
#include "app/COstrelDlg.h"
#include "dialogs/SkinsDialog.h"
#include "ui/SkinImage.h"

namespace z417 {

DialogEnvironment COstrelDlg::dialogEnvironment() const {
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

void COstrelDlg::onSkinButton() {
    const auto chosen = ask<SkinsDialog>(dialogEnvironment(), this);
    if (!chosen) {
        lastSkinResult_ = QStringLiteral("result: cancel");
        return;
    }
    lastSkinResult_ = QStringLiteral("result: ok skinName=%1 skinPath=%2 textColor=%3,%4,%5")
                          .arg(chosen->name, chosen->path)
                          .arg(chosen->textColour.red())
                          .arg(chosen->textColour.green())
                          .arg(chosen->textColour.blue());
    // Save skin: the choice becomes current, is written to "str.ini", and the page is
    // rebuilt from it.
    skinFolder_ = chosen->path;
    textColour_ = chosen->textColour;
    skinValues_.path = chosen->name.toStdString();
    skinValues_.red = textColour_.red();
    skinValues_.green = textColour_.green();
    skinValues_.blue = textColour_.blue();
    saveSkin(paths_.strIni, skinValues_.path, skinValues_.red, skinValues_.green, skinValues_.blue,
             *sink_);
    rebuildPage();
    showNormal();
    raise();
    activateWindow();
}

} // namespace z417
