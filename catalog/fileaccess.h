// Checked whole-file reading shared by the catalogues and the document reader.
#pragma once

#include <optional>
#include <string>

#include "fileerror.h"

namespace tav {

// Outcome of ReadFileBytes: either the bytes or the error, never both.
struct FileBytes {
    std::string bytes;
    std::optional<FileError> error;
    bool missing = false;  // the file does not exist (error is set too)
};

// Reads the whole regular file at `path` byte for byte.
// Refuses folders, devices, pipes and anything else that is not a regular file, without blocking
// on them. On failure `error` names the file and the reason and `missing` tells whether the
// failure was simply that no such file exists.
FileBytes ReadFileBytes(const std::string& path);

// Joins a folder and a file name with exactly one '/' between them; an empty folder gives the
// bare name.
std::string JoinPath(const std::string& folder, const std::string& name);

}  // namespace tav
