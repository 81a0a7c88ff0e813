// A test's handle on one item of a ConfigTree: the model's index, read through the model's roles
// and the tree's own queries, found by its label.
#pragma once

#include <QFont>
#include <QIcon>
#include <QPersistentModelIndex>
#include <ostream>
#include <stdexcept>
#include <string>
#include <vector>

#include "qtbridge/textconv.h"
#include "tree/configtree.h"

namespace tavtest {

class TreeItem {
public:
    TreeItem() = default;
    TreeItem(const tav::ConfigTree* tree, const QModelIndex& index)
        : m_tree(tree), m_index(index) {}

    // The model's index; it converts, so an item can be given to the tree's own functions.
    QModelIndex Index() const { return m_index; }
    operator QModelIndex() const { return m_index; }
    bool IsValid() const { return m_index.isValid(); }

    QString text() const { return m_index.data(Qt::DisplayRole).toString(); }
    std::string Text() const { return tav::FromQt(text()); }
    QIcon icon() const { return m_index.data(Qt::DecorationRole).value<QIcon>(); }
    QFont font() const { return m_index.data(Qt::FontRole).value<QFont>(); }
    tav::ConfigTreeModel::ItemKind Kind() const {
        return static_cast<tav::ConfigTreeModel::ItemKind>(
            m_index.data(tav::ConfigTreeModel::ItemKindRole).toInt());
    }
    int Row() const { return m_index.data(tav::ConfigTreeModel::DocumentRowRole).toInt(); }
    int Section() const { return m_index.data(tav::ConfigTreeModel::SectionIndexRole).toInt(); }

    TreeItem parent() const { return {m_tree, m_index.parent()}; }
    int childCount() const { return m_index.model()->rowCount(m_index); }
    TreeItem child(int i) const { return {m_tree, m_index.model()->index(i, 0, m_index)}; }
    bool isExpanded() const { return m_tree->IsOpen(m_index); }
    void setExpanded(bool open) const {
        const_cast<tav::ConfigTree*>(m_tree)->SetOpen(m_index, open);
    }
    bool isHidden() const { return !m_tree->IsShown(m_index); }

    bool operator==(const TreeItem& other) const { return m_index == other.m_index; }

private:
    const tav::ConfigTree* m_tree = nullptr;
    QPersistentModelIndex m_index;
};

inline void PrintTo(const TreeItem& item, std::ostream* out) {
    *out << (item.IsValid() ? "item \"" + item.Text() + "\"" : std::string("no item"));
}

inline TreeItem RootItem(const tav::ConfigTree& tree) {
    return {&tree, tree.RootIndex()};
}

inline TreeItem CurrentItem(const tav::ConfigTree& tree) {
    return {&tree, tree.CurrentIndex()};
}

// Every item, each before its children.
inline std::vector<TreeItem> AllItems(const tav::ConfigTree& tree) {
    std::vector<TreeItem> items;
    for (const QModelIndex& index : tree.Model().AllIndexes()) {
        items.emplace_back(&tree, index);
    }
    return items;
}

// The first item whose label starts with `prefix`; throws when there is none.
inline TreeItem ItemStartingWith(const tav::ConfigTree& tree, const std::string& prefix) {
    for (const TreeItem& item : AllItems(tree)) {
        if (item.Text().rfind(prefix, 0) == 0) {
            return item;
        }
    }
    throw std::runtime_error("no item " + prefix);
}

}  // namespace tavtest
