// The fire key dialog: the key or mouse button that a rapid-fire button repeats, how many times,
// and how long each press and release lasts.
//
// Times takes its value at every change of its text (0..127, anything else resets the field to
// "1"; an empty field is 0). Make Time and Break Time take theirs when the field loses the
// keyboard focus (not when a pop-up such as the field's context menu borrows it), and when OK
// ends the dialog (5..255, anything else resets the field to "5"). The key list
// covers the three fields while it is open; they are destroyed then and come back with the texts
// they showed.
#pragma once

#include "dialogs/DialogFrame.h"

#include <array>
#include <cstdint>

class QLineEdit;

namespace z417 {

struct FireKeyChoice {
    int keyIndex = 0; // position in the 59-entry key list
    QString keyName = QStringLiteral("L-Button");
    uint8_t times = 1; // 0 = repeat until the button is released
    uint8_t makeTime = 32;
    uint8_t breakTime = 32;
};

class FireKeyDialog : public ResultDialog<FireKeyChoice> {
    Q_OBJECT
public:
    FireKeyDialog(const DialogEnvironment& environment, QWidget* owner);

protected:
    void createControls() override;
    void paintOwnTexts(DialogCanvas& canvas) override;
    QStringList listEntries() const override;
    void entryChosen(int index, const QString& text) override;
    void listOpening() override;
    void listClosed() override;
    void commitBeforeOk() override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    enum Field { TimesField = 0, MakeTimeField = 1, BreakTimeField = 2 };

    void createFields();
    void destroyFields();
    void timesChanged(const QString& text);
    void commitTimeField(Field field);
    void showEditMenu(QLineEdit* field, const QPoint& globalPos);

    std::array<QString, 3> keptText_{QStringLiteral("1"), QStringLiteral("32"),
                                     QStringLiteral("32")};
    std::array<QLineEdit*, 3> fields_{};
};

} // namespace z417
