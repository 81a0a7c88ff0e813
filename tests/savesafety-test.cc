// Saving in folders other users can write to: links someone else planted are never followed,
// nothing but a regular file is written, a held lock is waited for with a bound and its holder
// named, every failure says the state it left, and an unfinished in-place write is recovered.
#include <gtest/gtest.h>

#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <sys/sysmacros.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <chrono>
#include <filesystem>
#include <string>

#include "document/atomicfile.h"
#include "document/documentfile.h"
#include "document/filelock.h"
#include "document/leftovers.h"
#include "document/safepath.h"
#include "document/tempfile.h"
#include "testutil.h"

namespace {

using tav::SaveStep;
using tav::WriteState;

constexpr uid_t kOther = 65534;  // nobody: a user who is not the one saving

// A folder of the given mode and group inside a temporary one, a document in it and a root-only
// victim outside it.
struct SharedFolder {
    tavtest::TempDir dir;
    std::string folder = dir.File("site");
    std::string doc = folder + "/doc.tac";
    std::string victim = dir.File("victim");
    static constexpr const char* kVictim = "secret\n";
    static constexpr const char* kOld = "[General]\nTitle=old\n";

    SharedFolder(mode_t mode, gid_t group = 0) {
        EXPECT_EQ(::mkdir(folder.c_str(), 0700), 0);
        EXPECT_EQ(::chown(folder.c_str(), 0, group), 0);
        EXPECT_EQ(::chmod(folder.c_str(), mode), 0);
        EXPECT_EQ(::chmod(dir.Path().c_str(), 0755), 0);
        tavtest::WriteFile(victim, kVictim);
        EXPECT_EQ(::chmod(victim.c_str(), 0600), 0);
        tavtest::WriteFile(doc, kOld);
    }
    // Puts a symbolic link to the victim at the document's name, owned by `owner`.
    void PlantLink(uid_t owner) const {
        ::unlink(doc.c_str());
        EXPECT_EQ(::symlink(victim.c_str(), doc.c_str()), 0);
        EXPECT_EQ(::lchown(doc.c_str(), owner, owner), 0);
    }
    bool VictimUntouched() const { return tavtest::ReadFile(victim) == kVictim; }
};

bool Root() {
    return ::geteuid() == 0;
}

class SaveSafetyTest : public testing::Test {
protected:
    void SetUp() override {
        if (!Root()) {
            GTEST_SKIP() << "needs root, to make files and links of another user";
        }
    }
    void TearDown() override { tav::SetSaveFaultHookForTesting({}); }
};

TEST_F(SaveSafetyTest, ALinkSomeoneElsePlantedInASharedFolderIsRefused) {
    struct Case {
        const char* name;
        mode_t mode;
        gid_t group;
        uid_t linkOwner;
        bool followed;
    };
    const Case cases[] = {
        {"sticky", 01777, 0, kOther, false},
        {"worldWritable", 0777, 0, kOther, false},
        {"groupWritable", 0770, kOther, kOther, false},
        {"ownLinkInSharedFolder", 01777, 0, 0, true},
        {"othersLinkInOwnFolder", 0755, 0, kOther, true},
    };
    for (const Case& c : cases) {
        SharedFolder f(c.mode, c.group);
        f.PlantLink(c.linkOwner);
        const tav::Status saved = tav::WriteFileAtomically(f.doc, "[General]\nTitle=x\n");
        EXPECT_EQ(static_cast<bool>(saved), c.followed) << c.name;
        EXPECT_EQ(f.VictimUntouched(), !c.followed) << c.name;
        if (!c.followed) {
            EXPECT_EQ(saved.Error().state, WriteState::Untouched) << c.name;
            const std::string message = saved.Error().Message();
            for (const std::string& part :
                 {f.doc, std::string("nobody (uid 65534)"), std::string("it is not followed"),
                  std::string("nothing was written")}) {
                EXPECT_NE(message.find(part), std::string::npos) << c.name << ": " << message;
            }
        }
    }
}

TEST_F(SaveSafetyTest, ALinkSwappedInDuringTheSaveNeverGetsAByte) {
    // Each step after the path was resolved; the hard link makes the write go in place, so the
    // in-place reopen is covered too.
    for (const bool hardLinked : {false, true}) {
        for (const SaveStep step : {SaveStep::Write, SaveStep::Sync, SaveStep::Verify,
                                    SaveStep::Rename, SaveStep::Overwrite}) {
            SharedFolder f(01777);
            if (hardLinked) {
                ASSERT_EQ(::link(f.doc.c_str(), (f.folder + "/other.tac").c_str()), 0);
            }
            bool swapped = false;
            tav::SetSaveFaultHookForTesting([&](SaveStep at, std::size_t) {
                if (at == step && !swapped) {
                    swapped = true;
                    f.PlantLink(kOther);
                }
                return 0;
            });
            const tav::Status saved = tav::WriteFileAtomically(f.doc, "[General]\nTitle=new\n");
            tav::SetSaveFaultHookForTesting({});
            const std::string where =
                std::string(hardLinked ? "in place, " : "renamed, ") + std::to_string(int(step));
            EXPECT_TRUE(f.VictimUntouched()) << where;
            if (!saved) {
                EXPECT_NE(saved.Error().state, WriteState::Saved) << where;
            }
        }
    }
}

TEST_F(SaveSafetyTest, NoFileIsCreatedThroughADanglingLink) {
    SharedFolder f(0755);
    const std::string target = f.dir.File("made-by-root");
    ASSERT_EQ(::symlink(target.c_str(), (f.folder + "/new.tac").c_str()), 0);
    const tav::Status saved = tav::WriteFileAtomically(f.folder + "/new.tac", "[S]\n");
    ASSERT_FALSE(saved);
    EXPECT_NE(saved.Error().reason.find("no file is created through it"), std::string::npos);
    EXPECT_FALSE(std::filesystem::exists(target));
}

TEST_F(SaveSafetyTest, AFifoOrDeviceAtTheNameIsRefusedWithoutWaiting) {
    for (const bool fifo : {true, false}) {
        SharedFolder f(01777);
        ::unlink(f.doc.c_str());
        ASSERT_EQ(fifo ? ::mkfifo(f.doc.c_str(), 0666)
                       : ::mknod(f.doc.c_str(), S_IFCHR | 0666, ::makedev(1, 3)),
                  0);
        const pid_t child = ::fork();
        if (child == 0) {
            ::alarm(10);  // a save that blocks is killed, and the test fails below
            const tav::Status saved = tav::WriteFileAtomically(f.doc, "x");
            ::_exit(!saved && saved.Error().reason == "is not a regular file" ? 0 : 1);
        }
        int status = 0;
        ASSERT_EQ(::waitpid(child, &status, 0), child);
        EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0)
            << (fifo ? "FIFO" : "device") << " status " << status;
    }
}

