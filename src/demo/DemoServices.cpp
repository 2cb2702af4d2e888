#include "demo/DemoServices.h"

namespace z417 {

void DemoUiServices::messageBox(QWidget* owner, const QString& text, const QString& caption) {
    ++messages_;
    if (!scripted_) {
        desktop_.messageBox(owner, text, caption);
        return;
    }
    std::fprintf(out_, "message: %s: %s\n", qPrintable(caption), qPrintable(text));
    std::fflush(out_);
}

std::optional<QColor> DemoUiServices::chooseColor(QWidget* owner, std::optional<QColor> initial) {
    lastInitial_ = initial;
    if (!scripted_)
        return desktop_.chooseColor(owner, initial);
    if (colours_.empty()) {
        std::fprintf(out_, "colour chooser: cancelled (no colour given)\n");
        return std::nullopt;
    }
    const QColor c = colours_.front();
    colours_.pop_front();
    std::fprintf(out_, "colour chooser: %d %d %d\n", c.red(), c.green(), c.blue());
    return c;
}

void DemoUiServices::openUrl(const QString& url) {
    std::fprintf(out_, "url: %s\n", qPrintable(url));
    std::fflush(out_);
    if (!scripted_)
        desktop_.openUrl(url);
}

} // namespace z417
