// Taking the exclusive lock on a document without ever waiting in silence: the wait is bounded,
// told to whoever installed a sink on the thread, and names the process holding the lock.
#pragma once

#include <sys/types.h>

#include <chrono>
#include <functional>
#include <string>

#include "base/expected.h"

namespace tav {

// Who holds a lock on a file, as /proc/locks and /proc/PID/comm tell it.
struct LockHolder {
    pid_t pid = 0;        // 0 when no holder could be found (another namespace, no /proc)
    std::string command;  // the holder's program name, empty when unknown

    // "flock (process 1234)", or "another program" when nothing is known.
    std::string Describe() const;
};

// Told, at most 50 ms apart while a save waits for the lock on `file`, how long it has waited and
// who holds the lock. Returns true to go on waiting, false to give up (the save then fails, having
// written nothing).
using LockWaitSink = std::function<bool(const std::string& file, const LockHolder& holder,
                                        std::chrono::milliseconds waited)>;

// How long a save waits for a lock when no sink is installed on its thread.
inline constexpr std::chrono::seconds kDefaultLockWait{5};

// Installs `sink` for the calling thread while it lives (the one before comes back after).
class LockWaitReport final {
public:
    explicit LockWaitReport(LockWaitSink sink);
    ~LockWaitReport();
    LockWaitReport(const LockWaitReport&) = delete;
    LockWaitReport& operator=(const LockWaitReport&) = delete;

private:
    LockWaitSink m_previous;
};

// What a sink that waits up to `limit` without telling anyone does (the default's rule, for
// callers that build their own sink on it).
LockWaitSink WaitUpTo(std::chrono::milliseconds limit);

// How taking a lock ended.
enum class LockResult {
    Locked,       // the exclusive lock is held
    Unsupported,  // the file system has no flock (ENOLCK, EOPNOTSUPP): go on without it
};

// Takes the exclusive flock on the open file `fd` without blocking the thread for more than a
// poll's length: tries at once, then after pauses that grow from 1 to 50 ms, telling the thread's
// sink (or, without one, waiting up to kDefaultLockWait). Fails, naming `path`, the holder and how
// long it waited, when the sink gives up; or with the reason when flock fails otherwise.
Expected<LockResult> LockExclusively(int fd, const std::string& path);

// Who holds a lock on the file open as `fd`: the first holder /proc/locks lists for its device
// and inode that is not this process.
LockHolder FindLockHolder(int fd);

}  // namespace tav
