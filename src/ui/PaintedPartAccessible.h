// A painted part of a window for assistive technology: no widget and no children of its own,
// actions that do what a click does, and its value as read-only text where it has one. The
// main window's controls and the dialogs' painted parts are such parts.
#pragma once

#include <QAccessibleActionInterface>
#include <QAccessibleInterface>

namespace z417 {

class PaintedPartAccessible : public QAccessibleInterface,
                              public QAccessibleActionInterface,
                              public QAccessibleTextInterface {
public:
    // QAccessibleInterface: a leaf without an object of its own.
    bool isValid() const override { return true; }
    QObject* object() const override { return nullptr; }
    QList<std::pair<QAccessibleInterface*, QAccessible::Relation>>
    relations(QAccessible::Relation) const override {
        return {};
    }
    QAccessibleInterface* focusChild() const override { return nullptr; }
    QAccessibleInterface* childAt(int, int) const override { return nullptr; }
    QAccessibleInterface* child(int) const override { return nullptr; }
    int childCount() const override { return 0; }
    int indexOfChild(const QAccessibleInterface*) const override { return -1; }
    using QAccessibleInterface::text;
    void setText(QAccessible::Text, const QString&) override {}
    void* interface_cast(QAccessible::InterfaceType type) override {
        if (type == QAccessible::ActionInterface)
            return static_cast<QAccessibleActionInterface*>(this);
        if (type == QAccessible::TextInterface && hasValueText())
            return static_cast<QAccessibleTextInterface*>(this);
        return nullptr;
    }

    // QAccessibleActionInterface: no key bindings of their own.
    QStringList keyBindingsForAction(const QString&) const override { return {}; }

    // QAccessibleTextInterface: the value, read only.
    void selection(int, int* start, int* end) const override { *start = *end = 0; }
    int selectionCount() const override { return 0; }
    void addSelection(int, int) override {}
    void removeSelection(int) override {}
    void setSelection(int, int, int) override {}
    int cursorPosition() const override { return 0; }
    void setCursorPosition(int) override {}
    QString text(int start, int end) const override {
        return valueText().mid(start, end < 0 ? -1 : end - start);
    }
    int characterCount() const override { return valueText().size(); }
    QRect characterRect(int) const override { return {}; }
    int offsetAtPoint(const QPoint&) const override { return -1; }
    void scrollToSubstring(int, int) override {}
    QString attributes(int, int* start, int* end) const override {
        *start = *end = 0;
        return {};
    }

protected:
    // Whether the part shows a value as text (a field, a drop-down), and that text.
    virtual bool hasValueText() const = 0;
    virtual QString valueText() const = 0;
};

} // namespace z417
