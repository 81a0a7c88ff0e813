// Reading a .tac document into the field catalogue and saving the catalogue's values back, the
// way the editor does both; no window is involved, so every rule can be tested on its own.
#pragma once

#include <ctime>
#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "base/expected.h"
#include "catalog/sectioncatalog.h"
#include "document/displayorder.h"
#include "document/documentrules.h"
#include "document/documenttable.h"
#include "profile/profiletext.h"

namespace tav {

// Fills the rows of `fields` (freshly loaded: catalogue rows only) from `document`:
// - each field whose section exists is read from that section ("B": "True" when the stored text
//   starts with "1", else "False"; any other type: the text as stored, empty when missing);
// - an ordered field's orderPos becomes 1 + the index of the item of its section's Order list that
//   equals its key exactly; it stays 1 when no item does;
// - the replacement entries r0, r1, ... of the first "SR" section become replacement rows, up to
//   the first entry without a comma; "\044" in a from-text becomes a comma again.
// Returns warnings for what could not be loaded (entries past the table's capacity).
std::vector<std::string> ReadDocumentValues(const SectionCatalog& sections, DocumentTable& fields,
                                            const ProfileText& document);

// The last step of ReadDocumentValues alone: the replacement entries become rows of `fields`;
// the warnings are all ReadDocumentValues gives.
std::vector<std::string> ReadReplacementEntries(const SectionCatalog& sections,
                                                DocumentTable& fields, const ProfileText& document);

// Applies every write of a save to `document`, in the order a key-by-key save makes them: per
// section in catalogue order, the empty Order key first for an ordered section, then each field of
// `order` (booleans as "1"/"0", replacements as "r0", "r1", ... with commas in the from-text
// written as "\044", by WriteReplacementList for an "SR" section, after its other fields), the
// Order list built from the display order. "Version" and "Updated" of section "TACInfo" get "1.0"
// and `timeText`; replacement rows get their file keys. Those changes are made to `fields` only
// when every write succeeds. On failure the error's reason says which write was refused and its
// `file` is empty (the document's file is not known here); `document` may then hold the writes
// made before the refused one.
Status ApplySave(const SectionCatalog& sections, DocumentTable& fields, const DisplayOrder& order,
                 const std::string& timeText, ProfileText& document);

// The one rule by which every save writes the replacement list: entry n of `entries` under key
// ReplacementKey(first + n) of section `section` (ReplacementEntryText), then, when fewer than
// the most entries a list can hold come before it, the empty key after the last that ends the
// list (after the most entries that key would be "r=", which no line can hold, and a reader
// stops there anyway). `first` is the number of entries a save has written before this section:
// 0 for the replacement section; a later section of kind SectionKind::Replacements, which holds
// no entries, gets the end key that follows them. The error is the write `document` refused; the
// writes before it are made.
Status WriteReplacementList(ProfileText& document, const std::string& section,
                            const std::vector<ReplacementEntry>& entries, std::size_t first = 0);

// The local time now, as "%d/%m/%Y (%H:%M:%S)", e.g. "06/12/2026 (21:24:00)".
std::string CurrentTimeText();

// `time` in the form of CurrentTimeText.
std::string FormatTimeText(const std::tm& time);

}  // namespace tav
