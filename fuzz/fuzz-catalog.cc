// Fuzzes the catalogue loaders and everything that reads catalogue rows: the display order, reading
// a document and saving it. The input is both catalogues and the document, split by NUL bytes.
#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>

#include "document/documentio.h"
#include "fuzzinput.h"

using tavfuzz::Check;
using tavfuzz::TakePart;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    std::string_view rest(reinterpret_cast<const char*>(data), size);
    tav::SectionCatalog sections;
    sections.LoadText(TakePart(rest));
    tav::FieldCatalog catalogue;
    catalogue.LoadText(TakePart(rest));
    tav::DocumentTable fields(catalogue);
    Check(sections.Count() <= tav::SectionCatalog::kCapacity);
    Check(fields.Count() <= tav::FieldCatalog::kCapacity);

    const std::string document(rest);
    tav::ReadDocumentValues(sections, fields, tav::ProfileText(document));
    Check(fields.ReplacementCount() <= tav::DocumentTable::kMaxReplacements);
    while (fields.AppendReplacement("a,b", "c", 1)) {
    }
    Check(fields.Count() <= tav::FieldCatalog::kCapacity);
    if (fields.ReplacementCount() > 0) {
        Check(fields.RemoveReplacement(static_cast<std::uint16_t>(fields.Count() - 1)));
    }

    const tav::DisplayOrder order = tav::CatalogDisplayOrder(sections, fields);
    std::size_t placed = 0;
    for (const auto& section : order) {
        for (const std::uint16_t f : section) {
            Check(f < fields.Count());
            ++placed;
        }
    }
    Check(placed <= static_cast<std::size_t>(fields.Count()) * sections.Count());

    tav::ProfileText text(document);
    if (tav::ApplySave(sections, fields, order, "01/01/2026 (00:00:00)", text)) {
        tav::DocumentTable reread(catalogue);
        tav::ReadDocumentValues(sections, reread, tav::ProfileText(text.Bytes()));
    }
    return 0;
}
