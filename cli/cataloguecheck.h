// Checks of Sections.txt and Fields.txt: the lines the editor will not load, or will load in a
// way their writer hardly meant.
#pragma once

#include "catalogueset.h"
#include "finding.h"

namespace tav::cli {

// Everything in the two catalogue files of `catalogues` that the editor ignores, misreads or
// cannot save: lines past the tables' capacity, wrong column counts, section ids out of file
// order, order flags other than one Y or N, repeated section labels and names, keys a document
// cannot hold, fields of sections that do not exist. Findings come in file and line order.
Findings CheckCatalogues(const CatalogueSet& catalogues);

// The checks of CheckCatalogues for Sections.txt alone, and for Fields.txt alone.
Findings CheckSectionFile(const CatalogueSet& catalogues);
Findings CheckFieldFile(const CatalogueSet& catalogues);

}  // namespace tav::cli
