#include "base/system.h"

#include <unistd.h>

#include <cerrno>
#include <climits>
#include <cstring>

namespace tav {

std::tm LocalTime(std::time_t time) {
    std::tm local{};
    localtime_r(&time, &local);
    return local;
}

std::string ExecutablePath(std::string& error) {
    char path[PATH_MAX];
    const ssize_t size = ::readlink("/proc/self/exe", path, sizeof path - 1);
    if (size <= 0) {
        error = std::string("/proc/self/exe: ") + std::strerror(errno);
        return {};
    }
    return std::string(path, static_cast<std::size_t>(size));
}

}  // namespace tav
