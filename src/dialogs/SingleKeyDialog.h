// The single key dialog: the user presses a key and the dialog shows its name; the result is
// the name of the last key pressed or released (empty when none was).
//
// While it runs, an application-wide key capture names every key event. Enter and Escape are
// named like any other key but do not end the dialog, and the Windows keys never reach it; it
// ends through OK, Cancel and close only.
#pragma once

#include "dialogs/DialogFrame.h"
#include "platform/qt/KeyCapture.h"

namespace z417 {

struct SingleKeyChoice {
    QString keyName; // empty when no key was pressed
};

class SingleKeyDialog : public ResultDialog<SingleKeyChoice> {
    Q_OBJECT
public:
    SingleKeyDialog(const DialogEnvironment& environment, QWidget* owner);
    ~SingleKeyDialog() override;

    bool isCapturing() const { return capture_.isInstalled(); }

    // Error number reported when the capture cannot be installed: there is no application
    // object whose events it could see.
    static constexpr int kNoApplicationError = 1;

protected:
    void createControls() override;
    void paintOwnTexts(DialogCanvas& canvas) override;
    void runEnded() override;
    void keyPressEvent(QKeyEvent* event) override;
    // Tab is a key like any other here: it is named, and moves no focus.
    bool focusNextPrevChild(bool) override { return true; }
    void keyReleaseEvent(QKeyEvent* event) override;

private:
    void keyNamed(const QString& name);

    KeyCapture capture_;
    QLabel* nameField_ = nullptr;
};

} // namespace z417
