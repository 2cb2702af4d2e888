#include "ui/PageAccessible.h"

#include "ui/PaintedPartAccessible.h"
#include "ui/TextDraw.h"

#include <QAccessibleActionInterface>
#include <QListWidget>
#include <QMetaObject>
#include <QPointer>

#include <array>
#include <map>

namespace z417 {

QAccessible::Role accessibleRole(ControlRole role) {
    switch (role) {
    case ControlRole::PushButton:
        return QAccessible::Button;
    case ControlRole::ComboBox:
        return QAccessible::ComboBox;
    case ControlRole::PageTab:
        return QAccessible::PageTab;
    case ControlRole::RadioButton:
        return QAccessible::RadioButton;
    case ControlRole::ColourSwatch:
        return QAccessible::ColorChooser;
    case ControlRole::Link:
        return QAccessible::Link;
    }
    return QAccessible::Button;
}

namespace {

class WindowAccessible;

// One row of the control table. Its value is offered as read-only text.
class ControlAccessible final : public PaintedPartAccessible {
public:
    ControlAccessible(WindowAccessible& window, PageControl control)
        : window_(window), control_(control) {}

    PageControl control() const { return control_; }
    ControlValue value() const;

    // QAccessibleInterface
    QWindow* window() const override;
    QAccessibleInterface* parent() const override;
    QString text(QAccessible::Text t) const override;
    using PaintedPartAccessible::text;
    QRect rect() const override;
    QAccessible::Role role() const override { return accessibleRole(row().role); }
    QAccessible::State state() const override;

    // QAccessibleActionInterface
    QStringList actionNames() const override;
    void doAction(const QString& actionName) override;

protected:
    bool hasValueText() const override {
        return row().role == ControlRole::ComboBox || row().role == ControlRole::ColourSwatch;
    }
    QString valueText() const override { return hasValueText() ? qs(value().text) : QString(); }

private:
    const ControlRow& row() const { return controlOf(control_); }

    WindowAccessible& window_;
    PageControl control_;
};

// The window: the rows that are there, then the pop-up lists.
class WindowAccessible final : public QAccessibleWidget {
public:
    WindowAccessible(QWidget* w, const PageAccessModel& model)
        : QAccessibleWidget(w, QAccessible::Window), model_(model) {
        for (int i = 0; i < kControlCount; ++i) {
            auto* child = new ControlAccessible(*this, static_cast<PageControl>(i));
            QAccessible::registerAccessibleInterface(child);
            children_[static_cast<size_t>(i)] = child;
        }
        remember();
    }
    ~WindowAccessible() override {
        for (ControlAccessible* child : children_)
            QAccessible::deleteAccessibleInterface(QAccessible::uniqueId(child));
    }

    const PageAccessModel& model() const { return model_; }
    QWidget* windowWidget() const { return widget(); }

    int childCount() const override {
        return static_cast<int>(shownControls().size() + lists().size());
    }
    QAccessibleInterface* child(int index) const override {
        const std::vector<PageControl> shown = shownControls();
        if (index < 0)
            return nullptr;
        if (index < static_cast<int>(shown.size()))
            return children_[static_cast<size_t>(shown[static_cast<size_t>(index)])];
        const std::vector<QListWidget*> open = lists();
        const auto at = static_cast<size_t>(index) - shown.size();
        return at < open.size() ? QAccessible::queryAccessibleInterface(open[at]) : nullptr;
    }
    int indexOfChild(const QAccessibleInterface* child) const override {
        for (int i = 0; i < childCount(); ++i)
            if (this->child(i) == child)
                return i;
        return -1;
    }
    QAccessibleInterface* childAt(int x, int y) const override {
        for (int i = 0; i < childCount(); ++i) {
            QAccessibleInterface* c = child(i);
            if (c && c->rect().contains(x, y))
                return c;
        }
        return nullptr;
    }
    QAccessibleInterface* focusChild() const override {
        const std::optional<PageControl> f = model_.focused();
        return f ? children_[static_cast<size_t>(*f)] : nullptr;
    }

    bool isShown(PageControl c) const { return !controlOf(c).pageOnly || model_.pageShown(); }
    ControlAccessible* childFor(PageControl c) const { return children_[static_cast<size_t>(c)]; }

