#include "storage/documentfile.h"

#include <fcntl.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <optional>

#include "base/fileaccess.h"
#include "storage/filelock.h"
#include "storage/filereplacement.h"
#include "storage/leftovers.h"
#include "storage/safepath.h"

namespace tav {

namespace {

// How often the lock is taken again because another saver replaced the file while this one
// waited for it: each time means a save of someone else completed, so this only guards against
// a loop that would never end.
constexpr int kLockAttempts = 1000;

FileError Failure(const std::string& path, const std::string& what, int code) {
    return FileError{path, what + std::strerror(code), code, WriteState::Untouched};
}

// The document, open for reading and locked; closing it releases the lock.
struct LockedFile {
    UniqueFd fd;          // invalid when no file has the name
    bool locked = false;  // false on file systems without flock
    bool again = false;   // the name became a link or something else: resolve the path again
};

// Opens the regular file `name` in `folder` for reading, without following a link or blocking,
// and locks it, until the lock is held on the file the name leads to.
Expected<LockedFile> OpenLocked(const std::string& path, const OpenFolderRef& folder,
                                const std::string& name) {
    for (int attempt = 0; attempt < kLockAttempts; ++attempt) {
        // Looked at first, so that no FIFO or device is ever opened.
        struct stat named {};
        if (::fstatat(folder.fd, name.c_str(), &named, AT_SYMLINK_NOFOLLOW) != 0) {
            if (errno == ENOENT) {
                return LockedFile{};
            }
            return Failure(path, "cannot open: ", errno);
        }
        if (S_ISLNK(named.st_mode)) {
            return LockedFile{UniqueFd(), false, true};
        }
        if (S_ISDIR(named.st_mode)) {
            return FileError{path, "is a folder, not a file", EISDIR, WriteState::Untouched};
        }
        if (!S_ISREG(named.st_mode)) {
            return FileError{path, "is not a regular file", EINVAL, WriteState::Untouched};
        }
        LockedFile file{UniqueFd(::openat(
            folder.fd, name.c_str(), O_RDONLY | O_NOFOLLOW | O_NONBLOCK | O_NOCTTY | O_CLOEXEC))};
        if (!file.fd.Valid()) {
            if (errno == ELOOP || errno == ENOENT) {
                return LockedFile{UniqueFd(), false, true};
            }
            return Failure(path, "cannot open: ", errno);
        }
        struct stat opened {};
        if (::fstat(file.fd.Get(), &opened) != 0) {
            return Failure(path, "cannot open: ", errno);
        }
        if (!S_ISREG(opened.st_mode)) {
            return LockedFile{UniqueFd(), false, true};  // swapped since it was looked at
        }
        const Expected<LockResult> lock = LockExclusively(file.fd.Get(), path);
        if (!lock) {
            return NothingWritten(lock.Error());
        }
        if (*lock == LockResult::Unsupported) {
            return file;
        }
        file.locked = true;
        struct stat now {};
        if (::fstatat(folder.fd, name.c_str(), &now, AT_SYMLINK_NOFOLLOW) != 0 && errno != ENOENT) {
            return Failure(path, "cannot open: ", errno);
        }
        if (now.st_dev == opened.st_dev && now.st_ino == opened.st_ino) {
            return file;
        }
    }
    return FileError{path, "the file keeps being replaced by other programs", EAGAIN,
                     WriteState::Untouched};
}

// The copy an unfinished in-place write left, dealt with as `choice` says before the edit: gives
// the copy still to be removed after the write (with its bytes in `copyBytes` for Restore), or
// the refusal.
Expected<std::optional<FoundCopy>> TakeLeftover(const std::string& path, const ReadDocument& file,
                                                std::string_view current, LeftoverChoice choice,
                                                FileBytes& copyBytes) {
    std::optional<FoundCopy> copy = FindCopy(file.folder, file.name, &file.info);
    if (!copy) {
        return copy;
    }
    Expected<FileBytes> bytes = ReadCopy(*copy, path);
    if (!bytes) {
        return NothingWritten(bytes.Error());
    }
    if (bytes->View() == current || choice == LeftoverChoice::Discard) {
        // The earlier write finished (only its copy's removal was missed), or the user keeps the
        // file as it is.
        if (const Status removed = RemoveCopy(*copy, path); !removed) {
            return NothingWritten(removed.Error());
        }
        return std::optional<FoundCopy>();
    }
    if (choice == LeftoverChoice::Refuse) {
        return FileError{path,
                         "an earlier save of this file did not finish: the file may be "
                         "incomplete, and the complete content of that save is in " +
                             copy->Path() +
                             " (restore it with tacconf set --recover, or open the file in the "
                             "editor, which offers to)",
                         EAGAIN, WriteState::Untouched};
    }
    copyBytes = std::move(*bytes);
    return copy;
}

// Removes the temporary files that killed saves of the document left beside it. Only a saver
// holding the lock on the file its name leads to makes them, so while this one does, every other
// is a leftover (after its rename a saver holds the lock of the old file, not of the name's).
void RemoveKilledTemps(const ReadDocument& file) {
    for (const std::string& temp : FindTemps(file.folder, file.name)) {
        ::unlinkat(file.folder.fd, temp.c_str(), 0);  // a leftover that stays is harmless
    }
}

// After a write: the copy it restored goes.
Status CleanUp(const std::string& path, const std::optional<FoundCopy>& copy) {
    if (copy) {
        if (const Status removed = RemoveCopy(*copy, path); !removed) {
            FileError error = removed.Error();
            error.state = WriteState::Saved;
            return error;
        }
    }
    return {};
}

// One read-edit-write cycle; nothing when the file changed meanwhile and the cycle must be redone.
Expected<std::optional<ReplaceOutcome>> RewriteOnce(const std::string& path,
                                                    const DocumentEdit& edit,
                                                    WrittenContent* written,
                                                    const RewriteOptions& options) {
    Expected<FolderEntry> entry = ResolveEntry(path, path);
    if (!entry) {
        return NothingWritten(entry.Error());
    }
    const OpenFolderRef folder{entry->folder.Get(), entry->folderPath};
    Expected<LockedFile> locked = OpenLocked(path, folder, entry->name);
    if (!locked) {
        return locked.Error();
    }
    if (locked->again) {
        return std::optional<ReplaceOutcome>();
    }
    const bool exists = locked->fd.Valid();
    if (!exists && !entry->danglingLink.empty()) {
        return FileError{path,
                         "is a symbolic link (" + entry->danglingLink +
                             ") to a file that does not exist; no file is created through it",
                         ENOENT, WriteState::Untouched};
    }
    if (!exists && !options.createMissing) {
        return FileError{path, std::strerror(ENOENT), ENOENT, WriteState::Untouched};
    }
    ReadDocument file{path, folder, entry->name, locked->fd.Get(), {}};
    FileBytes current;
    FileBytes copyBytes;
    std::optional<FoundCopy> copy;
    if (exists) {
        if (::fstat(file.fd, &file.info) != 0) {
            return Failure(path, "cannot read: ", errno);
        }
        Expected<FileBytes> bytes = ReadOpenFile(file.fd, path);
        if (!bytes) {
            return NothingWritten(bytes.Error());
        }
        current = std::move(*bytes);
        if (locked->locked) {
            RemoveKilledTemps(file);
        }
        Expected<std::optional<FoundCopy>> leftover =
            TakeLeftover(path, file, current.View(), options.leftover, copyBytes);
        if (!leftover) {
            return leftover.Error();
        }
        copy = std::move(*leftover);
    }
    std::string_view given = copy ? copyBytes.View() : current.View();
    if (!exists && options.contentIfMissing) {
        const Expected<std::string_view> content = options.contentIfMissing();
        if (!content) {
            return NothingWritten(content.Error());
        }
        given = *content;
    }
    Expected<SplicedBytes> next = edit(given);
    if (!next) {
        FileError error = NothingWritten(next.Error());
        error.file = error.file.empty() ? path : error.file;
        return error;
    }
    if (written != nullptr) {
        *written = WrittenContent{next->Size(), ContentHash::Of(*next), 0, 0};
    }
    if (exists && next->Equals(current.View())) {
        if (const Status cleaned = CleanUp(path, copy); !cleaned) {
            return cleaned.Error();
        }
        return std::optional<ReplaceOutcome>(ReplaceOutcome::Replaced);
    }
    ino_t inode = 0;
    const Expected<ReplaceOutcome> outcome =
        exists ? ReplaceDocumentContent(file, *next, &inode)
               : CreateDocumentFile(path, folder, entry->name, *next, &inode, options.newFileMode);
    if (!outcome) {
        return NothingWritten(outcome.Error());
    }
    if (*outcome != ReplaceOutcome::Replaced) {
        return std::optional<ReplaceOutcome>();
    }
    if (written != nullptr) {
        written->device = exists ? file.info.st_dev : entry->folderInfo.st_dev;
        written->inode = inode;
    }
    if (const Status cleaned = CleanUp(path, copy); !cleaned) {
        return cleaned.Error();
    }
    return std::optional<ReplaceOutcome>(ReplaceOutcome::Replaced);
}

}  // namespace

Status RewriteDocument(const std::string& path, const DocumentEdit& edit, WrittenContent* written,
                       const RewriteOptions& options) {
    if (path.empty()) {
        return FileError{"(no file)", "the document has no file name yet", 0,
                         WriteState::Untouched};
    }
    for (int attempt = 0; attempt < kRewriteAttempts; ++attempt) {
        const Expected<std::optional<ReplaceOutcome>> done =
            RewriteOnce(path, edit, written, options);
        if (!done) {
            return done.Error();
        }
        if (*done) {
            return {};
        }
    }
    return FileError{path,
                     "the file kept changing while it was being saved (read " +
                         std::to_string(kRewriteAttempts) + " times)",
                     EAGAIN, WriteState::Untouched};
}

namespace {

Status RewriteUnchanged(const std::string& path, LeftoverChoice choice) {
    return RewriteDocument(
        path,
        [](std::string_view current) -> Expected<SplicedBytes> { return SplicedBytes(current); },
        nullptr, RewriteOptions{choice, false});
}

}  // namespace

Status RestoreLeftoverCopy(const std::string& path) {
    return RewriteUnchanged(path, LeftoverChoice::Restore);
}

Status DiscardLeftoverCopy(const std::string& path) {
    return RewriteUnchanged(path, LeftoverChoice::Discard);
}

}  // namespace tav
