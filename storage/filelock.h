// Taking the exclusive lock on a document without ever waiting in silence: the wait is bounded,
// told to whoever installed a sink on the thread, and names the process holding the lock.
#pragma once

#include <chrono>
#include <functional>
#include <string>

#include "base/expected.h"

namespace tav {

// Who holds a lock on a file, as the system tells it.
struct LockHolder {
    long long pid = 0;    // 0 when no holder could be found (another namespace, no /proc)
    std::string command;  // the holder's program name, empty when unknown

    // "flock (process 1234)", or "another program" when nothing is known (always on Windows,
    // which does not tell who holds a byte-range lock).
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
    Unsupported,  // the file system has no locks: go on without it
};

// What one try at the lock found.
enum class LockTry {
    Locked,       // it is held now
    Busy,         // someone else holds it
    Unsupported,  // the file system has no locks
};

// The one waiting rule of both platforms' locks, which call it with their own `tryLock` (never
// blocking) and `findHolder`: tries at once, then after pauses that grow from 1 to 50 ms, telling
// the thread's sink (or, without one, waiting up to kDefaultLockWait) how long it has waited and
// who holds the lock. Fails, naming `path`, the holder and how long it waited, when the sink gives
// up (WriteState::Untouched), or with `tryLock`'s error.
Expected<LockResult> WaitForLock(const std::string& path,
                                 const std::function<Expected<LockTry>()>& tryLock,
                                 const std::function<LockHolder()>& findHolder);

}  // namespace tav
