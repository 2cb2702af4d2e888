// Where a left-button press on the main window goes: the click order as a table. OK, Apply,
// Skin and Cancel act and let the testing go on; Minimise, Close, the page button and the web
// link end it; the page's controls are tested only while the page is shown, after the open
// lists have been closed for a click outside them.
#include "app/MainWindow.h"

namespace z417 {
namespace {

using Flow = ClickTable::Flow;
using Scope = ClickTable::Scope;

// The painted buttons click where they are drawn.
constexpr const layout::Rect& rectOf(PageControl c) {
    return controlOf(c).rect;
}

} // namespace

void MainWindow::buildClickTable() {
    using C = ClickTable;
    ClickTable& t = clicks_;
    t.add(rectOf(PageControl::Ok), Scope::Window, Flow::GoOn, [this] { return onOk(); });
    t.add(rectOf(PageControl::Apply), Scope::Window, Flow::GoOn,
          [this] { return session_.apply(); });
    t.add(rectOf(PageControl::Skin), Scope::Window, Flow::GoOn,
          C::claiming([this] { onSkinButton(); }));
    t.add(rectOf(PageControl::Minimise), Scope::Window, Flow::Stop,
          C::claiming([this] { hideWindow(); }));
    t.add(rectOf(PageControl::Close), Scope::Window, Flow::Stop,
          C::claiming([this] { exitProgram(); }));
    t.add(rectOf(PageControl::PageButton), Scope::Window, Flow::Stop,
          C::claiming([this] { page_.show(); }));
    t.add(rectOf(PageControl::Cancel), Scope::Window, Flow::GoOn,
          C::claiming([this] { onCancel(); }));
    t.add(layout::main::webAddressLine.rect, Scope::Window, Flow::Stop, C::claiming([this] {
              env_.services->openUrl(QString::fromStdString(state_.texts.slot(TextId::WebLink)));
          }));
    page_.addControls(t);
}

bool MainWindow::dispatchClick(const QPoint& p) {
    return clicks_.dispatch(
        p.x(), p.y(), [this] { return page_.shown(); }, [this, p] { page_.closeListsOutside(p); });
}

} // namespace z417
