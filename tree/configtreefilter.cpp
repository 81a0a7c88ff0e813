// The tree's filter: only the items whose text holds the filter text stay visible, with their
// ancestors. Hiding items is all it does: tags, order, selection and the document stay as they are.
#include "tree/configtree.h"

namespace tav {

void ConfigTree::SetFilter(const QString& text) {
    if (text == m_filter) {
        return;
    }
    m_filter = text;
    ApplyFilter(true);
}

void ConfigTree::ApplyFilter(bool openAncestors) {
    for (int i = 0; i < topLevelItemCount(); ++i) {
        FilterItem(topLevelItem(i), openAncestors);
    }
}

// Shows or hides `item` and everything below it; returns whether `item` is shown.
bool ConfigTree::FilterItem(QTreeWidgetItem* item, bool openAncestors) {
    bool childShown = false;
    for (int i = 0; i < item->childCount(); ++i) {
        childShown = FilterItem(item->child(i), openAncestors) || childShown;
    }
    const bool shown =
        m_filter.isEmpty() || childShown || item->text(0).contains(m_filter, Qt::CaseInsensitive);
    if (item->isHidden() == shown) {
        item->setHidden(!shown);
    }
    // A match inside a closed section would stay out of sight.
    if (openAncestors && childShown && !m_filter.isEmpty()) {
        item->setExpanded(true);
    }
    return shown;
}

}  // namespace tav
