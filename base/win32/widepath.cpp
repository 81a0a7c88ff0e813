#include "base/win32/widepath.h"

#include <windows.h>

#include <cerrno>
#include <cstring>

namespace tav {

std::wstring Widen(std::string_view utf8) {
    if (utf8.empty()) {
        return {};
    }
    const int size =
        ::MultiByteToWideChar(CP_UTF8, 0, utf8.data(), static_cast<int>(utf8.size()), nullptr, 0);
    std::wstring wide(static_cast<std::size_t>(size), L'\0');
    ::MultiByteToWideChar(CP_UTF8, 0, utf8.data(), static_cast<int>(utf8.size()), wide.data(),
                          size);
    return wide;
}

std::string Narrow(std::wstring_view wide) {
    if (wide.empty()) {
        return {};
    }
    const int size = ::WideCharToMultiByte(CP_UTF8, 0, wide.data(), static_cast<int>(wide.size()),
                                           nullptr, 0, nullptr, nullptr);
    std::string utf8(static_cast<std::size_t>(size), '\0');
    ::WideCharToMultiByte(CP_UTF8, 0, wide.data(), static_cast<int>(wide.size()), utf8.data(), size,
                          nullptr, nullptr);
    return utf8;
}

std::wstring LongPath(const std::string& path) {
    const std::wstring given = Widen(path);
    if (given.rfind(L"\\\\?\\", 0) == 0) {
        return given;  // already in the long form
    }
    const DWORD size = ::GetFullPathNameW(given.c_str(), 0, nullptr, nullptr);
    if (size == 0) {
        return {};
    }
    std::wstring full(size, L'\0');
    const DWORD written = ::GetFullPathNameW(given.c_str(), size, full.data(), nullptr);
    if (written == 0 || written >= size) {
        return {};
    }
    full.resize(written);
    if (full.rfind(L"\\\\.\\", 0) == 0) {
        return full;  // a device ("\\.\NUL"): no long form
    }
    if (full.rfind(L"\\\\", 0) == 0) {
        return L"\\\\?\\UNC\\" + full.substr(2);
    }
    return L"\\\\?\\" + full;
}

std::string ShownPath(std::wstring_view full) {
    if (full.rfind(L"\\\\?\\UNC\\", 0) == 0) {
        return "\\\\" + Narrow(full.substr(8));
    }
    if (full.rfind(L"\\\\?\\", 0) == 0) {
        return Narrow(full.substr(4));
    }
    return Narrow(full);
}

int ErrnoOf(unsigned long code) {
    switch (code) {
        case ERROR_FILE_NOT_FOUND:
        case ERROR_PATH_NOT_FOUND:
        case ERROR_INVALID_DRIVE:
        case ERROR_BAD_NETPATH:
        case ERROR_BAD_NET_NAME:
            return ENOENT;
        case ERROR_ACCESS_DENIED:
        case ERROR_WRITE_PROTECT:
            return EACCES;
        case ERROR_FILE_EXISTS:
        case ERROR_ALREADY_EXISTS:
            return EEXIST;
        case ERROR_SHARING_VIOLATION:
        case ERROR_LOCK_VIOLATION:
            return EBUSY;
        case ERROR_DISK_FULL:
        case ERROR_HANDLE_DISK_FULL:
            return ENOSPC;
        case ERROR_DIRECTORY:
            return ENOTDIR;
        case ERROR_FILENAME_EXCED_RANGE:
            return ENAMETOOLONG;
        case ERROR_NOT_SUPPORTED:
        case ERROR_INVALID_FUNCTION:
            return ENOTSUP;
        default:
            return EIO;
    }
}

FileError WindowsError(std::string file, unsigned long code, const std::string& what,
                       WriteState state) {
    // The common failures read as on POSIX ("No such file or directory"), so that messages and
    // the scripts that read them are the same on both platforms; the others in the system's words.
    if (const int mapped = ErrnoOf(code); mapped != EIO) {
        return FileError{std::move(file), what + std::strerror(mapped), mapped, state};
    }
    wchar_t* text = nullptr;
    const DWORD size = ::FormatMessageW(
        FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS,
        nullptr, code, 0, reinterpret_cast<wchar_t*>(&text), 0, nullptr);
    std::string reason = size > 0 ? Narrow(std::wstring_view(text, size)) : std::string();
    if (text != nullptr) {
        ::LocalFree(text);
    }
    while (!reason.empty() && (reason.back() == '\n' || reason.back() == '\r' ||
                               reason.back() == ' ' || reason.back() == '.')) {
        reason.pop_back();
    }
    if (reason.empty()) {
        reason = "system error";
    }
    reason += " (error " + std::to_string(code) + ")";
    return FileError{std::move(file), what + reason, ErrnoOf(code), state};
}

}  // namespace tav
