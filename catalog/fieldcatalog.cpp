#include "catalog/fieldcatalog.h"

#include "catalog/catalogtext.h"

namespace tav {

namespace {

FieldDef ParseFieldLine(std::string_view line) {
    FieldDef row;
    row.label = std::string(TakeColumn(line));
    row.key = std::string(TakeColumn(line));
    row.typeCode = std::string(TakeColumn(line));
    row.type = ParseFieldType(row.typeCode);
    row.orderPos = IsOrderedFlag(TakeFlagColumn(line)) ? 1 : 0;
    row.sectionId = LeadingNumber16(line);
    if (row.type == FieldType::Boolean) {
        row.value = "False";
    }
    return row;
}

}  // namespace

std::size_t FieldCatalog::LoadText(std::string_view text) {
    m_rows.fill(FieldDef{});
    m_rowCount = 0;
    m_replacementCount = 0;
    std::size_t dropped = 0;
    for (const std::string_view line : CatalogLines(text)) {
        if (m_rowCount == kCapacity) {
            ++dropped;
            continue;
        }
        m_rows[m_rowCount++] = ParseFieldLine(line);
    }
    return dropped;
}

std::optional<std::uint16_t> FieldCatalog::AppendReplacement(const std::string& from,
                                                             const std::string& to,
                                                             std::uint16_t sectionId) {
    const std::uint16_t before = m_replacementCount;
    if (!InsertReplacement(m_rowCount, from, to, sectionId)) {
        return std::nullopt;
    }
    return before;
}

bool FieldCatalog::InsertReplacement(std::uint16_t row, const std::string& from,
                                     const std::string& to, std::uint16_t sectionId) {
    const std::uint16_t firstEntry = m_rowCount - m_replacementCount;
    if (m_rowCount == kCapacity || m_replacementCount >= kMaxReplacements || row < firstEntry ||
        row > m_rowCount) {
        return false;
    }
    for (std::uint16_t j = m_rowCount; j > row; --j) {
        FieldDef moved = std::move(m_rows[j - 1]);
        // Only the one-character keys handed out here carry a running number; the keys a save
        // gave ("r0", ...) stay as they are.
        if (moved.type == FieldType::Replacement && moved.key.size() == 1) {
            moved.key[0] = static_cast<char>(moved.key[0] + 1);
        }
        m_rows[j] = std::move(moved);
    }
    FieldDef& inserted = m_rows[row];
    inserted = FieldDef{};
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

bool FieldCatalog::RemoveReplacement(std::uint16_t index) {
    if (index >= m_rowCount || m_rows[index].type != FieldType::Replacement ||
        m_replacementCount == 0) {
        return false;
    }
    for (std::uint16_t j = index + 1; j < m_rowCount; ++j) {
        FieldDef moved = std::move(m_rows[j]);
        // Only the one-character keys AppendReplacement hands out carry a running number; the
        // keys a save gave ("r0", ...) stay as they are.
        if (moved.type == FieldType::Replacement && moved.key.size() == 1) {
            moved.key[0] = static_cast<char>(moved.key[0] - 1);
        }
        m_rows[j - 1] = std::move(moved);
    }
    --m_rowCount;
    --m_replacementCount;
    m_rows[m_rowCount] = FieldDef{};
    return true;
}

}  // namespace tav
