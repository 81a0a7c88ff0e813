// What the tree keeps when the file it shows is opened again (read again after a change on disk,
// merged with it, read back after Save As): the rebuild that follows a Reset would otherwise close
// every section, drop the selection and, with the editor it hid, the window's focus.
#include <QFileInfo>
#include <QScrollBar>
#include <QTreeWidgetItemIterator>
#include <algorithm>

#include "qtbridge/textconv.h"
#include "tree/configtree.h"

namespace tav {

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

bool ConfigTree::IsReopen(const DocumentChange& change) const {
    return change.kind == DocumentChange::Kind::Reset && m_rootItem != nullptr &&
           SameFile(m_shownPath, m_document->Path());
}

// Read from the items before the rebuild: the document already holds the file's new content.
ConfigTree::ViewState ConfigTree::KeptView() const {
    ViewState state;
    for (QTreeWidgetItemIterator it(const_cast<ConfigTree*>(this)); *it != nullptr; ++it) {
        if (const std::optional<int> key = ItemKey(*it); key && (*it)->isExpanded()) {
            state.expanded.push_back(*key);
        }
    }
    if (const QTreeWidgetItem* item = currentItem(); item != nullptr) {
        state.current = ItemKey(item);
        state.currentParent = ItemKey(item->parent());
    }
    state.scroll = QPoint(horizontalScrollBar()->value(), verticalScrollBar()->value());
    state.focus = window()->focusWidget();
    return state;
}

void ConfigTree::RestoreView(const ViewState& state) {
    // A replacement entry past the end of the list read gives way to its section.
    QTreeWidgetItem* current = ItemOfKey(state.current);
    if (current == nullptr) {
        current = ItemOfKey(state.currentParent);
    }
    if (current != nullptr) {
        setCurrentItem(current);  // the window fills and shows the editor of the selection again
    }
    // After the selection, which opens the sections above it: a section the user had closed over
    // the selection stays closed.
    for (QTreeWidgetItemIterator it(this); *it != nullptr; ++it) {
        const std::optional<int> key = ItemKey(*it);
        const bool open = key && std::find(state.expanded.begin(), state.expanded.end(), *key) !=
                                     state.expanded.end();
        if ((*it)->isExpanded() != open) {
            (*it)->setExpanded(open);
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

std::optional<int> ConfigTree::ItemKey(const QTreeWidgetItem* item) const {
    if (item == nullptr) {
        return std::nullopt;
    }
    if (const QVariant tag = item->data(0, ItemTagRole); tag.isValid()) {
        return tag.toInt();
    }
    if (item == m_rootItem) {
        return kRootKey;
    }
    // "Parameters" is the one item under the root without a tag.
    return item->parent() == m_rootItem ? std::optional<int>(kParametersKey) : std::nullopt;
}

QTreeWidgetItem* ConfigTree::ItemOfKey(std::optional<int> key) const {
    if (!key) {
        return nullptr;
    }
    for (QTreeWidgetItemIterator it(const_cast<ConfigTree*>(this)); *it != nullptr; ++it) {
        if (ItemKey(*it) == key) {
            return *it;
        }
    }
    return nullptr;
}

}  // namespace tav
