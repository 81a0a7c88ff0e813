#include "document/documenttable.h"

namespace tav {

std::string DefaultValue(const FieldDef& field) {
    return field.type == FieldType::Boolean ? "False" : "";
}

DocumentTable::DocumentTable(const FieldCatalog& catalogue) : m_rowCount(catalogue.Count()) {
    for (std::uint16_t i = 0; i < m_rowCount; ++i) {
        const FieldDef& field = catalogue[i];
        DocumentRow& row = m_rows[i];
        row.label = field.label;
        row.key = field.key;
        row.type = field.type;
        row.typeCode = field.typeCode;
        row.orderPos = field.ordered ? 1 : 0;
        row.sectionId = field.sectionId;
        row.value = DefaultValue(field);
    }
}

std::optional<std::uint16_t> DocumentTable::AppendReplacement(const std::string& from,
                                                              const std::string& to,
                                                              std::uint16_t sectionId) {
    const std::uint16_t before = m_replacementCount;
    if (!InsertReplacement(m_rowCount, from, to, sectionId)) {
        return std::nullopt;
    }
    return before;
}

bool DocumentTable::InsertReplacement(std::uint16_t row, const std::string& from,
                                      const std::string& to, std::uint16_t sectionId) {
    const std::uint16_t firstEntry = m_rowCount - m_replacementCount;
    if (m_rowCount == kCapacity || m_replacementCount >= kMaxReplacements || row < firstEntry ||
        row > m_rowCount) {
        return false;
    }
    for (std::uint16_t j = m_rowCount; j > row; --j) {
        DocumentRow moved = std::move(m_rows[j - 1]);
        // Only the one-character keys handed out here carry a running number; the keys a save
        // gave ("r0", ...) stay as they are.
        if (moved.type == FieldType::Replacement && moved.key.size() == 1) {
            moved.key[0] = static_cast<char>(moved.key[0] + 1);
        }
        m_rows[j] = std::move(moved);
    }
    DocumentRow& inserted = m_rows[row];
    inserted = DocumentRow{};
    inserted.label = from;
    inserted.key = std::string(1, static_cast<char>(49 + row - firstEntry));
    inserted.value = to;
    inserted.type = FieldType::Replacement;
    inserted.typeCode = std::string(kReplacementTypeCode);
    inserted.sectionId = sectionId;
    ++m_rowCount;
    ++m_replacementCount;
    return true;
}

bool DocumentTable::RemoveReplacement(std::uint16_t index) {
    if (index >= m_rowCount || m_rows[index].type != FieldType::Replacement ||
        m_replacementCount == 0) {
        return false;
    }
    for (std::uint16_t j = index + 1; j < m_rowCount; ++j) {
        DocumentRow moved = std::move(m_rows[j]);
        // Only the one-character keys AppendReplacement hands out carry a running number; the
        // keys a save gave ("r0", ...) stay as they are.
        if (moved.type == FieldType::Replacement && moved.key.size() == 1) {
            moved.key[0] = static_cast<char>(moved.key[0] - 1);
        }
        m_rows[j - 1] = std::move(moved);
    }
    --m_rowCount;
    --m_replacementCount;
    m_rows[m_rowCount] = DocumentRow{};
    return true;
}

}  // namespace tav
