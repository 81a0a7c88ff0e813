// The temporary files of a save, made inside a folder the save holds open: the new content written
// beside the document before it replaces it, or the complete copy kept while the document itself
// is overwritten. Their names are made from the document's name, so that the files a killed save
// leaves behind can be told and found again.
#pragma once

#include <sys/stat.h>

#include <string>
#include <string_view>

#include "base/expected.h"
#include "base/splicedbytes.h"
#include "storage/posix/safepath.h"
#include "storage/tempnames.h"

namespace tav {

// A folder held open, with the name it is shown by.
struct OpenFolderRef {
    int fd = -1;       // a descriptor of the folder (O_PATH is enough)
    std::string path;  // for messages
};

class TempFile final {
public:
    // Creates an empty file, mode 0600, open for writing, in `folder` (O_CREAT|O_EXCL|O_NOFOLLOW
    // relative to its descriptor, so nothing another user put there is ever opened) under
    // TempNamePrefix(documentName) and six random characters. Passes the CreateTemp step of the
    // fault seam first. On failure the error names `errorPath`, with errno's reason and value.
    static Expected<TempFile> Create(const OpenFolderRef& folder, const std::string& documentName,
                                     const std::string& errorPath);

    // The folder for the copy of an in-place save whose document folder takes no new files:
    // $XDG_CACHE_HOME/tavmanager, else ~/.cache/tavmanager, made (mode 0700) when missing. It must
    // be a real folder (not a link) that belongs to the saver and that nobody else may enter
    // (mode 0700): otherwise the error says why. The error names `errorPath` and the folder.
    // Without `make`, a missing folder is not made but an error (Missing()).
    static Expected<std::pair<UniqueFd, std::string>> CacheFolder(const std::string& errorPath,
                                                                  bool make = true);

    TempFile(TempFile&& other) noexcept;
    TempFile& operator=(TempFile&&) = delete;
    TempFile(const TempFile&) = delete;
    TempFile& operator=(const TempFile&) = delete;
    // Closes the file and removes it, unless Keep was called.
    ~TempFile();

    int Fd() const { return m_fd; }
    const std::string& Name() const { return m_name; }
    // The folder's path and the name, for messages.
    std::string Path() const;
    int FolderFd() const { return m_folder.Get(); }
    // The file's inode, as it was created.
    ino_t Inode() const { return m_inode; }

    // Writes all of `bytes` at the current offset, in chunks of at most 1 MiB, each after the Write
    // step of the fault seam. The error names `errorPath` and the reason.
    Status Write(const SplicedBytes& bytes, const std::string& errorPath);

    // Flushes the file to disk (after the Sync step of the fault seam).
    Status Flush(const std::string& errorPath);

    // Closes the descriptor, reporting a failure of close (a delayed write error).
    Status Close(const std::string& errorPath);

    // Renames the file to `name` in its folder, replacing what has that name; from then on the
    // file is known by it.
    Status Rename(const std::string& name, const std::string& errorPath);

    // Leaves the file on disk: it became the document, or it holds content to recover.
    void Keep() { m_keep = true; }

private:
    TempFile(int fd, UniqueFd folder, std::string folderPath, std::string name, ino_t inode)
        : m_fd(fd),
          m_folder(std::move(folder)),
          m_folderPath(std::move(folderPath)),
          m_name(std::move(name)),
          m_inode(inode) {}

    int m_fd = -1;
    UniqueFd m_folder;  // its own duplicate of the folder's descriptor
    std::string m_folderPath;
    std::string m_name;
    ino_t m_inode = 0;
    bool m_keep = false;
};

// Flushes the folder open as `folder` to disk, so that a rename or a new name in it survives a
// crash. File systems that cannot flush a folder (EINVAL), and a folder the saver may enter but
// not read (EACCES), are not errors: there is nothing more to be done. The error names
// `errorPath` and the folder.
Status SyncFolder(const OpenFolderRef& folder, const std::string& errorPath);

}  // namespace tav
