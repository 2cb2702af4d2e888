// The skin button: the skins dialog, and on OK the new skin made current and saved.
#include "app/MainWindow.h"
#include "dialogs/SkinsDialog.h"

namespace z417 {

bool MainWindow::onSkinButton() {
    const auto chosen = ask<SkinsDialog>(context_.dialogEnvironment(), this);
    if (!chosen)
        return false;
    // Save skin: the choice becomes current, is written to "str.ini", and the page is
    // rebuilt from it.
    state_.skinFolder = chosen->path;
    state_.textColour = chosen->textColour;
    SkinValues& skin = state_.skinValues;
    skin.path = chosen->name.toStdString();
    skin.red = state_.textColour.red();
    skin.green = state_.textColour.green();
    skin.blue = state_.textColour.blue();
    context_.showMessages(
        saveSkin(state_.paths.strIni, skin.path, skin.red, skin.green, skin.blue));
    page_.rebuild();
    bringForward();
    return true;
}

} // namespace z417
