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
    row.ordered = IsOrderedFlag(TakeFlagColumn(line));
    row.sectionId = LeadingNumber16(line);
    return row;
}

}  // namespace

std::size_t FieldCatalog::LoadText(std::string_view text) {
    m_rows.fill(FieldDef{});
    m_count = 0;
    std::size_t dropped = 0;
    for (const std::string_view line : CatalogLines(text)) {
        if (m_count == kCapacity) {
            ++dropped;
            continue;
        }
        m_rows[m_count++] = ParseFieldLine(line);
    }
    return dropped;
}

}  // namespace tav
