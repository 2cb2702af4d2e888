// The demo's "open-dialog": each parameter dialog opened over the main window as its
// opener would, with its result members printed in their order.
#include "app/COstrelDlg.h"
#include "app/DemoData.h"
#include "dialogs/FireKeyDialog.h"
#include "dialogs/HotKeyDialog.h"
#include "dialogs/MediaDialog.h"
#include "dialogs/SingleKeyDialog.h"
#include "dialogs/SkinsDialog.h"
#include "dialogs/SnipeDialog.h"
#include "dialogs/WindowsDialog.h"

namespace z417 {
namespace {

template <class Dialog> QString choiceResult(COstrelDlg& window) {
    const auto chosen = ask<Dialog>(window.dialogEnvironment(), &window);
    if (!chosen)
        return QStringLiteral("result: cancel");
    return QStringLiteral("result: ok choiceIndex=%1 choiceText=%2")
        .arg(chosen->index)
        .arg(chosen->text);
}

QString fireKeyResult(COstrelDlg& window) {
    const auto chosen = ask<FireKeyDialog>(window.dialogEnvironment(), &window);
    if (!chosen)
        return QStringLiteral("result: cancel");
    return QStringLiteral("result: ok keyIndex=%1 keyName=%2 times=%3 makeTime=%4 breakTime=%5")
        .arg(chosen->keyIndex)
        .arg(chosen->keyName)
        .arg(chosen->times)
        .arg(chosen->makeTime)
        .arg(chosen->breakTime);
}

QString singleKeyResult(COstrelDlg& window) {
    const auto chosen = ask<SingleKeyDialog>(window.dialogEnvironment(), &window);
    if (!chosen)
        return QStringLiteral("result: cancel");
    return QStringLiteral("result: ok keyName=%1").arg(chosen->keyName);
}

} // namespace

QString openDemoDialog(COstrelDlg& window, const QString& name) {
    if (name == QLatin1String("fire"))
        return fireKeyResult(window);
    if (name == QLatin1String("hotkey"))
        return choiceResult<HotKeyDialog>(window);
    if (name == QLatin1String("media"))
        return choiceResult<MediaDialog>(window);
    if (name == QLatin1String("windows"))
        return choiceResult<WindowsDialog>(window);
    if (name == QLatin1String("snipe"))
        return choiceResult<SnipeDialog>(window);
    if (name == QLatin1String("single"))
        return singleKeyResult(window);
    if (name == QLatin1String("skins")) {
        // Exactly as the skin button does, with its Save skin on OK.
        window.onSkinButton();
        return window.lastSkinResult();
    }
    return QString();
}

} // namespace z417
