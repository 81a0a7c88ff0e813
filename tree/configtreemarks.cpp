// The change marks: items of rows that differ from the document as read or last saved show their
// text in bold. Each notification re-marks only the rows it concerns; opening and saving, which
// move the reference itself, re-mark every row.
#include <QTreeWidgetItemIterator>

#include "tree/configtree.h"

namespace tav {

void ConfigTree::FollowComforts(const DocumentChange& change) {
    switch (change.kind) {
        case DocumentChange::Kind::Reset:
        case DocumentChange::Kind::Saved:
            MarkRows(0, m_document->RowCount());
            break;
        case DocumentChange::Kind::Value:
            MarkRows(change.row, change.row + 1);
            break;
        case DocumentChange::Kind::EntryAdded:
        case DocumentChange::Kind::EntryRemoved:
            // Every later entry moved to another place of the list, so it compares with another
            // saved entry now.
            MarkRows(change.row, m_document->RowCount());
            break;
        case DocumentChange::Kind::Order:
        case DocumentChange::Kind::History:
            break;
    }
    if (!m_filter.isEmpty() && change.kind != DocumentChange::Kind::History) {
        ApplyFilter(false);
    }
}

bool ConfigTree::IsRowChanged(int row) const {
    return row >= 0 && row < m_document->RowCount() &&
           m_document->IsRowChanged(static_cast<std::uint16_t>(row));
}

// Re-marks the items of rows `from` .. `to` - 1.
void ConfigTree::MarkRows(int from, int to) {
    QFont bold = font();
    bold.setBold(true);
    for (QTreeWidgetItemIterator it(this); *it != nullptr; ++it) {
        const int row = FieldIndexOf(*it);
        if (row < from || row >= to) {
            continue;
        }
        if (IsRowChanged(row)) {
            (*it)->setFont(0, bold);
        } else {
            (*it)->setData(0, Qt::FontRole, QVariant());  // back to the tree's own font
        }
    }
}

}  // namespace tav
