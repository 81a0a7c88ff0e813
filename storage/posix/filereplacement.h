// Putting new content into a document file, which the caller has resolved, locked and read: by a
// rename where that keeps everything that makes the file what it is, else by writing over it in
// place, from a complete copy kept until the document holds the new content. Every step works on
// the folder the caller holds open and on names in it that are never followed as links.
#pragma once

#include <sys/stat.h>

#include <optional>
#include <string>
#include <string_view>

#include "base/expected.h"
#include "base/splicedbytes.h"
#include "storage/documentslot.h"
#include "storage/posix/tempfile.h"

namespace tav {

// A document file as it was read for a save.
struct ReadDocument {
    std::string path;      // as the user named it: every error names this
    OpenFolderRef folder;  // the folder holding it, open
    std::string name;      // its name in that folder, not a symbolic link
    int fd = -1;           // open for reading (and locked by the caller)
    struct stat info {};   // fstat of `fd` before it was read
};

// Writes `bytes` as the new content of `file`, keeping its owner, group, mode, ACL and extended
// attributes. Normally the bytes go to a temporary file beside it, which gets the document's
// metadata, is flushed and renamed over it, and the folder is flushed. The document is written
// in place (same inode) when a rename would lose something: it has more than one hard link, its
// metadata cannot be given to a new file by this saver, its folder takes no new files from this
// saver, or the rename is refused as busy (a bind-mount target). In place, the complete new
// content is first written and flushed to a temporary file, which is then renamed to the copy's
// name (CopyNameBeside, or CopyNameInCache in TempFile::CacheFolder), so that a copy under that
// name is always complete; the document is reopened by its name in the folder without following
// links, must be the very file that was read, is written from its start, cut to size and
// flushed, and the copy is removed.
// Just before replacing, checks that the name still leads to the file that was read (same
// inode, size, modification and change time); if not, returns ChangedMeanwhile having written
// nothing. Refuses a file with no write permission bit ("the file is read-only") or that the
// saver may not write.
// A failure's state (FileError::state) says what it left: Untouched, Saved (the new content is in
// place, but the folder flush or the copy's removal failed) or Incomplete (an in-place write
// stopped part-way or could not be flushed: `copy` names the complete copy, which is kept).
// With `inode`, a success tells the inode that holds the new content now.
Expected<ReplaceOutcome> ReplaceDocumentContent(const ReadDocument& file, const SplicedBytes& bytes,
                                                ino_t* inode = nullptr);

// Creates the file `name` in `folder` with `bytes`, mode `mode` (nothing: 0666 less the umask, as
// any program creates a file there): through a temporary
// file beside it, moved to the name only if nothing has that name (not even a dangling link),
// and the folder flushed. Returns ChangedMeanwhile, having written nothing, when something
// appeared under that name meanwhile. Errors name `path` and carry their state as above.
Expected<ReplaceOutcome> CreateDocumentFile(const std::string& path, const OpenFolderRef& folder,
                                            const std::string& name, const SplicedBytes& bytes,
                                            ino_t* inode = nullptr,
                                            std::optional<mode_t> mode = std::nullopt);

}  // namespace tav
