// What the tree keeps when the file it shows is opened again (read again after a change on disk,
// merged with it, read back after Save As): the rebuild that follows a Reset would otherwise close
// every section, drop the selection and, with the editor it hid, the window's focus.
#include <QFileInfo>
#include <QScrollBar>
#include <algorithm>

#include "qtbridge/textconv.h"
#include "tree/configtree.h"

namespace tav {

using ItemKind = ConfigTreeModel::ItemKind;

namespace {

// Two names of one file: equal, or resolving to the same existing file.
bool SameFile(const std::string& a, const std::string& b) {
    if (a.empty() || b.empty()) {
        return false;
    }
    if (a == b) {
        return true;
    }
    const QString canonical = QFileInfo(ToQt(a)).canonicalFilePath();
    return !canonical.isEmpty() && canonical == QFileInfo(ToQt(b)).canonicalFilePath();
}

}  // namespace

bool ConfigTree::IsReopen() const {
    return SameFile(m_shownPath, m_document->Path());
}

// Read from the items before the rebuild: the document already holds the file's new content.
ConfigTree::ViewState ConfigTree::KeptView() const {
    ViewState state;
    for (const QModelIndex& index : m_model->AllIndexes()) {
        if (const std::optional<ItemKey> key = KeyOf(index); key && IsOpen(index)) {
            state.expanded.push_back(*key);
        }
    }
    if (m_current.isValid()) {
        state.current = KeyOf(m_current);
        state.currentParent = KeyOf(m_current.parent());
    }
    state.scroll = QPoint(horizontalScrollBar()->value(), verticalScrollBar()->value());
    state.focus = window()->focusWidget();
    return state;
}

void ConfigTree::RestoreView(const ViewState& state) {
    // A replacement entry past the end of the list read gives way to its section.
    QModelIndex current = IndexOfKey(state.current);
    if (!current.isValid()) {
        current = IndexOfKey(state.currentParent);
    }
    if (current.isValid()) {
        SetCurrentIndex(current);  // the window fills and shows the editor of the selection again
    }
    // After the selection, which opens the sections above it: a section the user had closed over
    // the selection stays closed.
    for (const QModelIndex& index : m_model->AllIndexes()) {
        const std::optional<ItemKey> key = KeyOf(index);
        const bool open = key && std::find(state.expanded.begin(), state.expanded.end(), *key) !=
                                     state.expanded.end();
        if (IsOpen(index) != open) {
            SetOpen(index, open);
        }
    }
    doItemsLayout();  // the scroll bars' ranges for the rows now open
    horizontalScrollBar()->setValue(state.scroll.x());
    verticalScrollBar()->setValue(state.scroll.y());
    if (QWidget* focus = state.focus;
        focus != nullptr && focus->isVisible() && window()->focusWidget() != focus) {
        focus->setFocus();
    }
}

std::optional<ConfigTree::ItemKey> ConfigTree::KeyOf(const QModelIndex& index) const {
    if (!index.isValid()) {
        return std::nullopt;
    }
    const ItemKind kind = m_model->KindOf(index);
    switch (kind) {
        case ItemKind::Root:
        case ItemKind::Parameters:
            return ItemKey(kind, 0);
        case ItemKind::Section:
            return ItemKey(kind, m_model->SectionOf(index));
        case ItemKind::Field:
        case ItemKind::OrderedField:
        case ItemKind::Entry:
            break;
    }
    // A row is known by its number, whatever its kind: the same place of the list read again.
    return ItemKey(ItemKind::Field, m_model->RowOf(index));
}

QModelIndex ConfigTree::IndexOfKey(const std::optional<ItemKey>& key) const {
    if (!key) {
        return {};
    }
    switch (key->first) {
        case ItemKind::Root:
            return m_model->RootIndex();
        case ItemKind::Parameters:
            return m_model->index(0, 0, m_model->RootIndex());
        case ItemKind::Section:
            return m_model->IndexOfSection(key->second);
        case ItemKind::Field:
        case ItemKind::OrderedField:
        case ItemKind::Entry:
            break;
    }
    return m_model->IndexOfRow(key->second);
}

}  // namespace tav
