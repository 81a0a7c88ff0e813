#include "ui/undokeyrouter.h"

#include <QAction>
#include <QKeyEvent>
#include <QLineEdit>
#include <algorithm>

namespace tav {

namespace {

bool IsShortcutOf(const QAction& action, const QKeyEvent& event) {
    const QKeySequence pressed(event.keyCombination());
    const QList<QKeySequence> shortcuts = action.shortcuts();
    return std::any_of(shortcuts.begin(), shortcuts.end(), [&pressed](const QKeySequence& key) {
        return key.matches(pressed) == QKeySequence::ExactMatch;
    });
}

}  // namespace

UndoKeyRouter::UndoKeyRouter(QAction* undo, QAction* redo, QObject* parent)
    : QObject(parent), m_undo(undo), m_redo(redo) {}

void UndoKeyRouter::Watch(QLineEdit* edit) {
    edit->installEventFilter(this);
}

UndoKeyRouter::Key UndoKeyRouter::Classify(const QKeyEvent& event) const {
    if (IsShortcutOf(*m_undo, event)) {
        return Key::Undo;
    }
    return IsShortcutOf(*m_redo, event) ? Key::Redo : Key::Other;
}

// Qt first offers a key to the focused widget as a ShortcutOverride: accepting it keeps the key
// for the edit, leaving it unaccepted lets the window's action have it.
bool UndoKeyRouter::eventFilter(QObject* watched, QEvent* event) {
    auto* edit = qobject_cast<QLineEdit*>(watched);
    const bool keyEvent =
        event->type() == QEvent::ShortcutOverride || event->type() == QEvent::KeyPress;
    if (edit == nullptr || !keyEvent) {
        return QObject::eventFilter(watched, event);
    }
    auto* key = static_cast<QKeyEvent*>(event);
    const Key kind = Classify(*key);
    if (kind == Key::Other) {
        return QObject::eventFilter(watched, event);
    }
    const bool editCan = kind == Key::Undo ? edit->isUndoAvailable() : edit->isRedoAvailable();
    if (event->type() == QEvent::ShortcutOverride) {
        key->setAccepted(editCan);
        return true;
    }
    // A key press reaches the edit only after it kept the key; not every platform's edit knows
    // every shortcut of the actions (Ctrl+Y), so the router does the edit's undo or redo itself.
    if (editCan) {
        kind == Key::Undo ? edit->undo() : edit->redo();
    }
    return true;
}

}  // namespace tav
