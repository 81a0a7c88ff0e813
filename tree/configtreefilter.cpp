// Find: the filter model shows only the items whose text holds the filter text (any case), with
// their ancestors. Hiding items is all it does: the model, the selection and the document stay as
// they are.
#include <QItemSelectionModel>
#include <QScrollBar>
#include <QSortFilterProxyModel>

#include "tree/configtree.h"

namespace tav {

void ConfigTree::SetFilter(const QString& text) {
    if (text == m_filter) {
        return;
    }
    m_filter = text;
    ++m_syncing;  // rows the filter takes out take no selection with them
    if (m_filterModel == nullptr) {
        UseFilterModel();
    }
    m_filterModel->setFilterFixedString(text);
    --m_syncing;
    SyncOpenItems();
    if (!text.isEmpty()) {
        OpenAncestorsOfMatches(QModelIndex());
    }
    ShowCurrent();
}

const QString& ConfigTree::Filter() const {
    return m_filter;
}

// Made at the first filter, not with the window: a filter model costs the first window its
// construction and the few dozen connections it makes to the model. The view forgets its open
// items and its scroll position with its model; the open items are the tree's own and go back at
// once, and the caller shows the current item again.
void ConfigTree::UseFilterModel() {
    const QPoint scroll(horizontalScrollBar()->value(), verticalScrollBar()->value());
    m_filterModel = new QSortFilterProxyModel(this);
    m_filterModel->setRecursiveFilteringEnabled(true);
    m_filterModel->setFilterCaseSensitivity(Qt::CaseInsensitive);
    m_filterModel->setSourceModel(m_model);
    const QItemSelectionModel* previous = selectionModel();  // setModel makes a new one
    setModel(m_filterModel);
    delete previous;
    WatchViewSelection();
    SyncOpenItems();
    doItemsLayout();  // the scroll bars' ranges for the rows open again
    horizontalScrollBar()->setValue(scroll.x());
    verticalScrollBar()->setValue(scroll.y());
}

// Opens every item below `viewParent` that shows a match below it: a match inside a closed
// section would stay out of sight.
void ConfigTree::OpenAncestorsOfMatches(const QModelIndex& viewParent) {
    for (int i = 0; i < m_filterModel->rowCount(viewParent); ++i) {
        const QModelIndex child = m_filterModel->index(i, 0, viewParent);
        if (m_filterModel->rowCount(child) > 0) {
            SetOpen(ToModel(child), true);
            OpenAncestorsOfMatches(child);
        }
    }
}

}  // namespace tav
