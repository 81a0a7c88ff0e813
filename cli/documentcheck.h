// Checks of one document against the catalogues: what the editor would not show, would show
// differently from what the file holds, or would change at the next save.
#pragma once

#include <cstddef>
#include <string_view>

#include "cataloguelines.h"
#include "document/profilelisting.h"
#include "document/profiletext.h"
#include "loadeddocument.h"

namespace tav::cli {

// Everything in `document` that disagrees with `catalogues`: sections and keys the catalogues do
// not describe, repeated sections and keys (readers see the first only), lines no reader takes,
// values the editor shows differently from the file, Order lists that name unknown keys or miss
// ordered ones, and replacement lists that stop early or hold entries that are never read.
// Findings come in line order.
Findings CheckDocument(const CatalogueSet& catalogues, const LoadedDocument& document);

// What the checks of one document share.
struct DocumentCheck {
    const CatalogueSet& catalogues;
    const LoadedDocument& document;
    ProfileText text;  // the document's bytes, for reading values by the editor's rules
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

// The checks of the replacement list held by `listed`, the document's first replacement section.
void CheckReplacementList(const DocumentCheck& check, const ListedSection& listed);

}  // namespace tav::cli
