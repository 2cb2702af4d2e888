#include "dialogs/SkinsDialog.h"

#include "platform/qt/UiServices.h"

#include <QDir>
#include <QLabel>
#include <QPalette>

namespace z417 {
namespace {

namespace kl = layout::skinsDialog;

const DialogFrameSetup kFrameSetup{
    kl::background.name, failureCaption::skins, &kl::dropDown, true, false, -1};

} // namespace

SkinsDialog::SkinsDialog(const DialogEnvironment& environment, QWidget* owner)
    : ResultDialog(environment, owner, kFrameSetup,
                   {environment.currentSkinName, environment.skinFolder, environment.textColour}) {}

QStringList SkinsDialog::skinFolders(const QString& skinsRoot) {
    if (skinsRoot.isEmpty())
        return {};
    return QDir(skinsRoot).entryList(QDir::Dirs | QDir::NoDotAndDotDot | QDir::Hidden,
                                     QDir::Unsorted);
}

void SkinsDialog::createControls() {
    displayField()->setText(result_.name);
    colourField_ = new QLabel(this);
    colourField_->setAlignment(Qt::AlignCenter);
    colourField_->setAttribute(Qt::WA_TransparentForMouseEvents);
    setUpControl(colourField_, kl::colourFieldId, kl::colourField);
}

void SkinsDialog::applyControlColours(QWidget* control, int id) {
    if (id != kl::colourFieldId) {
        ResultDialog::applyControlColours(control, id);
        return;
    }
    QPalette palette = control->palette();
    const QColor& colour = result_.textColour;
    palette.setColor(QPalette::Window, QColor(colour.red(), colour.green(), colour.blue()));
    control->setPalette(palette);
    control->setAutoFillBackground(true);
}

void SkinsDialog::paintOwnTexts(DialogCanvas& canvas) {
    canvas.drawText(kl::hint, dialogText::colourHint.in(language()), environment().textColour);
}

QStringList SkinsDialog::listEntries() const {
    return skinFolders(environment().skinsRoot);
}

void SkinsDialog::entryChosen(int, const QString& text) {
    result_.name = text;
    // The folder is looked up again: one renamed in letter case since the list was filled is
    // still found; one that is gone leaves the path as it was.
    for (const QString& folder : skinFolders(environment().skinsRoot)) {
        if (folder.compare(text, Qt::CaseInsensitive) == 0) {
            result_.path = QDir(environment().skinsRoot).filePath(folder);
            break;
        }
    }
}

void SkinsDialog::dialogClick(const QPoint& point) {
    if (!colourField_ || !kl::colourField.contains(point.x(), point.y()))
        return;
    // No preset colour and no owner, as the chooser is opened here.
    const std::optional<QColor> chosen = services().chooseColor(nullptr, std::nullopt);
    if (!chosen)
        return;
    result_.textColour = QColor(chosen->red(), chosen->green(), chosen->blue());
    applyControlColours(colourField_, kl::colourFieldId);
    colourField_->repaint();
}

} // namespace z417
