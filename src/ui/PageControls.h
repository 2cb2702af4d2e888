// The painted buttons and boxes of the main window as one table: where each control sits,
// its images per state, its caption, and the group whose over looks exclude each other.
// Hover hit testing, the hover looks and the page's painting read this table, and the click
// order takes the controls' rectangles from it.
#pragma once

#include "assign/Texts.h"
#include "ui/Layout.h"

#include <bitset>
#include <optional>
#include <vector>

namespace z417 {

// Indexes into pageControls; rows 7 and 8 have no entry, so they never hover.
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
    Row5
};
inline constexpr int kPageControlCount = 14;

// Controls of one group are never over together: OK, Apply and Cancel repaint as a set,
// and a row going over turns the others normal.
enum class HoverGroup { None, BottomButtons, Rows };

struct ControlEntry {
    layout::Rect rect;
    layout::StateImages images;
    std::optional<Caption> caption;
    int row;       // the assignment row, painted with its number and label; -1 for buttons
    bool pageOnly; // hot only while the page is shown
    HoverGroup group;
};

namespace detail {
namespace L = layout::main;
namespace I = layout::images;
constexpr ControlEntry rowEntry(int row) {
    return {L::assignmentBox(row), I::assignmentBox, std::nullopt, row, true, HoverGroup::Rows};
}
} // namespace detail

inline constexpr ControlEntry pageControls[kPageControlCount] = {
    {detail::L::okButton, detail::I::textButton, Caption::OkButton, -1, false,
     HoverGroup::BottomButtons},
    {detail::L::applyButton, detail::I::textButton, Caption::ApplyButton, -1, false,
     HoverGroup::BottomButtons},
    {detail::L::cancelButton, detail::I::textButton, Caption::CancelButton, -1, false,
     HoverGroup::BottomButtons},
    {detail::L::skinButton, detail::I::skinButton, std::nullopt, -1, false, HoverGroup::None},
    {detail::L::closeButton, detail::I::closeButton, std::nullopt, -1, false, HoverGroup::None},
    {detail::L::minimiseButton, detail::I::minimiseButton, std::nullopt, -1, false,
     HoverGroup::None},
    {detail::L::pageButton, detail::I::pageButton, std::nullopt, -1, false, HoverGroup::None},
    {detail::L::defaultButton, detail::I::textButton, Caption::DefaultButton, -1, true,
     HoverGroup::None},
    detail::rowEntry(0),
    detail::rowEntry(1),
    detail::rowEntry(2),
    detail::rowEntry(3),
    detail::rowEntry(4),
    detail::rowEntry(5),
};

constexpr const ControlEntry& controlOf(PageControl c) {
    return pageControls[static_cast<int>(c)];
}

constexpr PageControl rowControl(int row) {
    return static_cast<PageControl>(static_cast<int>(PageControl::Row0) + row);
}

// The rested pointer tests close before minimise, a pointer move minimise before close;
// otherwise both follow the table. The first control holding the point wins.
enum class HitOrder { Rest, Move };

constexpr std::optional<PageControl> controlAt(HitOrder order, int x, int y, bool pageShown) {
    for (int i = 0; i < kPageControlCount; ++i) {
        int index = i;
        if (order == HitOrder::Move && (i == 4 || i == 5))
            index = 9 - i; // Minimise (5) before Close (4)
        const ControlEntry& c = pageControls[index];
        if ((!c.pageOnly || pageShown) && c.rect.contains(x, y))
            return static_cast<PageControl>(index);
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

    bool isOver(PageControl c) const { return over_.test(static_cast<size_t>(c)); }

private:
    std::bitset<kPageControlCount> over_;
};

} // namespace z417
