// The control table behind hover and painting: which control a point hits, and which repaints
// a rest or a move off every control asks for.
#include "ui/PageControls.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace z417 {
namespace {

namespace L = layout::main;

using PC = PageControl;

std::string describe(const std::vector<HoverLooks::Repaint>& repaints) {
    std::string out;
    for (const HoverLooks::Repaint& r : repaints)
        out += std::to_string(static_cast<int>(r.control)) + (r.over ? "+ " : "- ");
    return out;
}

TEST(PageControls, PageOnlyControlsAndHiddenRowsNeverHitWithoutThePage) {
    const auto centre = [](const layout::Rect& r) {
        return std::pair<int, int>{(r.left + r.right) / 2, (r.top + r.bottom) / 2};
    };
    for (HitOrder order : {HitOrder::Rest, HitOrder::Move}) {
        for (const layout::Rect& r : {L::defaultButton, L::assignmentBox(0), L::assignmentBox(5)}) {
            const auto [x, y] = centre(r);
            EXPECT_FALSE(controlAt(order, x, y, false));
            EXPECT_TRUE(controlAt(order, x, y, true));
        }
        // Slots 7 and 8 keep their rectangles but never hover.
        for (int slot : {6, 7}) {
            const auto [x, y] = centre(L::assignmentBox(slot));
            EXPECT_FALSE(controlAt(order, x, y, true)) << slot;
        }
        const auto [x, y] = centre(L::okButton);
        EXPECT_EQ(controlAt(order, x, y, false), PC::Ok);
    }
}

TEST(PageControls, RestAndLeaveRepaintOnlyWhatChanges) {
    // Each step: a rest on a control (or a move off all of them) and the repaints it asks for
    // ("+" over, "-" normal, by table index).
    struct Step {
        bool rest;
        PC control;
        const char* repaints;
    };
    const Step steps[] = {
        {true, PC::Ok, "0+ 1- 2- "},     // the bottom buttons repaint as a set
        {true, PC::Apply, "0- 1+ 2- "},  //
        {true, PC::Skin, "3+ "},         // no group: the others stay as they are
        {true, PC::Row2, "10+ "},        //
        {true, PC::Row5, "10- 13+ "},    // rows exclude each other
        {true, PC::Row5, "13+ "},        // resting again redraws only itself
        {false, PC::Ok, "1- 3- 13- "},   // off every control: all that was over
        {false, PC::Ok, ""},             // nothing over: nothing to repaint
        {true, PC::Default, "7+ "},      //
        {true, PC::Cancel, "0- 1- 2+ "}, //
        {false, PC::Ok, "2- 7- "},
    };
    HoverLooks looks;
    for (const Step& s : steps) {
        SCOPED_TRACE(s.repaints);
        EXPECT_EQ(describe(s.rest ? looks.rest(s.control) : looks.leave()), s.repaints);
        if (s.rest) {
            EXPECT_TRUE(looks.isOver(s.control));
        }
    }
    for (int i = 0; i < kHoverControlCount; ++i)
        EXPECT_FALSE(looks.isOver(static_cast<PC>(i)));
}

} // namespace
} // namespace z417