    void announceChanges() {
        for (int i = 0; i < kControlCount; ++i) {
            ControlAccessible* child = children_[static_cast<size_t>(i)];
            const ControlValue now = child->value();
            ControlValue& before = values_[static_cast<size_t>(i)];
            if (now.text != before.text) {
                QAccessibleValueChangeEvent event(child, qs(now.text));
                QAccessible::updateAccessibility(&event);
            }
            if (now.checked != before.checked) {
                QAccessible::State changed;
                changed.checked = true;
                changed.selected = true;
                QAccessibleStateChangeEvent event(child, changed);
                QAccessible::updateAccessibility(&event);
            }
            before = now;
        }
    }

private:
    std::vector<PageControl> shownControls() const {
        std::vector<PageControl> out;
        if (isShown(PageControl::PageButton))
            out.push_back(PageControl::PageButton);
        for (PageControl c : controlsInKeyboardOrder())
            if (isShown(c))
                out.push_back(c);
        return out;
    }
    std::vector<QListWidget*> lists() const {
        std::vector<QListWidget*> out;
        for (QObject* o : widget()->children()) {
            auto* list = qobject_cast<QListWidget*>(o);
            if (list && list->isVisible())
                out.push_back(list);
        }
        return out;
    }
    void remember() {
        for (int i = 0; i < kControlCount; ++i)
            values_[static_cast<size_t>(i)] = children_[static_cast<size_t>(i)]->value();
    }

    PageAccessModel model_;
    std::array<ControlAccessible*, kControlCount> children_{};
    std::array<ControlValue, kControlCount> values_{};
};

ControlValue ControlAccessible::value() const {
    const ControlRow& r = row();
    if (!r.value || !window_.model().host)
        return {};
    return r.value(*window_.model().host, r.index);
}

QWindow* ControlAccessible::window() const {
    return window_.window();
}

QAccessibleInterface* ControlAccessible::parent() const {
    return &window_;
}

QString ControlAccessible::text(QAccessible::Text t) const {
    if (t == QAccessible::Name)
        return qs(controlName(control_, *window_.model().texts));
    if (t == QAccessible::Value)
        return valueText();
    return {};
}

QRect ControlAccessible::rect() const {
    const QWidget* w = window_.windowWidget();
    return QRect(w->mapToGlobal(QPoint(row().rect.left, row().rect.top)),
                 QSize(row().rect.width(), row().rect.height()));
}

QAccessible::State ControlAccessible::state() const {
    QAccessible::State s;
    const ControlRow& r = row();
    s.invisible = !window_.isShown(control_) || !window_.windowWidget()->isVisible();
    s.focusable = r.tabOrder >= 0;
    s.focused = window_.model().focused() == control_;
    const ControlValue v = value();
    if (r.role == ControlRole::PageTab) {
        s.selectable = true;
        s.selected = v.checked;
    } else if (r.role == ControlRole::RadioButton) {
        s.checkable = true;
        s.checked = v.checked;
    } else if (r.role == ControlRole::ComboBox) {
        s.hasPopup = true;
        s.readOnly = true;
    }
    return s;
}

QStringList ControlAccessible::actionNames() const {
    if (row().role == ControlRole::ComboBox)
        return {showMenuAction(), pressAction()};
    return {pressAction()};
}

void ControlAccessible::doAction(const QString& actionName) {
    if (!actionNames().contains(actionName))
        return;
    // Queued: the action may run a modal dialog, which must not block the caller.
    const std::function<void(PageControl)> press = window_.model().press;
    const PageControl c = control_;
    QMetaObject::invokeMethod(
        window_.windowWidget(), [press, c] { press(c); }, Qt::QueuedConnection);
}

std::map<const QObject*, PageAccessModel>& registry() {
    static std::map<const QObject*, PageAccessModel> models;
    return models;
}

QAccessibleInterface* pageFactory(const QString&, QObject* object) {
    const auto it = registry().find(object);
    if (it == registry().end() || !object->isWidgetType())
        return nullptr;
    return new WindowAccessible(static_cast<QWidget*>(object), it->second);
}

WindowAccessible* windowInterface(QWidget* window) {
    if (!QAccessible::isActive() || !registry().count(window))
        return nullptr;
    return static_cast<WindowAccessible*>(QAccessible::queryAccessibleInterface(window));
}

} // namespace

void registerPageAccessible(QWidget* window, PageAccessModel model) {
    static const bool installed = [] {
        QAccessible::installFactory(pageFactory);
        return true;
    }();
    (void)installed;
    registry()[window] = std::move(model);
}

void unregisterPageAccessible(QWidget* window) {
    registry().erase(window);
}

void announceChanges(QWidget* window) {
    if (WindowAccessible* a = windowInterface(window))
        a->announceChanges();
}

void announceFocus(QWidget* window) {
    WindowAccessible* a = windowInterface(window);
    if (!a)
        return;
    if (const std::optional<PageControl> f = a->model().focused()) {
        QAccessibleEvent event(a->childFor(*f), QAccessible::Focus);
        QAccessible::updateAccessibility(&event);
    }
}

} // namespace z417
