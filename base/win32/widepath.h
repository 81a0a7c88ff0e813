// Windows' side of text and paths: the core keeps every text in UTF-8, Windows takes UTF-16; and
// the system's error codes as the core's FileError.
#pragma once

#include <string>
#include <string_view>

#include "base/fileerror.h"

namespace tav {

// `utf8` as UTF-16 (an invalid sequence becomes U+FFFD).
std::wstring Widen(std::string_view utf8);

// `wide` as UTF-8 (an unpaired surrogate becomes U+FFFD).
std::string Narrow(std::wstring_view wide);

// `path` (UTF-8, '/' or '\\' between components, relative to the working folder, a drive
// letter, or a UNC path) as the full UTF-16 path the wide file functions take, with the "\\?\"
// (or "\\?\UNC\") prefix that lifts the 260-character limit. Empty when the path cannot be made
// full.
std::wstring LongPath(const std::string& path);

// A long-form path as a user writes it: UTF-8, without the "\\?\" prefix ("\\?\UNC\server"
// becomes "\\server").
std::string ShownPath(std::wstring_view full);

// The errno value that stands for the Windows error `code` in FileError::code (ENOENT for a
// missing file or folder, EACCES, EEXIST, EBUSY for a sharing or lock violation, ENOSPC...; EIO
// for the others).
int ErrnoOf(unsigned long code);

// The failure of a Windows call on `file` that left `code` in GetLastError(): the reason is
// `what` followed by the text of the errno value ErrnoOf gives, as SystemError words it, or, for
// the codes it maps to EIO, by the system's own text and the code's number.
FileError WindowsError(std::string file, unsigned long code, const std::string& what = {},
                       WriteState state = WriteState::NotAWrite);

}  // namespace tav
