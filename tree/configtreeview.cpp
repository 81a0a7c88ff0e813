// How the tree follows its document: each notification updates only the items it concerns, so an
// edit, an undo or a redo never rebuilds the tree (only opening or starting a document does).
#include <QTreeWidgetItemIterator>
#include <algorithm>

#include "qtbridge/textconv.h"
#include "tree/configtree.h"

namespace tav {

void ConfigTree::OnDocumentChange(const DocumentChange& change) {
    switch (change.kind) {
        case DocumentChange::Kind::Reset:
            BuildTree();
            return;
        case DocumentChange::Kind::Value:
            for (QTreeWidgetItem* item : ItemsOfRow(change.row)) {
                item->setText(0, ToQt(FieldLabel(change.row)));
            }
            return;
        case DocumentChange::Kind::EntryAdded:
            InsertEntryItems(change.row);
            return;
        case DocumentChange::Kind::EntryRemoved:
            RemoveEntryItems(change.row);
            return;
        case DocumentChange::Kind::Order:
            if (!m_movingItself) {
                ApplyOrder(change.section);
            }
            return;
        case DocumentChange::Kind::Saved:
            m_shownPath = m_document->Path();
            if (m_rootItem != nullptr) {
                m_rootItem->setText(0, ToQt(RootText()));
            }
            return;
        case DocumentChange::Kind::History:
            return;
    }
}

std::vector<QTreeWidgetItem*> ConfigTree::ItemsOfRow(int row) const {
    std::vector<QTreeWidgetItem*> items;
    for (QTreeWidgetItemIterator it(const_cast<ConfigTree*>(this)); *it != nullptr; ++it) {
        const QVariant tag = (*it)->data(0, ItemTagRole);
        if (tag.isValid() && tag.toInt() == row) {
            items.push_back(*it);
        }
    }
    return items;
}

// Adds `delta` to the tag of every field item tagged `from` or more.
void ConfigTree::Retag(int from, int delta) {
    for (QTreeWidgetItemIterator it(this); *it != nullptr; ++it) {
        const QVariant tag = (*it)->data(0, ItemTagRole);
        if (tag.isValid() && tag.toInt() >= from && tag.toInt() < kSectionTagBase) {
            (*it)->setData(0, ItemTagRole, tag.toInt() + delta);
        }
    }
}

void ConfigTree::InsertEntryItems(int row) {
    Retag(row, 1);
    const DisplayOrder& order = m_document->Order();
    for (std::size_t s = 0; s < order.size(); ++s) {
        const auto at = std::find(order[s].begin(), order[s].end(), row);
        QTreeWidgetItem* section = SectionItem(static_cast<int>(s));
        if (at != order[s].end() && section != nullptr) {
            section->insertChild(static_cast<int>(at - order[s].begin()), NewFieldItem(row));
        }
    }
}

void ConfigTree::RemoveEntryItems(int row) {
    // The items go after every tag is right again, so that whatever the view reports while an
    // item is taken out already sees consistent rows; the tree reports itself when it did not.
    const std::vector<QTreeWidgetItem*> items = ItemsOfRow(row);
    Retag(row + 1, -1);
    const int reportsBefore = m_selectionReports;
    bool wasCurrent = false;
    for (QTreeWidgetItem* item : items) {
        wasCurrent = wasCurrent || item == currentItem();
        QTreeWidgetItem* parent = item->parent();
        parent->takeChild(parent->indexOfChild(item));
        delete item;
    }
    if (!wasCurrent) {
        return;
    }
    if (QTreeWidgetItem* now = currentItem(); now != nullptr) {
        setCurrentItem(now);  // make the new current item the visible selection too
    }
    if (m_selectionReports == reportsBefore) {
        ReportSelection();
    }
}

// Puts the children of section `section` into the document's order, re-creating each item that
// has to move (the selection follows a moved item).
void ConfigTree::ApplyOrder(std::size_t section) {
    QTreeWidgetItem* parent = SectionItem(static_cast<int>(section));
    if (parent == nullptr) {
        return;
    }
    const std::vector<std::uint16_t>& rows = m_document->Order()[section];
    for (int i = 0; i < static_cast<int>(rows.size()) && i < parent->childCount(); ++i) {
        if (FieldIndexOf(parent->child(i)) == rows[static_cast<std::size_t>(i)]) {
            continue;
        }
        for (int j = i + 1; j < parent->childCount(); ++j) {
            if (FieldIndexOf(parent->child(j)) == rows[static_cast<std::size_t>(i)]) {
                Recreate(parent->child(j), i);
                break;
            }
        }
    }
}

QTreeWidgetItem* ConfigTree::Recreate(QTreeWidgetItem* item, int index) {
    QTreeWidgetItem* parent = item->parent();
    QTreeWidgetItem* copy = item->clone();
    parent->insertChild(index, copy);
    if (item == currentItem()) {
        setCurrentItem(copy);
    }
    delete item;
    return copy;
}

}  // namespace tav