// A child process that holds a lock on `path` until the test lets it go.
class LockHolderProcess {
public:
    explicit LockHolderProcess(const std::string& path) {
        EXPECT_EQ(::pipe(m_pipe), 0);
        m_pid = ::fork();
        if (m_pid == 0) {
            const int fd = ::open(path.c_str(), O_RDONLY);
            ::flock(fd, LOCK_SH);
            char ready = 'r';
            ::close(m_pipe[0]);
            static_cast<void>(::write(m_pipe[1], &ready, 1));
            ::pause();
            ::_exit(0);
        }
        char ready = 0;
        ::close(m_pipe[1]);
        EXPECT_EQ(::read(m_pipe[0], &ready, 1), 1);
    }
    ~LockHolderProcess() { Release(); }
    void Release() {
        if (m_pid > 0) {
            ::kill(m_pid, SIGKILL);
            ::waitpid(m_pid, nullptr, 0);
            ::close(m_pipe[0]);
            m_pid = 0;
        }
    }
    pid_t Pid() const { return m_pid; }

private:
    int m_pipe[2] = {-1, -1};
    pid_t m_pid = 0;
};

TEST(LockWaitTest, AHeldLockIsWaitedForWithABoundAndItsHolderNamed) {
    tavtest::TempDir dir;
    const std::string path = dir.File("doc.tac");
    tavtest::WriteFile(path, "old");
    LockHolderProcess holder(path);
    struct Case {
        const char* name;
        tav::LockWaitSink sink;
    };
    int ticks = 0;
    const Case cases[] = {
        {"boundedWait", tav::WaitUpTo(std::chrono::milliseconds(300))},
        {"cancelledAtOnce",
         [&ticks](const std::string&, const tav::LockHolder&, std::chrono::milliseconds) {
             ++ticks;
             return false;
         }},
    };
    for (const Case& c : cases) {
        const tav::LockWaitReport waiting(c.sink);
        const auto start = std::chrono::steady_clock::now();
        const tav::Status saved = tav::WriteFileAtomically(path, "new");
        ASSERT_FALSE(saved) << c.name;
        EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::seconds(10)) << c.name;
        EXPECT_EQ(saved.Error().state, WriteState::Untouched) << c.name;
        EXPECT_NE(saved.Error().Message().find("process " + std::to_string(holder.Pid())),
                  std::string::npos)
            << c.name << ": " << saved.Error().Message();
        EXPECT_EQ(tavtest::ReadFile(path), "old") << c.name;
    }
    EXPECT_EQ(ticks, 1) << "a sink that gives up is asked once";
    // Released while the save waits: the save goes on.
    const tav::LockWaitReport waiting(
        [&holder](const std::string&, const tav::LockHolder&, std::chrono::milliseconds) {
            holder.Release();
            return true;
        });
    ASSERT_TRUE(tav::WriteFileAtomically(path, "new"));
    EXPECT_EQ(tavtest::ReadFile(path), "new");
}

