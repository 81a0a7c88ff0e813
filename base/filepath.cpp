#include "base/filepath.h"

#include <algorithm>

#include "base/pathrules.h"

namespace tav {

namespace {

std::size_t LastSeparator(const std::string& path) {
    for (std::size_t at = path.size(); at > 0; --at) {
        if (IsPathSeparator(path[at - 1])) {
            return at - 1;
        }
    }
    return std::string::npos;
}

}  // namespace

std::string FolderOf(const std::string& path) {
    const std::size_t root = PathRootLength(path);
    const std::size_t slash = LastSeparator(path);
    if (slash == std::string::npos || slash < root) {
        return root == 0 ? "." : path.substr(0, root);
    }
    return path.substr(0, slash);
}

std::string BaseNameOf(const std::string& path) {
    const std::size_t slash = LastSeparator(path);
    const std::size_t start = slash == std::string::npos ? 0 : slash + 1;
    return path.substr(std::max(start, PathRootLength(path)));
}

}  // namespace tav
