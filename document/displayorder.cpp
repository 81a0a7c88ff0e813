#include "document/displayorder.h"

#include <algorithm>

namespace tav {

std::vector<std::uint16_t> PlaceFields(const SectionCatalog& sections, const DocumentTable& fields,
                                       std::size_t sectionIndex) {
    std::vector<std::uint16_t> placed;
    const std::uint16_t id = sections[sectionIndex].id;
    for (std::uint16_t f = 0; f < fields.Count(); ++f) {
        const std::uint16_t pos = fields[f].orderPos;
        if (fields[f].sectionId != id) {
            continue;
        }
        if (pos == 0) {
            placed.push_back(f);
            continue;
        }
        const auto before = std::find_if(placed.begin(), placed.end(), [&](std::uint16_t other) {
            return fields[other].orderPos > pos;
        });
        placed.insert(before, f);
    }
    return placed;
}

DisplayOrder CatalogDisplayOrder(const SectionCatalog& sections, const DocumentTable& fields) {
    DisplayOrder order;
    for (std::uint16_t s = 0; s < sections.Count(); ++s) {
        order.push_back(PlaceFields(sections, fields, s));
    }
    return order;
}

}  // namespace tav
