// The configuration tree: the tree view of the main window together with everything the editor
// knows about the open document (both catalogues, every value, the document's path and name), the
// selection queries and edits the window calls, and drag-and-drop reordering of ordered fields.
#pragma once

#include <QPoint>
#include <QTreeWidget>
#include <array>
#include <optional>
#include <string>

#include "catalog/fieldcatalog.h"
#include "catalog/sectioncatalog.h"
#include "document/displayorder.h"

class QLabel;

namespace tav {

class ConfigTree final : public QTreeWidget {
    Q_OBJECT

public:
    // Item data role of the ItemTag: a field item holds its field index (0..127), a section item
    // 1000 + its section index. The root and "Parameters" items hold no data at all, so they are
    // never taken for field 0.
    static constexpr int ItemTagRole = Qt::UserRole + 1;
    static constexpr int kSectionTagBase = 1000;
    static constexpr int kImageCount = 12;
    static constexpr int kRootImage = 0;
    static constexpr int kParametersImage = 1;
    static constexpr int kFieldImage = 10;
    static constexpr int kOrderedFieldImage = 11;

    // Loads Sections.txt and Fields.txt from `catalogueFolder`; every catalogue problem, now and at
    // every later reload of the fields, and every warning of a document read goes to `report`.
    ConfigTree(const std::string& catalogueFolder, CatalogReporter report,
               QWidget* parent = nullptr);
    ~ConfigTree() override;

    // --- Document ---

    // Reads the document at `path` (empty: a new document) into the field catalogue, discarding
    // every value and replacement of the previous one, and makes `path` and `name` the document's
    // path and name. A file that does not exist reads as a document without keys. A file that
    // exists but cannot be read is returned as an error and nothing changes. The caller rebuilds
    // the tree.
    std::optional<FileError> ReadDocument(const std::string& path, const std::string& name);

    // Writes the tree's content to `path`, or to the current document path when `path` is empty,
    // in display order (see SaveDocumentFile). On success a non-empty `path` becomes the document
    // path; on failure (also: no path at all) nothing changes and the error is returned.
    std::optional<FileError> SaveDocument(const std::string& path);

    // Empties the tree and builds it again from the catalogues: the root naming the document,
    // "Parameters", every section (kind "SN" under the root, others under "Parameters") and its
    // fields in display order. Expands the root, "Parameters" and the first "SN" section.
    void BuildTree();

    // The current local time as "%d/%m/%Y (%H:%M:%S)".
    std::string CurrentTimeText() const;

    // "String [" from "] Replaced by [" to "]".
    static std::string ReplacementLabel(const std::string& from, const std::string& to);

    // --- Selection queries and edits (the selection is the current item) ---

    // Field index of `item` (nullptr: the selection), or -1 when it is not a field item.
    int FieldIndexOf(const QTreeWidgetItem* item = nullptr) const;
    // Section index of the selected section item, or -1.
    int SelectedSectionIndex() const;
    // The labels from below the root to the selection joined by "\", each cut before the
    // character preceding its first "="; empty for the root and for no selection.
    std::string SelectedPath() const;
    // The selected field's type, else the selected section's kind, else empty.
    std::string SelectedType() const;
    // The selected field's value, else empty.
    std::string SelectedValue() const;
    // Stores `value` in the selected field and relabels its item; nothing for other items.
    void SetSelectedValue(const std::string& value);
    // Copies the selected field's label and value into `from` and `to`; leaves both alone for
    // other items.
    void GetSelectedReplacement(std::string& from, std::string& to) const;
    // Stores both texts in the selected field and gives its item the replacement label.
    void ModifySelectedReplacement(const std::string& from, const std::string& to);
    // Appends a replacement row and its item under the replacement section, expands that section
    // and selects its item. Returns false, changing nothing, when there is no replacement section;
    // beeps and returns false when the table refuses the row (full, or 13 entries already).
    bool AddReplacement(const std::string& from, const std::string& to);
    // Removes the selected replacement's row and item; the tree then selects another item and
    // reports it, with rows and tags already consistent. Nothing for other items.
    void DeleteSelectedReplacement();
    // First item below the root, in display order, whose text equals `label` exactly.
    QTreeWidgetItem* FindSectionItem(const std::string& label) const;
    // The item of section `sectionIndex` (tagged 1000 + index), or nullptr.
    QTreeWidgetItem* SectionItem(int sectionIndex) const;

    // --- State, for the window and for tests ---
    const SectionCatalog& Sections() const { return m_sections; }
    const FieldCatalog& Fields() const { return m_fields; }
    const std::string& DocPath() const { return m_docPath; }
    const std::string& DocName() const { return m_docName; }
    QTreeWidgetItem* RootItem() const { return m_rootItem; }
    // The field indexes under each section item, in display order.
    DisplayOrder TreeDisplayOrder() const;
    bool IsDragging() const { return m_dragging; }
    QTreeWidgetItem* DropHighlightItem() const;
    // The drag image widget while a drag runs, else nullptr.
    const QLabel* DragImage() const { return m_dragImage; }
    static QIcon ItemImage(int index);

signals:
    // The selection moved to another item (or to none), by the user or by a program call; emitted
    // before the call that caused it returns, never for selecting the selected item again.
    void selectionReported();

protected:
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void drawRow(QPainter* painter, const QStyleOptionViewItem& option,
                 const QModelIndex& index) const override;

private:
    void BuildImageList();
    QTreeWidgetItem* NewItem(QTreeWidgetItem* parent, const std::string& text, int image);
    QTreeWidgetItem* InsertFieldItem(QTreeWidgetItem* sectionItem, int fieldIndex);
    std::string FieldLabel(int fieldIndex) const;
    void ReportSelection();

    // Drag and drop.
    void OnBeginDrag(const QPoint& pressPos);
    void OnMouseMove(const QPoint& pos);
    void FinishDrag();
    bool IsDropTarget(const QTreeWidgetItem* item) const;
    static bool IsInSubtree(const QTreeWidgetItem* item, const QTreeWidgetItem* top);
    bool MoveItem(QTreeWidgetItem* item, QTreeWidgetItem* target);
    void SetDropHighlight(QTreeWidgetItem* item);

    std::array<QIcon, kImageCount> m_imageList;
    QTreeWidgetItem* m_rootItem = nullptr;
    SectionCatalog m_sections;
    FieldCatalog m_fields;
    CatalogReporter m_report;
    bool m_dragging = false;
    QTreeWidgetItem* m_dragItem = nullptr;
    QTreeWidgetItem* m_dropTarget = nullptr;
    QLabel* m_dragImage = nullptr;
    QPersistentModelIndex m_dropHighlight;
    std::string m_docPath;
    std::string m_docName;
    bool m_imageListReady = false;
    Qt::MouseButtons m_pressButtons = Qt::NoButton;
    QPoint m_pressPos;
    int m_selectionReports = 0;
};

}  // namespace tav
