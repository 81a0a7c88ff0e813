// The names of a save's temporary files, made from the document's name, so that the files a
// killed save leaves behind can be told and found again, on every platform alike.
#pragma once

#include <string>
#include <string_view>

#include "base/readonlyfile.h"

namespace tav {

// What every temporary file of a save of the document `documentName` starts with: a dot, the start
// of the name (at most 32 bytes, no UTF-8 sequence cut), a dot and eight hex digits made from the
// whole name.
std::string TempNamePrefix(const std::string& documentName);

// True when `entry` is the name of a temporary file TempFile::Create made for `documentName`.
bool IsTempNameOf(std::string_view entry, const std::string& documentName);

// The name of the complete copy an in-place write of `documentName` keeps beside the document
// until the document holds the new content: TempNamePrefix(documentName) + ".new".
std::string CopyNameBeside(const std::string& documentName);

// The name of that copy in the cache folder, where documents of every folder meet: the volume
// and index of the `document` (device and inode on POSIX) before it, then as CopyNameBeside.
std::string CopyNameInCache(const FileIdentity& document, const std::string& documentName);

// A new name for a temporary file of a save of `documentName`: TempNamePrefix(documentName) and
// six random letters or digits. A save tries up to kTempNameAttempts names before it gives up.
std::string NewTempName(const std::string& documentName);
inline constexpr int kTempNameAttempts = 100;

}  // namespace tav
