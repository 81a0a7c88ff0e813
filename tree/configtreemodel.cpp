#include "tree/configtreemodel.h"

#include <QFont>
#include <QMimeData>
#include <algorithm>

#include "qtbridge/textconv.h"
#include "resources/images.h"

namespace tav {

namespace {

constexpr const char* kRootPrefix = "File : [";
constexpr const char* kParameters = "Parameters";

// The catalogue's questions the tree asks, each in one place.
bool IsReplacementRow(const DocumentRow& field) {
    return field.type == FieldType::Replacement;
}

bool IsUnderRoot(const SectionDef& section) {
    return section.kind == SectionKind::Root;
}

}  // namespace

ConfigTreeModel::ConfigTreeModel(std::shared_ptr<ConfigDocument> document, QObject* parent)
    : QAbstractItemModel(parent), m_document(std::move(document)) {
    for (int i = 0; i < kImageCount; ++i) {
        m_images[static_cast<std::size_t>(i)] = ItemImage(i);
    }
    m_listenerId =
        m_document->AddListener([this](const DocumentChange& change) { OnDocumentChange(change); });
    Rebuild();
}

ConfigTreeModel::~ConfigTreeModel() {
    m_document->RemoveListener(m_listenerId);
}

QIcon ConfigTreeModel::ItemImage(int index) {
    if (index < 0 || index >= kImageCount) {
        return QIcon();
    }
    const std::string name = std::string(index < 10 ? "tree0" : "tree") + std::to_string(index);
    return ProgramImage(name);
}

std::string ConfigTreeModel::ReplacementLabel(const std::string& from, const std::string& to) {
    return "String [" + from + "] Replaced by [" + to + "]";
}

// --- Building -------------------------------------------------------------------------------

std::unique_ptr<ConfigTreeModel::Node> ConfigTreeModel::NewRowNode(int row, Node* parent) const {
    auto node = std::make_unique<Node>();
    const auto r = static_cast<std::uint16_t>(row);
    node->kind = m_document->IsEntryRow(r)          ? ItemKind::Entry
                 : m_document->Row(r).orderPos != 0 ? ItemKind::OrderedField
                                                    : ItemKind::Field;
    node->row = row;
    node->parent = parent;
    return node;
}

void ConfigTreeModel::Renumber(Node& parent, std::size_t from) {
    for (std::size_t i = from; i < parent.children.size(); ++i) {
        parent.children[i]->position = static_cast<int>(i);
    }
}

void ConfigTreeModel::Rebuild() {
    emit aboutToRebuild();
    beginResetModel();
    // m_root is the invisible top; its one child is the item that names the file.
    m_root = std::make_unique<Node>();
    auto& fileNode = m_root->children.emplace_back(std::make_unique<Node>());
    fileNode->parent = m_root.get();
    Node* file = fileNode.get();
    auto& parametersNode = file->children.emplace_back(std::make_unique<Node>());
    parametersNode->kind = ItemKind::Parameters;
    parametersNode->parent = file;
    Node* parameters = parametersNode.get();

    const SectionCatalog& sections = m_document->Defs().sections;
    const DisplayOrder& order = m_document->Order();
    m_rowNodes.assign(m_document->RowCount(), nullptr);
    m_sectionNodes.assign(static_cast<std::size_t>(sections.Count()), nullptr);
    for (std::size_t s = 0; s < static_cast<std::size_t>(sections.Count()); ++s) {
        Node* parent = IsUnderRoot(sections[s]) ? file : parameters;
        auto& section = parent->children.emplace_back(std::make_unique<Node>());
        section->kind = ItemKind::Section;
        section->section = static_cast<int>(s);
        section->parent = parent;
        section->position = static_cast<int>(parent->children.size()) - 1;
        m_sectionNodes[s] = section.get();
        for (const std::uint16_t row : order[s]) {
            auto& child = section->children.emplace_back(NewRowNode(row, section.get()));
            child->position = static_cast<int>(section->children.size()) - 1;
            m_rowNodes[row] = child.get();
        }
    }
    endResetModel();
    emit rebuilt();
}

// --- Following the document -------------------------------------------------------------------

void ConfigTreeModel::OnDocumentChange(const DocumentChange& change) {
    if (change.kind == DocumentChange::Kind::History) {
        return;  // nothing the items show
    }
    emit aboutToFollowDocument();
    switch (change.kind) {
        case DocumentChange::Kind::Reset:
            Rebuild();
            break;
        case DocumentChange::Kind::Value:
            RowChanged(change.row);
            break;
        case DocumentChange::Kind::EntryAdded:
            InsertEntry(change.row);
            // Every later entry moved to another place of the list, so it compares with another
            // saved entry now: its mark may differ.
            RowsChanged(change.row + 1, m_document->RowCount());
            break;
        case DocumentChange::Kind::EntryRemoved:
            RemoveEntry(change.row);
            RowsChanged(change.row, m_document->RowCount());
            break;
        case DocumentChange::Kind::Order:
            ApplyOrder(change.section);
            break;
        case DocumentChange::Kind::Saved: {
            // The root names the file; the reference of every mark moved.
            const QModelIndex root = RootIndex();
            emit dataChanged(root, root, {Qt::DisplayRole});
            RowsChanged(0, m_document->RowCount());
            break;
        }
        case DocumentChange::Kind::History:
            break;
    }
    emit documentFollowed();
}

void ConfigTreeModel::RowChanged(int row) {
    if (const QModelIndex index = IndexOfRow(row); index.isValid()) {
        emit dataChanged(index, index, {Qt::DisplayRole, Qt::FontRole});
    }
}

void ConfigTreeModel::RowsChanged(int from, int to) {
    for (int row = from; row < to; ++row) {
        RowChanged(row);
    }
}

void ConfigTreeModel::InsertEntry(int row) {
    for (Node* node : m_rowNodes) {
        if (node != nullptr && node->row >= row) {
            ++node->row;
        }
    }
    m_rowNodes.insert(m_rowNodes.begin() + row, nullptr);
    const DisplayOrder& order = m_document->Order();
    for (std::size_t s = 0; s < order.size() && s < m_sectionNodes.size(); ++s) {
        const auto at = std::find(order[s].begin(), order[s].end(), row);
        if (at == order[s].end()) {
            continue;
        }
        Node* section = m_sectionNodes[s];
        const auto position = static_cast<int>(
            std::min<std::ptrdiff_t>(at - order[s].begin(), std::ssize(section->children)));
        beginInsertRows(IndexOf(section), position, position);
        auto node = NewRowNode(row, section);
        m_rowNodes[static_cast<std::size_t>(row)] = node.get();
        section->children.insert(section->children.begin() + position, std::move(node));
        Renumber(*section, static_cast<std::size_t>(position));
        endInsertRows();
        return;
    }
}

void ConfigTreeModel::RemoveEntry(int row) {
    if (row < 0 || row >= std::ssize(m_rowNodes)) {
        return;
    }
    Node* node = m_rowNodes[static_cast<std::size_t>(row)];
    m_rowNodes.erase(m_rowNodes.begin() + row);
    // The rows are the document's again before anyone hears of the removal.
    for (Node* other : m_rowNodes) {
        if (other != nullptr && other->row > row) {
            --other->row;
        }
    }
    if (node == nullptr) {
        return;
    }
    node->row = -1;
    emit entryAboutToBeRemoved(IndexOf(node));
    Node* parent = node->parent;
    const int position = node->position;
    beginRemoveRows(IndexOf(parent), position, position);
    parent->children.erase(parent->children.begin() + position);
    Renumber(*parent, static_cast<std::size_t>(position));
    endRemoveRows();
}

// Puts the items of section `section` into the document's order, moving each that is out of
// place (views keep their selection and expansion on a moved item).
void ConfigTreeModel::ApplyOrder(std::size_t section) {
    if (section >= m_sectionNodes.size()) {
        return;
    }
    Node* parent = m_sectionNodes[section];
    const QModelIndex parentIndex = IndexOf(parent);
    const std::vector<std::uint16_t>& rows = m_document->Order()[section];
    auto& children = parent->children;
    for (std::size_t i = 0; i < rows.size() && i < children.size(); ++i) {
        if (children[i]->row == rows[i]) {
            continue;
        }
        for (std::size_t j = i + 1; j < children.size(); ++j) {
            if (children[j]->row != rows[i]) {
                continue;
            }
            beginMoveRows(parentIndex, static_cast<int>(j), static_cast<int>(j), parentIndex,
                          static_cast<int>(i));
            std::rotate(children.begin() + static_cast<std::ptrdiff_t>(i),
                        children.begin() + static_cast<std::ptrdiff_t>(j),
                        children.begin() + static_cast<std::ptrdiff_t>(j) + 1);
            Renumber(*parent, i);
            endMoveRows();
            break;
        }
    }
}

// --- Look-ups -------------------------------------------------------------------------------

QModelIndex ConfigTreeModel::IndexOf(const Node* node) const {
    if (node == nullptr || node == m_root.get()) {
        return {};
    }
    return createIndex(node->position, 0, const_cast<Node*>(node));
}

ConfigTreeModel::Node* ConfigTreeModel::NodeOf(const QModelIndex& index) const {
    if (!index.isValid() || index.model() != this) {
        return nullptr;
    }
    return static_cast<Node*>(index.internalPointer());
}

QModelIndex ConfigTreeModel::RootIndex() const {
    return IndexOf(m_root->children.front().get());
}

QModelIndex ConfigTreeModel::IndexOfRow(int row) const {
    return row < 0 || row >= std::ssize(m_rowNodes)
               ? QModelIndex()
               : IndexOf(m_rowNodes[static_cast<std::size_t>(row)]);
}

QModelIndex ConfigTreeModel::IndexOfSection(int section) const {
    return section < 0 || section >= std::ssize(m_sectionNodes)
               ? QModelIndex()
               : IndexOf(m_sectionNodes[static_cast<std::size_t>(section)]);
}

int ConfigTreeModel::RowOf(const QModelIndex& index) const {
    const Node* node = NodeOf(index);
    return node == nullptr ? -1 : node->row;
}

int ConfigTreeModel::SectionOf(const QModelIndex& index) const {
    const Node* node = NodeOf(index);
    return node == nullptr ? -1 : node->section;
}

ConfigTreeModel::ItemKind ConfigTreeModel::KindOf(const QModelIndex& index) const {
    const Node* node = NodeOf(index);
    return node == nullptr ? ItemKind::Root : node->kind;
}

std::vector<QModelIndex> ConfigTreeModel::AllIndexes() const {
    std::vector<QModelIndex> all;
    std::vector<const Node*> pending = {m_root->children.front().get()};
    while (!pending.empty()) {
        const Node* node = pending.back();
        pending.pop_back();
        all.push_back(IndexOf(node));
        for (auto it = node->children.rbegin(); it != node->children.rend(); ++it) {
            pending.push_back(it->get());
        }
    }
    return all;
}

// --- QAbstractItemModel -----------------------------------------------------------------------

QModelIndex ConfigTreeModel::index(int row, int column, const QModelIndex& parent) const {
    const Node* node = parent.isValid() ? NodeOf(parent) : m_root.get();
    if (node == nullptr || column != 0 || row < 0 || row >= std::ssize(node->children)) {
        return {};
    }
    return IndexOf(node->children[static_cast<std::size_t>(row)].get());
}

QModelIndex ConfigTreeModel::parent(const QModelIndex& child) const {
    const Node* node = NodeOf(child);
    return node == nullptr ? QModelIndex() : IndexOf(node->parent);
}

int ConfigTreeModel::rowCount(const QModelIndex& parent) const {
    if (parent.column() > 0) {
        return 0;
    }
    const Node* node = parent.isValid() ? NodeOf(parent) : m_root.get();
    return node == nullptr ? 0 : static_cast<int>(node->children.size());
}

int ConfigTreeModel::columnCount(const QModelIndex&) const {
    return 1;
}

QVariant ConfigTreeModel::headerData(int section, Qt::Orientation orientation, int role) const {
    if (section == 0 && orientation == Qt::Horizontal && role == Qt::DisplayRole) {
        return tr("Setting");
    }
    return QAbstractItemModel::headerData(section, orientation, role);
}

std::string ConfigTreeModel::Label(const Node& node) const {
    switch (node.kind) {
        case ItemKind::Root: {
            const bool named = !m_document->Name().empty();
            return std::string(kRootPrefix) + (named ? m_document->Path() : "none") + "]";
        }
        case ItemKind::Parameters:
            return kParameters;
        case ItemKind::Section:
            return m_document->Defs().SectionLabel(static_cast<std::size_t>(node.section));
        case ItemKind::Field:
        case ItemKind::OrderedField:
        case ItemKind::Entry:
            break;
    }
    const auto row = static_cast<std::uint16_t>(node.row);
    if (IsReplacementRow(m_document->Row(row))) {
        return ReplacementLabel(m_document->Label(row), m_document->Value(row));
    }
    return m_document->Label(row) + " = \"" + m_document->Value(row) + "\"";
}

QVariant ConfigTreeModel::Decoration(const Node& node) const {
    int image = kFieldImage;
    switch (node.kind) {
        case ItemKind::Root:
            image = kRootImage;
            break;
        case ItemKind::Parameters:
            image = kParametersImage;
            break;
        case ItemKind::Section:
            image = m_document->Defs().sections[static_cast<std::size_t>(node.section)].icon;
            break;
        case ItemKind::Field:
        case ItemKind::OrderedField:
        case ItemKind::Entry:
            image = m_document->Row(static_cast<std::uint16_t>(node.row)).orderPos == 0
                        ? kFieldImage
                        : kOrderedFieldImage;
            break;
    }
    if (image < 0 || image >= kImageCount) {
        return {};
    }
    return m_images[static_cast<std::size_t>(image)];
}

QVariant ConfigTreeModel::data(const QModelIndex& index, int role) const {
    const Node* node = NodeOf(index);
    const bool rowKind = node != nullptr && node->kind != ItemKind::Root &&
                         node->kind != ItemKind::Parameters && node->kind != ItemKind::Section;
    if (node == nullptr || (rowKind && (node->row < 0 || node->row >= m_document->RowCount()))) {
        return {};  // no item, or an entry's item on its way out: the document has no row for it
    }
    switch (role) {
        case Qt::DisplayRole:
            return ToQt(Label(*node));
        case Qt::DecorationRole:
            return Decoration(*node);
        case Qt::FontRole:
            // A change mark; only the weight is set, so the view's own font shows through.
            if (node->row >= 0 && m_document->IsRowChanged(static_cast<std::uint16_t>(node->row))) {
                QFont bold;
                bold.setBold(true);
                return bold;
            }
            return {};
        case ItemKindRole:
            return static_cast<int>(node->kind);
        case DocumentRowRole:
            return node->row;
        case SectionIndexRole:
            return node->section;
        default:
            return {};
    }
}

Qt::ItemFlags ConfigTreeModel::flags(const QModelIndex& index) const {
    const Node* node = NodeOf(index);
    if (node == nullptr) {
        return Qt::NoItemFlags;
    }
    Qt::ItemFlags flags = Qt::ItemIsEnabled | Qt::ItemIsSelectable;
    if (node->kind == ItemKind::OrderedField) {
        flags |= Qt::ItemIsDragEnabled | Qt::ItemIsDropEnabled;
    }
    return flags;
}

// --- Drag and drop --------------------------------------------------------------------------

QStringList ConfigTreeModel::mimeTypes() const {
    return {QString::fromLatin1(kFieldMimeType)};
}

QMimeData* ConfigTreeModel::mimeData(const QModelIndexList& indexes) const {
    if (indexes.size() != 1 || KindOf(indexes.front()) != ItemKind::OrderedField) {
        return nullptr;
    }
    auto* data = new QMimeData();
    data->setData(QString::fromLatin1(kFieldMimeType), QByteArray::number(RowOf(indexes.front())));
    return data;
}

int ConfigTreeModel::DraggedRow(const QMimeData* data) {
    if (data == nullptr || !data->hasFormat(QString::fromLatin1(kFieldMimeType))) {
        return -1;
    }
    bool ok = false;
    const int row = data->data(QString::fromLatin1(kFieldMimeType)).toInt(&ok);
    return ok ? row : -1;
}

bool ConfigTreeModel::IsDropTarget(int draggedRow, const QModelIndex& target) const {
    const Node* dragged = NodeOf(IndexOfRow(draggedRow));
    const Node* onto = NodeOf(target);
    return dragged != nullptr && onto != nullptr && dragged != onto &&
           dragged->kind == ItemKind::OrderedField && onto->kind == ItemKind::OrderedField &&
           dragged->parent == onto->parent;
}

bool ConfigTreeModel::canDropMimeData(const QMimeData* data, Qt::DropAction action, int row,
                                      int column, const QModelIndex& parent) const {
    // Only a drop onto an item (row -1) names the field the dropped one goes before.
    return action == Qt::MoveAction && row < 0 && column <= 0 &&
           IsDropTarget(DraggedRow(data), parent);
}

bool ConfigTreeModel::dropMimeData(const QMimeData* data, Qt::DropAction action, int row,
                                   int column, const QModelIndex& parent) {
    if (!canDropMimeData(data, action, row, column, parent)) {
        return false;
    }
    // The document's order notification moves the items.
    return static_cast<bool>(m_document->MoveField(static_cast<std::uint16_t>(DraggedRow(data)),
                                                   static_cast<std::uint16_t>(RowOf(parent))));
}

Qt::DropActions ConfigTreeModel::supportedDropActions() const {
    return Qt::MoveAction;
}

Qt::DropActions ConfigTreeModel::supportedDragActions() const {
    return Qt::MoveAction;
}

}  // namespace tav
