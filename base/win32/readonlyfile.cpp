#include "base/readonlyfile.h"

#include <windows.h>

#include "base/win32/widepath.h"

namespace tav {

namespace {

HANDLE HandleOf(NativeHandle handle) {
    return reinterpret_cast<HANDLE>(handle);
}

}  // namespace

Expected<ReadOnlyFile> ReadOnlyFile::Open(const std::string& path) {
    const std::wstring wide = LongPath(path);
    if (wide.empty()) {
        return WindowsError(path, ::GetLastError());
    }
    // Others may go on reading, writing, renaming and removing it: a reader never stands in the
    // way of a save.
    const HANDLE handle = ::CreateFileW(
        wide.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
        OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS, nullptr);
    if (handle == INVALID_HANDLE_VALUE) {
        return WindowsError(path, ::GetLastError());
    }
    // A file someone removed while another program holds it open keeps its name until that
    // program closes it (on some file systems): it is gone all the same.
    FILE_STANDARD_INFO standard{};
    if (::GetFileInformationByHandleEx(handle, FileStandardInfo, &standard, sizeof standard) &&
        standard.DeletePending) {
        ::CloseHandle(handle);
        return WindowsError(path, ERROR_FILE_NOT_FOUND);
    }
    return ReadOnlyFile(reinterpret_cast<NativeHandle>(handle), path, true);
}

void ReadOnlyFile::Close() {
    if (m_owned && m_handle != -1) {
        ::CloseHandle(HandleOf(m_handle));
    }
    m_handle = -1;
}

Expected<FileIdentity> ReadOnlyFile::Identify() const {
    using Kind = FileIdentity::Kind;
    if (::GetFileType(HandleOf(m_handle)) != FILE_TYPE_DISK) {
        return FileIdentity{0, 0, 0, Kind::Other};  // a device (NUL, CON) or a pipe
    }
    BY_HANDLE_FILE_INFORMATION info{};
    if (!::GetFileInformationByHandle(HandleOf(m_handle), &info)) {
        return WindowsError(m_path, ::GetLastError());
    }
    const Kind kind =
        (info.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) != 0 ? Kind::Folder : Kind::Regular;
    return FileIdentity{
        info.dwVolumeSerialNumber,
        (static_cast<std::uint64_t>(info.nFileIndexHigh) << 32) | info.nFileIndexLow,
        (static_cast<std::uint64_t>(info.nFileSizeHigh) << 32) | info.nFileSizeLow, kind};
}

Expected<std::size_t> ReadOnlyFile::ReadAt(char* into, std::size_t room,
                                           std::uint64_t offset) const {
    OVERLAPPED at{};
    at.Offset = static_cast<DWORD>(offset);
    at.OffsetHigh = static_cast<DWORD>(offset >> 32);
    const DWORD ask = room > 0x40000000 ? 0x40000000 : static_cast<DWORD>(room);
    DWORD got = 0;
    if (!::ReadFile(HandleOf(m_handle), into, ask, &got, &at)) {
        const DWORD code = ::GetLastError();
        if (code == ERROR_HANDLE_EOF) {
            return std::size_t{0};
        }
        return WindowsError(m_path, code);
    }
    return static_cast<std::size_t>(got);
}

}  // namespace tav
