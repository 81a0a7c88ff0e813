// The folder and name parts of a path, in one place for every layer. What separates components
// and where a root ends are the platform's rules (base/pathrules.h): '/' on POSIX; '/' and '\\',
// drives and UNC shares on Windows.
#pragma once

#include <string>

namespace tav {

// The folder part of `path`: "." for a bare name, the root for a file in a root folder ("/";
// "C:\\", "\\\\server\\share\\" on Windows), else everything before the last separator.
std::string FolderOf(const std::string& path);

// The name part of `path`, after its last separator (and after its root).
std::string BaseNameOf(const std::string& path);

}  // namespace tav
