// The skin button: the skins dialog, and on OK the new skin made current and saved.
#include "app/MainWindow.h"
#include "dialogs/SkinsDialog.h"

namespace z417 {

bool MainWindow::onSkinButton() {
    const auto chosen = ask<SkinsDialog>(context_.dialogEnvironment(), this);
    return chosen && useSkin(*chosen);
}

bool MainWindow::useSkin(const SkinChoice& chosen) {
    // Save skin: the choice becomes current, is written to "str.ini", and every part redraws
    // from it (skinChanged).
    const Status loaded = state_.skin.load(chosen.path, chosen.textColour, devicePixelRatioF());
    if (!loaded) {
        context_.showMessages(loaded);
        bringForward();
        return false;
    }
    SkinValues& skin = state_.skinValues;
    skin.path = chosen.name;
    skin.red = chosen.textColour.red();
    skin.green = chosen.textColour.green();
    skin.blue = chosen.textColour.blue();
    context_.showMessages(
        saveSkin(state_.paths.strIni, skin.path, skin.red, skin.green, skin.blue));
    bringForward();
    return true;
}

} // namespace z417
