// The pieces of the Windows half of storage: handles, wide paths split into folder and name,
// what a handle tells of its file, chunked writes through the fault seam, the cache folder.
#pragma once

#include <windows.h>

#include <cstdint>
#include <optional>
#include <string>
#include <utility>

#include "base/expected.h"
#include "base/readonlyfile.h"
#include "base/splicedbytes.h"
#include "storage/atomicfile.h"

namespace tav {

// An open HANDLE, closed when it goes.
class UniqueHandle final {
public:
    UniqueHandle() = default;
    explicit UniqueHandle(HANDLE handle) : m_handle(handle) {}
    UniqueHandle(UniqueHandle&& other) noexcept
        : m_handle(std::exchange(other.m_handle, INVALID_HANDLE_VALUE)) {}
    UniqueHandle& operator=(UniqueHandle&& other) noexcept;
    UniqueHandle(const UniqueHandle&) = delete;
    UniqueHandle& operator=(const UniqueHandle&) = delete;
    ~UniqueHandle();

    HANDLE Get() const { return m_handle; }
    bool Valid() const { return m_handle != INVALID_HANDLE_VALUE && m_handle != nullptr; }
    // Closes it now, telling whether CloseHandle succeeded.
    bool Close();

private:
    HANDLE m_handle = INVALID_HANDLE_VALUE;
};

// A document's path as the wide functions take it, and as messages show it.
struct WidePath {
    std::wstring full;        // "\\?\C:\folder\name" (long-path form)
    std::wstring folder;      // "\\?\C:\folder"
    std::string name;         // "name", UTF-8
    std::string folderShown;  // the folder as the user wrote it, for messages

    // The long form of `entry` in the same folder.
    std::wstring Beside(const std::string& entry) const;
};

// `path` made full and split at its last separator ('\\' or '/'). Fails naming `path` when it
// cannot be made full or names a folder (ends in a separator, or is a drive's root).
Expected<WidePath> SplitPath(const std::string& path);

// What a handle tells of its file.
struct WinFileInfo {
    FileIdentity identity;
    std::int64_t lastWrite = 0;
    std::int64_t change = 0;
    DWORD attributes = 0;
    DWORD links = 1;

    // Same file, same size, and neither written nor changed since `other` was taken.
    bool Unchanged(const WinFileInfo& other) const;
};
Expected<WinFileInfo> InfoOf(HANDLE handle, const std::string& errorPath);

// The info of what `full` names now, without following a reparse point and without opening its
// content (so no sharing mode stands in the way); nothing when no such file exists.
Expected<std::optional<WinFileInfo>> InfoByName(const std::wstring& full,
                                                const std::string& errorPath);

// Writes all of `bytes` through `handle` from `start` on, in chunks of at most 1 MiB, each after
// `step` of the fault seam. `touched` tells whether any byte was written. The error names
// `errorPath`, with `what` before the reason.
Status WriteAll(HANDLE handle, const SplicedBytes& bytes, SaveStep step, bool& touched,
                const std::string& errorPath, const std::string& what);

// The folder for the copy of an in-place save whose document folder takes no new files:
// %LOCALAPPDATA%\tavmanager (made when missing, unless `make` is false: then an error). The
// error names `errorPath`.
Expected<std::wstring> CacheFolder(const std::string& errorPath, bool make = true);

// The error of a fault the seam injected (errno holds its code).
FileError InjectedError(const std::string& errorPath, const std::string& what,
                        WriteState state = WriteState::Untouched);

}  // namespace tav
