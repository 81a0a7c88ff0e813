// The exclusive lock of the POSIX half: flock, and who holds it from /proc/locks.
#pragma once

#include <string>

#include "base/expected.h"
#include "storage/filelock.h"

namespace tav {

// Takes the exclusive flock on the open file `fd` without blocking the thread for more than a
// poll's length: tries at once, then after pauses that grow from 1 to 50 ms, telling the thread's
// sink (or, without one, waiting up to kDefaultLockWait). Fails, naming `path`, the holder and how
// long it waited, when the sink gives up; or with the reason when flock fails otherwise.
Expected<LockResult> LockExclusively(int fd, const std::string& path);

// Who holds a lock on the file open as `fd`: the first holder /proc/locks lists for its device
// and inode that is not this process.
LockHolder FindLockHolder(int fd);

}  // namespace tav
