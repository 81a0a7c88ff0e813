#include "storage/tempfile.h"

#include <fcntl.h>
#include <pwd.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <random>

#include "base/progress.h"
#include "storage/atomicfile.h"

#include "base/fileaccess.h"
#include "base/translation.h"

namespace tav {

namespace {

constexpr std::size_t kNameStart = 32;
constexpr std::size_t kRandomChars = 6;
constexpr std::size_t kChunk = 1 << 20;
constexpr int kNameAttempts = 100;
constexpr std::string_view kNameChars =
    "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789";

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

std::string HexOf(std::uint32_t value) {
    static constexpr char kDigits[] = "0123456789abcdef";
    std::string text(8, '0');
    for (int n = 7; n >= 0; --n, value >>= 4) {
        text[static_cast<std::size_t>(n)] = kDigits[value & 0xF];
    }
    return text;
}

// FNV-1a: the same digits for the same name on every machine.
std::uint32_t NameHash(std::string_view name) {
    std::uint32_t hash = 2166136261u;
    for (const char c : name) {
        hash = (hash ^ static_cast<unsigned char>(c)) * 16777619u;
    }
    return hash;
}

std::string RandomChars() {
    thread_local std::mt19937 engine{std::random_device{}()};
    std::uniform_int_distribution<std::size_t> pick(0, kNameChars.size() - 1);
    std::string chars(kRandomChars, ' ');
    for (char& c : chars) {
        c = kNameChars[pick(engine)];
    }
    return chars;
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

std::string TempNamePrefix(const std::string& documentName) {
    return "." + NameStart(documentName) + "." + HexOf(NameHash(documentName));
}

bool IsTempNameOf(std::string_view entry, const std::string& documentName) {
    const std::string prefix = TempNamePrefix(documentName);
    if (entry.size() != prefix.size() + kRandomChars || entry.substr(0, prefix.size()) != prefix) {
        return false;
    }
    const std::string_view tail = entry.substr(prefix.size());
    return std::all_of(tail.begin(), tail.end(),
                       [](char c) { return kNameChars.find(c) != std::string_view::npos; });
}

std::string CopyNameBeside(const std::string& documentName) {
    return TempNamePrefix(documentName) + ".new";
}

std::string CopyNameInCache(const struct stat& info, const std::string& documentName) {
    return std::to_string(info.st_dev) + "-" + std::to_string(info.st_ino) +
           CopyNameBeside(documentName);
}

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
    const std::string prefix = TempNamePrefix(documentName);
    for (int attempt = 0; attempt < kNameAttempts; ++attempt) {
        std::string name = prefix + RandomChars();
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
