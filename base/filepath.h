// The folder and name parts of a path, in one place for every layer.
#pragma once

#include <string>

namespace tav {

// The folder part of `path`: "." for a bare name, "/" for a file in the root folder.
std::string FolderOf(const std::string& path);

// The name part of `path`, after its last '/'.
std::string BaseNameOf(const std::string& path);

}  // namespace tav
