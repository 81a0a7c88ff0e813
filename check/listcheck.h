// What the checks of one document share: the document as the checks see it, and the checks of
// the two lists a document keeps in single keys (Order lists and the replacement list).
#pragma once

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

#include "catalog/catalogues.h"
#include "cataloguelines.h"
#include "document/profilelisting.h"
#include "document/profiletext.h"

namespace tav::check {

struct DocumentCheck {
    const Catalogues& catalogues;
    ProfileText text;                   // the document's bytes, read by the editor's rules
    std::vector<std::string> warnings;  // what the editor's read of the document could not load
    FileFindings out;
};

// The first key of `section` named `name` (case ignored), or nullptr.
const ListedKey* FirstKey(const ListedSection& section, std::string_view name);

// True when key `index` of `section` is the first of its name there (readers see only that one).
bool IsFirstKey(const ListedSection& section, std::size_t index);

// The checks of the Order list of `listed`, the document's first section of catalogue section
// `sectionIndex`; nothing for a section that is not ordered.
void CheckOrderList(const DocumentCheck& check, const ListedSection& listed,
                    std::size_t sectionIndex);

// The checks of the replacement list held by `listed`, the document's first replacement section,
// and the read's warnings (entries the editor's table has no room for) at its header.
void CheckReplacementList(const DocumentCheck& check, const ListedSection& listed);

}  // namespace tav::check
