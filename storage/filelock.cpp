#include "storage/filelock.h"
#include "base/translation.h"

#include <sys/file.h>
#include <sys/stat.h>
#include <sys/sysmacros.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <fstream>
#include <sstream>
#include <thread>

namespace tav {

namespace {

// The pause between attempts grows from the first to the last: a lock held by another save of
// this program is usually released within milliseconds.
constexpr std::chrono::milliseconds kFirstPoll{1};
constexpr std::chrono::milliseconds kPoll{50};

thread_local LockWaitSink t_sink;

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

std::string SecondsText(std::chrono::milliseconds waited) {
    char text[32];
    std::snprintf(text, sizeof text, "%.1f", static_cast<double>(waited.count()) / 1000.0);
    return text;
}

}  // namespace

std::string LockHolder::Describe() const {
    if (pid <= 0) {
        return Translate("Storage", "another program");
    }
    const std::string process = std::to_string(pid);
    return command.empty() ? FillIn(Translate("Storage", "process %1"), {process})
                           : FillIn(Translate("Storage", "%1 (process %2)"), {command, process});
}

LockWaitReport::LockWaitReport(LockWaitSink sink)
    : m_previous(std::exchange(t_sink, std::move(sink))) {}

LockWaitReport::~LockWaitReport() {
    t_sink = std::move(m_previous);
}

LockWaitSink WaitUpTo(std::chrono::milliseconds limit) {
    return [limit](const std::string&, const LockHolder&, std::chrono::milliseconds waited) {
        return waited < limit;
    };
}

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
    const LockWaitSink sink = t_sink ? t_sink : WaitUpTo(kDefaultLockWait);
    const auto start = std::chrono::steady_clock::now();
    std::chrono::milliseconds pause = kFirstPoll;
    for (;;) {
        if (::flock(fd, LOCK_EX | LOCK_NB) == 0) {
            return LockResult::Locked;
        }
        const int code = errno;
        if (LocksUnsupported(code)) {
            return LockResult::Unsupported;
        }
        if (code != EWOULDBLOCK && code != EINTR) {
            return FileError{
                path, Translate("Storage", "cannot lock the file: ") + std::strerror(code), code};
        }
        const auto waited = std::chrono::duration_cast<std::chrono::milliseconds>(
            std::chrono::steady_clock::now() - start);
        const LockHolder holder = FindLockHolder(fd);
        if (!sink(path, holder, waited)) {
            return FileError{path,
                             FillIn(Translate("Storage",
                                              "the file is locked by %1; gave up after "
                                              "%2 s"),
                                    {holder.Describe(), SecondsText(waited)}),

                             EWOULDBLOCK, WriteState::Untouched};
        }
        std::this_thread::sleep_for(pause);
        pause = std::min(pause * 2, kPoll);
    }
}

}  // namespace tav
