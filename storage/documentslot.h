// What one read-edit-write cycle of a document asks of the platform (posix/, win32/): the cycle
// itself, with every rule of when to read, edit, write, retry or refuse, is one function for both
// (RewriteDocument, documentfile.h), and calls these in its order.
#pragma once

#include <cstdint>
#include <memory>
#include <optional>
#include <string>

#include "base/expected.h"
#include "base/fileaccess.h"
#include "base/splicedbytes.h"

namespace tav {

enum class ReplaceOutcome {
    Replaced,          // the document holds the new content
    ChangedMeanwhile,  // someone else changed, replaced or created the file since it was read:
                       // nothing was written, read it again
};

// The document file at one path, for one cycle.
class DocumentSlot {
public:
    virtual ~DocumentSlot() = default;

    enum class Found {
        Exists,   // the file is open and locked (or the file system has no locks: Locked())
        Missing,  // no file has the name
        Again,    // the name turned into something else meanwhile: start the cycle again
    };
    // Resolves the path and opens the regular file it names, without following a link the
    // platform's rule forbids or blocking, and takes the exclusive lock (LockExclusively's rule),
    // until the lock is held on the file the name leads to. Refuses what is not a regular file.
    virtual Expected<Found> OpenLocked() = 0;
    // False when the file system has no locks and the cycle goes on without one.
    virtual bool Locked() const = 0;
    // For a missing file reached through a symbolic link to nothing: that link; else "".
    virtual std::string DanglingLink() const = 0;

    // The bytes of the open file.
    virtual Expected<FileBytes> Read() = 0;
    // Removes the temporary files that killed saves of the document left beside it (only called
    // while the lock is held: then every other one is a leftover).
    virtual void RemoveKilledTemps() = 0;

    // Looks for the complete copy an unfinished in-place write of the document left (beside it,
    // or in the cache folder); true when there is one, which the three below then work on.
    virtual bool FindCopy() = 0;
    virtual std::string CopyPath() const = 0;
    virtual Expected<FileBytes> ReadCopy() = 0;
    // Removes the copy, unless its name holds another file by now.
    virtual Status RemoveCopy() = 0;

    // Puts `bytes` into the open file (ReplaceDocumentContent's rule), or creates it with `mode`
    // (CreateDocumentFile's). Errors carry the state they left the file in.
    virtual Expected<ReplaceOutcome> Replace(const SplicedBytes& bytes) = 0;
    virtual Expected<ReplaceOutcome> Create(const SplicedBytes& bytes,
                                            std::optional<unsigned> mode) = 0;
    // After a write: the volume and index of the file that holds the new content.
    virtual std::pair<std::uint64_t, std::uint64_t> WrittenFile() const = 0;
};

// What a replacement that could make no temporary file beside the document (`beside`, a
// permission error) gives when it wrote in place from a copy in the cache folder instead:
// `cached`, unless that too failed having written nothing and kept no copy; then its error names
// both reasons.
Expected<ReplaceOutcome> WithCacheCopy(const FileError& beside, Expected<ReplaceOutcome> cached);

// How many times a slot takes the lock again because another saver replaced the file while it
// waited: each time means a save of someone else completed, so this only guards against a loop
// that would never end; then OpenLocked fails with KeepsBeingReplaced.
inline constexpr int kLockAttempts = 1000;
FileError KeepsBeingReplaced(const std::string& path);

// The slot of the document at `path` (which every error names), on this platform.
std::unique_ptr<DocumentSlot> MakeDocumentSlot(const std::string& path);

}  // namespace tav
