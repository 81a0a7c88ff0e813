#include "storage/leftovers.h"
#include "storage/posix/leftovercopy.h"

#include <dirent.h>
#include <fcntl.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>

#include "base/fileaccess.h"
#include "base/translation.h"

namespace tav {

namespace {

bool IsRegularEntry(int folder, const std::string& name, struct stat& info) {
    return ::fstatat(folder, name.c_str(), &info, AT_SYMLINK_NOFOLLOW) == 0 &&
           S_ISREG(info.st_mode);
}

bool IsRegularEntry(int folder, const std::string& name) {
    struct stat info {};
    return IsRegularEntry(folder, name, info);
}

std::optional<FoundCopy> CopyIn(int folder, const std::string& folderPath,
                                const std::string& name) {
    struct stat info {};
    if (!IsRegularEntry(folder, name, info)) {
        return std::nullopt;
    }
    UniqueFd own(::fcntl(folder, F_DUPFD_CLOEXEC, 0));
    if (!own.Valid()) {
        return std::nullopt;
    }
    return FoundCopy{std::move(own), folderPath, name, info};
}

}  // namespace

std::string FoundCopy::Path() const {
    return JoinPath(folderPath, name);
}

std::optional<FoundCopy> FindCopy(const OpenFolderRef& folder, const std::string& name,
                                  const struct stat* info) {
    if (std::optional<FoundCopy> beside = CopyIn(folder.fd, folder.path, CopyNameBeside(name))) {
        return beside;
    }
    if (info == nullptr) {
        return std::nullopt;
    }
    const auto cache = TempFile::CacheFolder({}, false);
    if (!cache) {
        return std::nullopt;  // no cache folder we may use: no copy of ours can be there
    }
    return CopyIn(cache->first.Get(), cache->second, CopyNameInCache(IdentityOf(*info), name));
}

Expected<FileBytes> ReadCopy(const FoundCopy& copy, const std::string& errorPath) {
    const UniqueFd fd(::openat(copy.folder.Get(), copy.name.c_str(),
                               O_RDONLY | O_NOFOLLOW | O_NONBLOCK | O_NOCTTY | O_CLOEXEC));
    if (!fd.Valid()) {
        return FileError{errorPath,
                         FillIn(Translate("Storage", "cannot read the copy %1: %2"),
                                {copy.Path(), std::strerror(errno)}),
                         errno};
    }
    return ReadOpenFile(ReadOnlyFile::Borrow(fd.Get(), copy.Path()));
}

Status RemoveCopy(const FoundCopy& copy, const std::string& errorPath) {
    struct stat now {};
    if (::fstatat(copy.folder.Get(), copy.name.c_str(), &now, AT_SYMLINK_NOFOLLOW) != 0 ||
        now.st_dev != copy.info.st_dev || now.st_ino != copy.info.st_ino) {
        return {};  // gone already, or another save's copy now
    }
    if (::unlinkat(copy.folder.Get(), copy.name.c_str(), 0) != 0 && errno != ENOENT) {
        return FileError{errorPath,
                         FillIn(Translate("Storage", "cannot remove the copy %1: %2"),
                                {copy.Path(), std::strerror(errno)}),

                         errno};
    }
    return {};
}

std::vector<std::string> FindTemps(const OpenFolderRef& folder, const std::string& name) {
    std::vector<std::string> temps;
    const int fd = ::openat(folder.fd, ".", O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd < 0) {
        return temps;
    }
    DIR* listing = ::fdopendir(fd);
    if (listing == nullptr) {
        ::close(fd);
        return temps;
    }
    while (const dirent* entry = ::readdir(listing)) {
        if (IsTempNameOf(entry->d_name, name) && IsRegularEntry(folder.fd, entry->d_name)) {
            temps.emplace_back(entry->d_name);
        }
    }
    ::closedir(listing);
    return temps;
}

Expected<Leftovers> FindLeftovers(const std::string& path) {
    Expected<FolderEntry> entry = ResolveEntry(path, path);
    if (!entry) {
        return entry.Error();
    }
    const OpenFolderRef folder{entry->folder.Get(), entry->folderPath};
    Leftovers found;
    for (const std::string& temp : FindTemps(folder, entry->name)) {
        found.temps.push_back(JoinPath(folder.path, temp));
    }
    struct stat info {};
    const UniqueFd document(
        entry->exists ? ::openat(folder.fd, entry->name.c_str(),
                                 O_RDONLY | O_NOFOLLOW | O_NONBLOCK | O_NOCTTY | O_CLOEXEC)
                      : -1);
    const bool exists = document.Valid() && ::fstat(document.Get(), &info) == 0;
    const std::optional<FoundCopy> copy = FindCopy(folder, entry->name, exists ? &info : nullptr);
    if (!copy) {
        return found;
    }
    found.copy = copy->Path();
    if (exists && S_ISREG(info.st_mode)) {
        const Expected<FileBytes> copied = ReadCopy(*copy, path);
        if (!copied) {
            return copied.Error();
        }
        const Expected<FileBytes> current =
            ReadOpenFile(ReadOnlyFile::Borrow(document.Get(), path));
        if (!current) {
            return current.Error();
        }
        found.fileHoldsCopy = copied->View() == current->View();
    }
    return found;
}

}  // namespace tav
