// The demo's "open-dialog": each parameter dialog opened over the main window as its
// opener would, with its result printed field by field.
#include "app/MainWindow.h"
#include "demo/DemoData.h"
#include "dialogs/ChoiceDialog.h"
#include "dialogs/FireKeyDialog.h"
#include "dialogs/SingleKeyDialog.h"
#include "dialogs/SkinsDialog.h"
#include "ui/Skin.h"

#include <QFile>

namespace z417 {
namespace {

// Opens the dialog and describes how it ended.
template <class Dialog, class Describe> QString resultLine(MainWindow& window, Describe describe) {
    const auto chosen = ask<Dialog>(window.context().dialogEnvironment(), &window);
    return chosen ? QStringLiteral("result: ok ") + describe(*chosen)
                  : QStringLiteral("result: cancel");
}

QString choiceResult(MainWindow& window, ChoiceKind kind) {
    const auto chosen = ChoiceDialog::ask(window.context().dialogEnvironment(), &window, kind);
    return chosen ? QStringLiteral("result: ok choiceIndex=%1 choiceText=%2")
                        .arg(chosen->index)
                        .arg(chosen->text)
                  : QStringLiteral("result: cancel");
}

QString fireKeyResult(MainWindow& window) {
    return resultLine<FireKeyDialog>(window, [](const FireKeyChoice& chosen) {
        return QStringLiteral("keyIndex=%1 keyName=%2 times=%3 makeTime=%4 breakTime=%5")
            .arg(chosen.keyIndex)
            .arg(chosen.keyName)
            .arg(chosen.times)
            .arg(chosen.makeTime)
            .arg(chosen.breakTime);
    });
}

QString singleKeyResult(MainWindow& window) {
    return resultLine<SingleKeyDialog>(window, [](const SingleKeyChoice& chosen) {
        return QStringLiteral("keyName=%1").arg(chosen.keyName);
    });
}

} // namespace

QString openDemoDialog(MainWindow& window, const QString& name) {
    if (name == QLatin1String("fire"))
        return fireKeyResult(window);
    if (name == QLatin1String("hotkey"))
        return choiceResult(window, ChoiceKind::HotKey);
    if (name == QLatin1String("media"))
        return choiceResult(window, ChoiceKind::Media);
    if (name == QLatin1String("windows"))
        return choiceResult(window, ChoiceKind::Windows);
    if (name == QLatin1String("snipe"))
        return choiceResult(window, ChoiceKind::Snipe);
    if (name == QLatin1String("single"))
        return singleKeyResult(window);
    if (name == QLatin1String("skins")) {
        // Exactly as the skin button does, with its Save skin on OK.
        if (!window.onSkinButton())
            return QStringLiteral("result: cancel");
        const Skin& skin = window.state().skin;
        const QColor colour = skin.textColour();
        return QStringLiteral("result: ok skinName=%1 skinPath=%2 textColor=%3,%4,%5")
            .arg(QFile::decodeName(QByteArray::fromStdString(window.state().skinValues.path)),
                 QFile::decodeName(QByteArray::fromStdString(skin.folder())))
            .arg(colour.red())
            .arg(colour.green())
            .arg(colour.blue());
    }
    return QString();
}

} // namespace z417
