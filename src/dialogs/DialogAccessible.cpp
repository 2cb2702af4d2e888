#include "dialogs/DialogAccessible.h"

#include "dialogs/DialogFrame.h"
#include "ui/PaintedPartAccessible.h"

#include <QAccessibleActionInterface>
#include <QAccessibleWidget>
#include <QLineEdit>
#include <QListWidget>
#include <QMetaObject>
#include <QPointer>

#include <array>

namespace z417 {
namespace {

using Painted = DialogFrame::Painted;

class DialogAccessible;

// One painted part of a dialog.
class PaintedAccessible final : public PaintedPartAccessible {
public:
    PaintedAccessible(DialogAccessible& dialog, Painted part) : dialog_(dialog), part_(part) {}

    QWindow* window() const override;
    QAccessibleInterface* parent() const override;
    QString text(QAccessible::Text t) const override;
    using PaintedPartAccessible::text;
    QRect rect() const override;
    QAccessible::Role role() const override {
        return part_ == Painted::DropDown ? QAccessible::ComboBox : QAccessible::Button;
    }
    QAccessible::State state() const override;

    QStringList actionNames() const override {
        return part_ == Painted::DropDown ? QStringList{showMenuAction(), pressAction()}
                                          : QStringList{pressAction()};
    }
    void doAction(const QString& actionName) override;

protected:
    // The drop-down's chosen entry.
    bool hasValueText() const override { return part_ == Painted::DropDown; }
    QString valueText() const override { return text(QAccessible::Value); }

private:
    DialogAccessible& dialog_;
    Painted part_;
};

class DialogAccessible final : public QAccessibleWidget {
public:
    explicit DialogAccessible(DialogFrame* dialog)
        : QAccessibleWidget(dialog, QAccessible::Dialog) {
        for (Painted p : {Painted::DropDown, Painted::Ok, Painted::Cancel, Painted::Close}) {
            auto* child = new PaintedAccessible(*this, p);
            QAccessible::registerAccessibleInterface(child);
            parts_[static_cast<size_t>(p)] = child;
        }
    }
    ~DialogAccessible() override {
        for (PaintedAccessible* child : parts_)
            QAccessible::deleteAccessibleInterface(QAccessible::uniqueId(child));
    }

    DialogFrame* dialog() const { return static_cast<DialogFrame*>(widget()); }
    PaintedAccessible* part(Painted p) const { return parts_[static_cast<size_t>(p)]; }

    QString text(QAccessible::Text t) const override {
        return t == QAccessible::Name ? dialog()->title() : QAccessibleWidget::text(t);
    }
    int childCount() const override { return static_cast<int>(children().size()); }
    QAccessibleInterface* child(int index) const override {
        const std::vector<QAccessibleInterface*> all = children();
        return index >= 0 && index < static_cast<int>(all.size()) ? all[static_cast<size_t>(index)]
                                                                  : nullptr;
    }
    int indexOfChild(const QAccessibleInterface* child) const override {
        const std::vector<QAccessibleInterface*> all = children();
        for (size_t i = 0; i < all.size(); ++i)
            if (all[i] == child)
                return static_cast<int>(i);
        return -1;
    }
    QAccessibleInterface* focusChild() const override {
        if (const std::optional<Painted> p = dialog()->paintedFocus())
            return part(*p);
        return QAccessibleWidget::focusChild();
    }

private:
    // The keyboard order, then an open list.
    std::vector<QAccessibleInterface*> children() const {
        std::vector<QAccessibleInterface*> out;
        for (const DialogFrame::FocusStop& stop : dialog()->focusStops())
            out.push_back(stop.painted ? part(*stop.painted)
                                       : QAccessible::queryAccessibleInterface(stop.field));
        if (QListWidget* list = dialog()->dropDownList())
            out.push_back(QAccessible::queryAccessibleInterface(list));
        return out;
    }

    std::array<PaintedAccessible*, 4> parts_{};
};

QWindow* PaintedAccessible::window() const {
    return dialog_.window();
}

QAccessibleInterface* PaintedAccessible::parent() const {
    return &dialog_;
}

QString PaintedAccessible::text(QAccessible::Text t) const {
    if (t == QAccessible::Name)
        return dialog_.dialog()->paintedName(part_);
    if (t == QAccessible::Value)
        return dialog_.dialog()->paintedValue(part_);
    return {};
}

QRect PaintedAccessible::rect() const {
    const layout::Rect r = dialog_.dialog()->paintedRect(part_);
    return QRect(dialog_.dialog()->mapToGlobal(QPoint(r.left, r.top)),
                 QSize(r.width(), r.height()));
}

QAccessible::State PaintedAccessible::state() const {
    QAccessible::State s;
    s.focusable = true;
    s.focused = dialog_.dialog()->paintedFocus() == part_;
    if (part_ == Painted::DropDown) {
        s.hasPopup = true;
        s.expanded = dialog_.dialog()->isListOpen();
        s.collapsed = !s.expanded;
    }
    return s;
}

void PaintedAccessible::doAction(const QString& actionName) {
    if (!actionNames().contains(actionName))
        return;
    // Queued: ending the dialog ends its modal loop, which must not happen inside the call.
    QPointer<DialogFrame> dialog = dialog_.dialog();
    const Painted part = part_;
    QMetaObject::invokeMethod(
        dialog,
        [dialog, part] {
            if (dialog)
                dialog->pressPainted(part);
        },
        Qt::QueuedConnection);
}

QAccessibleInterface* dialogFactory(const QString&, QObject* object) {
    if (auto* dialog = qobject_cast<DialogFrame*>(object))
        return new DialogAccessible(dialog);
    return nullptr;
}

DialogAccessible* interfaceOf(DialogFrame* dialog) {
    if (!QAccessible::isActive())
        return nullptr;
    return static_cast<DialogAccessible*>(QAccessible::queryAccessibleInterface(dialog));
}

} // namespace

void installDialogAccessible() {
    static const bool installed = [] {
        QAccessible::installFactory(dialogFactory);
        return true;
    }();
    (void)installed;
}

void announceDialogFocus(DialogFrame* dialog) {
    DialogAccessible* a = interfaceOf(dialog);
    const std::optional<Painted> p = dialog->paintedFocus();
    if (!a || !p)
        return;
    QAccessibleEvent event(a->part(*p), QAccessible::Focus);
    QAccessible::updateAccessibility(&event);
}

void announceDialogValue(DialogFrame* dialog, const QString& text) {
    if (DialogAccessible* a = interfaceOf(dialog)) {
        QAccessibleValueChangeEvent event(a->part(Painted::DropDown), text);
        QAccessible::updateAccessibility(&event);
    }
}

} // namespace z417
