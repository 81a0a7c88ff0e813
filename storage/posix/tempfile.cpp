#include "storage/posix/tempfile.h"

#include <fcntl.h>
#include <pwd.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstdint>
#include <cstdlib>
#include <cstring>

#include "base/progress.h"
#include "storage/atomicfile.h"

#include "base/fileaccess.h"
#include "base/translation.h"

namespace tav {

namespace {

constexpr std::size_t kChunk = 1 << 20;

std::string HomeFolder() {
    if (const char* home = std::getenv("HOME"); home != nullptr && home[0] == '/') {
        return home;
    }
    const passwd* user = ::getpwuid(::geteuid());
    return user != nullptr && user->pw_dir != nullptr ? user->pw_dir : "";
}

// Makes `folder` and the folders above it that are missing, each with mode 0700.
bool MakeFolders(const std::string& folder) {
    for (std::size_t slash = folder.find('/', 1);; slash = folder.find('/', slash + 1)) {
        const std::string part = folder.substr(0, slash);
        if (::mkdir(part.c_str(), 0700) != 0 && errno != EEXIST) {
            return false;
        }
        if (slash == std::string::npos) {
            return true;
        }
    }
}

}  // namespace

Expected<TempFile> TempFile::Create(const OpenFolderRef& folder, const std::string& documentName,
                                    const std::string& errorPath) {
    const std::string what =
        FillIn(Translate("Storage", "cannot create a file in %1: "), {folder.path});
    if (!SaveStepAllowed(SaveStep::CreateTemp)) {
        return SystemError(errorPath, errno, what);
    }
    UniqueFd own(::fcntl(folder.fd, F_DUPFD_CLOEXEC, 0));
    if (!own.Valid()) {
        return SystemError(errorPath, errno, what);
    }
    for (int attempt = 0; attempt < kTempNameAttempts; ++attempt) {
        std::string name = NewTempName(documentName);
        const int fd = ::openat(own.Get(), name.c_str(),
                                O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC, 0600);
        if (fd >= 0) {
            struct stat info {};
            if (::fstat(fd, &info) != 0) {
                const int code = errno;
                ::close(fd);
                ::unlinkat(own.Get(), name.c_str(), 0);
                return SystemError(errorPath, code, what);
            }
            return TempFile(fd, std::move(own), folder.path, std::move(name), info.st_ino);
        }
        if (errno != EEXIST) {
            return SystemError(errorPath, errno, what);
        }
    }
    return SystemError(errorPath, EEXIST, what);
}

Expected<std::pair<UniqueFd, std::string>> TempFile::CacheFolder(const std::string& errorPath,
                                                                 bool make) {
    const char* cache = std::getenv("XDG_CACHE_HOME");
    std::string parent;
    if (cache != nullptr && cache[0] == '/') {
        parent = cache;
    } else if (const std::string home = HomeFolder(); !home.empty()) {
        parent = home + "/.cache";
    } else {
        return FileError{
            errorPath,
            Translate("Storage", "cannot find a cache folder for the copy: no home folder")};
    }
    const std::string folder = JoinPath(parent, "tavmanager");
    if (make && !MakeFolders(parent)) {
        return SystemError(
            errorPath, errno,
            FillIn(Translate("Storage", "cannot make the cache folder %1: "), {parent}));
    }
    struct stat parentInfo {};
    Expected<UniqueFd> above = OpenFolder(parent, errorPath, parentInfo);
    if (!above) {
        return above.Error();
    }
    if (make && ::mkdirat(above->Get(), "tavmanager", 0700) != 0 && errno != EEXIST) {
        return SystemError(
            errorPath, errno,
            FillIn(Translate("Storage", "cannot make the cache folder %1: "), {folder}));
    }
    UniqueFd fd(
        ::openat(above->Get(), "tavmanager", O_PATH | O_DIRECTORY | O_NOFOLLOW | O_CLOEXEC));
    struct stat info {};
    if (!fd.Valid() || ::fstat(fd.Get(), &info) != 0) {
        // ELOOP or ENOTDIR: a link or a file has the name.
        return SystemError(
            errorPath, errno,
            FillIn(
                Translate("Storage", "cannot use the cache folder %1 (it must be a real folder): "),
                {folder}));
    }
    if (info.st_uid != ::geteuid() || (info.st_mode & 077) != 0) {
        return FileError{errorPath,
                         FillIn(Translate("Storage",
                                          "cannot use the cache folder %1: it must "
                                          "belong to you and be open to nobody else "
                                          "(mode 0700)"),
                                {folder}),
                         EPERM};
    }
    return std::pair<UniqueFd, std::string>(std::move(fd), folder);
}

TempFile::TempFile(TempFile&& other) noexcept
    : m_fd(std::exchange(other.m_fd, -1)),
      m_folder(std::move(other.m_folder)),
      m_folderPath(std::move(other.m_folderPath)),
      m_name(std::move(other.m_name)),
      m_inode(other.m_inode),
      m_keep(std::exchange(other.m_keep, true)) {}

TempFile::~TempFile() {
    if (m_fd >= 0) {
        ::close(m_fd);  // only a failed save gets here with the file open: it is removed anyway
    }
    if (!m_keep && m_folder.Valid()) {
        // A save that failed already reports why; a removal that fails too leaves a hidden file
        // named like the document, which the next save of it removes.
        ::unlinkat(m_folder.Get(), m_name.c_str(), 0);
    }
}

std::string TempFile::Path() const {
    return JoinPath(m_folderPath, m_name);
}

Status TempFile::Write(const SplicedBytes& bytes, const std::string& errorPath) {
    const long long done = bytes.WriteInChunks(
        kChunk, [this, &bytes](std::size_t offset, std::string_view chunk) -> long long {
            if (!SaveStepAllowed(SaveStep::Write, offset)) {
                return -1;
            }
            const ssize_t wrote = ::write(m_fd, chunk.data(), chunk.size());
            if (wrote < 0) {
                return errno == EINTR ? 0 : -1;
            }
            ReportProgress(offset + static_cast<std::size_t>(wrote), bytes.Size());
            return wrote;
        });
    if (done < 0) {
        return SystemError(errorPath, errno, Translate("Storage", "cannot write: "));
    }
    return {};
}

Status TempFile::Flush(const std::string& errorPath) {
    if (!SaveStepAllowed(SaveStep::Sync) || ::fsync(m_fd) != 0) {
        return SystemError(errorPath, errno, Translate("Storage", "cannot flush to disk: "));
    }
    return {};
}

Status TempFile::Close(const std::string& errorPath) {
    const int fd = std::exchange(m_fd, -1);
    if (::close(fd) != 0) {
        return SystemError(errorPath, errno, Translate("Storage", "cannot write: "));
    }
    return {};
}

Status TempFile::Rename(const std::string& name, const std::string& errorPath) {
    if (::renameat(m_folder.Get(), m_name.c_str(), m_folder.Get(), name.c_str()) != 0) {
        return SystemError(errorPath, errno,
                           FillIn(Translate("Storage", "cannot rename %1: "), {Path()}));
    }
    m_name = name;
    return {};
}

Status SyncFolder(const OpenFolderRef& folder, const std::string& errorPath) {
    const std::string what =
        FillIn(Translate("Storage", "cannot flush the folder %1 to disk: "), {folder.path});

    if (!SaveStepAllowed(SaveStep::SyncFolder)) {
        return SystemError(errorPath, errno, what);
    }
    const int fd = ::openat(folder.fd, ".", O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd < 0) {
        if (errno == EACCES) {
            return {};
        }
        return SystemError(errorPath, errno, what);
    }
    const int synced = ::fsync(fd);
    const int err = errno;
    ::close(fd);  // read-only: nothing to report
    if (synced != 0 && err != EINVAL) {
        return SystemError(errorPath, err, what);
    }
    return {};
}

}  // namespace tav
