// The temporary files of a save: the new content written beside the document before it replaces
// it, or kept as a copy while the document itself is overwritten.
#pragma once

#include <string>
#include <string_view>

#include "../catalog/expected.h"
#include "splicedbytes.h"

namespace tav {

class TempFile final {
public:
    // Creates an empty file, mode 0600, open for writing, in `folder` under a short hidden name
    // made from the start of `documentName` (at most 32 bytes of it) and six random characters, so
    // the name fits whatever the document's name. Passes the CreateTemp step of the fault seam
    // first. On failure the error names `errorPath`, with errno's reason and value.
    static Expected<TempFile> Create(const std::string& folder, const std::string& documentName,
                                     const std::string& errorPath);

    // The folder for the copy of an in-place save whose document folder takes no new files:
    // $XDG_CACHE_HOME/tavmanager, else ~/.cache/tavmanager, made (mode 0700) when missing.
    // The error names `errorPath` and the folder.
    static Expected<std::string> CacheFolder(const std::string& errorPath);

    TempFile(TempFile&& other) noexcept;
    TempFile& operator=(TempFile&&) = delete;
    TempFile(const TempFile&) = delete;
    TempFile& operator=(const TempFile&) = delete;
    // Closes the file and removes it, unless Keep was called.
    ~TempFile();

    int Fd() const { return m_fd; }
    const std::string& Path() const { return m_path; }

    // Writes all of `bytes` at the current offset, in chunks of at most 1 MiB, each after the Write
    // step of the fault seam. The error names `errorPath` and the reason.
    Status Write(const SplicedBytes& bytes, const std::string& errorPath);

    // Flushes the file to disk (after the Sync step of the fault seam).
    Status Flush(const std::string& errorPath);

    // Closes the descriptor, reporting a failure of close (a delayed write error).
    Status Close(const std::string& errorPath);

    // Leaves the file on disk: it became the document, or it holds content to recover.
    void Keep() { m_keep = true; }

private:
    TempFile(int fd, std::string path) : m_fd(fd), m_path(std::move(path)) {}

    int m_fd = -1;
    std::string m_path;
    bool m_keep = false;
};

// Flushes the folder `folder` to disk, so that a rename or a new name in it survives a crash.
// File systems that cannot flush a folder (EINVAL), and a folder the saver may enter but not read
// (EACCES), are not errors: there is nothing more to be done. The error names `errorPath`.
Status SyncFolder(const std::string& folder, const std::string& errorPath);

// The folder part of `path`: "." for a bare name, "/" for a file in the root folder.
std::string FolderOf(const std::string& path);

// The name part of `path`, after its last '/'.
std::string BaseNameOf(const std::string& path);

}  // namespace tav
