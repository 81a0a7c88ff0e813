#include "storage/posix/filereplacement.h"

#include <fcntl.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <cstring>

#include "base/progress.h"
#include "base/translation.h"
#include "storage/atomicfile.h"
#include "storage/posix/filemetadata.h"

namespace tav {

namespace {

constexpr std::size_t kChunk = 1 << 20;

bool SameTime(const timespec& a, const timespec& b) {
    return a.tv_sec == b.tv_sec && a.tv_nsec == b.tv_nsec;
}

bool SameFile(const struct stat& a, const struct stat& b) {
    return a.st_dev == b.st_dev && a.st_ino == b.st_ino;
}

// True when the document's name still leads to the file as it was read (after the Verify step).
Expected<bool> StillAsRead(const ReadDocument& file) {
    if (!SaveStepAllowed(SaveStep::Verify)) {
        return SystemError(file.path, errno, Translate("Storage", "cannot check the file: "),
                           WriteState::Untouched);
    }
    struct stat now {};
    if (::fstatat(file.folder.fd, file.name.c_str(), &now, AT_SYMLINK_NOFOLLOW) != 0) {
        if (errno == ENOENT) {
            return false;
        }
        return SystemError(file.path, errno, Translate("Storage", "cannot check the file: "),
                           WriteState::Untouched);
    }
    const struct stat& read = file.info;
    return SameFile(now, read) && now.st_size == read.st_size &&
           SameTime(now.st_mtim, read.st_mtim) && SameTime(now.st_ctim, read.st_ctim);
}

Status CheckWritable(const ReadDocument& file) {
    // A rename needs no write permission on the file itself, so a read-only file is refused here,
    // as a direct write would be (also for root, who passes access()).
    if ((file.info.st_mode & 0222) == 0) {
        return FileError{file.path, Translate("Storage", "the file is read-only"), EACCES,
                         WriteState::Untouched};
    }
    if (::faccessat(file.folder.fd, file.name.c_str(), W_OK, 0) != 0) {
        return SystemError(file.path, errno, Translate("Storage", "cannot write: "),
                           WriteState::Untouched);
    }
    return {};
}

mode_t NewFileMode() {
    const mode_t mask = ::umask(0);
    ::umask(mask);
    return 0666 & ~mask;
}

// Opens the document again for writing, by its name in its folder and without following a link
// or blocking on a FIFO, and only when it is still the regular file that was locked and read.
// Gives -1 (errno 0) when the name leads elsewhere now.
Expected<int> ReopenForWriting(const ReadDocument& file) {
    const int fd = ::openat(file.folder.fd, file.name.c_str(),
                            O_WRONLY | O_NOFOLLOW | O_NONBLOCK | O_NOCTTY | O_CLOEXEC);
    if (fd < 0) {
        if (errno == ELOOP || errno == ENOENT || errno == ENXIO) {
            return -1;  // a link, nothing, or a FIFO without reader took its place
        }
        return SystemError(file.path, errno, Translate("Storage", "cannot write: "),
                           WriteState::Untouched);
    }
    struct stat opened {};
    if (::fstat(fd, &opened) != 0 || !S_ISREG(opened.st_mode) || !SameFile(opened, file.info)) {
        ::close(fd);  // nothing was written through it
        return -1;
    }
    return fd;
}

// Writes `bytes` over the open document `fd` from its start, cuts it to that size and flushes it.
// Returns the reason of the first failure, with its errno value; `touched` tells whether any byte
// of the document was changed before it.
Status Overwrite(int fd, const SplicedBytes& bytes, bool& touched) {
    touched = false;
    const long long done = bytes.WriteInChunks(
        kChunk, [fd, &bytes, &touched](std::size_t offset, std::string_view chunk) -> long long {
            if (!SaveStepAllowed(SaveStep::Overwrite, offset)) {
                return -1;
            }
            const ssize_t wrote =
                ::pwrite(fd, chunk.data(), chunk.size(), static_cast<off_t>(offset));
            if (wrote < 0) {
                return errno == EINTR ? 0 : -1;
            }
            touched = touched || wrote > 0;
            ReportProgress(offset + static_cast<std::size_t>(wrote), bytes.Size());
            return wrote;
        });
    if (done < 0) {
        return FileError{{}, Translate("Storage", "cannot write: ") + std::strerror(errno), errno};
    }
    touched = true;  // from here on the file may differ from what it was, whatever happens
    if (!SaveStepAllowed(SaveStep::Truncate) ||
        ::ftruncate(fd, static_cast<off_t>(bytes.Size())) != 0) {
        return FileError{
            {},
            Translate("Storage", "cannot cut the file to size: ") + std::strerror(errno),
            errno};
    }
    if (!SaveStepAllowed(SaveStep::SyncInPlace) || ::fsync(fd) != 0) {
        return FileError{
            {}, Translate("Storage", "cannot flush to disk: ") + std::strerror(errno), errno};
    }
    return {};
}

// The in-place write: `copy` holds the complete new content, flushed and closed, under its
// temporary name in `copyFolder`; `copyName` is the name that marks it complete.
Expected<ReplaceOutcome> WriteInPlace(const ReadDocument& file, const SplicedBytes& bytes,
                                      TempFile copy, const OpenFolderRef& copyFolder,
                                      const std::string& copyName) {
    // Only a complete copy carries the name the next open, set or check look for, and that name
    // must survive a crash before the document is touched.
    if (const Status renamed = copy.Rename(copyName, file.path); !renamed) {
        return NothingWritten(renamed.Error());
    }
    if (const Status synced = SyncFolder(copyFolder, file.path); !synced) {
        return NothingWritten(synced.Error());
    }
    const Expected<bool> same = StillAsRead(file);
    if (!same || !*same) {
        return same ? Expected<ReplaceOutcome>(ReplaceOutcome::ChangedMeanwhile) : same.Error();
    }
    const Expected<int> fd = ReopenForWriting(file);
    if (!fd) {
        return fd.Error();
    }
    if (*fd < 0) {
        return ReplaceOutcome::ChangedMeanwhile;
    }
    bool touched = false;
    Status written = Overwrite(*fd, bytes, touched);
    if (::close(*fd) != 0 && written) {
        written =
            FileError{{}, Translate("Storage", "cannot write: ") + std::strerror(errno), errno};
    }
    if (!written) {
        if (!touched) {
            return FileError{file.path, written.Error().reason, written.Error().code,
                             WriteState::Untouched};
        }
        copy.Keep();
        return FileError{file.path, written.Error().reason, written.Error().code,
                         WriteState::Incomplete, copy.Path()};
    }
    copy.Keep();  // removed here, or reported as left
    if (!SaveStepAllowed(SaveStep::RemoveCopy) ||
        ::unlinkat(copy.FolderFd(), copy.Name().c_str(), 0) != 0) {
        return SystemError(
            file.path, errno,
            FillIn(Translate("Storage", "its copy %1 could not be removed: "), {copy.Path()}),
            WriteState::Saved);
    }
    return ReplaceOutcome::Replaced;
}

// The in-place write from a copy in the cache folder, for a document whose folder takes no new
// files from the saver.
Expected<ReplaceOutcome> WriteInPlaceFromCache(const ReadDocument& file,
                                               const SplicedBytes& bytes) {
    // The seam first: a refused step must not even make the cache folder.
    if (!SaveStepAllowed(SaveStep::CreateTemp)) {
        return SystemError(file.path, errno,
                           Translate("Storage", "cannot create a file in the cache folder: "),
                           WriteState::Untouched);
    }
    const auto folder = TempFile::CacheFolder(file.path);
    if (!folder) {
        return NothingWritten(folder.Error());
    }
    const OpenFolderRef cache{folder->first.Get(), folder->second};
    Expected<TempFile> copy = TempFile::Create(cache, file.name, file.path);
    if (!copy) {
        return NothingWritten(copy.Error());
    }
    Status done = copy->Write(bytes, file.path);
    done = done ? copy->Flush(file.path) : done;
    done = done ? copy->Close(file.path) : done;
    if (!done) {
        return NothingWritten(done.Error());
    }
    return WriteInPlace(file, bytes, std::move(*copy), cache,
                        CopyNameInCache(IdentityOf(file.info), file.name));
}

// After a rename put the new content in place: the folder flushed, so that the new name survives
// a crash; a failure says the content is saved but may not survive one.
Expected<ReplaceOutcome> FolderFlushed(const OpenFolderRef& folder, const std::string& path) {
    if (const Status synced = SyncFolder(folder, path); !synced) {
        FileError error = synced.Error();
        error.reason =
            FillIn(Translate("Storage", "it may not survive a crash: %1"), {error.reason});
        error.state = WriteState::Saved;
        return error;
    }
    return ReplaceOutcome::Replaced;
}

bool IsPermissionError(int code) {
    return code == EACCES || code == EPERM;
}

}  // namespace

Expected<ReplaceOutcome> ReplaceDocumentContent(const ReadDocument& file, const SplicedBytes& bytes,
                                                ino_t* inode) {
    if (inode != nullptr) {
        *inode = file.info.st_ino;  // in place; a rename below tells the new file's
    }
    if (const Status writable = CheckWritable(file); !writable) {
        return writable.Error();
    }
    Expected<TempFile> temp = TempFile::Create(file.folder, file.name, file.path);
    if (!temp) {
        if (!IsPermissionError(temp.Error().code)) {
            return NothingWritten(temp.Error());
        }
        return WithCacheCopy(temp.Error(), WriteInPlaceFromCache(file, bytes));
    }
    if (const Status written = temp->Write(bytes, file.path); !written) {
        return NothingWritten(written.Error());
    }
    // Whatever a new file could not get from the old one (another user's ownership, an attribute
    // the saver may not set), and hard links, stay only if the document keeps its inode.
    const bool inPlace =
        file.info.st_nlink > 1 || !CopyFileMetadata(file.fd, file.info, temp->Fd());
    if (Status flushed = temp->Flush(file.path); !flushed) {
        return NothingWritten(flushed.Error());
    }
    if (Status closed = temp->Close(file.path); !closed) {
        return NothingWritten(closed.Error());
    }
    if (inPlace) {
        return WriteInPlace(file, bytes, std::move(*temp), file.folder, CopyNameBeside(file.name));
    }
    const Expected<bool> same = StillAsRead(file);
    if (!same || !*same) {
        return same ? Expected<ReplaceOutcome>(ReplaceOutcome::ChangedMeanwhile) : same.Error();
    }
    if (!SaveStepAllowed(SaveStep::Rename) || ::renameat(temp->FolderFd(), temp->Name().c_str(),
                                                         file.folder.fd, file.name.c_str()) != 0) {
        if (errno == EBUSY) {  // a mount point, e.g. a file bind-mounted onto this name
            return WriteInPlace(file, bytes, std::move(*temp), file.folder,
                                CopyNameBeside(file.name));
        }
        return SystemError(file.path, errno, Translate("Storage", "cannot replace the file: "),
                           WriteState::Untouched);
    }
    temp->Keep();
    if (inode != nullptr) {
        *inode = temp->Inode();
    }
    return FolderFlushed(file.folder, file.path);
}

Expected<ReplaceOutcome> CreateDocumentFile(const std::string& path, const OpenFolderRef& folder,
                                            const std::string& name, const SplicedBytes& bytes,
                                            ino_t* inode, std::optional<mode_t> mode) {
    Expected<TempFile> temp = TempFile::Create(folder, name, path);
    if (!temp) {
        return NothingWritten(temp.Error());
    }
    if (Status written = temp->Write(bytes, path); !written) {
        return NothingWritten(written.Error());
    }
    if (::fchmod(temp->Fd(), mode.value_or(NewFileMode())) != 0) {
        return SystemError(path, errno, Translate("Storage", "cannot set permissions: "),
                           WriteState::Untouched);
    }
    if (Status flushed = temp->Flush(path); !flushed) {
        return NothingWritten(flushed.Error());
    }
    if (Status closed = temp->Close(path); !closed) {
        return NothingWritten(closed.Error());
    }
    if (!SaveStepAllowed(SaveStep::Rename)) {
        return SystemError(path, errno, Translate("Storage", "cannot create the file: "),
                           WriteState::Untouched);
    }
    // Like O_CREAT|O_EXCL: nothing someone else made under the name meanwhile (a file, a link) is
    // ever replaced or followed.
    int moved = ::renameat2(temp->FolderFd(), temp->Name().c_str(), folder.fd, name.c_str(),
                            RENAME_NOREPLACE);
    if (moved != 0 && (errno == EINVAL || errno == ENOSYS)) {
        // The temporary name goes when `temp` does.
        moved = ::linkat(temp->FolderFd(), temp->Name().c_str(), folder.fd, name.c_str(), 0);
    } else if (moved == 0) {
        temp->Keep();
    }
    if (moved != 0) {
        // ENOENT with a file under the name: another saver made it meanwhile and, holding its
        // lock, removed this temporary file as a killed save's leftover.
        const int code = errno;
        struct stat named {};
        if (code == EEXIST || (code == ENOENT && ::fstatat(folder.fd, name.c_str(), &named,
                                                           AT_SYMLINK_NOFOLLOW) == 0)) {
            return ReplaceOutcome::ChangedMeanwhile;
        }
        return SystemError(path, code, Translate("Storage", "cannot create the file: "),
                           WriteState::Untouched);
    }
    if (inode != nullptr) {
        *inode = temp->Inode();
    }
    return FolderFlushed(folder, path);
}

}  // namespace tav
