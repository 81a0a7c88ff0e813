// Waiting for the lock on a document: bounded, told to the thread's sink with the holder named
// from /proc/locks, and followed by a fresh look at the name, which another program may have
// replaced meanwhile.
#include "storage/posix/flock.h"

#include <gtest/gtest.h>

#include <fcntl.h>
#include <sys/file.h>
#include <sys/prctl.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <chrono>
#include <csignal>
#include <filesystem>

#include "profile/profiletext.h"
#include "savetestutil.h"
#include "storage/documentfile.h"
#include "storage/posix/safepath.h"
#include "testutil.h"

namespace {

using std::chrono::milliseconds;
using tavtest::Holds;

constexpr const char* kHolderName = "tavlockholder";

// A child process, named kHolderName, holding a flock of `kind` on `path` until it goes.
class LockHolder final {
public:
    LockHolder(const std::string& path, int kind) {
        int ready[2];
        EXPECT_EQ(::pipe(ready), 0);
        m_pid = ::fork();
        if (m_pid == 0) {
            ::prctl(PR_SET_NAME, kHolderName);
            const int fd = ::open(path.c_str(), O_RDONLY);
            const char done = fd >= 0 && ::flock(fd, kind) == 0 ? 'y' : 'n';
            static_cast<void>(::write(ready[1], &done, 1));
            ::pause();
            ::_exit(0);
        }
        ::close(ready[1]);
        char done = 0;
        EXPECT_EQ(::read(ready[0], &done, 1), 1);
        EXPECT_EQ(done, 'y') << "the child could not lock " << path;
        ::close(ready[0]);
    }
    ~LockHolder() {
        ::kill(m_pid, SIGKILL);
        ::waitpid(m_pid, nullptr, 0);
    }
    LockHolder(const LockHolder&) = delete;
    LockHolder& operator=(const LockHolder&) = delete;

