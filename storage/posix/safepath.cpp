#include "storage/posix/safepath.h"

#include <fcntl.h>
#include <pwd.h>
#include <unistd.h>

#include <cerrno>
#include <climits>
#include <cstring>
#include <deque>
#include <vector>

#include "base/fileaccess.h"
#include "base/translation.h"

namespace tav {

namespace {

// As many links as the kernel follows in one look-up.
constexpr int kMaxLinks = 40;

FileError Failure(const std::string& errorPath, const std::string& what, int code) {
    return FileError{errorPath, what + std::strerror(code), code};
}

std::string UserName(uid_t uid) {
    std::vector<char> buffer(16384);
    passwd entry{};
    passwd* found = nullptr;
    if (::getpwuid_r(uid, &entry, buffer.data(), buffer.size(), &found) == 0 && found != nullptr &&
        found->pw_name != nullptr) {
        return std::string(found->pw_name) + " (uid " + std::to_string(uid) + ")";
    }
    return "uid " + std::to_string(uid);
}

void PushFront(std::deque<std::string>& rest, const std::string& path) {
    std::vector<std::string> parts;
    for (std::size_t at = 0; at <= path.size();) {
        std::size_t slash = path.find('/', at);
        if (slash == std::string::npos) {
            slash = path.size();
        }
        if (slash > at) {
            parts.push_back(path.substr(at, slash - at));
        }
        at = slash + 1;
    }
    rest.insert(rest.begin(), parts.begin(), parts.end());
}

// Where the walk stands: an open folder.
struct Position {
    UniqueFd fd;
    struct stat info {};
    std::string path;  // "" for the working folder
};

Expected<Position> Start(bool absolute, const std::string& errorPath) {
    Position at;
    at.fd = UniqueFd(::open(absolute ? "/" : ".", O_PATH | O_DIRECTORY | O_CLOEXEC));
    if (!at.fd.Valid() || ::fstat(at.fd.Get(), &at.info) != 0) {
        return Failure(errorPath, Translate("Storage", "cannot open the folder: "), errno);
    }
    at.path = absolute ? "/" : "";
    return at;
}

FileError Refused(const std::string& errorPath, const std::string& link, const struct stat& info,
                  const Position& at) {
    const std::string folder = at.path.empty() ? "." : at.path;
    return FileError{errorPath,
                     FillIn(Translate("Storage",
                                      "the symbolic link %1 belongs to %2, not to you or to the "
                                      "owner of %3, a folder others can write to; it is not "
                                      "followed"),
                            {link, UserName(info.st_uid), folder}),
                     EPERM};
}

// The walk of ResolveEntry; with `wantFolder` every component must be a folder and the result is
// the last one.
Expected<FolderEntry> Walk(const std::string& path, const std::string& errorPath, bool wantFolder) {
    if (path.empty()) {
        return FileError{errorPath, Translate("Storage", "no file name was given"), ENOENT};
    }
    Expected<Position> start = Start(path.front() == '/', errorPath);
    if (!start) {
        return start.Error();
    }
    Position at = std::move(*start);
    std::deque<std::string> rest;
    PushFront(rest, path);
    int links = 0;
    std::string lastLink;
    while (!rest.empty()) {
        const std::string part = std::move(rest.front());
        rest.pop_front();
        const bool last = rest.empty() && !wantFolder;
        if (last && (part == "." || part == "..")) {
            return FileError{errorPath, Translate("Storage", "is a folder, not a file"), EISDIR};
        }
        if (part == ".") {
            continue;
        }
        UniqueFd fd(::openat(at.fd.Get(), part.c_str(), O_PATH | O_NOFOLLOW | O_CLOEXEC));
        const std::string named = JoinPath(at.path, part);
        if (!fd.Valid()) {
            if (errno == ENOENT && last) {
                FolderEntry entry{
                    std::move(at.fd), at.info, at.path.empty() ? "." : at.path, part, false,
                    lastLink};
                return entry;
            }
            return Failure(errorPath, FillIn(Translate("Storage", "cannot open %1: "), {named}),
                           errno);
        }
        struct stat info {};
        if (::fstat(fd.Get(), &info) != 0) {
            return Failure(errorPath, FillIn(Translate("Storage", "cannot open %1: "), {named}),
                           errno);
        }
        if (S_ISLNK(info.st_mode)) {
            if (++links > kMaxLinks) {
                return Failure(errorPath, FillIn(Translate("Storage", "cannot open %1: "), {named}),
                               ELOOP);
            }
            if (!MayFollowLink(at.info, info, ::geteuid())) {
                return Refused(errorPath, named, info, at);
            }
            char target[PATH_MAX];
            const ssize_t size = ::readlinkat(fd.Get(), "", target, sizeof target);
            if (size <= 0 || static_cast<std::size_t>(size) >= sizeof target) {
                return Failure(errorPath,
                               FillIn(Translate("Storage", "cannot read the link %1: "), {named}),

                               size < 0 ? errno : ENAMETOOLONG);
            }
            const std::string next(target, static_cast<std::size_t>(size));
            lastLink = rest.empty() ? named : std::string();
            PushFront(rest, next);
            if (next.front() == '/') {
                Expected<Position> root = Start(true, errorPath);
                if (!root) {
                    return root.Error();
                }
                at = std::move(*root);
            }
            continue;
        }
        if (last) {
            FolderEntry entry{
                std::move(at.fd), at.info, at.path.empty() ? "." : at.path, part, true, {}};
            return entry;
        }
        if (!S_ISDIR(info.st_mode)) {
            return Failure(errorPath, FillIn(Translate("Storage", "cannot open %1: "), {named}),
                           ENOTDIR);
        }
        at.fd = std::move(fd);
        at.info = info;
        at.path = named;
    }
    if (!wantFolder) {
        return FileError{errorPath, Translate("Storage", "is a folder, not a file"), EISDIR};
    }
    FolderEntry entry{std::move(at.fd), at.info, at.path.empty() ? "." : at.path, {}, true, {}};
    return entry;
}

}  // namespace

UniqueFd& UniqueFd::operator=(UniqueFd&& other) noexcept {
    if (this != &other) {
        if (m_fd >= 0) {
            ::close(m_fd);
        }
        m_fd = std::exchange(other.m_fd, -1);
    }
    return *this;
}

UniqueFd::~UniqueFd() {
    if (m_fd >= 0) {
        ::close(m_fd);
    }
}

std::string FolderEntry::Path() const {
    return JoinPath(folderPath, name);
}

bool IsSharedFolder(const struct stat& folder) {
    return (folder.st_mode & (S_ISVTX | S_IWGRP | S_IWOTH)) != 0;
}

bool MayFollowLink(const struct stat& folder, const struct stat& link, uid_t uid) {
    return !IsSharedFolder(folder) || link.st_uid == uid || link.st_uid == folder.st_uid;
}

Expected<FolderEntry> ResolveEntry(const std::string& path, const std::string& errorPath) {
    return Walk(path, errorPath, false);
}

Expected<UniqueFd> OpenFolder(const std::string& path, const std::string& errorPath,
                              struct stat& info) {
    Expected<FolderEntry> entry = Walk(path, errorPath, true);
    if (!entry) {
        return entry.Error();
    }
    info = entry->folderInfo;
    return std::move(entry->folder);
}

}  // namespace tav
