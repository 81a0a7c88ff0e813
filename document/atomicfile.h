// Writing a whole file so that it is either the old file or the complete new one, never a mix.
#pragma once

#include <optional>
#include <string>
#include <string_view>

#include "../catalog/fileaccess.h"

namespace tav {

// Hook that lets tests make a write fail part-way (a full disk, a killed process): called with the
// number of bytes about to be written; returning false makes that write fail with `ENOSPC`.
using WriteFaultHook = bool (*)(std::size_t bytesSoFar);

// Writes `bytes` as the new content of `path`: into a temporary file in the same folder, flushed to
// disk, then renamed over the target. A symbolic link is written through to the file it names.
// An existing file keeps its permission bits; a new one gets 0666 less the umask.
// On any failure the old file is untouched, the temporary file is removed, and the error names the
// file and the reason.
std::optional<FileError> WriteFileAtomically(const std::string& path, std::string_view bytes);

// Installs a fault hook for tests (nullptr removes it).
void SetWriteFaultHookForTesting(WriteFaultHook hook);

}  // namespace tav
