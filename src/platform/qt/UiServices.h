// What the windows ask of the desktop: message boxes, the colour chooser, opening an
// address. The utility uses the real Qt dialogs; the demo and the tests answer them.
#pragma once

#include <QColor>
#include <QString>

#include <optional>

class QWidget;

namespace z417 {

class UiServices {
public:
    virtual ~UiServices() = default;
    // A modal message box with a single OK button.
    virtual void messageBox(QWidget* owner, const QString& text, const QString& caption) = 0;
    // The colour chooser; initial is the preset colour (none: the chooser's own start).
    // Returns the chosen colour, or nothing when the person cancelled.
    virtual std::optional<QColor> chooseColor(QWidget* owner, std::optional<QColor> initial) = 0;
    virtual void openUrl(const QString& url) = 0;
};

// The real desktop: QMessageBox, QColorDialog, QDesktopServices.
class DesktopUiServices final : public UiServices {
public:
    void messageBox(QWidget* owner, const QString& text, const QString& caption) override;
    std::optional<QColor> chooseColor(QWidget* owner, std::optional<QColor> initial) override;
    void openUrl(const QString& url) override;
};

} // namespace z417
