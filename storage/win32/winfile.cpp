#include "storage/win32/winfile.h"

#include <algorithm>
#include <cerrno>

#include "base/progress.h"
#include "base/translation.h"
#include "base/win32/widepath.h"

namespace tav {

namespace {

constexpr std::size_t kChunk = 1 << 20;

std::int64_t Ticks(const LARGE_INTEGER& time) {
    return time.QuadPart;
}

bool IsSeparator(char c) {
    return c == '\\' || c == '/';
}

}  // namespace

UniqueHandle& UniqueHandle::operator=(UniqueHandle&& other) noexcept {
    if (this != &other) {
        Close();
        m_handle = std::exchange(other.m_handle, INVALID_HANDLE_VALUE);
    }
    return *this;
}

UniqueHandle::~UniqueHandle() {
    Close();
}

bool UniqueHandle::Close() {
    if (!Valid()) {
        return true;
    }
    const bool closed = ::CloseHandle(std::exchange(m_handle, INVALID_HANDLE_VALUE)) != 0;
    return closed;
}

std::wstring WidePath::Beside(const std::string& entry) const {
    return folder + L"\\" + Widen(entry);
}

Expected<WidePath> SplitPath(const std::string& path) {
    if (path.empty() || IsSeparator(path.back()) || (path.size() == 2 && path[1] == ':')) {
        return FileError{path, Translate("Storage", "is a folder, not a file"), EISDIR};
    }
    WidePath split;
    split.full = LongPath(path);
    if (split.full.empty()) {
        return WindowsError(path, ::GetLastError());
    }
    const std::size_t cut = split.full.find_last_of(L'\\');
    split.folder = split.full.substr(0, cut);
    split.name = Narrow(split.full.substr(cut + 1));
    const auto shown = std::find_if(path.rbegin(), path.rend(), IsSeparator);
    split.folderShown = shown == path.rend() ? "."
                        : shown.base() - 1 == path.begin()
                            ? path.substr(0, 1)
                            : std::string(path.begin(), shown.base() - 1);
    return split;
}

bool WinFileInfo::Unchanged(const WinFileInfo& other) const {
    return identity.SameFile(other.identity) && identity.size == other.identity.size &&
           lastWrite == other.lastWrite && change == other.change;
}

Expected<WinFileInfo> InfoOf(HANDLE handle, const std::string& errorPath) {
    BY_HANDLE_FILE_INFORMATION info{};
    FILE_BASIC_INFO basic{};
    if (!::GetFileInformationByHandle(handle, &info) ||
        !::GetFileInformationByHandleEx(handle, FileBasicInfo, &basic, sizeof basic)) {
        return WindowsError(errorPath, ::GetLastError(),
                            Translate("Storage", "cannot check the file: "));
    }
    using Kind = FileIdentity::Kind;
    const bool folder = (info.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) != 0;
    const bool disk = ::GetFileType(handle) == FILE_TYPE_DISK;
    WinFileInfo result;
    result.identity =
        FileIdentity{info.dwVolumeSerialNumber,
                     (static_cast<std::uint64_t>(info.nFileIndexHigh) << 32) | info.nFileIndexLow,
                     (static_cast<std::uint64_t>(info.nFileSizeHigh) << 32) | info.nFileSizeLow,
                     folder ? Kind::Folder
                     : disk ? Kind::Regular
                            : Kind::Other};
    result.lastWrite = Ticks(basic.LastWriteTime);
    result.change = Ticks(basic.ChangeTime);
    result.attributes = info.dwFileAttributes;
    result.links = info.nNumberOfLinks;
    return result;
}

Expected<std::optional<WinFileInfo>> InfoByName(const std::wstring& full,
                                                const std::string& errorPath) {
    const UniqueHandle handle(::CreateFileW(
        full.c_str(), FILE_READ_ATTRIBUTES, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
        nullptr, OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS | FILE_FLAG_OPEN_REPARSE_POINT,
        nullptr));
    if (!handle.Valid()) {
        const DWORD code = ::GetLastError();
        if (code == ERROR_FILE_NOT_FOUND) {
            return std::optional<WinFileInfo>();
        }
        return WindowsError(errorPath, code, Translate("Storage", "cannot check the file: "));
    }
    Expected<WinFileInfo> info = InfoOf(handle.Get(), errorPath);
    if (!info) {
        return info.Error();
    }
    return std::optional<WinFileInfo>(*info);
}

Status WriteAll(HANDLE handle, const SplicedBytes& bytes, SaveStep step, bool& touched,
                const std::string& errorPath, const std::string& what) {
    touched = false;
    DWORD code = 0;
    bool injected = false;
    const long long done =
        bytes.WriteInChunks(kChunk, [&](std::size_t offset, std::string_view chunk) -> long long {
            if (!SaveStepAllowed(step, offset)) {
                injected = true;
                return -1;
            }
            OVERLAPPED at{};
            at.Offset = static_cast<DWORD>(offset);
            at.OffsetHigh = static_cast<DWORD>(static_cast<std::uint64_t>(offset) >> 32);
            DWORD wrote = 0;
            if (!::WriteFile(handle, chunk.data(), static_cast<DWORD>(chunk.size()), &wrote, &at)) {
                code = ::GetLastError();
                return -1;
            }
            touched = touched || wrote > 0;
            ReportProgress(offset + wrote, bytes.Size());
            return static_cast<long long>(wrote);
        });
    if (done >= 0) {
        return {};
    }
    return injected ? InjectedError(errorPath, what, WriteState::NotAWrite)
                    : WindowsError(errorPath, code, what);
}

Expected<std::wstring> CacheFolder(const std::string& errorPath, bool make) {
    wchar_t base[MAX_PATH + 1];
    const DWORD size = ::GetEnvironmentVariableW(L"LOCALAPPDATA", base, MAX_PATH);
    if (size == 0 || size > MAX_PATH) {
        return FileError{errorPath,
                         Translate("Storage", "there is no cache folder (LOCALAPPDATA is not set)"),
                         ENOENT};
    }
    const std::wstring folder = LongPath(Narrow(base) + "\\tavmanager");
    if (make && !::CreateDirectoryW(folder.c_str(), nullptr) &&
        ::GetLastError() != ERROR_ALREADY_EXISTS) {
        return WindowsError(
            errorPath, ::GetLastError(),
            FillIn(Translate("Storage", "cannot create a file in %1: "), {ShownPath(folder)}));
    }
    const DWORD attributes = ::GetFileAttributesW(folder.c_str());
    if (attributes == INVALID_FILE_ATTRIBUTES) {
        return WindowsError(errorPath, ::GetLastError());
    }
    if ((attributes & FILE_ATTRIBUTE_DIRECTORY) == 0 ||
        (attributes & FILE_ATTRIBUTE_REPARSE_POINT) != 0) {
        return FileError{errorPath,
                         FillIn(Translate("Storage", "the cache folder %1 is not a folder"),
                                {ShownPath(folder)}),
                         ENOTDIR};
    }
    return folder;
}

FileError InjectedError(const std::string& errorPath, const std::string& what, WriteState state) {
    return SystemError(errorPath, errno, what, state);
}

}  // namespace tav
