// The configuration tree: the tree view of the open document. It renders the document model,
// maps items to fields and sections, turns the user's gestures (selection, the panel's edits, drag
// and drop) into calls on the model, and updates its items from the model's notifications.
#pragma once

#include <QPoint>
#include <QPointer>
#include <QTreeWidget>
#include <array>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "document/configdocument.h"

class QAction;
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

    // A view of `document`, built at once; it follows the document's changes until destroyed.
    explicit ConfigTree(std::shared_ptr<ConfigDocument> document, QWidget* parent = nullptr);
    ~ConfigTree() override;

    // Empties the tree and builds it again from the document: the root naming the document,
    // "Parameters", every section (kind "SN" under the root, others under "Parameters") and its
    // fields in display order. Expands the root, "Parameters" and the first "SN" section.
    // The tree builds itself whenever the document is opened or started (Reset). When the file
    // opened is the one the tree showed (read again, merged, read back after Save As), the user's
    // view survives the rebuild: the expanded items, the selection (the same catalogue row or
    // place of the replacement list, else the item above it), the scroll position and the
    // window's focus widget. Another file and a new document start as BuildTree leaves them.
    void BuildTree();

    // "String [" from "] Replaced by [" to "]". Texts here and below are UTF-8.
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
    // The selected field's value as the document shows it, else empty.
    std::string SelectedValue() const;
    // Sets the selected field's value in the document (which relabels its item); nothing for
    // other items. Returns the document's refusal (a boolean other than True/False, a character
    // the document's encoding cannot hold), which changes nothing.
    Status SetSelectedValue(const std::string& value);
    // Copies the selected field's label and value into `from` and `to`; leaves both alone for
    // other items.
    void GetSelectedReplacement(std::string& from, std::string& to) const;
    // Sets both texts of the selected replacement entry; nothing for other items. Returns the
    // document's refusal (a from-text it cannot store), which changes nothing.
    Status ModifySelectedReplacement(const std::string& from, const std::string& to);
    // Appends an entry to the document's replacement list (its item appears under the replacement
    // section), expands that section and selects it. Returns why nothing changed: there is no
    // replacement section, or (with a beep) the document refused the entry, e.g. a full list.
    Status AddReplacement(const std::string& from, const std::string& to);
    // Removes the selected replacement entry from the document; the tree then selects another
    // item and reports it, with rows and tags already consistent. Nothing for other items.
    void DeleteSelectedReplacement();
    // The item of section `sectionIndex` (tagged 1000 + index), or nullptr.
    QTreeWidgetItem* SectionItem(int sectionIndex) const;

    // --- Comforts: change marks, context menu, moving by keys, filter ---

    // True when row `row` differs from the document as read or last saved: a catalogue field
    // whose value differs from its saved value, or an entry that is new at its place in the list
    // or differs from the entry saved at that place. Such rows show their items' text in bold.
    bool IsRowChanged(int row) const;
    // Sets the selected field's value back to its saved value, as one undo step of its own.
    // Returns false (and changes nothing) for other items, for a field that has its saved value
    // and for a value the document refuses.
    bool RevertSelectedValue();
    // Moves the selected ordered field before the previous ordered field of its section (up), or
    // the next ordered field of its section before it (down); the field's item stays selected.
    // Returns false, with a beep, for other items and at either end of the section.
    bool MoveSelectedUp();
    bool MoveSelectedDown();
    // The context menu's actions that apply to the selected item, in menu order, each enabled
    // when it can act now: "Revert to saved value" for catalogue fields, "Move up" and
    // "Move down" for ordered fields, "Delete" for replacement entries. Empty for other items.
    // The actions belong to the tree and are shared by every menu it shows.
    QList<QAction*> ContextActions();
    // Shows only the items whose text (a field's label and value) contains `text`, ignoring
    // case, and their ancestors, opening those ancestors; an empty text shows every item. The
    // document, the selection and drag and drop are not affected; the filter stays applied to the
    // items the document's later changes add or relabel.
    void SetFilter(const QString& text);
    const QString& Filter() const { return m_filter; }

    // --- State, for the window and for tests ---
    ConfigDocument& Document() const { return *m_document; }
    QTreeWidgetItem* RootItem() const { return m_rootItem; }
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
    void keyPressEvent(QKeyEvent* event) override;
    void contextMenuEvent(QContextMenuEvent* event) override;

