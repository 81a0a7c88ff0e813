// Checks of Sections.txt and Fields.txt: the lines the editor will not load, or will load in a
// way their writer hardly meant.
#pragma once

#include "catalog/catalogues.h"
#include "check/finding.h"

namespace tav::check {

// Everything in the two catalogue files of `catalogues` (the bytes kept in sectionFile and
// fieldFile) that the editor ignores, misreads or cannot save: lines past the tables' capacity,
// wrong column counts, section ids out of file order, order flags other than one Y or N, repeated
// section labels and names, keys a document cannot hold, fields of sections that do not exist.
// Findings name the file's path and come in file and line order. A file that could not be read
// has no lines and gives no findings: callers report Catalogues::ReadError themselves.
Findings CheckCatalogues(const Catalogues& catalogues);

// The checks of CheckCatalogues for Sections.txt alone, and for Fields.txt alone.
Findings CheckSectionFile(const Catalogues& catalogues);
Findings CheckFieldFile(const Catalogues& catalogues);

}  // namespace tav::check
