// Checked whole-file reading shared by the catalogues and the document reader.
#pragma once

#include <string>

#include "expected.h"

namespace tav {

// Reads the whole regular file at `path` byte for byte and returns its bytes.
// Refuses folders, devices, pipes and anything else that is not a regular file, without blocking
// on them. On failure the error names `path` and the reason; Missing() on it tells whether the
// failure was simply that no such file exists.
Expected<std::string> ReadFileBytes(const std::string& path);

// ReadFileBytes on the file open as `fd` (readable, any position; read from its start with pread,
// so the descriptor's offset is unchanged); `path` is the name used in errors.
Expected<std::string> ReadOpenFile(int fd, const std::string& path);

// Joins a folder and a file name with exactly one '/' between them; an empty folder gives the
// bare name.
std::string JoinPath(const std::string& folder, const std::string& name);

}  // namespace tav
