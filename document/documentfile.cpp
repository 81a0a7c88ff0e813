#include "documentfile.h"

#include <fcntl.h>
#include <sys/file.h>
#include <unistd.h>

#include <cerrno>
#include <climits>
#include <cstring>
#include <optional>

#include "../catalog/fileaccess.h"
#include "filereplacement.h"

namespace tav {

namespace {

// How often the lock is taken again because another saver replaced the file while this one
// waited for it: each time means a save of someone else completed, so this only guards against
// a loop that would never end.
constexpr int kLockAttempts = 1000;

FileError Failure(const std::string& path, const std::string& what, int code) {
    return FileError{path, what + std::strerror(code), code};
}

// The file a save really replaces: the target of a symbolic link (followed to the end), else the
// path itself.
std::string ResolveTarget(const std::string& path) {
    std::string current = path;
    for (int depth = 0; depth < 40; ++depth) {
        char target[PATH_MAX];
        const ssize_t size = ::readlink(current.c_str(), target, sizeof target - 1);
        if (size <= 0) {
            return current;
        }
        std::string next(target, static_cast<std::size_t>(size));
        if (next.front() != '/') {
            const std::size_t slash = current.rfind('/');
            next =
                (slash == std::string::npos ? std::string() : current.substr(0, slash + 1)) + next;
        }
        current = std::move(next);
    }
    return current;
}

// The open, locked document; closing it releases the lock.
class LockedFile final {
public:
    LockedFile() = default;
    explicit LockedFile(int fd) : m_fd(fd) {}
    LockedFile(LockedFile&& other) noexcept : m_fd(std::exchange(other.m_fd, -1)) {}
    LockedFile& operator=(LockedFile&&) = delete;
    ~LockedFile() {
        if (m_fd >= 0) {
            ::close(m_fd);  // read-only: closing cannot lose data
        }
    }
    int Fd() const { return m_fd; }

private:
    int m_fd = -1;
};

bool LocksUnsupported(int code) {
    return code == ENOLCK || code == EOPNOTSUPP || code == EBADF;
}

// Opens `target` for reading and locks it, until the lock is held on the file `target` names.
// Gives a LockedFile without a descriptor when no such file exists.
Expected<LockedFile> OpenLocked(const std::string& path, const std::string& target) {
    for (int attempt = 0; attempt < kLockAttempts; ++attempt) {
        // O_NONBLOCK: opening a FIFO must not wait for a writer; it is refused below.
        LockedFile file(::open(target.c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK));
        if (file.Fd() < 0) {
            if (errno == ENOENT) {
                return LockedFile();
            }
            return Failure(path, "cannot open: ", errno);
        }
        struct stat locked {};
        if (::fstat(file.Fd(), &locked) != 0) {
            return Failure(path, "cannot open: ", errno);
        }
        if (S_ISDIR(locked.st_mode)) {
            return FileError{path, "is a folder, not a file"};
        }
        if (!S_ISREG(locked.st_mode)) {
            return FileError{path, "is not a regular file"};
        }
        int result = 0;
        do {
            result = ::flock(file.Fd(), LOCK_EX);
        } while (result != 0 && errno == EINTR);
        if (result != 0) {
            if (LocksUnsupported(errno)) {
                return file;
            }
            return Failure(path, "cannot lock the file: ", errno);
        }
        struct stat named {};
        if (::stat(target.c_str(), &named) != 0 && errno != ENOENT) {
            return Failure(path, "cannot open: ", errno);
        }
        if (named.st_dev == locked.st_dev && named.st_ino == locked.st_ino) {
            return file;
        }
    }
    return FileError{path, "the file keeps being replaced by other programs; nothing was written"};
}

// One read-edit-write cycle; nothing when the file changed meanwhile and the cycle must be redone.
Expected<std::optional<ReplaceOutcome>> RewriteOnce(const std::string& path,
                                                    const DocumentEdit& edit,
                                                    WrittenContent* written) {
    const std::string target = ResolveTarget(path);
    Expected<LockedFile> locked = OpenLocked(path, target);
    if (!locked) {
        return locked.Error();
    }
    ReadDocument file{path, target, locked->Fd(), {}};
    FileBytes current;
    if (file.fd >= 0) {
        if (::fstat(file.fd, &file.info) != 0) {
            return Failure(path, "cannot read: ", errno);
        }
        Expected<FileBytes> bytes = ReadOpenFile(file.fd, path);
        if (!bytes) {
            return bytes.Error();
        }
        current = std::move(*bytes);
    }
    Expected<SplicedBytes> next = edit(current.View());
    if (!next) {
        FileError error = next.Error();
        error.file = error.file.empty() ? path : error.file;
        return error;
    }
    if (written != nullptr) {
        *written = WrittenContent{next->Size(), ContentHash::Of(*next)};
    }
    if (file.fd >= 0 && next->Equals(current.View())) {
        return std::optional<ReplaceOutcome>(ReplaceOutcome::Replaced);
    }
    const Expected<ReplaceOutcome> outcome = file.fd >= 0 ? ReplaceDocumentContent(file, *next)
                                                          : CreateDocumentFile(path, target, *next);
    if (!outcome) {
        return outcome.Error();
    }
    return *outcome == ReplaceOutcome::Replaced ? std::optional<ReplaceOutcome>(*outcome)
                                                : std::nullopt;
}

}  // namespace

Status RewriteDocument(const std::string& path, const DocumentEdit& edit, WrittenContent* written) {
    if (path.empty()) {
        return FileError{"(no file)", "the document has no file name yet"};
    }
    for (int attempt = 0; attempt < kRewriteAttempts; ++attempt) {
        const Expected<std::optional<ReplaceOutcome>> done = RewriteOnce(path, edit, written);
        if (!done) {
            return done.Error();
        }
        if (*done) {
            return {};
        }
    }
    return FileError{path, "the file kept changing while it was being saved (read " +
                               std::to_string(kRewriteAttempts) + " times); nothing was written"};
}

}  // namespace tav
