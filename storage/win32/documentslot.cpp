// The Windows slot of the read-edit-write cycle: wide long-form paths, the lock as a byte-range
// lock far past the end of the file (so it stands in the way of no reader or writer of the
// content, only of another saver taking the same lock), replacement by ReplaceFileW, which keeps
// the document's security descriptor (ACL), attributes and alternate data streams, and the
// in-place write where a new file would lose something.
#include "storage/documentslot.h"

#include <windows.h>
// After windows.h, which they need.
#include <aclapi.h>
#include <sddl.h>

#include <cerrno>
#include <cstring>

#include "base/translation.h"
#include "base/win32/widepath.h"
#include "storage/filelock.h"
#include "storage/tempnames.h"
#include "storage/win32/leftovercopy.h"
#include "storage/win32/winfile.h"

namespace tav {

namespace {

constexpr DWORD kShareAll = FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE;
// The byte every saver locks: far beyond any document's end.
constexpr DWORD kLockOffsetHigh = 0x7FFFFFFF;

FileError NotAFile(const std::string& path, bool folder) {
    return folder ? FileError{path, Translate("Storage", "is a folder, not a file"), EISDIR,
                              WriteState::Untouched}
                  : FileError{path, Translate("Storage", "is not a regular file"), EINVAL,
                              WriteState::Untouched};
}

// The owner of the file or folder open as `handle`, as a string SID ("" when unknown).
std::wstring OwnerOf(HANDLE handle) {
    PSID owner = nullptr;
    PSECURITY_DESCRIPTOR descriptor = nullptr;
    if (::GetSecurityInfo(handle, SE_FILE_OBJECT, OWNER_SECURITY_INFORMATION, &owner, nullptr,
                          nullptr, nullptr, &descriptor) != ERROR_SUCCESS) {
        return {};
    }
    std::wstring text;
    LPWSTR sid = nullptr;
    if (::ConvertSidToStringSidW(owner, &sid)) {
        text = sid;
        ::LocalFree(sid);
    }
    ::LocalFree(descriptor);
    return text;
}

// The calling user's SID as a string.
std::wstring CurrentUser() {
    HANDLE token = nullptr;
    if (!::OpenProcessToken(::GetCurrentProcess(), TOKEN_QUERY, &token)) {
        return {};
    }
    const UniqueHandle own(token);
    alignas(TOKEN_USER) unsigned char buffer[256];
    DWORD size = 0;
    if (!::GetTokenInformation(token, TokenUser, buffer, sizeof buffer, &size)) {
        return {};
    }
    std::wstring text;
    LPWSTR sid = nullptr;
    if (::ConvertSidToStringSidW(reinterpret_cast<TOKEN_USER*>(buffer)->User.Sid, &sid)) {
        text = sid;
        ::LocalFree(sid);
    }
    return text;
}

// A reparse point (a symbolic link or a junction) at the document's name is followed only when
// it belongs to the saver or to the owner of its folder: one planted by another user in a folder
// others can write to is refused, as on POSIX.
Status CheckReparsePoint(const WidePath& where, const std::string& path) {
    const UniqueHandle link(
        ::CreateFileW(where.full.c_str(), READ_CONTROL, kShareAll, nullptr, OPEN_EXISTING,
                      FILE_FLAG_BACKUP_SEMANTICS | FILE_FLAG_OPEN_REPARSE_POINT, nullptr));
    const UniqueHandle folder(::CreateFileW(where.folder.c_str(), READ_CONTROL, kShareAll, nullptr,
                                            OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS, nullptr));
    const std::wstring owner = link.Valid() ? OwnerOf(link.Get()) : std::wstring();
    const std::wstring user = CurrentUser();
    if (!owner.empty() && (owner == user || (folder.Valid() && owner == OwnerOf(folder.Get())))) {
        return {};
    }
    return FileError{path,
                     FillIn(Translate("Storage",
                                      "is a link that belongs neither to you nor to the owner of "
                                      "its folder %1; it is not followed"),
                            {where.folderShown}),
                     EPERM, WriteState::Untouched};
}

class WinSlot final : public DocumentSlot {
public:
    explicit WinSlot(std::string path) : m_path(std::move(path)) {}

