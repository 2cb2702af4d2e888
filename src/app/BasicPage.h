// The Basic settings page: built (art, texts, child fields) on the window's back buffer,
// torn down for a rebuild, and the page's controls in the click table.
#pragma once

#include "app/AppLayer.h"
#include "app/AssignmentFlow.h"
#include "app/PageContext.h"
#include "app/PageFields.h"
#include "app/ValueControls.h"

#include <QPoint>

#include <functional>

class QLabel;
class QListWidget;

namespace z417 {

// The page: not built, shown, or being torn down for a rebuild.
enum class PageState { Unbuilt, Shown, TearingDown };

class BasicPage {
public:
    explicit BasicPage(PageContext& context);

    void show();
    // A start hidden in the tray with the mouse there: the first-run labels are kept now, the
    // page is built at the first show.
    void awaitShow();
    // The page as the tray shows it: built when it never was, or when it awaits the show.
    void showIfNeverBuilt();
    // A shown page is torn down and built again (after a skin change or a restore after
    // Cancel); an unbuilt page stays unbuilt.
    void rebuild();
    void tearDown();
    // The page drawn again on the canvas as it stands, then the over looks (after the canvas
    // was made anew at another device pixel ratio).
    void repaint();
    // Called after every whole paint of the page.
    void onRepainted(std::function<void()> repainted) { repainted_ = std::move(repainted); }

    // The closing sweep of the open lists for a click at p.
    void closeListsOutside(const QPoint& p);
    // A pointer move over a pop-up list: the item under it becomes current.
    void hoverList(QListWidget* list, const QPoint& pointInList);
    // The keyboard's current row of a pop-up list, as a rested pointer would make it.
    void setCurrentListRow(QListWidget* list, int row);
    // The pop-up list that is there (a slot list before the value lists); null when none.
    QListWidget* openList() const;
    // Every pop-up list closed, as a page tear-down closes them.
    void closeLists();

    PageState state() const { return state_; }
    bool shown() const { return state_ == PageState::Shown; }
    ValueControls& values() { return values_; }
    const PageFields& fields() const { return fields_; }
    AssignmentFlow& assignment() { return assignment_; }

private:
    void keepFirstRunLabels();
    void createFields();
    void createDpiFields();
    void createLightFields();
    QLabel* createField(int id, const layout::Rect& rect, const QString& text, bool sunken);

    PageContext& context_;
    PageState state_ = PageState::Unbuilt;
    bool everBuilt_ = false;
    bool awaitingShow_ = false;
    PageFields fields_;
    ValueControls values_;
    AssignmentFlow assignment_;
    std::function<void()> repainted_;
};

} // namespace z417
