#include "tree/configtree.h"

#include <QApplication>
#include <QLabel>
#include <QMimeData>
#include <QSortFilterProxyModel>
#include <algorithm>

#include "qtbridge/textconv.h"

namespace tav {

using ItemKind = ConfigTreeModel::ItemKind;

ConfigTree::ConfigTree(std::shared_ptr<ConfigDocument> document, QWidget* parent)
    : QTreeView(parent), m_document(std::move(document)), m_edits(*m_document) {
    setHeaderHidden(true);
    setAccessibleName(tr("Settings"));
    setAccessibleDescription(tr("The sections and settings of the document"));
    setRootIsDecorated(false);
    setSelectionMode(QAbstractItemView::SingleSelection);
    // The tree's own gesture drags (configtreedrag.cpp); the drop goes through the model.
    setDragEnabled(false);
    setAcceptDrops(false);
    setIconSize(QSize(20, 16));
    setExpandsOnDoubleClick(true);
    // Every row is one line beside a 20 x 16 image, bold or not: the view need not ask each item
    // for its height when it lays the rows out.
    setUniformRowHeights(true);

    m_model = new ConfigTreeModel(m_document, this);
    // The view shows the model itself until Find is first used (UseFilterModel).
    setModel(m_model);
    WatchViewSelection();
    connect(this, &QTreeView::expanded, this,
            [this](const QModelIndex& viewIndex) { SetOpen(ToModel(viewIndex), true); });
    connect(this, &QTreeView::collapsed, this,
            [this](const QModelIndex& viewIndex) { SetOpen(ToModel(viewIndex), false); });
    // While the model follows the document, the view's current item may be taken out of the
    // filter's rows; the tree's own selection stays where it is.
    connect(m_model, &ConfigTreeModel::aboutToFollowDocument, this, [this] { ++m_syncing; });
    connect(m_model, &ConfigTreeModel::documentFollowed, this, [this] {
        if (!m_filter.isEmpty()) {
            // The filter model misses an ancestor that a changed item's new match brings back.
            m_filterModel->invalidate();
        }
        --m_syncing;
        m_shownPath = m_document->Path();
        SyncOpenItems();
        ShowCurrent();
    });
    connect(m_model, &ConfigTreeModel::aboutToRebuild, this, &ConfigTree::OnAboutToRebuild);
    connect(m_model, &ConfigTreeModel::rebuilt, this, &ConfigTree::OnRebuilt);
    connect(m_model, &ConfigTreeModel::entryAboutToBeRemoved, this,
            &ConfigTree::OnEntryAboutToBeRemoved);
    CreateContextActions();
    m_shownPath = m_document->Path();
    ExpandDefaults();
}

ConfigTree::~ConfigTree() = default;

std::string ConfigTree::ReplacementLabel(const std::string& from, const std::string& to) {
    return ConfigTreeModel::ReplacementLabel(from, to);
}

void ConfigTree::BuildTree() {
    m_model->Rebuild();
}

// --- The view and the model -----------------------------------------------------------------

QModelIndex ConfigTree::ToView(const QModelIndex& index) const {
    if (!index.isValid() || m_filterModel == nullptr) {
        return index;
    }
    return m_filterModel->mapFromSource(index);
}

QModelIndex ConfigTree::ToModel(const QModelIndex& viewIndex) const {
    if (!viewIndex.isValid() || m_filterModel == nullptr) {
        return viewIndex;
    }
    return m_filterModel->mapToSource(viewIndex);
}

void ConfigTree::WatchViewSelection() {
    connect(selectionModel(), &QItemSelectionModel::currentChanged, this,
            [this](const QModelIndex& current) { OnViewCurrentChanged(current); });
}

QModelIndex ConfigTree::RootIndex() const {
    return m_model->RootIndex();
}

QModelIndex ConfigTree::SectionIndex(int sectionIndex) const {
    return m_model->IndexOfSection(sectionIndex);
}

bool ConfigTree::IsShown(const QModelIndex& index) const {
    return ToView(index).isValid();
}

bool ConfigTree::IsOpen(const QModelIndex& index) const {
    return index.isValid() && std::find(m_open.begin(), m_open.end(), index) != m_open.end();
}

void ConfigTree::SetOpen(const QModelIndex& index, bool open) {
    if (!index.isValid()) {
        return;
    }
    const auto at = std::find(m_open.begin(), m_open.end(), index);
    if (open && at == m_open.end()) {
        m_open.emplace_back(index);
    } else if (!open && at != m_open.end()) {
        m_open.erase(at);
    }
    if (const QModelIndex viewIndex = ToView(index);
        viewIndex.isValid() && isExpanded(viewIndex) != open) {
        setExpanded(viewIndex, open);
    }
}

// Opens again the items the filter took out of the view and brought back.
void ConfigTree::SyncOpenItems() {
    std::erase_if(m_open, [](const QPersistentModelIndex& index) { return !index.isValid(); });
    for (const QPersistentModelIndex& index : std::vector(m_open)) {
        if (const QModelIndex viewIndex = ToView(index);
            viewIndex.isValid() && !isExpanded(viewIndex)) {
            setExpanded(viewIndex, true);
        }
    }
}

QRect ConfigTree::ItemRect(const QModelIndex& index) const {
    const QModelIndex viewIndex = ToView(index);
    return viewIndex.isValid() ? visualRect(viewIndex) : QRect();
}

QModelIndex ConfigTree::IndexAt(const QPoint& viewportPos) const {
    return ToModel(indexAt(viewportPos));
}

void ConfigTree::ExpandDefaults() {
    const QModelIndex root = m_model->RootIndex();
    SetOpen(root, true);
    SetOpen(m_model->index(0, 0, root), true);  // "Parameters"
    SetOpen(m_model->index(1, 0, root), true);  // the first section under the root
}

void ConfigTree::OnAboutToRebuild() {
    if (IsReopen()) {
        m_kept = KeptView();
    }
    m_reportRebuild = m_current.isValid();
    EndDrag();
}

void ConfigTree::OnRebuilt() {
    m_open.clear();
    m_current = QPersistentModelIndex();
    ExpandDefaults();
    if (m_reportRebuild) {
        m_reportRebuild = false;
        ReportSelection();  // the old items and the selection are gone
    }
    if (m_kept) {
        const ViewState kept = std::move(*m_kept);
        m_kept.reset();
        RestoreView(kept);
    }
}

// --- Selection ------------------------------------------------------------------------------

void ConfigTree::ReportSelection() {
    // Typing in another item's editor starts a new undo step.
    m_document->EndTyping();
    emit selectionReported();
}

void ConfigTree::SetCurrentIndex(const QModelIndex& index) {
    if (index == m_current) {
        ShowCurrent();
        return;
    }
    m_current = index;
    ShowCurrent();
    ReportSelection();
}

void ConfigTree::OnViewCurrentChanged(const QModelIndex& current) {
    if (m_syncing > 0) {
        return;
    }
    const QModelIndex index = ToModel(current);
    if (index != m_current) {
        m_current = index;
        ReportSelection();
    }
}

// Makes the view's current item the tree's selection, or none while the filter hides it.
void ConfigTree::ShowCurrent() {
    if (m_syncing > 0) {
        return;
    }
    const QModelIndex viewIndex = ToView(m_current);
    if (viewIndex == selectionModel()->currentIndex() &&
        (!viewIndex.isValid() || selectionModel()->isSelected(viewIndex))) {
        return;
    }
    ++m_syncing;
    if (viewIndex.isValid()) {
        setCurrentIndex(viewIndex);
    } else {
        selectionModel()->clear();
    }
    --m_syncing;
}

void ConfigTree::OnEntryAboutToBeRemoved(const QModelIndex& index) {
    if (index != m_current) {
        return;
    }
    // The next item takes the selection, else the one before, else the section; it is reported
    // while every row already is the document's.
    const QModelIndex parent = index.parent();
    const int count = m_model->rowCount(parent);
    const QModelIndex next = index.row() + 1 < count ? m_model->index(index.row() + 1, 0, parent)
                             : index.row() > 0       ? m_model->index(index.row() - 1, 0, parent)
                                                     : parent;
    --m_syncing;  // a selection the user sees moves
    SetCurrentIndex(next);
    ++m_syncing;
}

// --- Queries --------------------------------------------------------------------------------

int ConfigTree::FieldIndexOf() const {
    return FieldIndexOf(m_current);
}

int ConfigTree::FieldIndexOf(const QModelIndex& index) const {
    const int row = m_model->RowOf(index);
    return row < m_document->RowCount() ? row : -1;
}

int ConfigTree::SelectedSectionIndex() const {
    return m_model->SectionOf(m_current);
}

std::string ConfigTree::SelectedPath() const {
    std::string path;
    const QModelIndex root = m_model->RootIndex();
    for (QModelIndex index = m_current; index.isValid() && index != root; index = index.parent()) {
        std::string text = FromQt(index.data(Qt::DisplayRole).toString());
        if (const std::size_t eq = text.find('='); eq != std::string::npos) {
            text.resize(eq == 0 ? 0 : eq - 1);
        }
        path = path.empty() ? text : text + "\\" + path;
    }
    return path;
}

std::optional<FieldType> ConfigTree::SelectedFieldType() const {
    if (const int f = FieldIndexOf(); f >= 0) {
        return m_document->Row(static_cast<std::uint16_t>(f)).type;
    }
    return std::nullopt;
}

std::optional<SectionKind> ConfigTree::SelectedSectionKind() const {
    if (const int s = SelectedSectionIndex(); s >= 0) {
        return m_document->Defs().sections[static_cast<std::size_t>(s)].kind;
    }
    return std::nullopt;
}

std::string ConfigTree::SelectedValue() const {
    const int f = FieldIndexOf();
    return f < 0 ? std::string() : m_document->Value(static_cast<std::uint16_t>(f));
}

void ConfigTree::GetSelectedReplacement(std::string& from, std::string& to) const {
    if (const int f = FieldIndexOf(); f >= 0) {
        from = m_document->Label(static_cast<std::uint16_t>(f));
        to = m_document->Value(static_cast<std::uint16_t>(f));
    }
}

// --- Edits ----------------------------------------------------------------------------------

Status ConfigTree::SetSelectedValue(const std::string& value) {
    return m_edits.SetValue(FieldIndexOf(), value);
}

Status ConfigTree::ModifySelectedReplacement(const std::string& from, const std::string& to) {
    return m_edits.ModifyEntry(FieldIndexOf(), from, to);
}

Status ConfigTree::AddReplacement(const std::string& from, const std::string& to) {
    // The document decides (no replacement section, a full list) and its notification puts the
    // entry's item in place.
    const auto added = m_document->AddEntry(from, to);
    const std::optional<std::size_t> s = m_document->Defs().ReplacementSectionIndex();
    if (!added) {
        if (s) {
            QApplication::beep();  // a refused entry, not a catalogue without the list
        }
        return added.Error();
    }
    const QModelIndex section = SectionIndex(static_cast<int>(*s));
    SetOpen(section, true);
    SetCurrentIndex(section);
    return {};
}

void ConfigTree::DeleteSelectedReplacement() {
    // The document's notification takes the item out and reports the new selection.
    m_edits.RemoveEntry(FieldIndexOf());
}

}  // namespace tav
