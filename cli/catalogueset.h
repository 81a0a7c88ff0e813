// The two catalogues of one folder, loaded as the editor loads them, with the files' bytes kept
// for the checks that must see every line.
#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>

#include "catalog/fieldcatalog.h"
#include "catalog/sectioncatalog.h"
#include "environment.h"

namespace tav::cli {

struct CatalogueFile {
    std::string path;
    std::string bytes;
    std::size_t droppedLines = 0;  // non-empty lines past the table's capacity
};

struct CatalogueSet {
    CatalogueFile sectionFile;
    CatalogueFile fieldFile;
    SectionCatalog sections;
    FieldCatalog fields;  // the catalogue rows only, without values of any document

    // Index of the first section whose INI name equals `name` (ASCII case ignored, as documents
    // compare names), or nothing.
    std::optional<std::size_t> FindSection(std::string_view name) const;

    // Index of the first catalogue field of section `sectionIndex` whose key equals `key` (ASCII
    // case ignored), or nothing. A field belongs to the section at position sectionId - 1.
    std::optional<std::uint16_t> FindField(std::size_t sectionIndex, std::string_view key) const;

    // The first section of kind "SR", which holds the replacement list, or nullptr.
    const SectionDef* ReplacementSection() const;

    // True when field `index` is read from and written to section `sectionIndex`.
    bool FieldInSection(std::uint16_t index, std::size_t sectionIndex) const;
};

// Reads Sections.txt and Fields.txt from `folder` into `set`. Returns the first file that could
// not be read, with the reason; lines past a table's capacity are counted, not refused.
std::optional<FileError> LoadCatalogueSet(const std::string& folder, CatalogueSet& set);

// Loads the catalogues a subcommand works with (folder from --catalogues or the program's
// folder), reporting lines past capacity as warnings. Reports any failure and returns false.
bool OpenCatalogues(const Arguments& args, const Environment& env, CatalogueSet& set);

// True when `a` and `b` are equal apart from the case of ASCII letters.
bool SameName(std::string_view a, std::string_view b);

// `name` with ASCII letters in lower case: names that are the same give the same text.
std::string FoldedName(std::string_view name);

}  // namespace tav::cli
