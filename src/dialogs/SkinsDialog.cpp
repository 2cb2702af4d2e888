#include "dialogs/SkinsDialog.h"

#include "platform/AsciiCase.h"
#include "platform/Paths.h"
#include "platform/qt/UiServices.h"
#include "ui/Skin.h"

#include <QFile>
#include <QLabel>
#include <QPalette>

namespace z417 {
namespace {

namespace kl = layout::skinsDialog;

const DialogFrameSetup kFrameSetup{
    kl::background.name, failureCaption::skins, &kl::dropDown, true, false, -1};

// Folder names compared ignoring letter case: any letters where both are UTF-8, ASCII letters
// where one is not.
bool sameNameIgnoringCase(const std::string& a, const std::string& b) {
    if (equalsIgnoringCase(a, b))
        return true;
    const QString textA = QString::fromStdString(a), textB = QString::fromStdString(b);
    return textA.toStdString() == a && textB.toStdString() == b &&
           textA.compare(textB, Qt::CaseInsensitive) == 0;
}

} // namespace

SkinsDialog::SkinsDialog(const DialogEnvironment& environment, QWidget* owner)
    : ResultDialog(environment, owner, kFrameSetup,
                   {environment.currentSkinName, environment.skin->folder(),
                    environment.skin->textColour()}) {}

void SkinsDialog::createControls() {
    displayField()->setText(QFile::decodeName(QByteArray::fromStdString(result_.name)));
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
    canvas.drawText(kl::hint, dialogText::colourHint.in(language()),
                    environment().skin->textColour());
}

QStringList SkinsDialog::listEntries() const {
    listed_ = subfolderNames(environment().skinsRoot);
    QStringList entries;
    for (const std::string& folder : listed_)
        entries << QFile::decodeName(QByteArray::fromStdString(folder));
    return entries;
}

void SkinsDialog::entryChosen(int index, const QString&) {
    if (index < 0 || static_cast<size_t>(index) >= listed_.size())
        return;
    result_.name = listed_[static_cast<size_t>(index)];
    // The folder is looked up again: one renamed in letter case since the list was filled is
    // still found; one that is gone leaves the path as it was.
    const std::string& root = environment().skinsRoot;
    for (const std::string& folder : subfolderNames(root)) {
        if (sameNameIgnoringCase(folder, result_.name)) {
            result_.path = root + "/" + folder;
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
