// The one read-modify-write cycle of a document file, shared by every save.
#pragma once

#include <cstddef>
#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <string_view>

#include "base/expected.h"
#include "base/splicedbytes.h"

namespace tav {

// Makes the new bytes of a document from its current bytes (empty for a file that does not exist
// yet), or the error that prevents the save. It may be called more than once in one rewrite (when
// the file changed meanwhile), each time with the file's bytes of that moment, so it must not
// change anything outside itself until the rewrite has succeeded. The pieces it returns usually
// point into `current` and into lines the edit keeps: they must stay valid until the edit is
// called again or the rewrite returns.
using DocumentEdit = std::function<Expected<SplicedBytes>(std::string_view current)>;

// What a document file holds after a rewrite: its size and ContentHash, and which file that is
// (FileIdentity's volume and index; both 0 when nothing had to be written).
struct WrittenContent {
    std::size_t size = 0;
    std::uint64_t hash = 0;
    std::uint64_t volume = 0;
    std::uint64_t index = 0;
};

// How many times RewriteDocument reads and edits a file that someone else keeps changing before it
// gives up.
inline constexpr int kRewriteAttempts = 5;

// What a rewrite does with the complete copy an earlier in-place write of the document left
// because it never finished (leftovers.h). A copy whose content the file already holds is simply
// removed, whatever is chosen.
enum class LeftoverChoice {
    Refuse,   // fail, naming the copy and how to restore it, having written nothing
    Restore,  // the edit applies to the copy's content instead of the file's; the copy is then
              // removed
    Discard,  // the file is kept as it is: the copy is removed
};

struct RewriteOptions {
    LeftoverChoice leftover = LeftoverChoice::Refuse;
    bool createMissing = true;  // false: a document that does not exist is an error (ENOENT)
    // The POSIX permission bits of a document made here (nothing: 0666 less the umask). Windows
    // has no such bits: a new document gets its folder's inherited permissions there.
    std::optional<unsigned> newFileMode{};
    // When set, what `edit` is given for a document that does not exist (instead of no bytes):
    // the content it had when last read, for a file someone removed while it was open. Its error
    // fails the rewrite, with nothing written.
    std::function<Expected<std::string_view>()> contentIfMissing{};
};

// Reads the document at `path`, gives its bytes to `edit` and writes what `edit` returns, holding
// an exclusive lock on the file for the whole cycle (advisory: flock on POSIX; on Windows a
// byte-range lock far past the content, which blocks no reader), so that every saver of this
// program waits for the one before it. The platform's DocumentSlot (documentslot.h) does the
// file operations; the rules are these:
// - The path is resolved once: a symbolic link is followed only where the platform's rule allows
//   it (on POSIX MayFollowLink, at every component, storage/posix/safepath.h), and every later
//   step works on the file the name leads to then, never blocking on a FIFO. A name that turns
//   into a link meanwhile makes the cycle start again from the path; anything that is not a
//   regular file is refused before it is opened for writing.
// - The lock is waited for as WaitForLock (filelock.h) says: never without telling the thread's
//   sink, and never longer than it allows. After taking it, the name must still lead to the
//   locked file (another saver may have renamed a new file over it while this one waited); if
//   not, the new file is opened and locked. On file systems without locks the cycle goes on
//   without one and relies on the check below.
// - Just before the file is replaced it must still be the file that was read (same identity,
//   size, modification and change time); if a program that does not lock changed it meanwhile,
//   the file is read and `edit` applied again, at most kRewriteAttempts times in all, then the
//   save fails saying the file kept changing, with nothing written.
// - An earlier in-place write's copy is dealt with as `options.leftover` says; once the cycle has
//   written, the temporary files killed saves of the document left beside it are removed.
// - When `edit` returns the bytes the file holds, nothing is written.
// - A file that does not exist is created (unless `options.createMissing` is false), never
//   through a link to a missing file, and only if nothing appears under that name meanwhile: the
//   cycle then starts again on that file.
// The write keeps what makes the file more than its bytes: on POSIX owner, group, mode, ACL,
// extended attributes and hard links (see ReplaceDocumentContent in
// storage/posix/filereplacement.h for when it writes in place); on Windows its ACL, attributes,
// streams and hard links (docs/WINDOWS.md).
// Returns `edit`'s error (its `file` filled with `path` when empty), or the error of reading,
// locking or writing, which names `path` and the reason; every error carries the state it left the
// file in (FileError::state: Untouched unless the write says Saved or Incomplete).
// With `written`, a success also tells what the file holds now.
Status RewriteDocument(const std::string& path, const DocumentEdit& edit,
                       WrittenContent* written = nullptr, const RewriteOptions& options = {});

// Puts back the complete content an unfinished in-place write of `path` kept in its copy
// (leftovers.h): written over the file as any save writes it, under the lock, and the copy
// removed. A file that already holds that content only loses the copy; with no copy, nothing is
// done. Errors as RewriteDocument's.
Status RestoreLeftoverCopy(const std::string& path);

// Removes that copy, keeping the file as it is. Errors as RewriteDocument's.
Status DiscardLeftoverCopy(const std::string& path);

}  // namespace tav
