// The fault seam every step of a save passes through (RewriteDocument, documentfile.h, writes a
// file so that it is either the old file or the complete new one, never a mix).
#pragma once

#include <cstddef>
#include <functional>

namespace tav {

// The steps of a save, for fault injection in tests.
enum class SaveStep {
    CreateTemp,   // creating a temporary file: beside the document, or the copy in the cache
    Write,        // writing the temporary file, before each chunk
    Sync,         // flushing the temporary file to disk
    Verify,       // checking that the document is still the file that was read
    Rename,       // renaming the temporary file over the document (or onto a new name)
    SyncFolder,   // flushing a folder: after the rename, or after making the copy
    Overwrite,    // in place: writing over the document from its start, before each chunk
    Truncate,     // in place: cutting the document to the new size
    SyncInPlace,  // in place: flushing the document to disk
    RemoveCopy,   // in place: removing the copy once the document holds the new content
};

// Hook that lets tests make a step fail (a read-only folder, a full disk, a failing rename) or act
// part-way (kill the process, change the file): called before each step, and before each chunk of
// a write with the number of bytes written so far; returns 0 to go on or an errno value to fail
// the step with.
using SaveFaultHook = std::function<int(SaveStep step, std::size_t bytesSoFar)>;

// Installs a fault hook for tests (an empty function removes it).
void SetSaveFaultHookForTesting(SaveFaultHook hook);

// For the save code: true when the hook (if any) lets `step` go on; otherwise errno holds the
// error the hook chose.
bool SaveStepAllowed(SaveStep step, std::size_t bytesSoFar = 0);

}  // namespace tav
