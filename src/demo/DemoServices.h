// Desktop services of the demo: with a script, message boxes, colour choosers and opened
// addresses are printed and answered; without one, the real dialogs are shown.
#pragma once

#include "demo/DemoLayer.h"

#include "platform/qt/UiServices.h"

#include <QColor>

#include <cstdio>
#include <deque>
#include <optional>

namespace z417 {

class DemoUiServices final : public UiServices {
public:
    explicit DemoUiServices(bool scripted, FILE* out = stdout) : scripted_(scripted), out_(out) {}

    void messageBox(QWidget* owner, const QString& text, const QString& caption) override;
    std::optional<QColor> chooseColor(QWidget* owner, std::optional<QColor> initial) override;
    void openUrl(const QString& url) override;

    // The answer for the next colour chooser (the script's "color R G B").
    void queueColour(const QColor& colour) { colours_.push_back(colour); }
    // The initial colour the last chooser was opened with (none: no preset).
    std::optional<QColor> lastChooserInitial() const { return lastInitial_; }
    int messageCount() const { return messages_; }

private:
    bool scripted_;
    FILE* out_;
    DesktopUiServices desktop_;
    std::deque<QColor> colours_;
    std::optional<QColor> lastInitial_;
    int messages_ = 0;
};

} // namespace z417
