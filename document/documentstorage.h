// Where a document model meets its file: opening it, the one save entry every writer uses
// (the editor's Save and Save As, tacconf set), the check for changes someone else made on disk,
// and the disk's bytes a merge takes in. The model (configdocument.h) holds the content, its
// edits and history; this class reads and writes it through storage/ (documentfile.h).
#pragma once

#include <cstddef>
#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "base/expected.h"
#include "base/fileaccess.h"
#include "base/textencoding.h"
#include "document/configdocument.h"
#include "storage/documentfile.h"

namespace tav {

// How Open treats a path that names no file.
enum class MissingFile {
    OpensEmpty,  // a document without keys, saved as a new file (the editor's Open and New)
    IsAnError,   // the command line names files that exist
};

// The time stamp text a save writes into Updated of section TACInfo (see CurrentTimeText).
using SaveClock = std::function<std::string()>;

// The document's file as it is now, compared with the bytes it was opened from or last written.
struct DiskState {
    bool changed = false;  // someone else wrote it since (or created it, for a new document)
    bool deleted = false;  // it existed and is gone
    FileBytes bytes;       // the file's bytes now (empty when there is none)
};

// What a save found when it was to write only over an unchanged file and the file had changed:
// the file's bytes as that save read them, and how they differ from the document (the input of
// a merge).
struct DiskChange {
    std::string_view bytes;
    DiskComparison comparison;
};

// What to do about a DiskChange: take the disk's changes in and write (Merge, with the conflicts
// listed in `takeTheirs` taking the disk's side), write the document as it is (Overwrite), or
// write nothing (Reload: the caller reads the file again; Cancel).
struct DiskResolution {
    enum class Answer { Merge, Overwrite, Reload, Cancel };
    Answer answer = Answer::Cancel;
    DiskChoices takeTheirs;
};

// What a save is asked to do.
struct SaveRequest {
    enum class Scope {
        WholeDocument,  // every catalogued key in display order, with the TACInfo stamps
        EditedKeys,     // only what was edited since the open or the last save, no stamps
    };
    enum class Condition {
        Always,       // whatever the file holds now gets the writes
        IfUnchanged,  // only over the bytes the document last read or wrote (see onChanged)
    };
    Scope scope = Scope::WholeDocument;
    Condition condition = Condition::Always;
    // Save As: the file and name that become the document's on success. Another file gets the
    // whole document: the document's own file as it is now, with the writes applied.
    std::optional<std::string> path;
    std::string name;
    // With IfUnchanged, asked when the file changed, after its lock is let go; its answer decides
    // (no function: nothing is written, the outcome says FileChanged).
    std::function<DiskResolution(const DiskChange&)> onChanged;
    // Told each warning of the read a Merge answer makes (entries that did not fit), as it comes.
    std::function<void(const std::string& warning)> warn;
    // tacconf set: the file at `path` (else the document's; it must exist) is read under its lock
    // into a document of its own, which `edit` changes; its edits are written (as EditedKeys) and,
    // once the write has succeeded, the model takes that document's content (listeners told
    // Reset, then Saved).
    // `edit` gets the read's warnings and returns false to refuse: nothing is written. When the
    // file changes before the write, all of it is done again on the new content.
    std::function<bool(ConfigDocument& read, const std::vector<std::string>& warnings)> edit;
    std::optional<TextEncoding> encoding;  // for `edit`: the encoding to read in
    // For `edit`: what is done with the copy an unfinished in-place write left (RewriteDocument).
    LeftoverChoice leftover = LeftoverChoice::Refuse;
    // For `edit`: told the file's bytes as read (none for a file `create` makes) and the bytes
    // the write gives it (the same bytes when nothing changes) just before the write, or instead
    // of it with `dryRun`; told again when the file changed meanwhile and all is done again.
    std::function<void(std::string_view before, const SplicedBytes& after)> preview;
    // For `edit`: the file is read (without its lock: nothing is written), edited and shown to
    // `preview`; the model is left alone and the outcome is Previewed.
    bool dryRun = false;
    // For `edit` with dryRun: the bytes that stand for the file's (a document on standard input).
    std::optional<std::string_view> given;
    // For `edit`: a file that does not exist is made, with the permission bits `createMode`
    // (nothing: 0666 less the umask), instead of being an error.
    bool create = false;
    std::optional<unsigned> createMode;
};

// How a save ended that did not fail.
enum class SaveOutcome {
    Saved,        // written (or nothing needed writing)
    Refused,      // the request's edit refused: nothing written
    FileChanged,  // IfUnchanged without onChanged: the file changed, nothing written
    Reload,       // onChanged answered Reload: nothing written
    Cancelled,    // onChanged answered Cancel: nothing written
    Previewed,    // the request's dryRun: nothing written
};

class DocumentStorage final {
public:
    // The storage of `document`, stamping saves with the texts `clock` gives; both must outlive
    // it. The document is taken as it is: a document with a path is treated as unread (its file
    // counts as changed by someone else until it is opened or saved here).
    DocumentStorage(ConfigDocument& document, SaveClock clock);
    DocumentStorage(const DocumentStorage&) = delete;
    DocumentStorage& operator=(const DocumentStorage&) = delete;

