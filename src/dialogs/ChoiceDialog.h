// The frame with one drop-down list and nothing else: the result is the chosen entry's index
// and text. The combination, multimedia, launch and snipe key dialogs are such choosers.
#pragma once

#include "dialogs/DialogFrame.h"

namespace z417 {

// Index of the chosen entry (0 until something is chosen) and its text (entry 0's text until
// something else is chosen; empty when there are no entries).
struct ListChoice {
    int index = 0;
    QString text;
};

class ChoiceDialog : public ResultDialog<ListChoice> {
    Q_OBJECT
public:
    const QStringList& entries() const { return entries_; }

protected:
    ChoiceDialog(const DialogEnvironment& environment, QWidget* owner,
                 const DialogFrameSetup& frame, QStringList entries);

    void createControls() override;
    QStringList listEntries() const override { return entries_; }
    void entryChosen(int index, const QString& text) override;

private:
    QStringList entries_;
};

} // namespace z417
