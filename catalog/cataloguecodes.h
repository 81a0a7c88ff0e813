// The codes the catalogue files use for a field's type, a section's kind and the order flag,
// read into types here once; nothing above the catalogue compares the codes' texts.
#pragma once

#include <cstdint>
#include <string_view>

namespace tav {

// The type column of Fields.txt.
enum class FieldType : std::uint8_t {
    Boolean,      // "B": stored as 1/0 or True/False, shown as "True"/"False"
    Text,         // "C": free text
    Replacement,  // "RFS": an entry of the replacement list (the rows an open document adds)
    Other,        // any other code: read and saved as text; the editor offers no way to change it
};

// The kind column of Sections.txt.
enum class SectionKind : std::uint8_t {
    Root,          // "SN": shown directly under the tree's root
    Replacements,  // "SR": holds the replacement list (only the first such section counts)
    Parameters,    // any other code: shown under "Parameters"
};

// The type `code` stands for: exactly "B", "C" or "RFS", anything else is FieldType::Other.
FieldType ParseFieldType(std::string_view code);

// The kind `code` stands for: exactly "SN" or "SR", anything else is SectionKind::Parameters.
SectionKind ParseSectionKind(std::string_view code);

// Whether an order-flag column marks its row as ordered: only an upper-case 'Y' does.
bool IsOrderedFlag(char flag);

// The type code of the replacement rows an open document adds, as dump shows it.
inline constexpr std::string_view kReplacementTypeCode = "RFS";

}  // namespace tav
