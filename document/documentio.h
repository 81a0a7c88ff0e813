// Reading a .tac document into the field catalogue and saving the catalogue's values back, the
// way the editor does both; no window is involved, so every rule can be tested on its own.
#pragma once

#include <ctime>
#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "base/expected.h"
#include "catalog/fieldcatalog.h"
#include "catalog/sectioncatalog.h"
#include "document/displayorder.h"
#include "document/documentrules.h"
#include "profile/profiletext.h"
#include "storage/documentfile.h"

namespace tav {

// The bytes of the document at `path` for opening it. An empty path (a new document) and a file
// that does not exist give empty bytes: both open as a document without keys. Any other failure
// (no permission, a folder, a device) is the error, naming `path` and the reason.
Expected<std::string> LoadDocumentText(const std::string& path);

// Fills the rows of `fields` (freshly loaded: catalogue rows only) from `document`:
// - each field whose section exists is read from that section ("B": "True" when the stored text
//   starts with "1", else "False"; any other type: the text as stored, empty when missing);
// - an ordered field's orderPos becomes 1 + the index of the item of its section's Order list that
//   equals its key exactly; it stays 1 when no item does;
// - the replacement entries r0, r1, ... of the first "SR" section become replacement rows, up to
//   the first entry without a comma; "\044" in a from-text becomes a comma again.
// Returns warnings for what could not be loaded (entries past the table's capacity).
std::vector<std::string> ReadDocumentValues(const SectionCatalog& sections, FieldCatalog& fields,
                                            const ProfileText& document);

// Applies every write of a save to `document`, in the order a key-by-key save makes them: per
// section in catalogue order, the empty Order key first for an ordered section, then each field of
// `order` (booleans as "1"/"0", replacements as "r0", "r1", ... with commas in the from-text
// written as "\044"), the Order list built from the display order, and for an "SR" section the
// empty key that ends the replacement list. "Version" and "Updated" of section "TACInfo" get "1.0"
// and `timeText`; replacement rows get their file keys. Those changes are made to `fields` only
// when every write succeeds. On failure the error's reason says which write was refused and its
// `file` is empty (the document's file is not known here); `document` may then hold the writes
// made before the refused one.
Status ApplySave(const SectionCatalog& sections, FieldCatalog& fields, const DisplayOrder& order,
                 const std::string& timeText, ProfileText& document);

// The whole save: reads the file at `path` as it is now (a missing file is a new, empty one),
// applies the save's writes to it and writes the result, all under the document lock and with
// the file's metadata and links kept (RewriteDocument, documentfile.h), and succeeds with `fields`
// updated as by ApplySave. On any failure nothing in memory has changed, nothing on disk either
// (but for an interrupted in-place write, whose error names the copy with the new content), and
// the error names `path` and the reason. With `source`, the writes apply to those bytes instead
// of the file's own, which they replace (saving a document under another name). With `written`,
// it receives what the file holds after a successful save. With `onlyIf`, the writes are made
// only when it accepts the file's current bytes (given the bytes of each attempt); otherwise the
// save fails, saying the file changed, with nothing written. `options` go to RewriteDocument.
Status SaveDocumentFile(const std::string& path, const SectionCatalog& sections,
                        FieldCatalog& fields, const DisplayOrder& order,
                        const std::string& timeText,
                        std::optional<std::string_view> source = std::nullopt,
                        WrittenContent* written = nullptr,
                        const std::function<bool(std::string_view current)>& onlyIf = {},
                        const RewriteOptions& options = {});

// The local time now, as "%d/%m/%Y (%H:%M:%S)", e.g. "06/12/2026 (21:24:00)".
std::string CurrentTimeText();

// `time` in the form of CurrentTimeText.
std::string FormatTimeText(const std::tm& time);

}  // namespace tav
