// The leftovers of unfinished saves as the POSIX half finds and removes them: the copy of an
// in-place write, in the document's folder or the cache folder, and killed saves' temporary files.
#pragma once

#include <sys/stat.h>

#include <optional>
#include <string>
#include <vector>

#include "base/expected.h"
#include "base/fileaccess.h"
#include "storage/posix/safepath.h"
#include "storage/posix/tempfile.h"

namespace tav {

// The complete copy of an in-place write that did not finish, found for a document.
struct FoundCopy {
    UniqueFd folder;         // the folder holding it
    std::string folderPath;  // for messages
    std::string name;        // its name there
    struct stat info {};     // its lstat when found

    std::string Path() const;
    OpenFolderRef Folder() const { return {folder.Get(), folderPath}; }
};

// Looks for the copy of the document `name` in `folder`: beside it, then (with the document's
// `info`, when it exists) in the cache folder. Nothing when there is none, or when it is not a
// regular file (such a name is not ours to read).
std::optional<FoundCopy> FindCopy(const OpenFolderRef& folder, const std::string& name,
                                  const struct stat* info);

// The bytes of `copy`, read without following a link or blocking; the error names `errorPath`.
Expected<FileBytes> ReadCopy(const FoundCopy& copy, const std::string& errorPath);

// Removes `copy`, unless its name now holds another file (a newer save's copy); the error names
// `errorPath` and the copy.
Status RemoveCopy(const FoundCopy& copy, const std::string& errorPath);

// The names of the temporary files of saves of `name` left in `folder` (regular files only);
// none when the folder cannot be read.
std::vector<std::string> FindTemps(const OpenFolderRef& folder, const std::string& name);

}  // namespace tav
