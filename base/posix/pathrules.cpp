#include "base/pathrules.h"

namespace tav {

bool IsPathSeparator(char c) {
    return c == '/';
}

char PreferredPathSeparator() {
    return '/';
}

char PathListSeparator() {
    return ':';
}

std::size_t PathRootLength(std::string_view path) {
    return !path.empty() && path.front() == '/' ? 1 : 0;
}

bool IsAbsolutePath(std::string_view path) {
    return PathRootLength(path) > 0;
}

std::filesystem::path FileSystemPath(const std::string& path) {
    return std::filesystem::path(path);
}

std::string PathText(const std::filesystem::path& path) {
    return path.string();
}

std::string NormalPath(const std::string& path) {
    return std::filesystem::path(path).lexically_normal().string();
}

}  // namespace tav
