// The two catalogues of one installation, loaded once: which sections and fields a document has.
// They never change after loading; every open document and every check refers to the same copy.
#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "base/textencoding.h"
#include "catalog/fieldcatalog.h"
#include "catalog/sectioncatalog.h"

namespace tav {

// One catalogue file as read: its bytes are kept for the checks that must see every line.
struct CatalogueFile {
    std::string path;
    std::string bytes;
    std::size_t droppedLines = 0;    // non-empty lines past the table's capacity
    std::optional<FileError> error;  // the file could not be read (its table is then empty)
};

struct Catalogues {
    CatalogueFile sectionFile;
    CatalogueFile fieldFile;
    SectionCatalog sections;
    FieldCatalog fields;
    // Each file's encoding, decided from its bytes as a document's is (see DecideEncoding). The
    // tables keep the bytes: keys and INI names are matched as bytes, labels decoded for display.
    TextEncoding sectionEncoding = TextEncoding::Windows1252;
    TextEncoding fieldEncoding = TextEncoding::Windows1252;

    // The label of section `sectionIndex` (< sections.Count()) as UTF-8.
    std::string SectionLabel(std::size_t sectionIndex) const;
    // The label of catalogue field `row` (< fields.Count()) as UTF-8.
    std::string FieldLabel(std::uint16_t row) const;

    // The first file that could not be read, or nothing.
    std::optional<FileError> ReadError() const;

    // Index of the first section whose INI name is `name` (see SameName), or nothing.
    std::optional<std::size_t> FindSection(std::string_view name) const;

    // Index of the first field of section `sectionIndex` whose key is `key` (see SameName), or
    // nothing.
    std::optional<std::uint16_t> FindField(std::size_t sectionIndex, std::string_view key) const;

    // The rows of the fields of section `sectionIndex`, in catalogue order: a caller that looks up
    // many keys of one section finds each among these (FindFieldAmong) instead of among all rows.
    std::vector<std::uint16_t> FieldRows(std::size_t sectionIndex) const;
    // The first of `rows` whose key is `key` (see SameName), or nothing.
    std::optional<std::uint16_t> FindFieldAmong(const std::vector<std::uint16_t>& rows,
                                                std::string_view key) const;

    // Index of the first section of kind SectionKind::Replacements, which holds the replacement
    // list, or nothing.
    std::optional<std::size_t> ReplacementSectionIndex() const;

    // True when field `row` is read from and written to section `sectionIndex`: the section at
    // position sectionId - 1 (the one a document uses), which is not always a section whose id
    // column equals sectionId.
    bool FieldInSection(std::uint16_t row, std::size_t sectionIndex) const;

    // The keys of the ordered fields of section `sectionIndex`, in catalogue order.
    std::vector<std::string> OrderedKeys(std::size_t sectionIndex) const;
};

// Loads Sections.txt and Fields.txt from `folder`. Each problem goes to `report` once: a file
// that cannot be read (its table stays empty, the error is also kept in the file's `error`), and
// lines past a table's capacity ("N line(s) past the limit of 64 sections were not loaded").
// `report` may be empty.
std::shared_ptr<const Catalogues> LoadCatalogues(const std::string& folder,
                                                 const CatalogReporter& report);

// The catalogues of the two texts given, as if read from files named by `folder`; for tests and
// tools that hold the texts already. Problems are reported as by LoadCatalogues.
std::shared_ptr<const Catalogues> CataloguesFromText(const std::string& folder,
                                                     std::string sectionText, std::string fieldText,
                                                     const CatalogReporter& report = {});

}  // namespace tav
