// Putting new content into a document file, which the caller has locked and read: by a rename
// where that keeps everything that makes the file what it is, else by writing over it in place,
// from a complete copy kept until the document holds the new content.
#pragma once

#include <sys/stat.h>

#include <string>
#include <string_view>

#include "../catalog/expected.h"
#include "splicedbytes.h"

namespace tav {

// A document file as it was read for a save.
struct ReadDocument {
    std::string path;     // as the user named it: every error names this
    std::string target;   // the file itself, symbolic links followed
    int fd = -1;          // open for reading (and locked by the caller)
    struct stat info {};  // fstat of `fd` before it was read
};

enum class ReplaceOutcome {
    Replaced,          // the document holds the new content
    ChangedMeanwhile,  // someone else changed (or created) the file since it was read: nothing
                       // was written, read it again
};

// Writes `bytes` as the new content of `file`, keeping its owner, group, mode, ACL and extended
// attributes. Normally the bytes go to a temporary file beside it, which gets the document's
// metadata, is flushed and renamed over it, and the folder is flushed. The document is written
// in place (same inode) when a rename would lose something: it has more than one hard link, its
// metadata cannot be given to a new file by this saver, its folder takes no new files from this
// saver, or the rename is refused as busy (a bind-mount target). In place, the complete new
// content is first written and flushed to a copy (beside the document, else in
// TempFile::CacheFolder), then written over the document from its start, which is cut to size
// and flushed, then the copy is removed.
// Just before replacing, checks that `file.target` still names the file that was read (same
// inode, size, modification and change time); if not, returns ChangedMeanwhile having written
// nothing. Refuses a file with no write permission bit ("the file is read-only") or that the
// saver may not write.
// On failure the document is as it was, except after a failure part-way through an in-place
// write: the copy is then kept and the error says where it is.
Expected<ReplaceOutcome> ReplaceDocumentContent(const ReadDocument& file,
                                                const SplicedBytes& bytes);

// Creates the file `target` (symbolic links already followed) with `bytes`, mode 0666 less the
// umask: through a temporary file beside it, moved to `target` only if no file has that name, and
// the folder flushed. Returns ChangedMeanwhile, having written nothing, when a file appeared under
// that name meanwhile. Errors name `path`.
Expected<ReplaceOutcome> CreateDocumentFile(const std::string& path, const std::string& target,
                                            const SplicedBytes& bytes);

}  // namespace tav