    pid_t Pid() const { return m_pid; }

private:
    pid_t m_pid = 0;
};

struct WaitCase {
    const char* name;
    int kind;  // the holder's lock
    bool cancel;
};

TEST(FileLockTest, AHeldLockFailsTheSaveUntouchedNamingItsHolder) {
    const WaitCase cases[] = {
        {"sharedWaitedFor", LOCK_SH, false},
        {"exclusiveWaitedFor", LOCK_EX, false},
        {"sharedCancelled", LOCK_SH, true},
        {"exclusiveCancelled", LOCK_EX, true},
    };
    for (const WaitCase& c : cases) {
        tavtest::TempDir dir;
        const std::string path = dir.File("doc.tac");
        tavtest::WriteFile(path, "old");
        const LockHolder holder(path, c.kind);
        int calls = 0;
        tav::LockHolder told;
        const tav::LockWaitSink bounded = tav::WaitUpTo(milliseconds(300));
        const tav::LockWaitReport report(
            [&](const std::string& file, const tav::LockHolder& who, milliseconds waited) {
                ++calls;
                told = who;
                EXPECT_EQ(file, path) << c.name;
                return !c.cancel && bounded(file, who, waited);
            });
        const auto start = std::chrono::steady_clock::now();
        const auto result =
            tavtest::SaveResult::Of(tav::RewriteDocument(path, tavtest::Becomes("new")));
        const auto took = std::chrono::steady_clock::now() - start;

        ASSERT_FALSE(result.ok) << c.name;
        EXPECT_EQ(result.state, tav::WriteState::Untouched) << c.name;
        EXPECT_EQ(result.code, EWOULDBLOCK) << c.name;
        EXPECT_EQ(tavtest::StateWordsMismatch(result), "") << c.name;
        const std::string named = std::string("the file is locked by ") + kHolderName +
                                  " (process " + std::to_string(holder.Pid()) + ")";
        EXPECT_TRUE(Holds(result.message, named)) << c.name << ": " << result.message;
        EXPECT_EQ(told.pid, holder.Pid()) << c.name;
        EXPECT_EQ(told.command, kHolderName) << c.name;
        EXPECT_EQ(tavtest::ReadFile(path), "old") << c.name;
        EXPECT_EQ(std::distance(std::filesystem::directory_iterator(dir.Path()), {}), 1)
            << c.name << ": the save made a file before it had the lock";
        EXPECT_LT(took, std::chrono::seconds(10)) << c.name;
        if (c.cancel) {
            EXPECT_EQ(calls, 1) << c.name;
        } else {
            EXPECT_GE(took, milliseconds(300)) << c.name << ": gave up before its bound";
        }
    }
}

TEST(FileLockTest, NoHolderIsNamedForAFreeFileOrThisProcessesOwnLock) {
    tavtest::TempDir dir;
    const std::string path = dir.File("doc.tac");
    tavtest::WriteFile(path, "x");
    const tav::UniqueFd fd(::open(path.c_str(), O_RDONLY | O_CLOEXEC));
    EXPECT_EQ(tav::FindLockHolder(fd.Get()).pid, 0);
    ASSERT_EQ(::flock(fd.Get(), LOCK_EX), 0);
    const tav::LockHolder own = tav::FindLockHolder(fd.Get());
    EXPECT_EQ(own.pid, 0);
    EXPECT_EQ(own.Describe(), "another program");
}

// What another program puts at the document's name while a save waits for the lock.
enum class Meanwhile { NewFile, Fifo, LinkOfAnother };

struct ReplacedCase {
    const char* name;
    Meanwhile put;
    bool saves;         // the save goes on, on the new file
    const char* words;  // else what the refusal says
};

TEST(FileLockTest, ANameReplacedWhileTheSaveWaitsIsLookedAtAgain) {
    if (::geteuid() != 0) {
        GTEST_SKIP() << "needs root, to make a link of another user";
    }
    const ReplacedCase cases[] = {
        {"newFileRenamedOver", Meanwhile::NewFile, true, ""},
        {"fifo", Meanwhile::Fifo, false, "is not a regular file"},
        {"linkOfAnother", Meanwhile::LinkOfAnother, false, "belongs to nobody (uid 65534)"},
    };
    for (const ReplacedCase& c : cases) {
        tavtest::TempDir dir;
        const std::string folder = dir.File("shared");
        tavtest::MakeFolder(folder, tavtest::FolderKind::Sticky);
        const std::string path = folder + "/doc.tac";
        tavtest::WriteFile(path, "[S]\nA=old\n");
        const tavtest::Victim victim(dir.File("victim"));
        const tavtest::ChildRun run = tavtest::RunInChild([&] {
            // This process holds the lock on the old file through a description of its own.
            const tav::UniqueFd held(::open(path.c_str(), O_RDONLY | O_CLOEXEC));
            ::flock(held.Get(), LOCK_EX);
            const tav::LockWaitReport report(
                [&](const std::string&, const tav::LockHolder&, milliseconds) {
                    if (held.Valid() && ::flock(held.Get(), LOCK_UN) == 0) {
                        ::unlink(path.c_str());
                        if (c.put == Meanwhile::NewFile) {
                            tavtest::WriteFile(path, "[S]\nA=theirs\n");
                        } else if (c.put == Meanwhile::Fifo) {
                            ::mkfifo(path.c_str(), 0666);
                        } else {
                            tavtest::MakeLink(victim.Path(), path, tavtest::kOtherUser);
                        }
                    }
                    return true;
                });
            // The edit adds to what it finds, so the file it was given shows.
            const tav::DocumentEdit addLine = [](std::string_view current) {
                tav::ProfileText text{std::string(current)};
                static std::string bytes;
                bytes = text.Set("S", "B", "mine") ? text.Bytes() : "refused";
                return tav::Expected<tav::SplicedBytes>(tav::SplicedBytes(bytes));
            };
            return tavtest::SaveResult::Of(tav::RewriteDocument(path, addLine)).Encode();
        });
        ASSERT_TRUE(run.finished) << c.name << ": the save blocked or died (" << run.signal << ")";
        const auto result = tavtest::SaveResult::Decode(run.text);
        EXPECT_EQ(victim.Changes(), "") << c.name;
        EXPECT_EQ(result.ok, c.saves) << c.name << ": " << result.message;
        if (c.saves) {
            EXPECT_EQ(tavtest::ReadFile(path), "[S]\nA=theirs\nB=mine\n") << c.name;
        } else {
            EXPECT_EQ(result.state, tav::WriteState::Untouched) << c.name;
            EXPECT_TRUE(Holds(result.message, c.words)) << c.name << ": " << result.message;
        }
    }
}

}  // namespace
