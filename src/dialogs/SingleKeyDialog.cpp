#include "dialogs/SingleKeyDialog.h"

#include "platform/AppTitle.h"
#include "platform/qt/UiServices.h"

#include <QKeyEvent>
#include <QLabel>

namespace z417 {
namespace {

namespace sl = layout::singleDialog;

const DialogFrameSetup kFrameSetup{
    sl::background.name, failureCaption::singleKey, nullptr, false, false, 47};

bool isWindowsKey(const QKeyEvent& e) {
    const int key = e.key();
    return key == Qt::Key_Meta || key == Qt::Key_Super_L || key == Qt::Key_Super_R;
}

} // namespace

SingleKeyDialog::SingleKeyDialog(const DialogEnvironment& environment, QWidget* owner)
    : ResultDialog(environment, owner, kFrameSetup, SingleKeyChoice{}) {
    connect(&capture_, &KeyCapture::keyNamed, this, &SingleKeyDialog::keyNamed);
}

SingleKeyDialog::~SingleKeyDialog() {
    capture_.remove();
}

void SingleKeyDialog::createControls() {
    nameField_ =
        createDisplayField(sl::displayFieldId, sl::displayField, Qt::AlignCenter, result_.keyName);
    if (!capture_.install()) {
        services().messageBox(this,
                              QStringLiteral("KeyboardHook_SingleDlgKey Install error code :%1\n")
                                  .arg(kNoApplicationError),
                              QString::fromUtf8(kAppTitle));
    }
}

void SingleKeyDialog::paintOwnTexts(DialogCanvas& canvas) {
    canvas.drawText(sl::prompt, dialogText::singleKeyPrompt.in(language()), Qt::white);
}

void SingleKeyDialog::runEnded() {
    capture_.remove();
}

void SingleKeyDialog::keyNamed(const QString& name) {
    result_.keyName = name;
    if (nameField_) {
        nameField_->setText(name);
        nameField_->repaint();
    }
}

void SingleKeyDialog::keyPressEvent(QKeyEvent* event) {
    const int key = event->key();
    if (isWindowsKey(*event) || key == Qt::Key_Return || key == Qt::Key_Enter ||
        key == Qt::Key_Escape) {
        event->accept();
        return;
    }
    ResultDialog::keyPressEvent(event);
}

void SingleKeyDialog::keyReleaseEvent(QKeyEvent* event) {
    if (isWindowsKey(*event)) {
        event->accept();
        return;
    }
    ResultDialog::keyReleaseEvent(event);
}

} // namespace z417
