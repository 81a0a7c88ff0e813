#include "storage/documentslot.h"

#include <fcntl.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <optional>

#include "base/fileaccess.h"
#include "base/readonlyfile.h"
#include "base/translation.h"
#include "storage/posix/filereplacement.h"
#include "storage/posix/flock.h"
#include "storage/posix/leftovercopy.h"
#include "storage/posix/safepath.h"

namespace tav {

namespace {

FileError Failure(const std::string& path, const std::string& what, int code) {
    return FileError{path, what + std::strerror(code), code, WriteState::Untouched};
}

// The document, open for reading and locked; closing it releases the lock.
struct LockedFile {
    UniqueFd fd;          // invalid when no file has the name
    bool locked = false;  // false on file systems without flock
    bool again = false;   // the name became a link or something else: resolve the path again
};

// Opens the regular file `name` in `folder` for reading, without following a link or blocking,
// and locks it, until the lock is held on the file the name leads to.
Expected<LockedFile> OpenLocked(const std::string& path, const OpenFolderRef& folder,
                                const std::string& name) {
    for (int attempt = 0; attempt < kLockAttempts; ++attempt) {
        // Looked at first, so that no FIFO or device is ever opened.
        struct stat named {};
        if (::fstatat(folder.fd, name.c_str(), &named, AT_SYMLINK_NOFOLLOW) != 0) {
            if (errno == ENOENT) {
                return LockedFile{};
            }
            return Failure(path, Translate("Storage", "cannot open: "), errno);
        }
        if (S_ISLNK(named.st_mode)) {
            return LockedFile{UniqueFd(), false, true};
        }
        if (S_ISDIR(named.st_mode)) {
            return FileError{path, Translate("Storage", "is a folder, not a file"), EISDIR,
                             WriteState::Untouched};
        }
        if (!S_ISREG(named.st_mode)) {
            return FileError{path, Translate("Storage", "is not a regular file"), EINVAL,
                             WriteState::Untouched};
        }
        LockedFile file{UniqueFd(::openat(
            folder.fd, name.c_str(), O_RDONLY | O_NOFOLLOW | O_NONBLOCK | O_NOCTTY | O_CLOEXEC))};
        if (!file.fd.Valid()) {
            if (errno == ELOOP || errno == ENOENT) {
                return LockedFile{UniqueFd(), false, true};
            }
            return Failure(path, Translate("Storage", "cannot open: "), errno);
        }
        struct stat opened {};
        if (::fstat(file.fd.Get(), &opened) != 0) {
            return Failure(path, Translate("Storage", "cannot open: "), errno);
        }
        if (!S_ISREG(opened.st_mode)) {
            return LockedFile{UniqueFd(), false, true};  // swapped since it was looked at
        }
        const Expected<LockResult> lock = LockExclusively(file.fd.Get(), path);
        if (!lock) {
            return NothingWritten(lock.Error());
        }
        if (*lock == LockResult::Unsupported) {
            return file;
        }
        file.locked = true;
        struct stat now {};
        if (::fstatat(folder.fd, name.c_str(), &now, AT_SYMLINK_NOFOLLOW) != 0 && errno != ENOENT) {
            return Failure(path, Translate("Storage", "cannot open: "), errno);
        }
        if (now.st_dev == opened.st_dev && now.st_ino == opened.st_ino) {
            return file;
        }
    }
    return KeepsBeingReplaced(path);
}

// The POSIX slot: the path resolved component by component (ResolveEntry), the folder held
// open, and every later step relative to it.
class PosixSlot final : public DocumentSlot {
public:
    explicit PosixSlot(std::string path) : m_path(std::move(path)) {}

    Expected<Found> OpenLocked() override {
        Expected<FolderEntry> entry = ResolveEntry(m_path, m_path);
        if (!entry) {
            return NothingWritten(entry.Error());
        }
        m_entry = std::move(*entry);
        m_file.path = m_path;
        m_file.folder = OpenFolderRef{m_entry.folder.Get(), m_entry.folderPath};
        m_file.name = m_entry.name;
        Expected<LockedFile> locked = tav::OpenLocked(m_path, m_file.folder, m_entry.name);
        if (!locked) {
            return locked.Error();
        }
        if (locked->again) {
            return Found::Again;
        }
        m_locked = std::move(*locked);
        if (!m_locked.fd.Valid()) {
            return Found::Missing;
        }
        m_file.fd = m_locked.fd.Get();
        if (::fstat(m_file.fd, &m_file.info) != 0) {
            return Failure(m_path, Translate("Storage", "cannot read: "), errno);
        }
        return Found::Exists;
    }
    bool Locked() const override { return m_locked.locked; }
    std::string DanglingLink() const override { return m_entry.danglingLink; }

    Expected<FileBytes> Read() override {
        return ReadOpenFile(ReadOnlyFile::Borrow(m_file.fd, m_path));
    }
    void RemoveKilledTemps() override {
        for (const std::string& temp : FindTemps(m_file.folder, m_file.name)) {
            ::unlinkat(m_file.folder.fd, temp.c_str(), 0);  // a leftover that stays is harmless
        }
    }

    bool FindCopy() override {
        m_copy = tav::FindCopy(m_file.folder, m_file.name, &m_file.info);
        return m_copy.has_value();
    }
    std::string CopyPath() const override { return m_copy ? m_copy->Path() : std::string(); }
    Expected<FileBytes> ReadCopy() override { return tav::ReadCopy(*m_copy, m_path); }
    Status RemoveCopy() override { return tav::RemoveCopy(*m_copy, m_path); }

    Expected<ReplaceOutcome> Replace(const SplicedBytes& bytes) override {
        m_writtenVolume = m_file.info.st_dev;
        return ReplaceDocumentContent(m_file, bytes, &m_writtenInode);
    }
    Expected<ReplaceOutcome> Create(const SplicedBytes& bytes,
                                    std::optional<unsigned> mode) override {
        m_writtenVolume = m_entry.folderInfo.st_dev;
        return CreateDocumentFile(
            m_path, m_file.folder, m_entry.name, bytes, &m_writtenInode,
            mode ? std::optional<mode_t>(static_cast<mode_t>(*mode)) : std::nullopt);
    }
    std::pair<std::uint64_t, std::uint64_t> WrittenFile() const override {
        return {static_cast<std::uint64_t>(m_writtenVolume),
                static_cast<std::uint64_t>(m_writtenInode)};
    }

private:
    std::string m_path;
    FolderEntry m_entry;
    LockedFile m_locked;
    ReadDocument m_file;
    std::optional<FoundCopy> m_copy;
    dev_t m_writtenVolume = 0;
    ino_t m_writtenInode = 0;
};

}  // namespace

std::unique_ptr<DocumentSlot> MakeDocumentSlot(const std::string& path) {
    return std::make_unique<PosixSlot>(path);
}

}  // namespace tav
