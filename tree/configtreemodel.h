// The configuration tree's item model: the open document as Qt's views see it. The root names the
// document's file; under it "Parameters" and the sections of kind "SN"; under "Parameters" every
// other section; under each section its fields and replacement entries in display order. The
// model holds no texts of its own: labels, marks and icons are read from the document when a view
// asks, and the document's notifications become Qt's row and data signals, so an edit, an undo or
// a redo updates the views in place (only opening or starting a document resets the model).
#pragma once

#include <QAbstractItemModel>
#include <QIcon>
#include <array>
#include <memory>
#include <string>
#include <vector>

#include "document/configdocument.h"

namespace tav {

class ConfigTreeModel final : public QAbstractItemModel {
    Q_OBJECT

public:
    // What an item stands for, given by ItemKindRole.
    enum class ItemKind { Root, Parameters, Section, Field, OrderedField, Entry };
    // Item data roles besides Qt's: the item's ItemKind (as int), the document row of a field or
    // entry item, the section index of a section item (both -1 for other items).
    enum Role { ItemKindRole = Qt::UserRole + 1, DocumentRowRole, SectionIndexRole };

    static constexpr int kImageCount = 12;
    static constexpr int kRootImage = 0;
    static constexpr int kParametersImage = 1;
    static constexpr int kFieldImage = 10;
    static constexpr int kOrderedFieldImage = 11;
    // The MIME type of a dragged field: its document row as decimal text.
    static constexpr const char* kFieldMimeType = "application/x-tav-field-row";

    // A model of `document`, built at once; it follows the document's changes until destroyed.
    explicit ConfigTreeModel(std::shared_ptr<ConfigDocument> document, QObject* parent = nullptr);
    ~ConfigTreeModel() override;

    // Image `index` of the tree's image table (0 .. kImageCount-1), else a null icon.
    static QIcon ItemImage(int index);
    // "String [" from "] Replaced by [" to "]". Texts here and below are UTF-8.
    static std::string ReplacementLabel(const std::string& from, const std::string& to);

    // Builds every item again from the document (a model reset).
    void Rebuild();

    ConfigDocument& Document() const { return *m_document; }
    QModelIndex RootIndex() const;
    // The item of document row `row` (a field or an entry), or an invalid index.
    QModelIndex IndexOfRow(int row) const;
    // The item of section `section`, or an invalid index.
    QModelIndex IndexOfSection(int section) const;
    // The document row of a field or entry item, else -1.
    int RowOf(const QModelIndex& index) const;
    // The section index of a section item, else -1.
    int SectionOf(const QModelIndex& index) const;
    // The kind of `index`'s item; Root for an invalid index.
    ItemKind KindOf(const QModelIndex& index) const;

    QModelIndex index(int row, int column, const QModelIndex& parent = {}) const override;
    QModelIndex parent(const QModelIndex& child) const override;
    int rowCount(const QModelIndex& parent = {}) const override;
    int columnCount(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;
    Qt::ItemFlags flags(const QModelIndex& index) const override;
    // The one column's title, "Setting": the view hides its header, but screen readers read it.
    QVariant headerData(int section, Qt::Orientation orientation,
                        int role = Qt::DisplayRole) const override;

    // Drag and drop: only an ordered field is dragged, and it is dropped onto another ordered
    // field of its own section (a field dropped into another section would be saved there and
    // read back from its own section, losing the edit), which it then goes right before. The
    // drop is the document's MoveField, one step of its undo history.
    QStringList mimeTypes() const override;
    QMimeData* mimeData(const QModelIndexList& indexes) const override;
    bool canDropMimeData(const QMimeData* data, Qt::DropAction action, int row, int column,
                         const QModelIndex& parent) const override;
    bool dropMimeData(const QMimeData* data, Qt::DropAction action, int row, int column,
                      const QModelIndex& parent) override;
    Qt::DropActions supportedDropActions() const override;
    Qt::DropActions supportedDragActions() const override;
    // The row a field's MIME data carries, or -1 when `data` holds none.
    static int DraggedRow(const QMimeData* data);

    // Every item's index, each before its children: for walking the whole tree.
    std::vector<QModelIndex> AllIndexes() const;

signals:
    // Before the model follows a notification of its document, and after it has.
    void aboutToFollowDocument();
    void documentFollowed();
    // Before the items are built again, while the old ones still stand (the document already
    // holds what they will show), and after the new ones are in place.
    void aboutToRebuild();
    void rebuilt();
    // Entry item `index` is about to go; every row the model reports is already the document's.
    void entryAboutToBeRemoved(const QModelIndex& index);

private:
    struct Node {
        ItemKind kind = ItemKind::Root;
        int row = -1;      // Field, OrderedField, Entry: the document row
        int section = -1;  // Section: the section index
        int position = 0;  // place among the parent's children
        Node* parent = nullptr;
        std::vector<std::unique_ptr<Node>> children;
    };

    void OnDocumentChange(const DocumentChange& change);
    std::unique_ptr<Node> NewRowNode(int row, Node* parent) const;
    static void Renumber(Node& parent, std::size_t from = 0);
    QModelIndex IndexOf(const Node* node) const;
    Node* NodeOf(const QModelIndex& index) const;
    std::string Label(const Node& node) const;
    QVariant Decoration(const Node& node) const;
    void RowChanged(int row);
    void RowsChanged(int from, int to);
    void InsertEntry(int row);
    void RemoveEntry(int row);
    void ApplyOrder(std::size_t section);
    bool IsDropTarget(int draggedRow, const QModelIndex& target) const;

    std::shared_ptr<ConfigDocument> m_document;
    int m_listenerId = 0;
    std::array<QIcon, kImageCount> m_images;
    std::unique_ptr<Node> m_root;
    std::vector<Node*> m_rowNodes;      // by document row; nullptr for a field of no section
    std::vector<Node*> m_sectionNodes;  // by section index
};

}  // namespace tav
