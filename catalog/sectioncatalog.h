// The section catalogue: which sections a document has, from Sections.txt (see LoadCatalogues).
#pragma once

#include <array>
#include <cstdint>
#include <functional>
#include <string>

#include "base/fileerror.h"
#include "catalog/cataloguecodes.h"

namespace tav {

// Receives the catalogue problems a load meets (a file that cannot be read, lines past the
// table's capacity). The core never shows anything itself; the window layer shows a message.
using CatalogReporter = std::function<void(const FileError&)>;

// One line of Sections.txt.
struct SectionDef {
    std::uint16_t id = 0;  // the number fields use to name their section; 1, 2, 3... in file order
    std::string iniName;   // the bracketed section name in the document
    bool ordered = false;  // the section carries an Order key listing its ordered fields
    std::string label;     // text of the section's tree item
    SectionKind kind = SectionKind::Parameters;
    std::string kindCode;    // the kind column as written
    std::uint16_t icon = 0;  // image index of the section's tree item
};

// Fixed table of at most 64 sections.
class SectionCatalog final {
public:
    static constexpr std::uint16_t kCapacity = 64;
    static constexpr const char* kFileName = "Sections.txt";

    SectionCatalog() = default;

    // Replaces the rows with those of `text` (the whole content of a catalogue file).
    // Returns the number of non-empty lines that did not fit into the table.
    std::size_t LoadText(std::string_view text);

    std::uint16_t Count() const { return m_count; }
    const SectionDef& operator[](std::size_t index) const { return m_rows[index]; }

    // Index of the first row of kind SectionKind::Replacements, or -1.
    int ReplacementSectionIndex() const;

    // The row at position `id` - 1 (the row documents use for section id `id`), or nullptr when no
    // row has that position.
    const SectionDef* RowForId(std::uint16_t id) const;

private:
    std::array<SectionDef, kCapacity> m_rows{};
    std::uint16_t m_count = 0;
};

}  // namespace tav
