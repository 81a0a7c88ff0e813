// Find: the filter model shows only the items whose text holds the filter text (any case), with
// their ancestors. Hiding items is all it does: the model, the selection and the document stay as
// they are.
#include <QSortFilterProxyModel>

#include "tree/configtree.h"

namespace tav {

void ConfigTree::SetFilter(const QString& text) {
    if (text == m_filter) {
        return;
    }
    m_filter = text;
    ++m_syncing;  // rows the filter takes out take no selection with them
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