TEST(SaveStateTest, EachFailureSaysWhatItLeftAndAnUnfinishedWriteIsRecovered) {
    struct Case {
        const char* name;
        SaveStep step;
        std::size_t atByte;  // fail the step once this many bytes are written
        bool hardLinked;     // forces the in-place write
        WriteState state;
    };
    const std::string fresh(3 << 20, 'n');
    const Case cases[] = {
        {"tempWrite", SaveStep::Write, 0, false, WriteState::Untouched},
        {"tempFlush", SaveStep::Sync, 0, false, WriteState::Untouched},
        {"rename", SaveStep::Rename, 0, false, WriteState::Untouched},
        {"folderFlushAfterRename", SaveStep::SyncFolder, 0, false, WriteState::Saved},
        {"firstInPlaceChunk", SaveStep::Overwrite, 0, true, WriteState::Untouched},
        {"inPlaceHalfWay", SaveStep::Overwrite, 1 << 20, true, WriteState::Incomplete},
        {"inPlaceTruncate", SaveStep::Truncate, 0, true, WriteState::Incomplete},
        {"inPlaceFlush", SaveStep::SyncInPlace, 0, true, WriteState::Incomplete},
        {"copyRemoval", SaveStep::RemoveCopy, 0, true, WriteState::Saved},
    };
    for (const Case& c : cases) {
        tavtest::TempDir dir;
        const std::string path = dir.File("doc.tac");
        const std::string old(4 << 20, 'o');  // longer than the new: a missed cut shows
        tavtest::WriteFile(path, old);
        if (c.hardLinked) {
            ASSERT_EQ(::link(path.c_str(), dir.File("other.tac").c_str()), 0);
        }
        // The folder flush after making the copy comes first in place: only the later one fails.
        int folderFlushes = 0;
        tav::SetSaveFaultHookForTesting([&](SaveStep step, std::size_t soFar) {
            if (step == SaveStep::SyncFolder && ++folderFlushes == 1 && c.hardLinked) {
                return 0;
            }
            return step == c.step && soFar >= c.atByte ? EIO : 0;
        });
        const tav::Status saved = tav::WriteFileAtomically(path, fresh);
        tav::SetSaveFaultHookForTesting({});
        ASSERT_FALSE(saved) << c.name;
        const tav::FileError& error = saved.Error();
        EXPECT_EQ(error.state, c.state) << c.name << ": " << error.Message();
        const std::string now = tavtest::ReadFile(path);
        const std::string message = error.Message();
        const auto says = [&message](const char* words) {
            return message.find(words) != std::string::npos;
        };
        switch (c.state) {
            case WriteState::Untouched:
                EXPECT_EQ(now, old) << c.name;
                EXPECT_TRUE(says("; nothing was written")) << message;
                break;
            case WriteState::Saved:
                EXPECT_EQ(now, fresh) << c.name;
                EXPECT_TRUE(says("the new content is saved, but")) << message;
                EXPECT_FALSE(says("nothing was written")) << message;
                break;
            case WriteState::Incomplete: {
                EXPECT_TRUE(says("the file is incomplete")) << message;
                EXPECT_TRUE(says(error.copy.c_str())) << message;
                EXPECT_EQ(tavtest::ReadFile(error.copy), fresh) << c.name;
                const tav::Expected<tav::Leftovers> left = tav::FindLeftovers(path);
                ASSERT_TRUE(left) << c.name;
                EXPECT_EQ(left->copy, error.copy) << c.name;
                EXPECT_EQ(left->Unfinished(), now != fresh) << c.name;
                if (now == fresh) {
                    // Only the flush failed: the next save finds the file whole and goes on.
                    ASSERT_TRUE(tav::WriteFileAtomically(path, "other")) << c.name;
                    EXPECT_FALSE(std::filesystem::exists(error.copy)) << c.name;
                    break;
                }
                // Refused by a plain save, restored on request.
                const tav::Status refused = tav::WriteFileAtomically(path, "other");
                ASSERT_FALSE(refused) << c.name;
                EXPECT_NE(refused.Error().reason.find(error.copy), std::string::npos);
                ASSERT_TRUE(tav::RestoreLeftoverCopy(path)) << c.name;
                EXPECT_EQ(tavtest::ReadFile(path), fresh) << c.name;
                EXPECT_EQ(tavtest::ReadFile(dir.File("other.tac")), fresh) << "links kept";
                EXPECT_FALSE(std::filesystem::exists(error.copy)) << c.name;
                break;
            }
            case WriteState::NotAWrite:
                ADD_FAILURE() << c.name;
        }
    }
}

