// A .tac document read the way the editor reads it, and its replacement list in the notation the
// command line uses.
#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "catalogueset.h"

namespace tav::cli {

// One entry of the replacement list, with commas in both texts as they are.
struct Replacement {
    std::string from;
    std::string to;
    bool operator==(const Replacement&) const = default;
};

struct LoadedDocument {
    std::string path;
    std::string bytes;                      // the file as it is on disk
    FieldCatalog fields;                    // catalogue rows with the document's values, then one
                                            // row per replacement entry
    std::uint16_t catalogueRows = 0;        // rows from this index on are replacement entries
    std::vector<Replacement> replacements;  // the entries of those rows, in list order
    std::vector<std::string> warnings;      // what the read could not load (see ReadDocumentValues)
};

// Reads the existing file at `path` and its values, as the editor opens it. Unlike the editor,
// a missing file is an error: a command line names files that exist.
std::optional<FileError> LoadDocument(const CatalogueSet& catalogues, const std::string& path,
                                      LoadedDocument& document);

// LoadDocument for a subcommand: reports a failure (and returns false) or the read's warnings.
bool OpenDocument(const CatalogueSet& catalogues, const std::string& path, const Environment& env,
                  LoadedDocument& document);

// The start of the subcommands that work on one document: loads the catalogues (see
// OpenCatalogues) and the document named by the first operand (see OpenDocument). Reports any
// failure and returns false.
bool OpenCataloguesAndDocument(const Arguments& args, const Environment& env,
                               CatalogueSet& catalogues, LoadedDocument& document);

// The entry as the document stores it: the from-text with each comma written as "\044", a comma,
// then the to-text. ParseReplacementEntry reads it back; it gives nothing for a text without a
// comma (in a document, such a text ends the list).
std::string ReplacementEntryText(const Replacement& entry);
std::optional<Replacement> ParseReplacementEntry(std::string_view text);

}  // namespace tav::cli
