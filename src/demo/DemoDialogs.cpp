// The demo's "open-dialog": each parameter dialog opened over the main window as its
// opener would, with its result members printed in their order.
#include "app/MainWindow.h"
#include "demo/DemoData.h"
#include "dialogs/FireKeyDialog.h"
#include "dialogs/HotKeyDialog.h"
#include "dialogs/MediaDialog.h"
#include "dialogs/SingleDialog.h"
#include "dialogs/SkinsDialog.h"
#include "dialogs/SnipeDialog.h"
#include "dialogs/WindowsDialog.h"

namespace z417 {
namespace {

template <class Dialog> QString choiceResult(MainWindow& window) {
    Dialog dialog(window.dialogEnvironment(), &window);
    if (dialog.run() != CDialogFrame::kOk)
        return QStringLiteral("result: cancel");
    return QStringLiteral("result: ok choiceIndex=%1 choiceText=%2")
        .arg(dialog.choiceIndex)
        .arg(dialog.choiceText);
}

} // namespace

QString openDemoDialog(MainWindow& window, const QString& name) {
    if (name == QLatin1String("fire")) {
        CFireKeyDialog dialog(window.dialogEnvironment(), &window);
        if (dialog.run() != CDialogFrame::kOk)
            return QStringLiteral("result: cancel");
        return QStringLiteral("result: ok keyIndex=%1 keyName=%2 times=%3 makeTime=%4 breakTime=%5")
            .arg(dialog.keyIndex)
            .arg(dialog.keyName)
            .arg(dialog.times)
            .arg(dialog.makeTime)
            .arg(dialog.breakTime);
    }
    if (name == QLatin1String("hotkey"))
        return choiceResult<CHotKeyDialog>(window);
    if (name == QLatin1String("media"))
        return choiceResult<CMediaDialog>(window);
    if (name == QLatin1String("windows"))
        return choiceResult<CWindowsDialog>(window);
    if (name == QLatin1String("snipe"))
        return choiceResult<CSnipeDialog>(window);
    if (name == QLatin1String("single")) {
        CSingleDialog dialog(window.dialogEnvironment(), &window);
        if (dialog.run() != CDialogFrame::kOk)
            return QStringLiteral("result: cancel");
        return QStringLiteral("result: ok keyName=%1").arg(dialog.keyName);
    }
    if (name == QLatin1String("skins")) {
        // Exactly as the skin button does, with its Save skin on OK.
        if (!window.onSkinButton())
            return QStringLiteral("result: cancel");
        const QColor& colour = window.state().textColour;
        return QStringLiteral("result: ok skinName=%1 skinPath=%2 textColor=%3,%4,%5")
            .arg(QString::fromStdString(window.state().skinValues.path), window.state().skinFolder)
            .arg(colour.red())
            .arg(colour.green())
            .arg(colour.blue());
    }
    return QString();
}

} // namespace z417
