// The click order as data: which areas act, in what order, and who claims the press.
#include "ui/ClickTable.h"

#include <gtest/gtest.h>

#include <string>

namespace z417 {
namespace {

using Flow = ClickTable::Flow;
using Scope = ClickTable::Scope;

// Three overlapping areas at (5, 5): a "go on" button that acts only when asked to, a stop
// button, and a page area under both; plus a page area elsewhere.
struct Rig {
    explicit Rig(bool goOnActs) {
        table.add({0, 0, 10, 10}, Scope::Window, Flow::GoOn, [this, goOnActs] {
            log += "goOn ";
            return goOnActs;
        });
        table.add({4, 4, 6, 6}, Scope::Window, Flow::Stop, [this] {
            log += "stop ";
            return true;
        });
        table.add({0, 0, 10, 10}, Scope::Page, Flow::Stop, [this] {
            log += "page ";
            return true;
        });
        table.add({20, 20, 30, 30}, Scope::Page, Flow::Stop, [this] {
            log += "far ";
            return true;
        });
    }
    bool click(int x, int y, bool pageShown) {
        return table.dispatch(
            x, y, [pageShown] { return pageShown; }, [this] { log += "sweep "; });
    }
    ClickTable table;
    std::string log;
};

TEST(ClickTable, OrderFlowAndClaims) {
    struct Case {
        int x, y;
        bool pageShown, goOnActs;
        const char* log;
        bool claimed;
    };
    const Case cases[] = {
        {5, 5, true, true, "goOn stop ", true},       // a stop area ends the testing
        {1, 1, true, true, "goOn sweep page ", true}, // go on into the page
        {1, 1, false, true, "goOn ", true},           // no page: no sweep, no page areas
        {1, 1, false, false, "goOn ", false},         // an area that did not act claims nothing
        {50, 50, true, true, "sweep ", false},        // nothing there: left to the drag
        {25, 25, true, false, "sweep far ", true},
    };
    for (const Case& c : cases) {
        Rig rig(c.goOnActs);
        SCOPED_TRACE(std::to_string(c.x) + "," + std::to_string(c.y));
        EXPECT_EQ(rig.click(c.x, c.y, c.pageShown), c.claimed);
        EXPECT_EQ(rig.log, c.log);
    }
}

} // namespace
} // namespace z417
