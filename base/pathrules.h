// What makes a path on this platform: which characters separate its components, where its root
// ends, and how a UTF-8 path becomes a std::filesystem path. Facts of the platform with one POSIX
// and one Windows definition (base/posix/, base/win32/), so that the code that splits and joins
// paths is written once for both.
#pragma once

#include <cstddef>
#include <filesystem>
#include <string>
#include <string_view>

namespace tav {

// Whether `c` separates two components of a path: '/' on POSIX; '/' and '\\' on Windows.
bool IsPathSeparator(char c);

// The separator a path gets where nothing else decides: '/' on POSIX, '\\' on Windows.
char PreferredPathSeparator();

// What separates the folders of a list in one environment variable: ':' on POSIX, ';' on Windows.
char PathListSeparator();

// How many bytes at the start of `path` are its root, the part that no FolderOf removes: "/" on
// POSIX; on Windows a drive ("C:" or "C:\\"), a UNC share ("\\\\server\\share" with the separator
// after it, if any) or a single separator (the current drive's root). 0 for a relative path.
std::size_t PathRootLength(std::string_view path);

// Whether `path` names the same file from any working folder: "/..." on POSIX; on Windows a drive
// with a separator after it ("C:\\", "C:/") or a UNC path ("\\\\server\\share").
bool IsAbsolutePath(std::string_view path);

// The UTF-8 path `path` as a std::filesystem path: the bytes as they are on POSIX, converted to
// UTF-16 on Windows (where a narrow std::filesystem path would be in the ANSI code page).
std::filesystem::path FileSystemPath(const std::string& path);

// FileSystemPath backwards: the path as UTF-8 text.
std::string PathText(const std::filesystem::path& path);

// `path` without "." and ".." components and repeated separators (std::filesystem's
// lexically_normal), written with the separator it already uses: a Windows path written with '/'
// stays so, where lexically_normal alone would turn every separator into '\\'.
std::string NormalPath(const std::string& path);

}  // namespace tav
