#include "dialogs/SingleDialog.h"

#include "platform/qt/UiServices.h"
#include "profile/SettingsFiles.h"

#include <QKeyEvent>
#include <QLabel>

namespace z417 {
namespace {

namespace sl = layout::singleDialog;

const DialogFrameSpec kSpec{sl::background.name, failureCaption::singleKey, nullptr, false, false};

bool isWindowsKey(const QKeyEvent& e) {
    const int key = e.key();
    return key == Qt::Key_Meta || key == Qt::Key_Super_L || key == Qt::Key_Super_R;
}

} // namespace

CSingleDialog::CSingleDialog(const DialogEnvironment& environment, QWidget* owner)
    : CDialogFrame(environment, owner, kSpec) {
    connect(&capture_, &KeyCapture::keyNamed, this, &CSingleDialog::keyNamed);
}

CSingleDialog::~CSingleDialog() {
    capture_.remove();
}

void CSingleDialog::createControls() {
    nameField_ = createDisplayField(sl::displayFieldId, sl::displayField, Qt::AlignCenter, keyName);
    if (!capture_.install()) {
        services().messageBox(this,
                              QStringLiteral("KeyboardHook_SingleDlgKey Install error code :%1\n")
                                  .arg(kNoApplicationError),
                              QString::fromUtf8(kAppTitle));
    }
}

void CSingleDialog::paintOwnTexts() {
    drawCanvasText(sl::prompt, dialogText::singleKeyPrompt.in(language()), Qt::white);
}

void CSingleDialog::runEnded() {
    capture_.remove();
}

void CSingleDialog::keyNamed(const QString& name) {
    keyName = name;
    if (nameField_) {
        nameField_->setText(name);
        nameField_->repaint();
    }
}

void CSingleDialog::keyPressEvent(QKeyEvent* event) {
    const int key = event->key();
    if (isWindowsKey(*event) || key == Qt::Key_Return || key == Qt::Key_Enter ||
        key == Qt::Key_Escape) {
        event->accept();
        return;
    }
    CDialogFrame::keyPressEvent(event);
}

void CSingleDialog::keyReleaseEvent(QKeyEvent* event) {
    if (isWindowsKey(*event)) {
        event->accept();
        return;
    }
    CDialogFrame::keyReleaseEvent(event);
}

} // namespace z417