TEST(SaveStateTest, AKilledSaveIsFoundAndItsTempFilesRemovedByTheNextSave) {
    struct Case {
        const char* name;
        SaveStep step;
        bool hardLinked;
        bool unfinished;  // the document may lack the new content
        bool temp;        // a temporary file stays
    };
    const Case cases[] = {
        {"killedWritingTheTemp", SaveStep::Sync, false, false, true},
        {"killedBeforeOverwrite", SaveStep::Overwrite, true, true, false},
        {"killedBeforeCopyRemoval", SaveStep::RemoveCopy, true, false, false},
    };
    for (const Case& c : cases) {
        tavtest::TempDir dir;
        const std::string path = dir.File("doc.tac");
        tavtest::WriteFile(path, "old");
        if (c.hardLinked) {
            ASSERT_EQ(::link(path.c_str(), dir.File("other.tac").c_str()), 0);
        }
        const pid_t child = ::fork();
        if (child == 0) {
            tav::SetSaveFaultHookForTesting([&c](SaveStep step, std::size_t) {
                if (step == c.step) {
                    ::_exit(0);
                }
                return 0;
            });
            static_cast<void>(tav::WriteFileAtomically(path, "new"));
            ::_exit(1);
        }
        int status = 0;
        ASSERT_EQ(::waitpid(child, &status, 0), child);
        ASSERT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0) << c.name;
        const tav::Expected<tav::Leftovers> left = tav::FindLeftovers(path);
        ASSERT_TRUE(left) << c.name;
        EXPECT_EQ(left->Unfinished(), c.unfinished) << c.name;
        EXPECT_EQ(left->temps.size(), c.temp ? 1u : 0u) << c.name;
        if (c.unfinished) {
            ASSERT_TRUE(tav::RestoreLeftoverCopy(path)) << c.name;
            EXPECT_EQ(tavtest::ReadFile(path), "new") << c.name;
        }
        ASSERT_TRUE(tav::WriteFileAtomically(path, "next")) << c.name;
        const tav::Expected<tav::Leftovers> after = tav::FindLeftovers(path);
        ASSERT_TRUE(after) << c.name;
        EXPECT_TRUE(after->copy.empty() && after->temps.empty()) << c.name;
    }
}

TEST(SaveNamesTest, TempFilesAndCopiesAreToldByTheDocumentsWholeName) {
    const std::string longName = std::string(31, 'a') + "\xC3\xA9tude-1.tac";  // é at byte 31
    const std::string prefix = tav::TempNamePrefix(longName);
    EXPECT_EQ(prefix.substr(0, 33), "." + std::string(31, 'a') + ".") << "no UTF-8 cut";
    const struct {
        std::string entry;
        bool isTemp;
    } cases[] = {
        {prefix + "Ab12Cd", true},
        {prefix + "Ab12C", false},
        {prefix + "Ab12Cd7", false},
        {prefix + "Ab.2Cd", false},
        {tav::TempNamePrefix(std::string(31, 'a') + "\xC3\xA9tude-2.tac") + "Ab12Cd", false},
        {tav::CopyNameBeside(longName), false},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(tav::IsTempNameOf(c.entry, longName), c.isTemp) << c.entry;
    }
}

TEST(SafePathTest, ResolvesLikeTheKernelAndSaysWhyItCannot) {
    tavtest::TempDir dir;
    std::filesystem::create_directories(dir.File("a/b"));
    tavtest::WriteFile(dir.File("a/b/doc.tac"), "x");
    std::filesystem::create_symlink("b", dir.File("a/tob"));
    std::filesystem::create_symlink("loop2", dir.File("loop1"));
    std::filesystem::create_symlink("loop1", dir.File("loop2"));
    const struct {
        std::string path;
        std::string folder;  // or the start of the reason
        bool ok;
    } cases[] = {
        {dir.File("a/b/doc.tac"), dir.File("a/b"), true},
        {dir.File("a/tob/doc.tac"), dir.File("a/b"), true},
        {dir.File("a/b/../b/doc.tac"), dir.File("a/b/../b"), true},
        {dir.File("loop1"), "cannot open", false},
        {dir.File("a/b/doc.tac/x"), "cannot open", false},
        {dir.File("a/none/x.tac"), "cannot open", false},
        {dir.File("a/b/.."), "is a folder", false},
    };
    for (const auto& c : cases) {
        const tav::Expected<tav::FolderEntry> entry = tav::ResolveEntry(c.path, c.path);
        ASSERT_EQ(static_cast<bool>(entry), c.ok) << c.path;
        if (entry) {
            EXPECT_EQ(entry->folderPath, c.folder) << c.path;
        } else {
            EXPECT_EQ(entry.Error().reason.rfind(c.folder, 0), 0u)
                << c.path << ": " << entry.Error().reason;
        }
    }
}

}  // namespace
