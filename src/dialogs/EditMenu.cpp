#include "dialogs/EditMenu.h"

#include <QAction>
#include <QClipboard>
#include <QGuiApplication>
#include <QKeySequence>
#include <QLineEdit>
#include <QMenu>

#include <functional>

namespace z417 {
namespace {

struct CommandRow {
    EditCommand command;
    QKeySequence::StandardKey shortcut; // shown beside the text; UnknownKey: none
    bool separatorBefore;
};

constexpr CommandRow kCommands[kEditCommandCount] = {
    {EditCommand::Undo, QKeySequence::Undo, false},
    {EditCommand::Redo, QKeySequence::Redo, false},
    {EditCommand::Cut, QKeySequence::Cut, true},
    {EditCommand::Copy, QKeySequence::Copy, false},
    {EditCommand::Paste, QKeySequence::Paste, false},
    {EditCommand::Delete, QKeySequence::UnknownKey, false},
    {EditCommand::SelectAll, QKeySequence::SelectAll, true},
};

bool isEnabled(EditCommand command, const QLineEdit& field) {
    const bool writable = !field.isReadOnly();
    const bool selection = field.hasSelectedText();
    switch (command) {
    case EditCommand::Undo:
        return field.isUndoAvailable();
    case EditCommand::Redo:
        return field.isRedoAvailable();
    case EditCommand::Cut:
    case EditCommand::Delete:
        return writable && selection;
    case EditCommand::Copy:
        return selection;
    case EditCommand::Paste:
        return writable && !QGuiApplication::clipboard()->text().isEmpty();
    case EditCommand::SelectAll:
        return !field.text().isEmpty() && field.selectedText() != field.text();
    }
    return false;
}

std::function<void()> perform(EditCommand command, QLineEdit* field) {
    switch (command) {
    case EditCommand::Undo:
        return [field] { field->undo(); };
    case EditCommand::Redo:
        return [field] { field->redo(); };
    case EditCommand::Cut:
        return [field] { field->cut(); };
    case EditCommand::Copy:
        return [field] { field->copy(); };
    case EditCommand::Paste:
        return [field] { field->paste(); };
    case EditCommand::Delete:
        return [field] { field->del(); }; // enabled only with a selection, which it removes
    case EditCommand::SelectAll:
        return [field] { field->selectAll(); };
    }
    return [] {};
}

} // namespace

QMenu* createEditMenu(QLineEdit* field, Language language) {
    auto* menu = new QMenu(field);
    for (const CommandRow& row : kCommands) {
        if (row.separatorBefore)
            menu->addSeparator();
        QString text = editCommandText(row.command).in(language);
        if (row.shortcut != QKeySequence::UnknownKey)
            text +=
                QLatin1Char('\t') + QKeySequence(row.shortcut).toString(QKeySequence::NativeText);
        QAction* action = menu->addAction(text);
        action->setEnabled(isEnabled(row.command, *field));
        QObject::connect(action, &QAction::triggered, field, perform(row.command, field));
    }
    return menu;
}

} // namespace z417
