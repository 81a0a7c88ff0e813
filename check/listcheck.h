// What the checks of one document share: the document as the checks see it, and the checks of
// the two lists a document keeps in single keys (Order lists and the replacement list).
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "base/names.h"
#include "catalog/catalogues.h"
#include "check/cataloguelines.h"
#include "profile/profilelisting.h"
#include "profile/profiletext.h"

namespace tav::check {

struct DocumentCheck {
    const Catalogues& catalogues;
    ProfileText text;                   // the document's bytes, read by the editor's rules
    std::vector<std::string> warnings;  // what the editor's read of the document could not load
    FileFindings out;
};

// The first key of each name in one listed section (readers see only that one), found by name in
// constant time, so that checking a section stays linear in its keys.
class FirstKeys final {
public:
    explicit FirstKeys(const ListedSection& section);

    // The first key named `name` (case ignored), or nullptr.
    const ListedKey* Find(std::string_view name) const;

    // True when key `index` of the section is the first of its name there.
    bool IsFirst(std::size_t index) const;

private:
    const ListedSection& m_section;
    // The first key of each name in an open-addressing table of key indexes + 1 (0: empty), with
    // each key's name hash beside it: flat, so that a section of a million keys costs 12 bytes a
    // key and lookups that stay in the processor's cache.
    std::vector<std::uint32_t> m_hashes;
    std::vector<std::uint32_t> m_slots;
    std::vector<bool> m_isFirst;
};

// The checks of the Order list of `listed`, the document's first section of catalogue section
// `sectionIndex`; nothing for a section that is not ordered.
void CheckOrderList(const DocumentCheck& check, const ListedSection& listed, const FirstKeys& keys,
                    std::size_t sectionIndex);

// The checks of the replacement list held by `listed`, the document's first replacement section,
// and the read's warnings (entries the editor's table has no room for) at its header.
void CheckReplacementList(const DocumentCheck& check, const ListedSection& listed,
                          const FirstKeys& keys);

}  // namespace tav::check
