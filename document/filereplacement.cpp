#include "filereplacement.h"

#include <fcntl.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <cstring>

#include "../catalog/progress.h"
#include "atomicfile.h"
#include "filemetadata.h"
#include "tempfile.h"

namespace tav {

namespace {

constexpr std::size_t kChunk = 1 << 20;

FileError Failure(const std::string& path, const std::string& what, int code) {
    return FileError{path, what + std::strerror(code), code};
}

bool SameTime(const timespec& a, const timespec& b) {
    return a.tv_sec == b.tv_sec && a.tv_nsec == b.tv_nsec;
}

// True when `file.target` still names the file as it was read (after the Verify step).
Expected<bool> StillAsRead(const ReadDocument& file) {
    if (!SaveStepAllowed(SaveStep::Verify)) {
        return Failure(file.path, "cannot check the file: ", errno);
    }
    struct stat now {};
    if (::stat(file.target.c_str(), &now) != 0) {
        if (errno == ENOENT) {
            return false;
        }
        return Failure(file.path, "cannot check the file: ", errno);
    }
    const struct stat& read = file.info;
    return now.st_dev == read.st_dev && now.st_ino == read.st_ino && now.st_size == read.st_size &&
           SameTime(now.st_mtim, read.st_mtim) && SameTime(now.st_ctim, read.st_ctim);
}

Status CheckWritable(const ReadDocument& file) {
    // A rename needs no write permission on the file itself, so a read-only file is refused here,
    // as a direct write would be (also for root, who passes access()).
    if ((file.info.st_mode & 0222) == 0) {
        return FileError{file.path, "the file is read-only"};
    }
    if (::access(file.target.c_str(), W_OK) != 0) {
        return Failure(file.path, "cannot write: ", errno);
    }
    return {};
}

mode_t NewFileMode() {
    const mode_t mask = ::umask(0);
    ::umask(mask);
    return 0666 & ~mask;
}

// Writes `bytes` over the open document `fd` from its start, cuts it to that size and flushes it.
// Returns the reason of the first failure, with its errno value.
Status Overwrite(int fd, const SplicedBytes& bytes) {
    const long long done = bytes.WriteInChunks(
        kChunk, [fd, &bytes](std::size_t offset, std::string_view chunk) -> long long {
            if (!SaveStepAllowed(SaveStep::Overwrite, offset)) {
                return -1;
            }
            const ssize_t wrote =
                ::pwrite(fd, chunk.data(), chunk.size(), static_cast<off_t>(offset));
            if (wrote < 0) {
                return errno == EINTR ? 0 : -1;
            }
            ReportProgress(offset + static_cast<std::size_t>(wrote), bytes.Size());
            return wrote;
        });
    if (done < 0) {
        return FileError{{}, std::string("cannot write: ") + std::strerror(errno), errno};
    }
    if (!SaveStepAllowed(SaveStep::Truncate) ||
        ::ftruncate(fd, static_cast<off_t>(bytes.Size())) != 0) {
        return FileError{
            {}, std::string("cannot cut the file to size: ") + std::strerror(errno), errno};
    }
    if (!SaveStepAllowed(SaveStep::SyncInPlace) || ::fsync(fd) != 0) {
        return FileError{{}, std::string("cannot flush to disk: ") + std::strerror(errno), errno};
    }
    return {};
}

// The in-place write: `copy` holds the complete new content, flushed and closed.
Expected<ReplaceOutcome> WriteInPlace(const ReadDocument& file, const SplicedBytes& bytes,
                                      TempFile copy) {
    // The copy's name must survive a crash before the document is touched.
    if (const Status synced = SyncFolder(FolderOf(copy.Path()), file.path); !synced) {
        return synced.Error();
    }
    const Expected<bool> same = StillAsRead(file);
    if (!same || !*same) {
        return same ? Expected<ReplaceOutcome>(ReplaceOutcome::ChangedMeanwhile) : same.Error();
    }
    const int fd = ::open(file.target.c_str(), O_WRONLY | O_CLOEXEC);
    if (fd < 0) {
        return Failure(file.path, "cannot write: ", errno);
    }
    Status written = Overwrite(fd, bytes);
    if (::close(fd) != 0 && written) {
        written = FileError{{}, std::string("cannot write: ") + std::strerror(errno), errno};
    }
    copy.Keep();
    if (!written) {
        return FileError{file.path,
                         written.Error().reason + "; the complete new content is in " + copy.Path(),
                         written.Error().code};
    }
    if (!SaveStepAllowed(SaveStep::RemoveCopy) || ::unlink(copy.Path().c_str()) != 0) {
        return Failure(
            file.path,
            "the file is saved, but its temporary copy " + copy.Path() + " could not be removed: ",
            errno);
    }
    return ReplaceOutcome::Replaced;
}

// The copy for an in-place write when the document's folder takes no new files from the saver.
Expected<TempFile> CopyInCache(const ReadDocument& file, const SplicedBytes& bytes) {
    // The seam first: a refused step must not even make the cache folder.
    if (!SaveStepAllowed(SaveStep::CreateTemp)) {
        return Failure(file.path, "cannot create a file in the cache folder: ", errno);
    }
    const Expected<std::string> folder = TempFile::CacheFolder(file.path);
    if (!folder) {
        return folder.Error();
    }
    Expected<TempFile> copy = TempFile::Create(*folder, BaseNameOf(file.target), file.path);
    if (!copy) {
        return copy;
    }
    Status done = copy->Write(bytes, file.path);
    done = done ? copy->Flush(file.path) : done;
    done = done ? copy->Close(file.path) : done;
    if (!done) {
        return done.Error();
    }
    return copy;
}

bool IsPermissionError(int code) {
    return code == EACCES || code == EPERM;
}

}  // namespace

Expected<ReplaceOutcome> ReplaceDocumentContent(const ReadDocument& file,
                                                const SplicedBytes& bytes) {
    if (const Status writable = CheckWritable(file); !writable) {
        return writable.Error();
    }
    const std::string folder = FolderOf(file.target);
    Expected<TempFile> temp = TempFile::Create(folder, BaseNameOf(file.target), file.path);
    if (!temp) {
        if (!IsPermissionError(temp.Error().code)) {
            return temp.Error();
        }
        Expected<TempFile> copy = CopyInCache(file, bytes);
        if (!copy) {
            return FileError{file.path,
                             temp.Error().reason + ", nor a copy for writing the file in place: " +
                                 copy.Error().reason,
                             temp.Error().code};
        }
        return WriteInPlace(file, bytes, std::move(*copy));
    }
    if (const Status written = temp->Write(bytes, file.path); !written) {
        return written.Error();
    }
    // Whatever a new file could not get from the old one (another user's ownership, an attribute
    // the saver may not set), and hard links, stay only if the document keeps its inode.
    const bool inPlace =
        file.info.st_nlink > 1 || !CopyFileMetadata(file.fd, file.info, temp->Fd());
    if (Status flushed = temp->Flush(file.path); !flushed) {
        return flushed.Error();
    }
    if (Status closed = temp->Close(file.path); !closed) {
        return closed.Error();
    }
    if (inPlace) {
        return WriteInPlace(file, bytes, std::move(*temp));
    }
    const Expected<bool> same = StillAsRead(file);
    if (!same || !*same) {
        return same ? Expected<ReplaceOutcome>(ReplaceOutcome::ChangedMeanwhile) : same.Error();
    }
    if (!SaveStepAllowed(SaveStep::Rename) ||
        ::rename(temp->Path().c_str(), file.target.c_str()) != 0) {
        if (errno == EBUSY) {  // a mount point, e.g. a file bind-mounted onto this name
            return WriteInPlace(file, bytes, std::move(*temp));
        }
        return Failure(file.path, "cannot replace the file: ", errno);
    }
    temp->Keep();
    if (const Status synced = SyncFolder(folder, file.path); !synced) {
        return synced.Error();
    }
    return ReplaceOutcome::Replaced;
}

Expected<ReplaceOutcome> CreateDocumentFile(const std::string& path, const std::string& target,
                                            const SplicedBytes& bytes) {
    const std::string folder = FolderOf(target);
    Expected<TempFile> temp = TempFile::Create(folder, BaseNameOf(target), path);
    if (!temp) {
        return temp.Error();
    }
    if (Status written = temp->Write(bytes, path); !written) {
        return written.Error();
    }
    if (::fchmod(temp->Fd(), NewFileMode()) != 0) {
        return Failure(path, "cannot set permissions: ", errno);
    }
    if (Status flushed = temp->Flush(path); !flushed) {
        return flushed.Error();
    }
    if (Status closed = temp->Close(path); !closed) {
        return closed.Error();
    }
    if (!SaveStepAllowed(SaveStep::Rename)) {
        return Failure(path, "cannot create the file: ", errno);
    }
    // Like O_CREAT|O_EXCL: a file someone else made under the name meanwhile is never replaced.
    int moved =
        ::renameat2(AT_FDCWD, temp->Path().c_str(), AT_FDCWD, target.c_str(), RENAME_NOREPLACE);
    if (moved != 0 && (errno == EINVAL || errno == ENOSYS)) {
        moved = ::link(temp->Path().c_str(), target.c_str());  // the temporary name goes below
    } else if (moved == 0) {
        temp->Keep();
    }
    if (moved != 0) {
        if (errno == EEXIST) {
            return ReplaceOutcome::ChangedMeanwhile;
        }
        return Failure(path, "cannot create the file: ", errno);
    }
    if (const Status synced = SyncFolder(folder, path); !synced) {
        return synced.Error();
    }
    return ReplaceOutcome::Replaced;
}

}  // namespace tav
