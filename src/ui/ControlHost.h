// What the main window's controls act on and read their values from. The shell implements
// it; the control table, the keyboard focus and the accessibility tree only see this.
// Qt-free, like the table.
#pragma once

#include <array>
#include <cstdint>
#include <string>

namespace z417 {

class ControlHost {
public:
    // OK and Apply act only while the mouse is there; true when they did.
    virtual bool ok() = 0;
    virtual bool apply() = 0;
    virtual void cancel() = 0;
    virtual void chooseSkin() = 0;
    virtual void minimise() = 0;
    virtual void exitProgram() = 0;
    virtual void showPage() = 0;
    virtual void openWebLink() = 0;
    virtual void showKeySet(int keySet) = 0;
    virtual void restoreDefaults() = 0;
    virtual void toggleSlotList(int slot) = 0;
    virtual void selectReportRate(int segment) = 0;
    virtual void chooseSwatchColour(int stage) = 0;
    virtual void toggleDpiValueList(int stage) = 0;
    // 0 mode, 1 parameter, 2 effect.
    virtual void toggleLightList(int field) = 0;

    // What the page shows now.
    virtual std::string assignmentLabel(int row) const = 0; // of the shown key set
    virtual int activeKeySet() const = 0;
    virtual int reportRateSegment() const = 0;
    virtual std::array<uint8_t, 3> dpiColour(int stage) const = 0;
    // The text of a DPI stage's value field or a lighting field; empty when it is not there.
    virtual std::string dpiValueText(int stage) const = 0;
    virtual std::string lightFieldText(int field) const = 0;

protected:
    ~ControlHost() = default;
};

} // namespace z417
