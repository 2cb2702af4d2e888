// The skins dialog: the skin (a folder below the skins root) and the colour of the texts the
// program paints. It starts from the skin and colour in force and hands back the chosen skin's
// name and path and the chosen colour; the main window makes them current and saves them.
#pragma once

#include "dialogs/DialogFrame.h"

#include <string>
#include <vector>

namespace z417 {

// Names and paths are the system's bytes, which need not be UTF-8.
struct SkinChoice {
    std::string name;  // folder name of the chosen skin
    std::string path;  // its full path
    QColor textColour; // red, green, blue
};

class SkinsDialog : public ResultDialog<SkinChoice> {
    Q_OBJECT
public:
    SkinsDialog(const DialogEnvironment& environment, QWidget* owner);

protected:
    void createControls() override;
    void paintOwnTexts(DialogCanvas& canvas) override;
    QStringList listEntries() const override;
    void entryChosen(int index, const QString& text) override;
    void dialogClick(const QPoint& point) override;
    void applyControlColours(QWidget* control, int id) override;

private:
    QLabel* colourField_ = nullptr;
    // The folders the open list shows, as the system named them.
    mutable std::vector<std::string> listed_;
};

} // namespace z417
