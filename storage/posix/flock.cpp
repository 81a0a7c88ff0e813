#include "storage/posix/flock.h"
#include "base/translation.h"

#include <sys/file.h>
#include <sys/stat.h>
#include <sys/sysmacros.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <fstream>
#include <sstream>

namespace tav {

namespace {

bool LocksUnsupported(int code) {
    return code == ENOLCK || code == EOPNOTSUPP;
}

std::string CommandOf(pid_t pid) {
    std::ifstream comm("/proc/" + std::to_string(pid) + "/comm");
    std::string name;
    std::getline(comm, name);
    return name;
}

// Whether the /proc/locks line `line` is a lock held (not waited for) on `dev`:`ino`; its pid.
bool HeldOn(const std::string& line, dev_t dev, ino_t ino, pid_t& pid) {
    std::istringstream fields(line);
    std::string id;
    std::string kind;
    fields >> id >> kind;
    if (kind == "->") {
        return false;  // a waiter, not a holder
    }
    std::string mode;
    std::string access;
    std::string where;
    long long owner = 0;
    fields >> mode >> access >> owner >> where;
    unsigned int major = 0;
    unsigned int minor = 0;
    unsigned long long inode = 0;
    if (!fields || std::sscanf(where.c_str(), "%x:%x:%llu", &major, &minor, &inode) != 3) {
        return false;
    }
    if (major != ::major(dev) || minor != ::minor(dev) || inode != ino) {
        return false;
    }
    pid = static_cast<pid_t>(owner);
    return true;
}

}  // namespace

LockHolder FindLockHolder(int fd) {
    struct stat info {};
    if (::fstat(fd, &info) != 0) {
        return {};
    }
    std::ifstream locks("/proc/locks");
    for (std::string line; std::getline(locks, line);) {
        pid_t pid = 0;
        if (HeldOn(line, info.st_dev, info.st_ino, pid) && pid > 0 && pid != ::getpid()) {
            return LockHolder{pid, CommandOf(pid)};
        }
    }
    return {};
}

Expected<LockResult> LockExclusively(int fd, const std::string& path) {
    return WaitForLock(
        path,
        [fd, &path]() -> Expected<LockTry> {
            if (::flock(fd, LOCK_EX | LOCK_NB) == 0) {
                return LockTry::Locked;
            }
            const int code = errno;
            if (LocksUnsupported(code)) {
                return LockTry::Unsupported;
            }
            if (code == EWOULDBLOCK || code == EINTR) {
                return LockTry::Busy;
            }
            return SystemError(path, code, Translate("Storage", "cannot lock the file: "));
        },
        [fd] { return FindLockHolder(fd); });
}

}  // namespace tav
