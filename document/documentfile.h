// The one read-modify-write cycle of a document file, shared by every save.
#pragma once

#include <cstddef>
#include <cstdint>
#include <functional>
#include <string>
#include <string_view>

#include "../catalog/expected.h"
#include "splicedbytes.h"

namespace tav {

// Makes the new bytes of a document from its current bytes (empty for a file that does not exist
// yet), or the error that prevents the save. It may be called more than once in one rewrite (when
// the file changed meanwhile), each time with the file's bytes of that moment, so it must not
// change anything outside itself until the rewrite has succeeded. The pieces it returns usually
// point into `current` and into lines the edit keeps: they must stay valid until the edit is
// called again or the rewrite returns.
using DocumentEdit = std::function<Expected<SplicedBytes>(std::string_view current)>;

// What a document file holds after a rewrite: its size and ContentHash.
struct WrittenContent {
    std::size_t size = 0;
    std::uint64_t hash = 0;
};

// How many times RewriteDocument reads and edits a file that someone else keeps changing before it
// gives up.
inline constexpr int kRewriteAttempts = 5;

// Reads the document at `path`, gives its bytes to `edit` and writes what `edit` returns, holding
// an exclusive advisory lock (flock) on the file for the whole cycle, so that every saver of this
// program waits for the one before it. A symbolic link is followed to the file it names.
// - After taking the lock, the path must still name the locked file (another saver may have
//   renamed a new file over it while this one waited); if not, the new file is opened and locked.
//   On file systems without flock (ENOLCK, EOPNOTSUPP, EBADF, as on some network file systems) the
//   cycle goes on without the lock and relies on the check below.
// - Just before the file is replaced it must still be the file that was read (same inode, size,
//   modification and change time); if a program that does not lock changed it meanwhile, the
//   file is read and `edit` applied again, at most kRewriteAttempts times in all, then the save
//   fails saying the file kept changing, with nothing written.
// - When `edit` returns the bytes it was given for an existing file, nothing is written.
// - A file that does not exist is created, unless a file of that name appears meanwhile: the
//   cycle then starts again on that file.
// The write keeps owner, group, mode, ACL, extended attributes and hard links (see
// ReplaceDocumentContent in filereplacement.h for when it writes in place).
// Returns `edit`'s error unchanged (its `file` filled with `path` when empty), or the error of
// reading, locking or writing, which names `path` and the reason. On failure the file is as it
// was, except after an in-place write that failed half-way, whose error names the copy holding
// the complete new content. With `written`, a success also tells what the file holds now.
Status RewriteDocument(const std::string& path, const DocumentEdit& edit,
                       WrittenContent* written = nullptr);

}  // namespace tav
