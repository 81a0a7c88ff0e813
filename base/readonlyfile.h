// A file open for reading, as the platform opens it: the one place below storage/ where a file is
// opened, so that every reader refuses what is not a regular file in the same words and every
// path reaches the system in its own form (UTF-8 bytes on POSIX, UTF-16 on Windows).
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

#include "base/expected.h"

namespace tav {

// The platform's handle of an open file: a descriptor on POSIX, a HANDLE on Windows.
using NativeHandle = std::intptr_t;

// Which file an open file is, and its size: two open files with the same volume and index are
// the same file (device and inode on POSIX; volume serial number and file index on Windows).
struct FileIdentity {
    std::uint64_t volume = 0;
    std::uint64_t index = 0;
    std::uint64_t size = 0;
    enum class Kind { Regular, Folder, Other } kind = Kind::Other;  // Other: a device, a pipe...

    bool SameFile(const FileIdentity& other) const {
        return volume == other.volume && index == other.index;
    }
};

// Whether a file held open stays readable after someone removes its name, without standing in the
// way of the removal: true on POSIX; false on Windows, where on some file systems (FAT, network
// shares) a removal waits for the last handle, and nobody can use the name again until then.
extern const bool kHeldFileSurvivesRemoval;

class ReadOnlyFile final {
public:
    // Opens `path` for reading, without blocking on a FIFO and without becoming anyone's
    // controlling terminal. The error names `path` and the reason; Missing() on it tells that
    // no such file exists.
    static Expected<ReadOnlyFile> Open(const std::string& path);

    // The file open as `handle`, which the caller keeps open and closes: `path` names it in
    // errors.
    static ReadOnlyFile Borrow(NativeHandle handle, std::string path);

    ReadOnlyFile(ReadOnlyFile&& other) noexcept;
    ReadOnlyFile& operator=(ReadOnlyFile&& other) noexcept;
    ReadOnlyFile(const ReadOnlyFile&) = delete;
    ReadOnlyFile& operator=(const ReadOnlyFile&) = delete;
    // Closes the file unless it was borrowed (read only: a failed close loses nothing).
    ~ReadOnlyFile();

    const std::string& Path() const { return m_path; }

    // Which file it is.
    Expected<FileIdentity> Identify() const;

    // Its size, or the refusal of what the readers here do not read: a folder ("is a folder, not
    // a file"), a device, a pipe or anything else that is not a regular file ("is not a regular
    // file"). Errors name the path.
    Expected<std::size_t> RegularSize() const;

    // Reads up to `room` bytes at `offset` into `into` (the file's own position is not used) and
    // gives how many: 0 only at the end of the file. Interrupted reads are retried.
    Expected<std::size_t> ReadAt(char* into, std::size_t room, std::uint64_t offset) const;

private:
    ReadOnlyFile(NativeHandle handle, std::string path, bool owned)
        : m_handle(handle), m_path(std::move(path)), m_owned(owned) {}
    void Close();

    NativeHandle m_handle = -1;
    std::string m_path;
    bool m_owned = false;
};

}  // namespace tav
