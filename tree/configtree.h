// The configuration tree: the tree view of the open document. It shows ConfigTreeModel through a
// filter (Find), turns the user's gestures (selection, the panel's edits, drag and drop, the
// context menu and its keys) into calls (the selection's edits are ConfigTreeEdits', the drops
// the model's), and keeps what the user sees (the selection, the open sections) while the model
// follows the document.
//
// Indexes given to and returned by the tree's own functions below are the model's (Model()), not
// the filter's: an item hidden by the filter still has one, and stays selected.
#pragma once

#include <QPersistentModelIndex>
#include <QPoint>
#include <QPointer>
#include <QTreeView>
#include <memory>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "document/configdocument.h"
#include "tree/configtreeedits.h"
#include "tree/configtreemodel.h"

class QAction;
class QLabel;
class QMimeData;
class QSortFilterProxyModel;

namespace tav {

class ConfigTree final : public QTreeView {
    Q_OBJECT

public:
    // A view of `document`, built at once; it follows the document's changes until destroyed.
    explicit ConfigTree(std::shared_ptr<ConfigDocument> document, QWidget* parent = nullptr);
    ~ConfigTree() override;

    // Builds the items again from the document: the root naming the document, "Parameters",
    // every section (kind "SN" under the root, others under "Parameters") and its fields in
    // display order. Expands the root, "Parameters" and the first "SN" section.
    // The tree builds itself whenever the document is opened or started (Reset). When the file
    // opened is the one the tree showed (read again, merged, read back after Save As), the user's
    // view survives the rebuild: the expanded items, the selection (the same catalogue row or
    // place of the replacement list, else the item above it), the scroll position and the
    // window's focus widget. Another file and a new document start as BuildTree leaves them.
    void BuildTree();

    // "String [" from "] Replaced by [" to "]". Texts here and below are UTF-8.
    static std::string ReplacementLabel(const std::string& from, const std::string& to);

    // --- Selection queries and edits (the selection is the current item) ---

    // The selected item (invalid: none) and selecting one (invalid: none), reported as
    // selectionReported says.
    QModelIndex CurrentIndex() const { return m_current; }
    void SetCurrentIndex(const QModelIndex& index);
    // Document row of `index`'s field or entry item (no argument: the selection), else -1.
    int FieldIndexOf() const;
    int FieldIndexOf(const QModelIndex& index) const;
    // Section index of the selected section item, or -1.
    int SelectedSectionIndex() const;
    // The labels from below the root to the selection joined by "\", each cut before the
    // character preceding its first "="; empty for the root and for no selection.
    std::string SelectedPath() const;
    // The selected field's type, or nothing when no field is selected.
    std::optional<FieldType> SelectedFieldType() const;
    // The selected section's kind, or nothing when no section is selected.
    std::optional<SectionKind> SelectedSectionKind() const;
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
    // Removes the selected replacement entry from the document; the tree then selects the next
    // item (else the one before, else the section) and reports it, with every row already the
    // document's. Nothing for other items.
    void DeleteSelectedReplacement();

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
    const QString& Filter() const;

    // --- State, for the window and for tests (model indexes) ---
    ConfigDocument& Document() const { return *m_document; }
    ConfigTreeModel& Model() const { return *m_model; }
    QModelIndex RootIndex() const;
    // The item of section `sectionIndex`, or an invalid index.
    QModelIndex SectionIndex(int sectionIndex) const;
    // False for an item the filter hides.
    bool IsShown(const QModelIndex& index) const;
    // Whether `index`'s item is open; an item the filter hides keeps its state for when it shows.
    bool IsOpen(const QModelIndex& index) const;
    void SetOpen(const QModelIndex& index, bool open);
    // The rectangle of `index`'s item in the viewport (empty when it is not shown).
    QRect ItemRect(const QModelIndex& index) const;
    // The model's item at `viewportPos`, or an invalid index.
    QModelIndex IndexAt(const QPoint& viewportPos) const;
    bool IsDragging() const { return m_dragging; }
    QModelIndex DropHighlightIndex() const { return m_dropTarget; }
    // The drag image widget while a drag runs, else nullptr.
    const QLabel* DragImage() const { return m_dragImage; }

signals:
    // The selection moved to another item (or to none), by the user or by a program call; emitted
    // before the call that caused it returns, never for selecting the selected item again. A drop
    // reports the dropped item even when it was selected already.
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
    QModelIndex ToView(const QModelIndex& index) const;
    QModelIndex ToModel(const QModelIndex& viewIndex) const;
    void WatchViewSelection();
    void ReportSelection();
    void OnViewCurrentChanged(const QModelIndex& current);
    void ShowCurrent();
    void OnEntryAboutToBeRemoved(const QModelIndex& index);
    void OnAboutToRebuild();
    void OnRebuilt();
    void ExpandDefaults();
    void SyncOpenItems();

    // The view kept across a reopen of the same file (configtreestate.cpp). Items are known by
    // their key: their kind (a field and an entry alike) and their row or section index.
    using ItemKey = std::pair<ConfigTreeModel::ItemKind, int>;
    struct ViewState {
        std::vector<ItemKey> expanded;
        std::optional<ItemKey> current;
        std::optional<ItemKey> currentParent;
        QPoint scroll;
        QPointer<QWidget> focus;
    };
    bool IsReopen() const;
    ViewState KeptView() const;
    void RestoreView(const ViewState& state);
    std::optional<ItemKey> KeyOf(const QModelIndex& index) const;
    QModelIndex IndexOfKey(const std::optional<ItemKey>& key) const;

    // Comforts (configtreemenu.cpp, configtreefilter.cpp).
    void CreateContextActions();
    bool MoveSelected(bool up);
    void ShowContextMenu(const QPoint& viewportPos);
    // The selection's menu, at its item, for the menu key and Shift+F10.
    void ShowKeyboardMenu();
    // Puts the filter model between the model and the view, for good.
    void UseFilterModel();
    void OpenAncestorsOfMatches(const QModelIndex& viewParent);

    // Drag and drop (configtreedrag.cpp).
    void OnBeginDrag(const QPoint& pressPos);
    void OnMouseMove(const QPoint& pos);
    void FinishDrag();
    void EndDrag();

    std::shared_ptr<ConfigDocument> m_document;
    ConfigTreeEdits m_edits;  // what the selection's edits do to the document
    ConfigTreeModel* m_model = nullptr;
    QSortFilterProxyModel* m_filterModel = nullptr;  // null until Find is first used
    QPersistentModelIndex m_current;
    // The open items, kept here too: the filter takes hidden items out of the view, which then
    // forgets that they were open.
    std::vector<QPersistentModelIndex> m_open;
    int m_syncing = 0;  // > 0 while the tree itself moves the view's current item or opens items
    std::optional<ViewState> m_kept;
    bool m_reportRebuild = false;  // a selection was dropped by the rebuild under way
    QString m_filter;
    bool m_dragging = false;
    QPersistentModelIndex m_dragIndex;
    QPersistentModelIndex m_dropTarget;
    std::unique_ptr<QMimeData> m_dragData;
    QLabel* m_dragImage = nullptr;
    Qt::MouseButtons m_pressButtons = Qt::NoButton;
    QPoint m_pressPos;
    QAction* m_revertAction = nullptr;
    QAction* m_moveUpAction = nullptr;
    QAction* m_moveDownAction = nullptr;
    QAction* m_deleteAction = nullptr;
    std::string m_shownPath;  // the file the items show, renamed by Save As
};

}  // namespace tav
