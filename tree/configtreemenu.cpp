// The tree's context menu and the keys that do the same: reverting a field to its saved value,
// moving an ordered field up or down, deleting a replacement entry. Every one acts on the selected
// item through the document, so each is an ordinary undo step.
#include <QAction>
#include <QContextMenuEvent>
#include <QKeyEvent>
#include <QMenu>

#include "tree/configtree.h"

namespace tav {

void ConfigTree::CreateContextActions() {
    const auto make = [this](const QString& text, const QKeySequence& key) {
        auto* action = new QAction(text, this);
        // The keys are the tree's own (keyPressEvent); the menu only shows them.
        action->setShortcut(key);
        action->setShortcutContext(Qt::WidgetShortcut);
        action->setShortcutVisibleInContextMenu(true);
        return action;
    };
    m_revertAction = make(tr("Revert to saved value"), QKeySequence());
    m_moveUpAction = make(tr("Move up"), QKeySequence(Qt::ALT | Qt::Key_Up));
    m_moveDownAction = make(tr("Move down"), QKeySequence(Qt::ALT | Qt::Key_Down));
    m_deleteAction = make(tr("Delete"), QKeySequence(Qt::Key_Delete));
    connect(m_revertAction, &QAction::triggered, this, &ConfigTree::RevertSelectedValue);
    connect(m_moveUpAction, &QAction::triggered, this, &ConfigTree::MoveSelectedUp);
    connect(m_moveDownAction, &QAction::triggered, this, &ConfigTree::MoveSelectedDown);
    connect(m_deleteAction, &QAction::triggered, this, &ConfigTree::DeleteSelectedReplacement);
}

QList<QAction*> ConfigTree::ContextActions() {
    const int row = FieldIndexOf();
    if (row < 0) {
        return {};
    }
    if (m_document->IsEntryRow(static_cast<std::uint16_t>(row))) {
        m_deleteAction->setEnabled(true);
        return {m_deleteAction};
    }
    m_revertAction->setEnabled(IsRowChanged(row));
    if (!m_edits.IsOrderedField(row)) {
        return {m_revertAction};
    }
    m_moveUpAction->setEnabled(m_edits.OrderedNeighbour(row, true).has_value());
    m_moveDownAction->setEnabled(m_edits.OrderedNeighbour(row, false).has_value());
    return {m_revertAction, m_moveUpAction, m_moveDownAction};
}

bool ConfigTree::IsRowChanged(int row) const {
    return m_edits.IsRowChanged(row);
}

bool ConfigTree::RevertSelectedValue() {
    return m_edits.RevertValue(FieldIndexOf());
}

bool ConfigTree::MoveSelectedUp() {
    return MoveSelected(true);
}

bool ConfigTree::MoveSelectedDown() {
    return MoveSelected(false);
}

// The document's order notification moves the items; the selection moves with its item.
bool ConfigTree::MoveSelected(bool up) {
    return m_edits.Move(FieldIndexOf(), up);
}

void ConfigTree::keyPressEvent(QKeyEvent* event) {
    const Qt::KeyboardModifiers modifiers = event->modifiers() & ~Qt::KeypadModifier;
    const int key = event->key();
    if (modifiers == Qt::AltModifier && (key == Qt::Key_Up || key == Qt::Key_Down)) {
        MoveSelected(key == Qt::Key_Up);
    } else if (modifiers == Qt::NoModifier && key == Qt::Key_Delete) {
        DeleteSelectedReplacement();
    } else if ((modifiers == Qt::NoModifier && key == Qt::Key_Menu) ||
               (modifiers == Qt::ShiftModifier && key == Qt::Key_F10)) {
        ShowKeyboardMenu();
    } else {
        QTreeView::keyPressEvent(event);
        return;
    }
    event->accept();
}

// A right button press may still start a drag, so the mouse's menu comes from the release instead
// (mouseReleaseEvent). The menu key and Shift+F10 come by keyPressEvent: not every platform turns
// them into this event, and some send both. Only a request of another kind (Other, e.g. from a
// screen reader) shows the menu here.
void ConfigTree::contextMenuEvent(QContextMenuEvent* event) {
    event->accept();
    if (event->reason() == QContextMenuEvent::Other) {
        ShowKeyboardMenu();
    }
}

void ConfigTree::ShowKeyboardMenu() {
    if (IsShown(m_current)) {
        ShowContextMenu(ItemRect(m_current).center());
    }
}

void ConfigTree::ShowContextMenu(const QPoint& viewportPos) {
    const QModelIndex index = IndexAt(viewportPos);
    if (!index.isValid() || index != m_current) {
        return;
    }
    const QList<QAction*> actions = ContextActions();
    if (actions.isEmpty()) {
        return;
    }
    QMenu menu(this);
    menu.addActions(actions);
    menu.exec(viewport()->mapToGlobal(viewportPos));
}

}  // namespace tav
