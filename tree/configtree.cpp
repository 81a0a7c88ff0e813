#include "tree/configtree.h"

#include <QApplication>
#include <QLabel>
#include <QMouseEvent>
#include <QPainter>
#include <QTreeWidgetItemIterator>

#include "qtbridge/textconv.h"
#include "resources/images.h"

namespace tav {

namespace {

constexpr const char* kRootPrefix = "File : [";
constexpr const char* kParameters = "Parameters";

}  // namespace

ConfigTree::ConfigTree(std::shared_ptr<ConfigDocument> document, QWidget* parent)
    : QTreeWidget(parent), m_document(std::move(document)) {
    setHeaderHidden(true);
    setColumnCount(1);
    setRootIsDecorated(false);
    setSelectionMode(QAbstractItemView::SingleSelection);
    setDragEnabled(false);
    setAcceptDrops(false);
    setIconSize(QSize(20, 16));
    setExpandsOnDoubleClick(true);
    // Every row is one line beside a 20 x 16 image, bold or not: the view need not ask each item
    // for its height when it lays the rows out.
    setUniformRowHeights(true);
    connect(this, &QTreeWidget::currentItemChanged, this,
            [this](QTreeWidgetItem* current, QTreeWidgetItem* previous) {
                if (current != previous) {
                    ReportSelection();
                }
            });
    m_listenerId = m_document->AddListener([this](const DocumentChange& change) {
        const std::optional<ViewState> kept =
            IsReopen(change) ? std::optional<ViewState>(KeptView()) : std::nullopt;
        OnDocumentChange(change);
        FollowComforts(change);  // after the items are in place
        if (kept) {
            RestoreView(*kept);  // after the filter has hidden what it hides
        }
    });
    CreateContextActions();
    BuildTree();
}

ConfigTree::~ConfigTree() {
    m_document->RemoveListener(m_listenerId);
}

void ConfigTree::ReportSelection() {
    // Typing in another item's editor starts a new undo step.
    m_document->EndTyping();
    ++m_selectionReports;
    emit selectionReported();
}

// --- Building -------------------------------------------------------------------------------

QIcon ConfigTree::ItemImage(int index) {
    if (index < 0 || index >= kImageCount) {
        return QIcon();
    }
    const std::string name = std::string(index < 10 ? "tree0" : "tree") + std::to_string(index);
    return ProgramImage(name);
}

void ConfigTree::BuildImageList() {
    if (m_imageListReady) {
        return;
    }
    m_imageListReady = true;
    for (int i = 0; i < kImageCount; ++i) {
        m_imageList[static_cast<std::size_t>(i)] = ItemImage(i);
    }
}

QTreeWidgetItem* ConfigTree::NewItem(QTreeWidgetItem* parent, const std::string& text, int image) {
    auto* item = parent == nullptr ? new QTreeWidgetItem() : new QTreeWidgetItem(parent);
    item->setText(0, ToQt(text));
    if (image >= 0 && image < kImageCount) {
        item->setIcon(0, m_imageList[static_cast<std::size_t>(image)]);
    }
    return item;
}

std::string ConfigTree::ReplacementLabel(const std::string& from, const std::string& to) {
    return "String [" + from + "] Replaced by [" + to + "]";
}

std::string ConfigTree::FieldLabel(int fieldIndex) const {
    const auto row = static_cast<std::uint16_t>(fieldIndex);
    if (m_document->Row(row).type == FieldType::Replacement) {
        return ReplacementLabel(m_document->Label(row), m_document->Value(row));
    }
    return m_document->Label(row) + " = \"" + m_document->Value(row) + "\"";
}

std::string ConfigTree::RootText() const {
    const std::string& name = m_document->Name();
    return std::string(kRootPrefix) + (name.empty() ? "none" : m_document->Path()) + "]";
}

QTreeWidgetItem* ConfigTree::NewFieldItem(int fieldIndex) const {
    const FieldDef& field = m_document->Row(static_cast<std::uint16_t>(fieldIndex));
    auto* item = new QTreeWidgetItem();
    item->setText(0, ToQt(FieldLabel(fieldIndex)));
    item->setIcon(0, m_imageList[field.orderPos == 0 ? kFieldImage : kOrderedFieldImage]);
    item->setData(0, ItemTagRole, fieldIndex);
    return item;
}

void ConfigTree::BuildTree() {
    BuildImageList();
    m_shownPath = m_document->Path();
    const std::string rootText = RootText();
    m_dragging = false;
    m_dragItem = m_dropTarget = nullptr;
    SetDropHighlight(nullptr);
    clear();
    m_rootItem = NewItem(nullptr, rootText, kRootImage);
    QTreeWidgetItem* parameters = NewItem(m_rootItem, kParameters, kParametersImage);
    const SectionCatalog& sections = m_document->Defs().sections;
    const DisplayOrder& order = m_document->Order();
    for (int s = 0; s < sections.Count(); ++s) {
        const SectionDef& section = sections[static_cast<std::size_t>(s)];
        QTreeWidgetItem* parent = section.kind == SectionKind::Root ? m_rootItem : parameters;
        QTreeWidgetItem* sectionItem = NewItem(
            parent, m_document->Defs().SectionLabel(static_cast<std::size_t>(s)), section.icon);
        sectionItem->setData(0, ItemTagRole, kSectionTagBase + s);
        for (const std::uint16_t f : order[static_cast<std::size_t>(s)]) {
            sectionItem->addChild(NewFieldItem(f));
        }
    }
    // The whole tree is built detached and inserted at once: one insertion for the view instead of
    // one per item.
    addTopLevelItem(m_rootItem);
    m_rootItem->setExpanded(true);
    parameters->setExpanded(true);
    if (m_rootItem->childCount() > 1) {
        m_rootItem->child(1)->setExpanded(true);
    }
}

// --- Queries --------------------------------------------------------------------------------

int ConfigTree::FieldIndexOf(const QTreeWidgetItem* item) const {
    if (item == nullptr) {
        item = currentItem();
    }
    if (item == nullptr) {
        return -1;
    }
    const QVariant tag = item->data(0, ItemTagRole);
    if (!tag.isValid() || tag.toInt() >= kSectionTagBase || tag.toInt() >= m_document->RowCount()) {
        return -1;
    }
    return tag.toInt();
}

int ConfigTree::SelectedSectionIndex() const {
    const QTreeWidgetItem* item = currentItem();
    if (item == nullptr) {
        return -1;
    }
    const QVariant tag = item->data(0, ItemTagRole);
    if (!tag.isValid() || tag.toInt() < kSectionTagBase) {
        return -1;
    }
    return tag.toInt() - kSectionTagBase;
}

std::string ConfigTree::SelectedPath() const {
    std::string path;
    for (const QTreeWidgetItem* item = currentItem(); item != nullptr && item != topLevelItem(0);
         item = item->parent()) {
        std::string text = FromQt(item->text(0));
        if (const std::size_t eq = text.find('='); eq != std::string::npos) {
            text.resize(eq == 0 ? 0 : eq - 1);
        }
        path = path.empty() ? text : text + "\\" + path;
    }
    return path;
}

std::string ConfigTree::SelectedType() const {
    if (const int f = FieldIndexOf(); f >= 0) {
        return m_document->Row(static_cast<std::uint16_t>(f)).typeCode;
    }
    if (const int s = SelectedSectionIndex(); s >= 0) {
        return m_document->Defs().sections[static_cast<std::size_t>(s)].kindCode;
    }
    return {};
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

QTreeWidgetItem* ConfigTree::SectionItem(int sectionIndex) const {
    for (QTreeWidgetItemIterator it(const_cast<ConfigTree*>(this)); *it != nullptr; ++it) {
        const QVariant tag = (*it)->data(0, ItemTagRole);
        if (tag.isValid() && tag.toInt() == kSectionTagBase + sectionIndex) {
            return *it;
        }
    }
    return nullptr;
}

// --- Edits ----------------------------------------------------------------------------------

Status ConfigTree::SetSelectedValue(const std::string& value) {
    if (const int f = FieldIndexOf();
        f >= 0 && !m_document->IsEntryRow(static_cast<std::uint16_t>(f))) {
        return m_document->SetValue(static_cast<std::uint16_t>(f), value);
    }
    return {};
}

Status ConfigTree::ModifySelectedReplacement(const std::string& from, const std::string& to) {
    const int f = FieldIndexOf();
    if (f < 0 || !m_document->IsEntryRow(static_cast<std::uint16_t>(f))) {
        return {};
    }
    return m_document->ModifyEntry(static_cast<std::uint16_t>(f), from, to);
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
    QTreeWidgetItem* sectionItem = SectionItem(static_cast<int>(*s));
    sectionItem->setExpanded(true);
    setCurrentItem(sectionItem);
    return {};
}

void ConfigTree::DeleteSelectedReplacement() {
    // The document's notification takes the item out and reports the new selection.
    if (const int f = FieldIndexOf();
        f >= 0 && m_document->IsEntryRow(static_cast<std::uint16_t>(f))) {
        static_cast<void>(m_document->RemoveEntry(static_cast<std::uint16_t>(f)));
    }
}

}  // namespace tav
