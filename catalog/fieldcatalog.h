// The field table: the rows of Fields.txt (which keys a document has) with a value each, then the
// string-replacement rows of an open document. Loading the file is LoadCatalogues' work.
#pragma once

#include <array>
#include <cstdint>
#include <optional>
#include <string>

#include "catalog/cataloguecodes.h"
#include "catalog/sectioncatalog.h"

namespace tav {

// One line of Fields.txt, or one string replacement (FieldType::Replacement), with its current
// value.
struct FieldDef {
    std::string label;  // tree label; for a replacement, the from-text
    std::string key;    // key in the document; for a replacement, see AppendReplacement
    FieldType type = FieldType::Other;
    std::string typeCode;         // the type column as written (for a replacement "RFS")
    std::uint16_t orderPos = 0;   // 0: not ordered; else its 1-based place in the Order list
    std::uint16_t sectionId = 0;  // id of the field's section
    std::string value;  // "True"/"False" for a boolean; a replacement's to-text; else text
};

// Fixed table of 128 rows: the rows of Fields.txt first, then appended replacement rows.
class FieldCatalog final {
public:
    static constexpr std::uint16_t kCapacity = 128;
    // Replacement keys are "r" plus the character 48 + n; the 14th would be "r=", which no
    // document line can hold as a key, so at most 13 entries can be stored and read back.
    static constexpr std::uint16_t kMaxReplacements = 13;
    static constexpr const char* kFileName = "Fields.txt";

    FieldCatalog() = default;

    // Replaces the rows with those of `text` (the whole content of a catalogue file); counts start
    // from 0. Returns the number of non-empty lines that did not fit into the table.
    std::size_t LoadText(std::string_view text);

    std::uint16_t Count() const { return m_rowCount; }
    std::uint16_t ReplacementCount() const { return m_replacementCount; }
    FieldDef& operator[](std::size_t index) { return m_rows[index]; }
    const FieldDef& operator[](std::size_t index) const { return m_rows[index]; }

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
    std::array<FieldDef, kCapacity> m_rows{};
    std::uint16_t m_replacementCount = 0;
    std::uint16_t m_rowCount = 0;
};

}  // namespace tav
