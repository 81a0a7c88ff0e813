// Resolving the name of a file a save writes, one component at a time, so that every later step
// works on descriptors and never looks a name up twice, and a symbolic link that someone else
// planted in a shared folder is never followed.
#pragma once

#include <sys/stat.h>

#include <string>
#include <utility>

#include "base/expected.h"
#include "base/posix/identity.h"

namespace tav {

// An open file descriptor, closed when it goes (read-only or O_PATH: closing loses nothing).
class UniqueFd final {
public:
    UniqueFd() = default;
    explicit UniqueFd(int fd) : m_fd(fd) {}
    UniqueFd(UniqueFd&& other) noexcept : m_fd(std::exchange(other.m_fd, -1)) {}
    UniqueFd& operator=(UniqueFd&& other) noexcept;
    UniqueFd(const UniqueFd&) = delete;
    UniqueFd& operator=(const UniqueFd&) = delete;
    ~UniqueFd();

    int Get() const { return m_fd; }
    bool Valid() const { return m_fd >= 0; }

private:
    int m_fd = -1;
};

// A name in a folder that is held open: what every step of a save works on.
struct FolderEntry {
    UniqueFd folder;            // O_PATH descriptor of the folder
    struct stat folderInfo {};  // its fstat
    std::string folderPath;     // the folder as resolved (links replaced by their targets)
    std::string name;           // the entry's name in the folder: no '/', not "." or ".."
    bool exists = false;        // something (not a symbolic link) has that name
    std::string danglingLink;   // when the path ended in a link to a missing file: that link

    // folderPath + "/" + name, for messages.
    std::string Path() const;
};

// True when others than the folder's owner may add or replace names in the folder: it is
// sticky, or writable by its group or by everyone.
bool IsSharedFolder(const struct stat& folder);

// Whether the symbolic link `link` (lstat) in `folder` (stat) may be followed by the user with
// effective uid `uid`: always in a folder that is not shared; in a shared one only when the link
// belongs to `uid` or to the folder's owner (the kernel's rule for sticky folders, applied to
// every folder others can write to).
bool MayFollowLink(const struct stat& folder, const struct stat& link, uid_t uid);

// Resolves `path` (relative to the working folder unless it starts with '/') to the folder that
// holds its last component and that component's name. Every component is opened with O_NOFOLLOW;
// a symbolic link is read through its own descriptor and followed only when MayFollowLink allows
// it, at every component, the last included. A last component that is a link to a missing file
// gives the link's target, with `danglingLink` set, so that a caller creating a file can refuse.
// Fails, naming `errorPath`, when a folder on the way is missing or unreadable, a component that
// should be a folder is not one, links nest more than 40 deep, or a link is refused (the message
// names the link, its owner, the folder and why).
Expected<FolderEntry> ResolveEntry(const std::string& path, const std::string& errorPath);

// Opens the folder `path`, resolved as ResolveEntry does, as an O_PATH descriptor; `info` gets its
// fstat.
Expected<UniqueFd> OpenFolder(const std::string& path, const std::string& errorPath,
                              struct stat& info);

}  // namespace tav