    Expected<Found> OpenLocked() override {
        Expected<WidePath> where = SplitPath(m_path);
        if (!where) {
            return NothingWritten(where.Error());
        }
        m_where = std::move(*where);
        for (int attempt = 0; attempt < kLockAttempts; ++attempt) {
            // Looked at first, so that nothing but a regular file is ever opened.
            const Expected<std::optional<WinFileInfo>> named = InfoByName(m_where.full, m_path);
            if (!named) {
                return NothingWritten(named.Error());
            }
            if (!*named) {
                return ParentMissing() ? Expected<Found>(MissingFolder()) : Found::Missing;
            }
            if (((*named)->attributes & FILE_ATTRIBUTE_REPARSE_POINT) != 0) {
                if (const Status allowed = CheckReparsePoint(m_where, m_path); !allowed) {
                    return allowed.Error();
                }
                // From here on the cycle works on the file the link leads to, as on POSIX: the
                // link stays a link to the saved file.
                const Expected<std::optional<WidePath>> target = LinkTarget();
                if (!target) {
                    return target.Error();
                }
                if (!*target) {
                    m_dangling = m_path;
                    return Found::Missing;
                }
                m_where = std::move(**target);
                continue;
            } else if ((*named)->identity.kind != FileIdentity::Kind::Regular) {
                return NotAFile(m_path, (*named)->identity.kind == FileIdentity::Kind::Folder);
            }
            m_file =
                UniqueHandle(::CreateFileW(m_where.full.c_str(), GENERIC_READ, kShareAll, nullptr,
                                           OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
            if (!m_file.Valid()) {
                const DWORD code = ::GetLastError();
                if (code == ERROR_FILE_NOT_FOUND) {
                    continue;  // removed since it was looked at
                }
                return WindowsError(m_path, code, Translate("Storage", "cannot open: "),
                                    WriteState::Untouched);
            }
            Expected<WinFileInfo> opened = InfoOf(m_file.Get(), m_path);
            if (!opened) {
                return NothingWritten(opened.Error());
            }
            if (opened->identity.kind != FileIdentity::Kind::Regular) {
                return NotAFile(m_path, opened->identity.kind == FileIdentity::Kind::Folder);
            }
            const Expected<LockResult> lock = Lock();
            if (!lock) {
                return NothingWritten(lock.Error());
            }
            m_locked = *lock == LockResult::Locked;
            // Another saver may have replaced the file while this one waited: the lock counts
            // only on the file the name leads to now.
            const Expected<std::optional<WinFileInfo>> now = InfoByName(m_where.full, m_path);
            if (!now) {
                return NothingWritten(now.Error());
            }
            if (!m_locked || (*now && (*now)->identity.SameFile(opened->identity))) {
                // Taken again now that the lock is held: what Verify compares with.
                Expected<WinFileInfo> locked = InfoOf(m_file.Get(), m_path);
                if (!locked) {
                    return NothingWritten(locked.Error());
                }
                m_info = *locked;
                return Found::Exists;
            }
            m_file = UniqueHandle();
        }
        return KeepsBeingReplaced(m_path);
    }
    bool Locked() const override { return m_locked; }
    std::string DanglingLink() const override { return m_dangling; }

    Expected<FileBytes> Read() override {
        return ReadOpenFile(
            ReadOnlyFile::Borrow(reinterpret_cast<NativeHandle>(m_file.Get()), m_path));
    }
    void RemoveKilledTemps() override {
        for (const std::string& temp : FindTempsBeside(m_where)) {
            ::DeleteFileW(m_where.Beside(temp).c_str());  // a leftover that stays is harmless
        }
    }

    bool FindCopy() override {
        m_copy = FindCopyOf(m_where, &m_info.identity);
        return m_copy.has_value();
    }
    std::string CopyPath() const override { return m_copy ? m_copy->Shown() : std::string(); }
    Expected<FileBytes> ReadCopy() override { return ReadCopyOf(*m_copy, m_path); }
    Status RemoveCopy() override { return RemoveCopyOf(*m_copy, m_path); }

    Expected<ReplaceOutcome> Replace(const SplicedBytes& bytes) override;
    Expected<ReplaceOutcome> Create(const SplicedBytes& bytes,
                                    std::optional<unsigned> mode) override;
    std::pair<std::uint64_t, std::uint64_t> WrittenFile() const override { return m_written; }

private:
    // The file the link at the document's name leads to, fully resolved; nothing for a link to
    // a file that does not exist.
    Expected<std::optional<WidePath>> LinkTarget() const {
        const UniqueHandle target(::CreateFileW(m_where.full.c_str(), FILE_READ_ATTRIBUTES,
                                                kShareAll, nullptr, OPEN_EXISTING,
                                                FILE_FLAG_BACKUP_SEMANTICS, nullptr));
        if (!target.Valid()) {
            const DWORD code = ::GetLastError();
            if (code == ERROR_FILE_NOT_FOUND || code == ERROR_PATH_NOT_FOUND) {
                return std::optional<WidePath>();
            }
            return WindowsError(m_path, code, Translate("Storage", "cannot open: "),
                                WriteState::Untouched);
        }
        std::wstring final(MAX_PATH, L'\0');
        for (;;) {
            const DWORD size = ::GetFinalPathNameByHandleW(
                target.Get(), final.data(), static_cast<DWORD>(final.size()), VOLUME_NAME_DOS);
            if (size == 0) {
                return WindowsError(m_path, ::GetLastError(), Translate("Storage", "cannot open: "),
                                    WriteState::Untouched);
            }
            if (size < final.size()) {
                final.resize(size);
                break;
            }
            final.resize(size + 1);
        }
        Expected<WidePath> split = SplitPath(ShownPath(final));
        if (!split) {
            return NothingWritten(split.Error());
        }
        return std::optional<WidePath>(std::move(*split));
    }

    // The folder that should hold the document is missing (or is no folder).
    bool ParentMissing() const {
        const DWORD attributes = ::GetFileAttributesW(m_where.folder.c_str());
        return attributes == INVALID_FILE_ATTRIBUTES ||
               (attributes & FILE_ATTRIBUTE_DIRECTORY) == 0;
    }
    FileError MissingFolder() const {
        return FileError{
            m_path,
            FillIn(Translate("Storage", "the folder %1 does not exist"), {m_where.folderShown}),
            ENOENT, WriteState::Untouched};
    }

    Expected<LockResult> Lock() {
        const HANDLE handle = m_file.Get();
        return WaitForLock(
            m_path,
            [this, handle]() -> Expected<LockTry> {
                OVERLAPPED at{};
                at.OffsetHigh = kLockOffsetHigh;
                if (::LockFileEx(handle, LOCKFILE_EXCLUSIVE_LOCK | LOCKFILE_FAIL_IMMEDIATELY, 0, 1,
                                 0, &at)) {
                    return LockTry::Locked;
                }
                const DWORD code = ::GetLastError();
                if (code == ERROR_LOCK_VIOLATION || code == ERROR_IO_PENDING) {
                    return LockTry::Busy;
                }
                if (code == ERROR_NOT_SUPPORTED || code == ERROR_INVALID_FUNCTION) {
                    return LockTry::Unsupported;
                }
                return WindowsError(m_path, code, Translate("Storage", "cannot lock the file: "));
            },
            [] { return LockHolder{}; });
    }

    // A new temporary file in `folder` (long form), named after the document, open for writing.
    Expected<std::pair<UniqueHandle, std::wstring>> CreateTemp(const std::wstring& folder) const {
        const std::string what =
            FillIn(Translate("Storage", "cannot create a file in %1: "), {ShownPath(folder)});
        if (!SaveStepAllowed(SaveStep::CreateTemp)) {
            return InjectedError(m_path, what);
        }
        for (int attempt = 0; attempt < kTempNameAttempts; ++attempt) {
            std::wstring name = folder + L"\\" + Widen(NewTempName(m_where.name));
            UniqueHandle temp(::CreateFileW(name.c_str(), GENERIC_WRITE | DELETE,
                                            FILE_SHARE_READ | FILE_SHARE_DELETE, nullptr,
                                            CREATE_NEW, FILE_ATTRIBUTE_NORMAL, nullptr));
            if (temp.Valid()) {
                return std::make_pair(std::move(temp), std::move(name));
            }
            if (::GetLastError() != ERROR_FILE_EXISTS) {
                return WindowsError(m_path, ::GetLastError(), what, WriteState::Untouched);
            }
        }
        return WindowsError(m_path, ERROR_FILE_EXISTS, what, WriteState::Untouched);
    }

    // Writes, flushes and closes a temporary file: the complete new content.
    Status FillTemp(UniqueHandle& temp, const SplicedBytes& bytes) const {
        bool touched = false;
        if (const Status written = WriteAll(temp.Get(), bytes, SaveStep::Write, touched, m_path,
                                            Translate("Storage", "cannot write: "));
            !written) {
            return NothingWritten(written.Error());
        }
        if (!SaveStepAllowed(SaveStep::Sync)) {
            return InjectedError(m_path, Translate("Storage", "cannot flush to disk: "));
        }
        if (!::FlushFileBuffers(temp.Get())) {
            return WindowsError(m_path, ::GetLastError(),
                                Translate("Storage", "cannot flush to disk: "),
                                WriteState::Untouched);
        }
        if (!temp.Close()) {
            return WindowsError(m_path, ::GetLastError(), Translate("Storage", "cannot write: "),
                                WriteState::Untouched);
        }
        return {};
    }

    // A complete temporary file of `bytes` in `folder`: its long-form name. Nothing of it is
    // left when the error comes back.
    Expected<std::wstring> WriteTemp(const std::wstring& folder, const SplicedBytes& bytes) const {
        Expected<std::pair<UniqueHandle, std::wstring>> temp = CreateTemp(folder);
        if (!temp) {
            return NothingWritten(temp.Error());
        }
        if (const Status filled = FillTemp(temp->first, bytes); !filled) {
            ::DeleteFileW(temp->second.c_str());
            return filled.Error();
        }
        return temp->second;
    }

    // True when the name still leads to the file as it was read (after the Verify step).
    Expected<bool> StillAsRead() const {
        if (!SaveStepAllowed(SaveStep::Verify)) {
            return InjectedError(m_path, Translate("Storage", "cannot check the file: "));
        }
        const Expected<std::optional<WinFileInfo>> now = InfoByName(m_where.full, m_path);
        if (!now) {
            return NothingWritten(now.Error());
        }
        return *now && (*now)->Unchanged(m_info);
    }

    Expected<ReplaceOutcome> WriteInPlace(const SplicedBytes& bytes, const std::wstring& temp,
                                          const std::wstring& copy);
    Expected<ReplaceOutcome> WriteInPlaceFromCache(const SplicedBytes& bytes);
    void NoteWritten() {
        const Expected<std::optional<WinFileInfo>> now = InfoByName(m_where.full, m_path);
        m_written = now && *now ? std::make_pair((*now)->identity.volume, (*now)->identity.index)
                                : std::make_pair(std::uint64_t{0}, std::uint64_t{0});
    }

    std::string m_path;
    WidePath m_where;
    UniqueHandle m_file;
    WinFileInfo m_info;
    bool m_locked = false;
    std::string m_dangling;
    std::optional<FoundCopy> m_copy;
    std::pair<std::uint64_t, std::uint64_t> m_written{0, 0};
};

Expected<ReplaceOutcome> WinSlot::Replace(const SplicedBytes& bytes) {
    // ReplaceFileW needs no write permission on the file, so a read-only file is refused here, as
    // a direct write would be.
    if ((m_info.attributes & FILE_ATTRIBUTE_READONLY) != 0) {
        return FileError{m_path, Translate("Storage", "the file is read-only"), EACCES,
                         WriteState::Untouched};
    }
    const Expected<std::wstring> temp = WriteTemp(m_where.folder, bytes);
    if (!temp && temp.Error().code == EACCES) {
        // The folder takes no new files from this saver: in place, from a copy in the cache.
        return WithCacheCopy(temp.Error(), WriteInPlaceFromCache(bytes));
    }
    if (!temp) {
        return temp.Error();
    }
    const std::wstring& tempName = *temp;
    const std::wstring copyName = m_where.Beside(CopyNameBeside(m_where.name));
    if (m_info.links > 1) {
        return WriteInPlace(bytes, tempName, copyName);  // a new file would lose the other names
    }
    const Expected<bool> same = StillAsRead();
    if (!same || !*same) {
        ::DeleteFileW(tempName.c_str());
        return same ? Expected<ReplaceOutcome>(ReplaceOutcome::ChangedMeanwhile) : same.Error();
    }
    if (!SaveStepAllowed(SaveStep::Rename)) {
        ::DeleteFileW(tempName.c_str());
        return InjectedError(m_path, Translate("Storage", "cannot replace the file: "));
    }
    // No flag that ignores a failure to merge the ACL or attributes: a replacement that would
    // lose them is refused, and the file is then written in place.
    if (!::ReplaceFileW(m_where.full.c_str(), tempName.c_str(), nullptr, 0, nullptr, nullptr)) {
        const DWORD code = ::GetLastError();
        if (code == ERROR_UNABLE_TO_MOVE_REPLACEMENT ||
            code == ERROR_UNABLE_TO_MOVE_REPLACEMENT_2) {
            // The document's name was freed but the new file did not take it: put it there.
            if (::MoveFileExW(tempName.c_str(), m_where.full.c_str(), MOVEFILE_WRITE_THROUGH)) {
                NoteWritten();
                return ReplaceOutcome::Replaced;
            }
            FileError error = WindowsError(m_path, ::GetLastError(),
                                           Translate("Storage", "cannot replace the file: "),
                                           WriteState::Incomplete);
            error.copy = ShownPath(tempName);
            return error;
        }
        if (code == ERROR_UNABLE_TO_REMOVE_REPLACED || code == ERROR_SHARING_VIOLATION ||
            code == ERROR_ACCESS_DENIED || code == ERROR_USER_MAPPED_FILE ||
            code == ERROR_NOT_SUPPORTED) {
            // Refused (someone holds the file open without sharing its removal, a file system
            // without the call): the document keeps its identity and is written over.
            return WriteInPlace(bytes, tempName, copyName);
        }
        ::DeleteFileW(tempName.c_str());
        return WindowsError(m_path, code, Translate("Storage", "cannot replace the file: "),
                            WriteState::Untouched);
    }
    // ReplaceFileW carries the attributes over; where it did not (another system's
    // implementation), they are put back, so a hidden or system file stays one.
    const DWORD kept = FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM | FILE_ATTRIBUTE_ARCHIVE |
                       FILE_ATTRIBUTE_NOT_CONTENT_INDEXED;
    const DWORD now = ::GetFileAttributesW(m_where.full.c_str());
    if (now != INVALID_FILE_ATTRIBUTES && (now & kept) != (m_info.attributes & kept)) {
        ::SetFileAttributesW(m_where.full.c_str(), (now & ~kept) | (m_info.attributes & kept));
    }
    NoteWritten();
    return ReplaceOutcome::Replaced;
}

Expected<ReplaceOutcome> WinSlot::WriteInPlace(const SplicedBytes& bytes, const std::wstring& temp,
                                               const std::wstring& copy) {
    // Only a complete copy carries the name the next open, set or check look for.
    if (!::MoveFileExW(temp.c_str(), copy.c_str(),
                       MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH)) {
        const DWORD code = ::GetLastError();
        ::DeleteFileW(temp.c_str());
        return WindowsError(m_path, code,
                            FillIn(Translate("Storage", "cannot create a file in %1: "),
                                   {ShownPath(copy.substr(0, copy.find_last_of(L'\\')))}),
                            WriteState::Untouched);
    }
    const std::string copyShown = ShownPath(copy);
    const Expected<bool> same = StillAsRead();
    if (!same || !*same) {
        ::DeleteFileW(copy.c_str());
        return same ? Expected<ReplaceOutcome>(ReplaceOutcome::ChangedMeanwhile) : same.Error();
    }
    const UniqueHandle file(::CreateFileW(m_where.full.c_str(), GENERIC_WRITE, kShareAll, nullptr,
                                          OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!file.Valid()) {
        const DWORD code = ::GetLastError();
        ::DeleteFileW(copy.c_str());
        if (code == ERROR_FILE_NOT_FOUND) {
            return ReplaceOutcome::ChangedMeanwhile;
        }
        return WindowsError(m_path, code, Translate("Storage", "cannot write: "),
                            WriteState::Untouched);
    }
    const Expected<WinFileInfo> opened = InfoOf(file.Get(), m_path);
    if (!opened || !opened->identity.SameFile(m_info.identity)) {
        ::DeleteFileW(copy.c_str());
        return ReplaceOutcome::ChangedMeanwhile;
    }
    bool touched = false;
    Status written = WriteAll(file.Get(), bytes, SaveStep::Overwrite, touched, m_path,
                              Translate("Storage", "cannot write: "));
    if (written) {
        touched = true;  // from here on the file may differ from what it was, whatever happens
        LARGE_INTEGER size{};
        size.QuadPart = static_cast<LONGLONG>(bytes.Size());
        if (!SaveStepAllowed(SaveStep::Truncate)) {
            written = InjectedError(m_path, Translate("Storage", "cannot cut the file to size: "));
        } else if (!::SetFilePointerEx(file.Get(), size, nullptr, FILE_BEGIN) ||
                   !::SetEndOfFile(file.Get())) {
            written = WindowsError(m_path, ::GetLastError(),
                                   Translate("Storage", "cannot cut the file to size: "));
        } else if (!SaveStepAllowed(SaveStep::SyncInPlace)) {
            written = InjectedError(m_path, Translate("Storage", "cannot flush to disk: "));
        } else if (!::FlushFileBuffers(file.Get())) {
            written = WindowsError(m_path, ::GetLastError(),
                                   Translate("Storage", "cannot flush to disk: "));
        }
    }
    if (!written) {
        if (!touched) {
            ::DeleteFileW(copy.c_str());
            return FileError{m_path, written.Error().reason, written.Error().code,
                             WriteState::Untouched};
        }
        return FileError{m_path, written.Error().reason, written.Error().code,
                         WriteState::Incomplete, copyShown};
    }
    m_written = {m_info.identity.volume, m_info.identity.index};
    const std::string what =
        FillIn(Translate("Storage", "its copy %1 could not be removed: "), {copyShown});
    if (!SaveStepAllowed(SaveStep::RemoveCopy)) {
        return InjectedError(m_path, what, WriteState::Saved);
    }
    if (!::DeleteFileW(copy.c_str())) {
        return WindowsError(m_path, ::GetLastError(), what, WriteState::Saved);
    }
    return ReplaceOutcome::Replaced;
}

Expected<ReplaceOutcome> WinSlot::WriteInPlaceFromCache(const SplicedBytes& bytes) {
    // The seam first: a refused step must not even make the cache folder.
    if (!SaveStepAllowed(SaveStep::CreateTemp)) {
        return InjectedError(m_path,
                             Translate("Storage", "cannot create a file in the cache folder: "));
    }
    const Expected<std::wstring> cache = CacheFolder(m_path);
    if (!cache) {
        return NothingWritten(cache.Error());
    }
    const Expected<std::wstring> temp = WriteTemp(*cache, bytes);
    if (!temp) {
        return temp.Error();
    }
    return WriteInPlace(bytes, *temp,
                        *cache + L"\\" + Widen(CopyNameInCache(m_info.identity, m_where.name)));
}

Expected<ReplaceOutcome> WinSlot::Create(const SplicedBytes& bytes, std::optional<unsigned>) {
    // Windows has no permission bits: the new document gets the permissions its folder passes on
    // to new files, as any program's file there does.
    const Expected<std::wstring> temp = WriteTemp(m_where.folder, bytes);
    if (!temp) {
        return temp.Error();
    }
    const std::wstring& tempName = *temp;
    if (!SaveStepAllowed(SaveStep::Rename)) {
        ::DeleteFileW(tempName.c_str());
        return InjectedError(m_path, Translate("Storage", "cannot create the file: "));
    }
    // Without MOVEFILE_REPLACE_EXISTING: nothing someone else made under the name meanwhile is
    // ever replaced.
    if (!::MoveFileExW(tempName.c_str(), m_where.full.c_str(), MOVEFILE_WRITE_THROUGH)) {
        const DWORD code = ::GetLastError();
        ::DeleteFileW(tempName.c_str());
        if (code == ERROR_ALREADY_EXISTS || code == ERROR_FILE_EXISTS) {
            return ReplaceOutcome::ChangedMeanwhile;
        }
        return WindowsError(m_path, code, Translate("Storage", "cannot create the file: "),
                            WriteState::Untouched);
    }
    NoteWritten();
    return ReplaceOutcome::Replaced;
}

}  // namespace

std::unique_ptr<DocumentSlot> MakeDocumentSlot(const std::string& path) {
    return std::make_unique<WinSlot>(path);
}

}  // namespace tav
