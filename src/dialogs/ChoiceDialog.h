// The frame with one drop-down list and nothing else: the result is the chosen entry's index
// and text. The combination, multimedia, launch and snipe key dialogs are such choosers.
#pragma once

#include "dialogs/DialogFrame.h"

namespace z417 {

class CChoiceDialog : public CDialogFrame {
    Q_OBJECT
public:
    // Result members: index of the chosen entry (0 at construction) and its text (entry 0's
    // text until something else is chosen; empty when there are no entries).
    int choiceIndex = 0;
    QString choiceText;

    const QStringList& entries() const { return entries_; }

protected:
    CChoiceDialog(const DialogEnvironment& environment, QWidget* owner,
                  const DialogFrameSpec& frame, QStringList entries);

    void createControls() override;
    QStringList listEntries() const override { return entries_; }
    void entryChosen(int index, const QString& text) override;

private:
    QStringList entries_;
};

} // namespace z417
