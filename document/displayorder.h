// The placement rule that decides the order of the fields under each section: one rule for the
// tree and for every other front end.
#pragma once

#include <cstdint>
#include <vector>

#include "catalog/sectioncatalog.h"
#include "document/documenttable.h"

namespace tav {

// For each section index, the field indexes of the items under that section, in display order.
using DisplayOrder = std::vector<std::vector<std::uint16_t>>;

// The fields of section `sectionIndex` (those whose sectionId equals the section's id), in display
// order: fields with orderPos 0 are appended in catalogue order as they come; an ordered field goes
// before the first field already placed whose orderPos is greater than its own, so ties keep
// catalogue order. Example: P(0), Q(3), R(0), S(1), T(2) give P, S, T, Q, R.
std::vector<std::uint16_t> PlaceFields(const SectionCatalog& sections, const DocumentTable& fields,
                                       std::size_t sectionIndex);

// PlaceFields for every section of the catalogue.
DisplayOrder CatalogDisplayOrder(const SectionCatalog& sections, const DocumentTable& fields);

}  // namespace tav
