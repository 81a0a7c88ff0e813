#include "tempfile.h"

#include <fcntl.h>
#include <pwd.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstdlib>
#include <cstring>

#include "../catalog/progress.h"
#include "atomicfile.h"

namespace tav {

namespace {

constexpr std::size_t kNameStart = 32;
constexpr std::size_t kChunk = 1 << 20;

FileError Failure(const std::string& errorPath, const std::string& what, int code) {
    return FileError{errorPath, what + std::strerror(code), code};
}

// The first bytes of `name`, cut so that no UTF-8 sequence is split.
std::string NameStart(const std::string& name) {
    if (name.size() <= kNameStart) {
        return name;
    }
    std::size_t cut = kNameStart;
    while (cut > 0 && (static_cast<unsigned char>(name[cut]) & 0xC0) == 0x80) {
        --cut;
    }
    return name.substr(0, cut);
}

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

Expected<TempFile> TempFile::Create(const std::string& folder, const std::string& documentName,
                                    const std::string& errorPath) {
    if (!SaveStepAllowed(SaveStep::CreateTemp)) {
        return Failure(errorPath, "cannot create a file in " + folder + ": ", errno);
    }
    std::string path = folder + "/." + NameStart(documentName) + ".XXXXXX";
    const int fd = ::mkostemp(path.data(), O_CLOEXEC);
    if (fd < 0) {
        return Failure(errorPath, "cannot create a file in " + folder + ": ", errno);
    }
    return TempFile(fd, std::move(path));
}

Expected<std::string> TempFile::CacheFolder(const std::string& errorPath) {
    const char* cache = std::getenv("XDG_CACHE_HOME");
    std::string folder;
    if (cache != nullptr && cache[0] == '/') {
        folder = std::string(cache) + "/tavmanager";
    } else if (const std::string home = HomeFolder(); !home.empty()) {
        folder = home + "/.cache/tavmanager";
    } else {
        return FileError{errorPath, "cannot find a cache folder for the copy: no home folder"};
    }
    if (!MakeFolders(folder)) {
        return Failure(errorPath, "cannot make the cache folder " + folder + ": ", errno);
    }
    return folder;
}

TempFile::TempFile(TempFile&& other) noexcept
    : m_fd(std::exchange(other.m_fd, -1)),
      m_path(std::move(other.m_path)),
      m_keep(std::exchange(other.m_keep, true)) {}

TempFile::~TempFile() {
    if (m_fd >= 0) {
        ::close(m_fd);  // only a failed save gets here with the file open: it is removed anyway
    }
    if (!m_keep) {
        // A save that failed already reports why; a removal that fails too leaves a hidden file
        // named like the document, which is all that can be said about it here.
        ::unlink(m_path.c_str());
    }
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
        return Failure(errorPath, "cannot write: ", errno);
    }
    return {};
}

Status TempFile::Flush(const std::string& errorPath) {
    if (!SaveStepAllowed(SaveStep::Sync) || ::fsync(m_fd) != 0) {
        return Failure(errorPath, "cannot flush to disk: ", errno);
    }
    return {};
}

Status TempFile::Close(const std::string& errorPath) {
    const int fd = std::exchange(m_fd, -1);
    if (::close(fd) != 0) {
        return Failure(errorPath, "cannot write: ", errno);
    }
    return {};
}

Status SyncFolder(const std::string& folder, const std::string& errorPath) {
    if (!SaveStepAllowed(SaveStep::SyncFolder)) {
        return Failure(errorPath, "cannot flush the folder " + folder + " to disk: ", errno);
    }
    const int fd = ::open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd < 0) {
        if (errno == EACCES) {
            return {};
        }
        return Failure(errorPath, "cannot flush the folder " + folder + " to disk: ", errno);
    }
    const int synced = ::fsync(fd);
    const int err = errno;
    ::close(fd);  // read-only: nothing to report
    if (synced != 0 && err != EINVAL) {
        return Failure(errorPath, "cannot flush the folder " + folder + " to disk: ", err);
    }
    return {};
}

std::string FolderOf(const std::string& path) {
    const std::size_t slash = path.rfind('/');
    if (slash == std::string::npos) {
        return ".";
    }
    return slash == 0 ? "/" : path.substr(0, slash);
}

std::string BaseNameOf(const std::string& path) {
    const std::size_t slash = path.rfind('/');
    return slash == std::string::npos ? path : path.substr(slash + 1);
}

}  // namespace tav
