#include "base/pathrules.h"

#include "base/win32/widepath.h"

namespace tav {

namespace {

bool IsDriveLetter(char c) {
    return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z');
}

bool StartsWithDrive(std::string_view path) {
    return path.size() >= 2 && IsDriveLetter(path[0]) && path[1] == ':';
}

bool StartsWithUnc(std::string_view path) {
    return path.size() >= 3 && IsPathSeparator(path[0]) && IsPathSeparator(path[1]) &&
           !IsPathSeparator(path[2]);
}

// The end of the component of `path` that starts at `from`: the next separator, or the end.
std::size_t ComponentEnd(std::string_view path, std::size_t from) {
    while (from < path.size() && !IsPathSeparator(path[from])) {
        ++from;
    }
    return from;
}

}  // namespace

bool IsPathSeparator(char c) {
    return c == '/' || c == '\\';
}

char PreferredPathSeparator() {
    return '\\';
}

char PathListSeparator() {
    return ';';
}

std::size_t PathRootLength(std::string_view path) {
    if (StartsWithDrive(path)) {
        return path.size() > 2 && IsPathSeparator(path[2]) ? 3 : 2;
    }
    if (StartsWithUnc(path)) {
        const std::size_t server = ComponentEnd(path, 2);
        if (server == path.size()) {
            return server;
        }
        const std::size_t share = ComponentEnd(path, server + 1);
        return share == path.size() ? share : share + 1;
    }
    return !path.empty() && IsPathSeparator(path.front()) ? 1 : 0;
}

bool IsAbsolutePath(std::string_view path) {
    return (StartsWithDrive(path) && path.size() > 2 && IsPathSeparator(path[2])) ||
           StartsWithUnc(path);
}

std::filesystem::path FileSystemPath(const std::string& path) {
    return std::filesystem::path(Widen(path));
}

std::string PathText(const std::filesystem::path& path) {
    return Narrow(path.native());
}

std::string NormalPath(const std::string& path) {
    std::string normal = PathText(FileSystemPath(path).lexically_normal());
    const std::size_t first = path.find_first_of("/\\");
    if (first != std::string::npos && path[first] == '/') {
        for (char& c : normal) {
            c = c == '\\' ? '/' : c;
        }
    }
    return normal;
}

}  // namespace tav
