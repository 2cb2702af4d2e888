// What the rows of the control table act on and show: the page's controllers and the
// application state, and the window's own buttons through the actions the window hands over.
#pragma once

#include "app/AppLayer.h"
#include "ui/ControlHost.h"

#include <functional>

namespace z417 {

class BasicPage;
class UiServices;
struct AppState;

// The buttons that act on the window itself: OK and Apply true when they acted.
struct WindowActions {
    std::function<bool()> ok;
    std::function<bool()> apply;
    std::function<void()> cancel;
    std::function<void()> chooseSkin;
    std::function<void()> minimise;
    std::function<void()> exitProgram;
};

class PageControlHost final : public ControlHost {
public:
    PageControlHost(BasicPage& page, const AppState& state, UiServices& services,
                    WindowActions window);

    bool ok() override { return window_.ok(); }
    bool apply() override { return window_.apply(); }
    void cancel() override { window_.cancel(); }
    void chooseSkin() override { window_.chooseSkin(); }
    void minimise() override { window_.minimise(); }
    void exitProgram() override { window_.exitProgram(); }
    void showPage() override;
    void openWebLink() override;
    void showKeySet(int keySet) override;
    void restoreDefaults() override;
    void toggleSlotList(int slot) override;
    void selectReportRate(int segment) override;
    void chooseSwatchColour(int stage) override;
    void toggleDpiValueList(int stage) override;
    void toggleLightList(int field) override;

    std::string assignmentLabel(int row) const override;
    int activeKeySet() const override;
    int reportRateSegment() const override;
    std::array<uint8_t, 3> dpiColour(int stage) const override;
    std::string dpiValueText(int stage) const override;
    std::string lightFieldText(int field) const override;

private:
    BasicPage& page_;
    const AppState& state_;
    UiServices& services_;
    WindowActions window_;
};

} // namespace z417
