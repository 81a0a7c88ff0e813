// An open document's table: a row with a value for each row of the field catalogue, then the
// document's string-replacement rows. The catalogue says what the rows are; this table holds
// what the document says of them.
#pragma once

#include <array>
#include <cstdint>
#include <optional>
#include <string>

#include "catalog/cataloguecodes.h"
#include "catalog/fieldcatalog.h"

namespace tav {

// A catalogued field with the document's value and place, or one string replacement
// (FieldType::Replacement).
struct DocumentRow {
    std::string label;  // tree label; for a replacement, the from-text
    std::string key;    // key in the document; for a replacement, see AppendReplacement
    FieldType type = FieldType::Other;
    std::string typeCode;         // the type column as written (for a replacement "RFS")
    std::uint16_t orderPos = 0;   // 0: not ordered; else its 1-based place in the Order list
    std::uint16_t sectionId = 0;  // id of the field's section
    std::string value;  // "True"/"False" for a boolean; a replacement's to-text; else text
};

// The value a document that does not have the key of `field` gives it: "False" for a boolean,
// else the empty text.
std::string DefaultValue(const FieldDef& field);

// Fixed table of 128 rows: the catalogue's rows first, then appended replacement rows.
class DocumentTable final {
public:
    static constexpr std::uint16_t kCapacity = FieldCatalog::kCapacity;
    // Replacement keys are "r" plus the character 48 + n; the 14th would be "r=", which no
    // document line can hold as a key, so at most 13 entries can be stored and read back.
    static constexpr std::uint16_t kMaxReplacements = 13;

    // An empty table: no rows.
    DocumentTable() = default;

    // A row for each row of `catalogue`, with the value of a document that does not have the key
    // ("False" for a boolean, else empty) and the ordered fields at place 1; no replacement rows.
    explicit DocumentTable(const FieldCatalog& catalogue);

    std::uint16_t Count() const { return m_rowCount; }
    std::uint16_t ReplacementCount() const { return m_replacementCount; }
    DocumentRow& operator[](std::size_t index) { return m_rows[index]; }
    const DocumentRow& operator[](std::size_t index) const { return m_rows[index]; }

    // Appends a replacement row (from-text in `label`, to-text in `value`, orderPos 0)
    // whose key is the one character 49 + the number of replacements before it ("1", "2", ...).
    // Returns that number (0 for the first since the last load), or nothing, changing nothing,
    // when the table is full or kMaxReplacements entries exist already.
    std::optional<std::uint16_t> AppendReplacement(const std::string& from, const std::string& to,
                                                   std::uint16_t sectionId);

    // Inserts a replacement row at `row`, which must lie between the first replacement row and the
    // row count (both included); later rows move down by one and their one-character keys are
    // renumbered. Returns false, changing nothing, for any other row, when the table is full or
    // when kMaxReplacements entries exist already.
    bool InsertReplacement(std::uint16_t row, const std::string& from, const std::string& to,
                           std::uint16_t sectionId);

    // Removes the replacement row `index` (which must be valid and a replacement): later rows move
    // up by one, their one-character replacement keys are renumbered ("3" becomes "2"), and both
    // counts go down by one. Returns false, changing nothing, for any other row.
    bool RemoveReplacement(std::uint16_t index);

private:
    std::array<DocumentRow, kCapacity> m_rows{};
    std::uint16_t m_replacementCount = 0;
    std::uint16_t m_rowCount = 0;
};

}  // namespace tav
