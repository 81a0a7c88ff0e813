#include "catalog/sectioncatalog.h"

#include "catalog/catalogtext.h"

namespace tav {

namespace {

SectionDef ParseSectionLine(std::string_view line) {
    SectionDef row;
    row.id = LeadingNumber16(TakeColumn(line));
    row.iniName = std::string(TakeColumn(line));
    row.ordered = IsOrderedFlag(TakeFlagColumn(line));
    row.label = std::string(TakeColumn(line));
    row.kindCode = std::string(TakeColumn(line));
    row.kind = ParseSectionKind(row.kindCode);
    row.icon = LeadingNumber16(line);
    return row;
}

}  // namespace

std::size_t SectionCatalog::LoadText(std::string_view text) {
    m_rows.fill(SectionDef{});
    m_count = 0;
    std::size_t dropped = 0;
    for (const std::string_view line : CatalogLines(text)) {
        if (m_count == kCapacity) {
            ++dropped;
            continue;
        }
        m_rows[m_count++] = ParseSectionLine(line);
    }
    return dropped;
}

int SectionCatalog::ReplacementSectionIndex() const {
    for (std::uint16_t i = 0; i < m_count; ++i) {
        if (m_rows[i].kind == SectionKind::Replacements) {
            return i;
        }
    }
    return -1;
}

const SectionDef* SectionCatalog::RowForId(std::uint16_t id) const {
    if (id == 0 || id > m_count) {
        return nullptr;
    }
    return &m_rows[id - 1];
}

}  // namespace tav