    // Reads the document at `path` (empty: a new document) into the model under `name` (see
    // ConfigDocument::OpenBytes). Returns the read's warnings. A file that exists but cannot be
    // read (or, with IsAnError, does not exist) is the error, and nothing changes. The encoding
    // is `encoding` when given, else decided from the bytes read (see DecideEncoding).
    Expected<std::vector<std::string>> Open(const std::string& path, const std::string& name,
                                            MissingFile missing = MissingFile::OpensEmpty,
                                            std::optional<TextEncoding> encoding = std::nullopt);

    // Starts a new, unnamed document (the model's New); the storage has no file then.
    void New();

    // The one save. Reads the file under its lock, applies the request's writes and writes the
    // result (RewriteDocument, documentfile.h), as `request` says. A document without a path (and
    // no request path) is an error. A removed file of this document is written again whole, from
    // the content it had when last read or written. On success the model is unmodified, the
    // written values are its new reference, and its listeners are told (the stamps' rows as
    // Value, then Saved); on failure or when nothing is written, nothing in the model changes
    // and no listener is told (but for a Merge answer, which the model takes in before writing).
    Expected<SaveOutcome> Save(const SaveRequest& request);

    // The document's file as it is now, compared with the bytes it was opened from or last
    // written. A document without a path has no file and never changes. Fails when the file
    // exists but cannot be read.
    Expected<DiskState> CheckDisk() const;

    // The bytes a whole-document save would write over `bytes`, without writing anything or
    // changing the document; the error is the write a save would refuse.
    Expected<std::string> SavedBytes(std::string_view bytes) const;

private:
    // What the file held when it was read or last written, to tell someone else's writes from
    // ours.
    struct Fingerprint {
        bool exists = false;
        std::size_t size = 0;
        std::uint64_t hash = 0;  // ContentHash

        bool operator==(const Fingerprint&) const = default;
    };
    static Fingerprint FingerprintOf(std::string_view bytes, bool exists);

    // Save without an edit: writes as `request` says, or, when it finds the file changed under
    // IfUnchanged, writes nothing and gives the bytes it read in `changedBytes`.
    Status Write(const SaveRequest& request, std::optional<std::string>& changedBytes);
    // Asks the request's onChanged about `bytes` and does what it answers.
    Expected<SaveOutcome> Resolve(const SaveRequest& request, const std::string& bytes);
    Expected<SaveOutcome> EditAndWrite(const SaveRequest& request);
    Expected<SaveOutcome> EditAndPreview(const SaveRequest& request);
    void Written(const std::string& path, const WrittenContent& written);
    // Keeps the document's file open as it is now, when it is the file `written` describes (a
    // save's: that inode and size) or, for `written` without an inode, a file of its size; else
    // keeps nothing.
    // `content`, when given, is what the file holds (no need to read it again for its bytes).
    void KeepFile(const std::string& path, const WrittenContent& written,
                  std::optional<std::string_view> content = std::nullopt);
    // The bytes of the kept file: the document as last read or written, also once someone
    // removed its name. Empty bytes when no file is kept.
    Expected<FileBytes> KeptContent() const;

    ConfigDocument& m_document;
    SaveClock m_clock;
    Fingerprint m_disk;
    // The content of the file the document was last read from or written to, so that a save can
    // write the whole document again when someone removed the file: the file held open where a
    // removed file's content stays while it is open (kHeldFileSurvivesRemoval; read-only, and
    // nothing is read from it but then), else its bytes.
    std::optional<ReadOnlyFile> m_file;
    FileBytes m_keptBytes;
};

}  // namespace tav
