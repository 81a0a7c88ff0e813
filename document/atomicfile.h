// Writing a whole file so that it is either the old file or the complete new one, never a mix.
#pragma once

#include <functional>
#include <string>
#include <string_view>

#include "../catalog/expected.h"

namespace tav {

// The steps of an atomic write, for fault injection in tests.
enum class SaveStep { CreateTemp, Write, Sync, Rename };

// Hook that lets tests make a step fail (a read-only folder, a full disk, a failing rename) or act
// part-way (kill the process): called before each step, and before each chunk of the write with the
// number of bytes written so far; returns 0 to go on or an errno value to fail the step with.
using SaveFaultHook = std::function<int(SaveStep step, std::size_t bytesSoFar)>;

// Writes `bytes` as the new content of `path`: into a temporary file in the same folder, flushed to
// disk, then renamed over the target. A symbolic link is written through to the file it names.
// An existing file keeps its permission bits; a new one gets 0666 less the umask.
// Succeeds once the new content is in place. On any failure the old file is untouched, the
// temporary file is removed, and the error names `path` and the reason (with the errno value when
// a system call failed).
Status WriteFileAtomically(const std::string& path, std::string_view bytes);

// Installs a fault hook for tests (an empty function removes it).
void SetSaveFaultHookForTesting(SaveFaultHook hook);

}  // namespace tav
