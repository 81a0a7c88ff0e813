// The leftovers of unfinished saves as the Windows half finds and removes them: the copy of an
// in-place write, beside the document or in the cache folder, and killed saves' temporary files.
#pragma once

#include <optional>
#include <string>
#include <vector>

#include "base/expected.h"
#include "base/fileaccess.h"
#include "storage/win32/winfile.h"

namespace tav {

// The complete copy of an in-place write that did not finish, found for a document.
struct FoundCopy {
    std::wstring full;      // its long-form path
    FileIdentity identity;  // which file it was when found

    std::string Shown() const;
};

// Looks for the copy of the document at `where`: beside it, then (with the `document`'s
// identity, when it exists) in the cache folder. Nothing when there is none, or when it is not a
// regular file.
std::optional<FoundCopy> FindCopyOf(const WidePath& where, const FileIdentity* document);

// The bytes of `copy`; the error names `errorPath`.
Expected<FileBytes> ReadCopyOf(const FoundCopy& copy, const std::string& errorPath);

// Removes `copy`, unless its name now holds another file; the error names `errorPath`.
Status RemoveCopyOf(const FoundCopy& copy, const std::string& errorPath);

// The names of the temporary files of saves of the document at `where` left beside it.
std::vector<std::string> FindTempsBeside(const WidePath& where);

}  // namespace tav