private:
    void BuildImageList();
    QTreeWidgetItem* NewItem(QTreeWidgetItem* parent, const std::string& text, int image);
    QTreeWidgetItem* NewFieldItem(int fieldIndex) const;
    std::string FieldLabel(int fieldIndex) const;
    std::string RootText() const;
    void ReportSelection();

    // Following the document (configtreeview.cpp).
    void OnDocumentChange(const DocumentChange& change);
    std::vector<QTreeWidgetItem*> ItemsOfRow(int row) const;
    void Retag(int from, int delta);
    void InsertEntryItems(int row);
    void RemoveEntryItems(int row);
    void ApplyOrder(std::size_t section);
    QTreeWidgetItem* Recreate(QTreeWidgetItem* item, int index);

    // The view kept across a reopen of the same file (configtreestate.cpp). Items are known by
    // their key: a field's row, a section's tag, or kRootKey / kParametersKey.
    struct ViewState {
        std::vector<int> expanded;
        std::optional<int> current;
        std::optional<int> currentParent;
        QPoint scroll;
        QPointer<QWidget> focus;
    };
    static constexpr int kRootKey = -1;
    static constexpr int kParametersKey = -2;
    bool IsReopen(const DocumentChange& change) const;
    ViewState KeptView() const;
    void RestoreView(const ViewState& state);
    std::optional<int> ItemKey(const QTreeWidgetItem* item) const;
    QTreeWidgetItem* ItemOfKey(std::optional<int> key) const;

    // Comforts (configtreemarks.cpp, configtreemenu.cpp, configtreefilter.cpp).
    void FollowComforts(const DocumentChange& change);
    void MarkRows(int from, int to);
    void CreateContextActions();
    bool MoveSelected(bool up);
    void ShowContextMenu(const QPoint& viewportPos);
    void ApplyFilter(bool openAncestors);
    bool FilterItem(QTreeWidgetItem* item, bool openAncestors);

    // Drag and drop.
    void OnBeginDrag(const QPoint& pressPos);
    void OnMouseMove(const QPoint& pos);
    void FinishDrag();
    bool IsDropTarget(const QTreeWidgetItem* item) const;
    static bool IsInSubtree(const QTreeWidgetItem* item, const QTreeWidgetItem* top);
    void MoveItem(QTreeWidgetItem* item, QTreeWidgetItem* target);
    void SetDropHighlight(QTreeWidgetItem* item);

    std::shared_ptr<ConfigDocument> m_document;
    int m_listenerId = 0;
    bool m_movingItself = false;  // a drop moves its own items; the order change needs no update
    std::array<QIcon, kImageCount> m_imageList;
    QTreeWidgetItem* m_rootItem = nullptr;
    bool m_dragging = false;
    QTreeWidgetItem* m_dragItem = nullptr;
    QTreeWidgetItem* m_dropTarget = nullptr;
    QLabel* m_dragImage = nullptr;
    QPersistentModelIndex m_dropHighlight;
    bool m_imageListReady = false;
    Qt::MouseButtons m_pressButtons = Qt::NoButton;
    QPoint m_pressPos;
    int m_selectionReports = 0;
    QAction* m_revertAction = nullptr;
    QAction* m_moveUpAction = nullptr;
    QAction* m_moveDownAction = nullptr;
    QAction* m_deleteAction = nullptr;
    QString m_filter;
    std::string m_shownPath;  // the file the items show, renamed by Save As
};

}  // namespace tav
