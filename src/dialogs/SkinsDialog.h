// The skins dialog: the skin (a folder below the skins root) and the colour of the texts the
// program paints. It starts from the skin and colour in force and hands back the chosen skin's
// name and path and the chosen colour; the main window makes them current and saves them.
#pragma once

#include "dialogs/DialogFrame.h"

namespace z417 {

struct SkinChoice {
    QString name;      // folder name of the chosen skin
    QString path;      // its full path
    QColor textColour; // red, green, blue
};

class SkinsDialog : public ResultDialog<SkinChoice> {
    Q_OBJECT
public:
    SkinsDialog(const DialogEnvironment& environment, QWidget* owner);

    // The skin folders below the root in the order the file system gives them; files, "." and
    // ".." are left out. Empty when the root is missing or not given.
    static QStringList skinFolders(const QString& skinsRoot);

protected:
    void createControls() override;
    void paintOwnTexts(DialogCanvas& canvas) override;
    QStringList listEntries() const override;
    void entryChosen(int index, const QString& text) override;
    void dialogClick(const QPoint& point) override;
    void applyControlColours(QWidget* control, int id) override;

private:
    QLabel* colourField_ = nullptr;
};

} // namespace z417
