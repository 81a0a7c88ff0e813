// The field catalogue: the rows of Fields.txt, which say what keys a document has. Loading the
// file is LoadCatalogues' work; an open document's values live in its DocumentTable.
#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <string_view>

#include "catalog/cataloguecodes.h"

namespace tav {

// One line of Fields.txt.
struct FieldDef {
    std::string label;  // tree label
    std::string key;    // key in the document
    FieldType type = FieldType::Other;
    std::string typeCode;         // the type column as written
    bool ordered = false;         // the field takes part in its section's Order list
    std::uint16_t sectionId = 0;  // id of the field's section
};

// Fixed table of at most 128 rows.
class FieldCatalog final {
public:
    static constexpr std::uint16_t kCapacity = 128;
    static constexpr const char* kFileName = "Fields.txt";

    FieldCatalog() = default;

    // Replaces the rows with those of `text` (the whole content of a catalogue file).
    // Returns the number of non-empty lines that did not fit into the table.
    std::size_t LoadText(std::string_view text);

    std::uint16_t Count() const { return m_count; }
    const FieldDef& operator[](std::size_t index) const { return m_rows[index]; }

private:
    std::array<FieldDef, kCapacity> m_rows{};
    std::uint16_t m_count = 0;
};

}  // namespace tav
