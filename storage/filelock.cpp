#include "storage/filelock.h"

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <thread>

#include "base/translation.h"

namespace tav {

namespace {

// The pause between attempts grows from the first to the last: a lock held by another save of
// this program is usually released within milliseconds.
constexpr std::chrono::milliseconds kFirstPoll{1};
constexpr std::chrono::milliseconds kPoll{50};

thread_local LockWaitSink t_sink;

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

Expected<LockResult> WaitForLock(const std::string& path,
                                 const std::function<Expected<LockTry>()>& tryLock,
                                 const std::function<LockHolder()>& findHolder) {
    const LockWaitSink sink = t_sink ? t_sink : WaitUpTo(kDefaultLockWait);
    const auto start = std::chrono::steady_clock::now();
    std::chrono::milliseconds pause = kFirstPoll;
    for (;;) {
        const Expected<LockTry> tried = tryLock();
        if (!tried) {
            return tried.Error();
        }
        if (*tried == LockTry::Locked) {
            return LockResult::Locked;
        }
        if (*tried == LockTry::Unsupported) {
            return LockResult::Unsupported;
        }
        const auto waited = std::chrono::duration_cast<std::chrono::milliseconds>(
            std::chrono::steady_clock::now() - start);
        const LockHolder holder = findHolder();
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
