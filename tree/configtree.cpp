#include "configtree.h"

#include <QApplication>
#include <QLabel>
#include <QMouseEvent>
#include <QPainter>
#include <QTreeWidgetItemIterator>

#include "document/configdocument.h"
#include "resources/images.h"
#include "textconv.h"

namespace tav {

namespace {

constexpr const char* kRootPrefix = "File : [";
constexpr const char* kParameters = "Parameters";

}  // namespace

ConfigTree::ConfigTree(const std::string& catalogueFolder, CatalogReporter report,
                       QWidget* parent)
    : QTreeWidget(parent),
      m_sections(catalogueFolder, report),
      m_fields(catalogueFolder, report),
      m_report(std::move(report)) {
    setHeaderHidden(true);
    setColumnCount(1);
    setRootIsDecorated(false);
    setSelectionMode(QAbstractItemView::SingleSelection);
    setDragEnabled(false);
    setAcceptDrops(false);
    setIconSize(QSize(20, 16));
    setExpandsOnDoubleClick(true);
    connect(this, &QTreeWidget::currentItemChanged, this,
            [this](QTreeWidgetItem* current, QTreeWidgetItem* previous) {
                if (current != previous) {
                    ReportSelection();
                }
            });
}

ConfigTree::~ConfigTree() = default;

void ConfigTree::ReportSelection() {
    ++m_selectionReports;
    emit selectionReported();
}

// --- Document -------------------------------------------------------------------------------

std::optional<FileError> ConfigTree::ReadDocument(const std::string& path,
                                                  const std::string& name) {
    std::string bytes;
    if (auto error = LoadDocumentText(path, bytes)) {
        return error;
    }
    m_fields.Load();
    m_docPath = path;
    m_docName = name;
    for (const std::string& warning :
         ReadDocumentValues(m_sections, m_fields, ProfileText(std::move(bytes)))) {
        if (m_report) {
            m_report(FileError{path, warning});
        }
    }
    return std::nullopt;
}

std::optional<FileError> ConfigTree::SaveDocument(const std::string& path) {
    const std::string target = path.empty() ? m_docPath : path;
    if (target.empty()) {
        return FileError{"(no file)", "the document has no file name yet"};
    }
    if (auto error = SaveDocumentFile(target, m_sections, m_fields, TreeDisplayOrder(),
                                      CurrentTimeText())) {
        return error;
    }
    m_docPath = target;
    return std::nullopt;
}

std::string ConfigTree::CurrentTimeText() const {
    return tav::CurrentTimeText();
}

DisplayOrder ConfigTree::TreeDisplayOrder() const {
    DisplayOrder order(m_sections.Count());
    for (int s = 0; s < m_sections.Count(); ++s) {
        const QTreeWidgetItem* section = SectionItem(s);
        for (int c = 0; section != nullptr && c < section->childCount(); ++c) {
            const int field = FieldIndexOf(section->child(c));
            if (field >= 0) {
                order[static_cast<std::size_t>(s)].push_back(static_cast<std::uint16_t>(field));
            }
        }
    }
    return order;
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

QTreeWidgetItem* ConfigTree::NewItem(QTreeWidgetItem* parent, const std::string& text,
                                     int image) {
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
    const FieldDef& field = m_fields[static_cast<std::size_t>(fieldIndex)];
    if (field.type == "RFS") {
        return ReplacementLabel(field.label, field.value);
    }
    return field.label + " = \"" + field.value + "\"";
}

QTreeWidgetItem* ConfigTree::InsertFieldItem(QTreeWidgetItem* sectionItem, int fieldIndex) {
    const FieldDef& field = m_fields[static_cast<std::size_t>(fieldIndex)];
    QTreeWidgetItem* item = NewItem(sectionItem, FieldLabel(fieldIndex),
                                    field.orderPos == 0 ? kFieldImage : kOrderedFieldImage);
    item->setData(0, ItemTagRole, fieldIndex);
    return item;
}

void ConfigTree::BuildTree() {
    BuildImageList();
    const std::string rootText =
        std::string(kRootPrefix) + (m_docName.empty() ? "none" : m_docPath) + "]";
    m_dragging = false;
    m_dragItem = m_dropTarget = nullptr;
    SetDropHighlight(nullptr);
    clear();
    m_rootItem = NewItem(nullptr, rootText, kRootImage);
    QTreeWidgetItem* parameters = NewItem(m_rootItem, kParameters, kParametersImage);
    for (int s = 0; s < m_sections.Count(); ++s) {
        const SectionDef& section = m_sections[static_cast<std::size_t>(s)];
        QTreeWidgetItem* parent = section.kind == "SN" ? m_rootItem : parameters;
        QTreeWidgetItem* sectionItem = NewItem(parent, section.label, section.icon);
        sectionItem->setData(0, ItemTagRole, kSectionTagBase + s);
        for (const std::uint16_t f : PlaceFields(m_sections, m_fields, static_cast<std::size_t>(s))) {
            InsertFieldItem(sectionItem, f);
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
    if (!tag.isValid() || tag.toInt() >= kSectionTagBase || tag.toInt() >= m_fields.Count()) {
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
        return m_fields[static_cast<std::size_t>(f)].type;
    }
    if (const int s = SelectedSectionIndex(); s >= 0) {
        return m_sections[static_cast<std::size_t>(s)].kind;
    }
    return {};
}

std::string ConfigTree::SelectedValue() const {
    const int f = FieldIndexOf();
    return f < 0 ? std::string() : m_fields[static_cast<std::size_t>(f)].value;
}

void ConfigTree::GetSelectedReplacement(std::string& from, std::string& to) const {
    if (const int f = FieldIndexOf(); f >= 0) {
        from = m_fields[static_cast<std::size_t>(f)].label;
        to = m_fields[static_cast<std::size_t>(f)].value;
    }
}

QTreeWidgetItem* ConfigTree::FindSectionItem(const std::string& label) const {
    const QString wanted = ToQt(label);
    for (QTreeWidgetItemIterator it(const_cast<ConfigTree*>(this)); *it != nullptr; ++it) {
        if (*it != topLevelItem(0) && (*it)->text(0) == wanted &&
            FromQt((*it)->text(0)) == label) {
            return *it;
        }
    }
    return nullptr;
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

void ConfigTree::SetSelectedValue(const std::string& value) {
    const int f = FieldIndexOf();
    if (f < 0) {
        return;
    }
    FieldDef& field = m_fields[static_cast<std::size_t>(f)];
    field.value = value;
    currentItem()->setText(0, ToQt(field.label + " = \"" + value + "\""));
}

void ConfigTree::ModifySelectedReplacement(const std::string& from, const std::string& to) {
    const int f = FieldIndexOf();
    if (f < 0) {
        return;
    }
    FieldDef& field = m_fields[static_cast<std::size_t>(f)];
    field.label = from;
    field.value = to;
    currentItem()->setText(0, ToQt(ReplacementLabel(from, to)));
}

bool ConfigTree::AddReplacement(const std::string& from, const std::string& to) {
    const int s = m_sections.ReplacementSectionIndex();
    QTreeWidgetItem* sectionItem = s < 0 ? nullptr : SectionItem(s);
    if (sectionItem == nullptr) {
        return false;
    }
    if (!m_fields.AppendReplacement(from, to, m_sections[static_cast<std::size_t>(s)].id)) {
        QApplication::beep();
        return false;
    }
    QTreeWidgetItem* item = NewItem(sectionItem, ReplacementLabel(from, to), kFieldImage);
    item->setData(0, ItemTagRole, m_fields.Count() - 1);
    sectionItem->setExpanded(true);
    setCurrentItem(sectionItem);
    return true;
}

void ConfigTree::DeleteSelectedReplacement() {
    const int f = FieldIndexOf();
    if (f < 0 || m_fields[static_cast<std::size_t>(f)].type != "RFS") {
        return;
    }
    QTreeWidgetItem* item = currentItem();
    m_fields.RemoveReplacement(static_cast<std::uint16_t>(f));
    for (QTreeWidgetItemIterator it(this); *it != nullptr; ++it) {
        const QVariant tag = (*it)->data(0, ItemTagRole);
        if (tag.isValid() && tag.toInt() > f && tag.toInt() < kSectionTagBase) {
            (*it)->setData(0, ItemTagRole, tag.toInt() - 1);
        }
    }
    // Taking the item out moves the selection while the item is still whole; the tree reports it
    // itself when the view did not.
    const int reportsBefore = m_selectionReports;
    QTreeWidgetItem* parent = item->parent();
    parent->takeChild(parent->indexOfChild(item));
    delete item;
    if (QTreeWidgetItem* now = currentItem(); now != nullptr) {
        setCurrentItem(now);  // make the new current item the visible selection too
    }
    if (m_selectionReports == reportsBefore) {
        ReportSelection();
    }
}

}  // namespace tav
