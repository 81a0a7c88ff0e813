// What a save that did not finish leaves beside a document: the complete copy of an in-place
// write that was killed or failed part-way, and the temporary files of killed saves. Their names
// are made from the document's (tempfile.h), so the next open, set, check or save finds them.
#pragma once

#include <string>
#include <vector>

#include "base/expected.h"

namespace tav {

// What earlier saves left for the document at `path`.
struct Leftovers {
    std::string copy;                // the copy of an unfinished in-place write, or ""
    bool fileHoldsCopy = false;      // the document holds the copy's content already: the write
                                     // finished and only the copy's removal was missed
    std::vector<std::string> temps;  // temporary files of killed saves

    // True when the copy holds content the document may lack.
    bool Unfinished() const { return !copy.empty() && !fileHoldsCopy; }
};

// Looks for what earlier saves left for the document at `path` (resolved as a save resolves it).
// A document or folder that cannot be read gives the error, naming `path`.
Expected<Leftovers> FindLeftovers(const std::string& path);

}  // namespace tav
