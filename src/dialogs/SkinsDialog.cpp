#include "dialogs/SkinsDialog.h"

#include "platform/qt/UiServices.h"

#include <QDir>
#include <QLabel>
#include <QPalette>

namespace z417 {
namespace {

namespace kl = layout::skinsDialog;

const DialogFrameSpec kSpec{kl::background.name, failureCaption::skins, &kl::dropDown, true, false};

} // namespace

CSkinsDialog::CSkinsDialog(const DialogEnvironment& environment, QWidget* owner)
    : CDialogFrame(environment, owner, kSpec), skinName(environment.currentSkinName),
      skinPath(environment.skinFolder), textColor(environment.textColour) {}

QStringList CSkinsDialog::skinFolders(const QString& skinsRoot) {
    if (skinsRoot.isEmpty())
        return {};
    return QDir(skinsRoot).entryList(QDir::Dirs | QDir::NoDotAndDotDot | QDir::Hidden,
                                     QDir::Unsorted);
}

void CSkinsDialog::createControls() {
    displayField()->setText(skinName);
    colourField_ = new QLabel(this);
    colourField_->setAlignment(Qt::AlignCenter);
    colourField_->setAttribute(Qt::WA_TransparentForMouseEvents);
    setUpControl(colourField_, kl::colourFieldId, kl::colourField);
}

void CSkinsDialog::applyControlColours(QWidget* control, int id) {
    if (id != kl::colourFieldId) {
        CDialogFrame::applyControlColours(control, id);
        return;
    }
    QPalette palette = control->palette();
    palette.setColor(QPalette::Window,
                     QColor(textColor.red(), textColor.green(), textColor.blue()));
    control->setPalette(palette);
    control->setAutoFillBackground(true);
}

void CSkinsDialog::paintOwnTexts() {
    drawCanvasText(kl::hint, dialogText::colourHint.in(language()), environment().textColour);
}

QStringList CSkinsDialog::listEntries() const {
    return skinFolders(environment().skinsRoot);
}

void CSkinsDialog::entryChosen(int, const QString& text) {
    skinName = text;
    // The folder is looked up again: one renamed in letter case since the list was filled is
    // still found; one that is gone leaves the path as it was.
    for (const QString& folder : skinFolders(environment().skinsRoot)) {
        if (folder.compare(text, Qt::CaseInsensitive) == 0) {
            skinPath = QDir(environment().skinsRoot).filePath(folder);
            break;
        }
    }
}

void CSkinsDialog::dialogClick(const QPoint& point) {
    if (!colourField_ || !kl::colourField.contains(point.x(), point.y()))
        return;
    // No preset colour and no owner, as the chooser is opened here.
    const std::optional<QColor> chosen = services().chooseColor(nullptr, std::nullopt);
    if (!chosen)
        return;
    textColor = QColor(chosen->red(), chosen->green(), chosen->blue());
    applyControlColours(colourField_, kl::colourFieldId);
    colourField_->repaint();
}

} // namespace z417
