// Every control of the main window as one table: one row per control with where it sits, its
// images per state, its caption, the group whose over looks exclude each other, its place in
// the click order (and whether the testing goes on after it), its place in the keyboard
// order, what it is and is called for assistive technology, what it shows as its value and
// what a click on it does. Hit testing, hover, painting, the click order, keyboard focus and
// the accessibility tree all read this table.
#pragma once

#include "assign/Texts.h"
#include "ui/ControlHost.h"
#include "ui/Layout.h"
#include "ui/ReportRate.h"

#include <bitset>
#include <cstdio>
#include <optional>
#include <string>
#include <vector>

namespace z417 {

// Indexes into pageControls. The first kHoverControlCount are the ones with an over look;
// rows 7 and 8 have no entry, so they never hover.
enum class PageControl {
    Ok,
    Apply,
    Cancel,
    Skin,
    Close,
    Minimise,
    PageButton,
    Default,
    Row0,
    Row1,
    Row2,
    Row3,
    Row4,
    Row5,
    ModeA,
    ModeB,
    WebLink,
    Rate0,
    Rate1,
    Rate2,
    Rate3,
    Swatch0,
    Swatch1,
    Swatch2,
    Swatch3,
    Swatch4,
    Swatch5,
    DpiValue0,
    DpiValue1,
    DpiValue2,
    DpiValue3,
    DpiValue4,
    DpiValue5,
    LightMode,
    LightParameter,
    LightEffect
};
inline constexpr int kHoverControlCount = 14;
inline constexpr int kControlCount = 36;

// Controls of one group are never over together: OK, Apply and Cancel repaint as a set,
// and a row going over turns the others normal.
enum class HoverGroup { None, BottomButtons, Rows };

// What a control is for assistive technology.
enum class ControlRole { PushButton, ComboBox, PageTab, RadioButton, ColourSwatch, Link };

// Where a control's accessible name comes from: a named caption, a text slot, a name text
// numbered with the row's index + 1, or a literal the same in every language.
struct ControlName {
    enum class From { Caption, Slot, NameText, Literal };
    From from;
    int which;
    const char* literal;
};

// What a control shows: its text (the label, value or colour) and, for tabs and radio
// buttons, whether it is the chosen one.
struct ControlValue {
    std::string text;
    bool checked = false;
};

struct ControlRow {
    layout::Rect rect;                // drawn, hovered, clicked and focused here
    const layout::StateImages* looks; // normal and over look; null: no over look
    std::optional<Caption> caption;   // painted centred in the button
    int index;                        // row, key set, segment, stage or lighting field; -1
    bool pageOnly;                    // there only while the page is shown
    HoverGroup group;
    int clickOrder;   // place in the click dispatcher's order
    bool clickGoesOn; // the testing goes on after it acted
    int tabOrder;     // place in the keyboard order; -1 never focused
    ControlRole role;
    ControlName name;
    bool (*act)(ControlHost&, int index); // a click; true when it claimed the press
    ControlValue (*value)(const ControlHost&, int index);
};

namespace detail {
namespace L = layout::main;
namespace I = layout::images;
using From = ControlName::From;

// Rows are made through these so that the table reads one control per line.
constexpr ControlRow button(const layout::Rect& rect, const layout::StateImages* looks,
                            std::optional<Caption> caption, bool pageOnly, HoverGroup group,
                            int clickOrder, bool goesOn, int tabOrder, ControlName name,
                            bool (*act)(ControlHost&, int)) {
    return {rect,  looks,      caption, -1,       pageOnly,
            group, clickOrder, goesOn,  tabOrder, ControlRole::PushButton,
            name,  act,        nullptr};
}

inline ControlValue assignmentValue(const ControlHost& host, int row) {
    return {host.assignmentLabel(row)};
}
inline ControlValue keySetValue(const ControlHost& host, int set) {
    return {{}, host.activeKeySet() == set};
}
inline ControlValue reportRateValue(const ControlHost& host, int segment) {
    return {kReportRateCaptions[segment], host.reportRateSegment() == segment};
}
// The colour as "#rrggbb".
inline ControlValue swatchValue(const ControlHost& host, int stage) {
    const std::array<uint8_t, 3> rgb = host.dpiColour(stage);
    char text[8];
    std::snprintf(text, sizeof text, "#%02x%02x%02x", rgb[0], rgb[1], rgb[2]);
    return {text};
}
inline ControlValue dpiValue(const ControlHost& host, int stage) {
    return {host.dpiValueText(stage)};
}
inline ControlValue lightValue(const ControlHost& host, int field) {
    return {host.lightFieldText(field)};
}

constexpr ControlRow assignmentRow(int row) {
    return {L::assignmentBox(row),
            &I::assignmentBox,
            std::nullopt,
            row,
            true,
            HoverGroup::Rows,
            11 + row,
            false,
            3 + row,
            ControlRole::ComboBox,
            {From::NameText, static_cast<int>(ControlNameText::ButtonNumber), nullptr},
            [](ControlHost& h, int r) { return h.toggleSlotList(r), true; },
            assignmentValue};
}
constexpr ControlRow keySetTab(int set, const char* caption) {
    return {set == 0 ? L::modeAButton : L::modeBButton,
            nullptr,
            std::nullopt,
            set,
            true,
            HoverGroup::None,
            8 + set,
            false,
            9 + set,
            ControlRole::PageTab,
            {From::Literal, 0, caption},
            [](ControlHost& h, int s) { return h.showKeySet(s), true; },
            keySetValue};
}
constexpr const char* kRateNames[] = {"125 Hz", "250 Hz", "500 Hz", "1000 Hz"};
constexpr ControlRow rateSegment(int segment) {
    return {L::reportRateSegment(segment),
            nullptr,
            std::nullopt,
            segment,
            true,
            HoverGroup::None,
            17 + segment,
            false,
            12 + segment,
            ControlRole::RadioButton,
            {From::Literal, 0, kRateNames[segment]},
            [](ControlHost& h, int s) { return h.selectReportRate(s), true; },
            reportRateValue};
}
constexpr ControlRow swatch(int stage) {
    return {L::dpiColourSwatch(stage),
            nullptr,
            std::nullopt,
            stage,
            true,
            HoverGroup::None,
            21 + stage,
            false,
            17 + 2 * stage,
            ControlRole::ColourSwatch,
            {From::NameText, static_cast<int>(ControlNameText::DpiStageColour), nullptr},
            [](ControlHost& h, int s) { return h.chooseSwatchColour(s), true; },
            swatchValue};
}
constexpr ControlRow dpiField(int stage) {
    return {L::dpiValueClickArea(stage),
            nullptr,
            std::nullopt,
            stage,
            true,
            HoverGroup::None,
            27 + stage,
            false,
            16 + 2 * stage,
            ControlRole::ComboBox,
            {From::NameText, static_cast<int>(ControlNameText::DpiStageNumber), nullptr},
            [](ControlHost& h, int s) { return h.toggleDpiValueList(s), true; },
            dpiValue};
}
constexpr ControlRow lightField(int field, const layout::Rect& clickArea, TextId caption) {
    return {clickArea,
            nullptr,
            std::nullopt,
            field,
            true,
            HoverGroup::None,
            33 + field,
            false,
            28 + field,
            ControlRole::ComboBox,
            {From::Slot, static_cast<int>(caption), nullptr},
            [](ControlHost& h, int f) { return h.toggleLightList(f), true; },
            lightValue};
}
constexpr ControlName nameText(ControlNameText t) {
    return {From::NameText, static_cast<int>(t), nullptr};
}
constexpr ControlName captionName(Caption c) {
    return {From::Caption, static_cast<int>(c), nullptr};
}
} // namespace detail

// Click order: OK, Apply, Skin and Cancel act and let the testing go on; Minimise, Close, the
// page button and the web link end it; the page's controls (tested only while the page is
// shown, after the open lists were closed for a click outside them) end it too.
// Keyboard order: the title bar, the buttons' boxes, the key sets and Default, the report
// rate, each DPI stage's value then colour, the lighting fields, the web link, OK, Apply,
// Cancel. The page button changes nothing while the page is shown and takes no focus.
inline constexpr ControlRow pageControls[kControlCount] = {
    detail::button(detail::L::okButton, &detail::I::textButton, Caption::OkButton, false,
                   HoverGroup::BottomButtons, 0, true, 32, detail::captionName(Caption::OkButton),
                   [](ControlHost& h, int) { return h.ok(); }),
    detail::button(detail::L::applyButton, &detail::I::textButton, Caption::ApplyButton, false,
                   HoverGroup::BottomButtons, 1, true, 33,
                   detail::captionName(Caption::ApplyButton),
                   [](ControlHost& h, int) { return h.apply(); }),
    detail::button(detail::L::cancelButton, &detail::I::textButton, Caption::CancelButton, false,
                   HoverGroup::BottomButtons, 6, true, 34,
                   detail::captionName(Caption::CancelButton),
                   [](ControlHost& h, int) { return h.cancel(), true; }),
    detail::button(detail::L::skinButton, &detail::I::skinButton, std::nullopt, false,
                   HoverGroup::None, 2, true, 0, detail::nameText(ControlNameText::Skin),
                   [](ControlHost& h, int) { return h.chooseSkin(), true; }),
    detail::button(detail::L::closeButton, &detail::I::closeButton, std::nullopt, false,
                   HoverGroup::None, 4, false, 2, detail::nameText(ControlNameText::Close),
                   [](ControlHost& h, int) { return h.exitProgram(), true; }),
    detail::button(detail::L::minimiseButton, &detail::I::minimiseButton, std::nullopt, false,
                   HoverGroup::None, 3, false, 1, detail::nameText(ControlNameText::Minimise),
                   [](ControlHost& h, int) { return h.minimise(), true; }),
    detail::button(detail::L::pageButton, &detail::I::pageButton, std::nullopt, false,
                   HoverGroup::None, 5, false, -1, detail::captionName(Caption::PageTitle),
                   [](ControlHost& h, int) { return h.showPage(), true; }),
    detail::button(detail::L::defaultButton, &detail::I::textButton, Caption::DefaultButton, true,
                   HoverGroup::None, 10, false, 11, detail::captionName(Caption::DefaultButton),
                   [](ControlHost& h, int) { return h.restoreDefaults(), true; }),
    detail::assignmentRow(0),
    detail::assignmentRow(1),
    detail::assignmentRow(2),
    detail::assignmentRow(3),
    detail::assignmentRow(4),
    detail::assignmentRow(5),
    detail::keySetTab(0, "Mode A"),
    detail::keySetTab(1, "Mode B"),
    {detail::L::webAddressLine.rect, nullptr, std::nullopt, -1, false, HoverGroup::None, 7, false,
     31, ControlRole::Link,
     ControlName{detail::From::Slot, static_cast<int>(TextId::WebLink), nullptr},
     [](ControlHost& h, int) { return h.openWebLink(), true; }, nullptr},
    detail::rateSegment(0),
    detail::rateSegment(1),
    detail::rateSegment(2),
    detail::rateSegment(3),
    detail::swatch(0),
    detail::swatch(1),
    detail::swatch(2),
    detail::swatch(3),
    detail::swatch(4),
    detail::swatch(5),
    detail::dpiField(0),
    detail::dpiField(1),
    detail::dpiField(2),
    detail::dpiField(3),
    detail::dpiField(4),
    detail::dpiField(5),
    detail::lightField(0, detail::L::lightModeClickArea, TextId::LightingMode),
    detail::lightField(1, detail::L::lightParameterClickArea, TextId::LightingParameter),
    detail::lightField(2, detail::L::lightEffectClickArea, TextId::LightingEffect),
};

constexpr const ControlRow& controlOf(PageControl c) {
    return pageControls[static_cast<int>(c)];
}

constexpr PageControl rowControl(int row) {
    return static_cast<PageControl>(static_cast<int>(PageControl::Row0) + row);
}

// The controls in the click order, and in the keyboard order (focusable ones only).
std::vector<PageControl> controlsInClickOrder();
std::vector<PageControl> controlsInKeyboardOrder();

// The accessible name of a control in the table's language.
std::string controlName(PageControl c, const TextTable& texts);

// The rested pointer tests close before minimise, a pointer move minimise before close;
// otherwise both follow the table. The first control holding the point wins.
enum class HitOrder { Rest, Move };

// The control tested at position i of the order.
constexpr PageControl controlInHitOrder(HitOrder order, int i) {
    const PageControl inTable = static_cast<PageControl>(i);
    if (order == HitOrder::Rest)
        return inTable;
    if (inTable == PageControl::Close)
        return PageControl::Minimise;
    if (inTable == PageControl::Minimise)
        return PageControl::Close;
    return inTable;
}

constexpr std::optional<PageControl> controlAt(HitOrder order, int x, int y, bool pageShown) {
    for (int i = 0; i < kHoverControlCount; ++i) {
        const PageControl control = controlInHitOrder(order, i);
        const ControlRow& c = controlOf(control);
        if ((!c.pageOnly || pageShown) && c.rect.contains(x, y))
            return control;
    }
    return std::nullopt;
}

// Which controls show their over look, and the repaints each pointer event asks for.
class HoverLooks {
public:
    struct Repaint {
        PageControl control;
        bool over;
    };

    // The pointer rested on c: it goes over, and the controls of its group follow their rule.
    std::vector<Repaint> rest(PageControl c);
    // The pointer is on no control: everything over goes back to normal.
    std::vector<Repaint> leave();

    bool isOver(PageControl c) const {
        const auto i = static_cast<size_t>(c);
        return i < over_.size() && over_.test(i);
    }

private:
    std::bitset<kHoverControlCount> over_;
};

} // namespace z417
