// What the core asks of the operating system besides files: the local time and where the running
// program is. One POSIX and one Windows implementation (base/posix/, base/win32/).
#pragma once

#include <ctime>
#include <string>

namespace tav {

// `time` as the local time of the machine's time zone.
std::tm LocalTime(std::time_t time);

// The full path of the running executable (UTF-8), or empty with `error` set to why it is
// unknown.
std::string ExecutablePath(std::string& error);

}  // namespace tav
