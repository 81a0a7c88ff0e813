// The tree's context menu and the keys that do the same: reverting a field to its saved value,
// moving an ordered field up or down, deleting a replacement entry. Every one acts on the selected
// item through the document, so each is an ordinary undo step.
#include <QAction>
#include <QApplication>
#include <QContextMenuEvent>
#include <QKeyEvent>
#include <QMenu>
#include <algorithm>
#include <iterator>
#include <optional>

#include "tree/configtree.h"

namespace tav {

namespace {

bool IsOrderedField(const ConfigDocument& document, int row) {
    return row >= 0 && row < document.CatalogueRows() &&
           document.Row(static_cast<std::uint16_t>(row)).orderPos != 0;
}

// The ordered field before (up) or after ordered field `row` in its section's display order;
// nothing for other rows and at the ends.
std::optional<std::uint16_t> OrderedNeighbour(const ConfigDocument& document, int row, bool up) {
    if (!IsOrderedField(document, row)) {
        return std::nullopt;
    }
    const auto ordered = [&document](std::uint16_t r) { return IsOrderedField(document, r); };
    for (const std::vector<std::uint16_t>& rows : document.Order()) {
        const auto at = std::find(rows.begin(), rows.end(), row);
        if (at == rows.end()) {
            continue;
        }
        if (up) {
            const auto before = std::find_if(std::make_reverse_iterator(at), rows.rend(), ordered);
            return before == rows.rend() ? std::nullopt : std::optional(*before);
        }
        const auto after = std::find_if(std::next(at), rows.end(), ordered);
        return after == rows.end() ? std::nullopt : std::optional(*after);
    }
    return std::nullopt;
}

}  // namespace

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
    if (!IsOrderedField(*m_document, row)) {
        return {m_revertAction};
    }
    m_moveUpAction->setEnabled(OrderedNeighbour(*m_document, row, true).has_value());
    m_moveDownAction->setEnabled(OrderedNeighbour(*m_document, row, false).has_value());
    return {m_revertAction, m_moveUpAction, m_moveDownAction};
}

bool ConfigTree::IsRowChanged(int row) const {
    return row >= 0 && row < m_document->RowCount() &&
           m_document->IsRowChanged(static_cast<std::uint16_t>(row));
}

bool ConfigTree::RevertSelectedValue() {
    const int row = FieldIndexOf();
    if (row < 0 || m_document->IsEntryRow(static_cast<std::uint16_t>(row)) || !IsRowChanged(row)) {
        return false;
    }
    // A step of its own, so that an undo brings back what was typed before.
    m_document->EndTyping();
    const auto r = static_cast<std::uint16_t>(row);
    const bool reverted = static_cast<bool>(m_document->SetValue(r, m_document->SavedValue(r)));
    m_document->EndTyping();
    return reverted;
}

bool ConfigTree::MoveSelectedUp() {
    return MoveSelected(true);
}

bool ConfigTree::MoveSelectedDown() {
    return MoveSelected(false);
}

// The document's order notification moves the items; the selection moves with its item.
bool ConfigTree::MoveSelected(bool up) {
    const int row = FieldIndexOf();
    const std::optional<std::uint16_t> neighbour = OrderedNeighbour(*m_document, row, up);
    if (!neighbour) {
        QApplication::beep();
        return false;
    }
    const auto r = static_cast<std::uint16_t>(row);
    const Status moved =
        up ? m_document->MoveField(r, *neighbour) : m_document->MoveField(*neighbour, r);
    if (!moved) {
        QApplication::beep();
    }
    return static_cast<bool>(moved);
}

void ConfigTree::keyPressEvent(QKeyEvent* event) {
    const Qt::KeyboardModifiers modifiers = event->modifiers() & ~Qt::KeypadModifier;
    const int key = event->key();
    if (modifiers == Qt::AltModifier && (key == Qt::Key_Up || key == Qt::Key_Down)) {
        MoveSelected(key == Qt::Key_Up);
    } else if (modifiers == Qt::NoModifier && key == Qt::Key_Delete) {
        DeleteSelectedReplacement();
    } else {
        QTreeView::keyPressEvent(event);
        return;
    }
    event->accept();
}

// A right button press may still start a drag, so the mouse's menu comes from the release instead
// (mouseReleaseEvent); only the keyboard's menu key comes here.
void ConfigTree::contextMenuEvent(QContextMenuEvent* event) {
    event->accept();
    if (event->reason() != QContextMenuEvent::Mouse && IsShown(m_current)) {
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
