// The frame with one drop-down list and nothing else: the result is the chosen entry's index
// and text. The combination, multimedia, launch and snipe key dialogs are such choosers; they
// differ only by a row of data (background, failure caption, list, wheel, name, entries).
#pragma once

#include "dialogs/DialogFrame.h"

namespace z417 {

// Index of the chosen entry (0 until something is chosen) and its text (entry 0's text until
// something else is chosen; empty when there are no entries).
struct ListChoice {
    int index = 0;
    QString text;
};

// Combination key: one of eight preset editing shortcuts. Multimedia key. Launch key. Snipe:
// the DPI the snipe action switches to, from the list of the mouse's sensor variant (no
// entries for a variant outside 0..3).
enum class ChoiceKind { HotKey, Media, Windows, Snipe };

class ChoiceDialog : public ResultDialog<ListChoice> {
    Q_OBJECT
public:
    ChoiceDialog(const DialogEnvironment& environment, QWidget* owner, ChoiceKind kind);

    const QStringList& entries() const { return entries_; }

    // Opens a chooser of this kind over owner and hands back what it chose (nothing on Cancel).
    static std::optional<ListChoice> ask(const DialogEnvironment& environment, QWidget* owner,
                                         ChoiceKind kind) {
        ChoiceDialog dialog(environment, owner, kind);
        return dialog.run();
    }

protected:
    void createControls() override;
    QStringList listEntries() const override { return entries_; }
    void entryChosen(int index, const QString& text) override;

private:
    ChoiceDialog(const DialogEnvironment& environment, QWidget* owner,
                 const DialogFrameSetup& frame, QStringList entries);

    QStringList entries_;
};

} // namespace z417
