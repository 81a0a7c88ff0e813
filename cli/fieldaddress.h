// The addresses the command line uses for single values: SECTION.KEY, where SECTION is a
// section's INI name and KEY a field's key, both as in the catalogues and compared without regard
// to the case of ASCII letters (as documents compare them). In the replacement section, "r0" to
// "r<" address the entries by their document keys, and "r10" to "r12" are other names of "r:" to
// "r<"; a suffix ".from" or ".to" addresses one text of an entry.
#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "base/expected.h"
#include "catalog/catalogues.h"
#include "document/documentrules.h"

namespace tav::cli {

struct FieldAddress {
    enum class Part { kWhole, kFrom, kTo };

    std::size_t section = 0;             // section index in the catalogue
    std::optional<std::uint16_t> field;  // a catalogue field; nothing for a replacement entry
    std::size_t entry = 0;               // replacement entry n (see ReplacementEntryNumber)
    Part part = Part::kWhole;            // the whole entry "FROM,TO", or one of its two texts
};

// Resolves `text`. A section name may itself hold dots: every split at a dot is tried, from the
// left, and the first that names a catalogued field (or an entry) wins. A catalogued field wins
// over an entry key of the same spelling.
// Entry keys past the list's capacity (13 entries) address nothing, with a message saying so.
// Returns the address, or why `text` addresses nothing (the reason; no file).
Expected<FieldAddress> ResolveAddress(const Catalogues& catalogues, std::string_view text);

// The text of `entry` that `part` addresses: one of its texts as it is, or the whole entry in the
// form set takes (FROM,TO with each comma of FROM written as \044).
std::string EntryPart(const ReplacementEntry& entry, FieldAddress::Part part);

}  // namespace tav::cli
