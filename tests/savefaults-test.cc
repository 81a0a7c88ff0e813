// Saving under failure: whatever goes wrong, the old file stays whole or the new one is complete,
// the caller is told which file and why, and the document in memory is kept.
#include <gtest/gtest.h>

#include <sys/mount.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <csignal>
#include <filesystem>
#include <set>
#include <vector>

#include "document/configdocument.h"
#include "document/documentio.h"
#include "document/documentstorage.h"
#include "savetestutil.h"
#include "storage/atomicfile.h"
#include "storage/posix/tempfile.h"
#include "testutil.h"

namespace {

using tav::SaveStep;

std::size_t EntriesIn(const std::string& folder) {
    std::size_t count = 0;
    for ([[maybe_unused]] const auto& entry : std::filesystem::directory_iterator(folder)) {
        ++count;
    }
    return count;
}

class SaveFaultTest : public testing::Test {
protected:
    void TearDown() override { tav::SetSaveFaultHookForTesting({}); }
};

struct InjectedFault {
    const char* name;
    SaveStep step;
    int error;
    const char* reason;
};

TEST_F(SaveFaultTest, InjectedFailuresKeepTheOldFileAndTheDocument) {
    const InjectedFault cases[] = {
        {"readOnlyFolder", SaveStep::CreateTemp, EACCES, "Permission denied"},
        {"readOnlyFileSystem", SaveStep::CreateTemp, EROFS, "Read-only file system"},
        {"diskFull", SaveStep::Write, ENOSPC, "No space left on device"},
        {"ioErrorOnFlush", SaveStep::Sync, EIO, "Input/output error"},
        {"renameFails", SaveStep::Rename, EXDEV, "Invalid cross-device link"},
    };
    for (const auto& c : cases) {
        tavtest::TempDir dir;
        const std::string path = dir.File("doc.tac");
        const std::string old = "[General]\r\nBeep=0\r\n; keep me\r\n";
        tavtest::WriteFile(path, old);
        tav::ConfigDocument document(tav::CataloguesFromText(
            dir.Path(), "1,General,N,General,SN,2\n", "Beep,Beep,B,N,1\nTitle,Title,C,N,1\n"));
        tav::DocumentStorage storage(document, tavtest::FixedClock("t"));
        ASSERT_TRUE(storage.Open(path, "doc.tac")) << c.name;
        ASSERT_TRUE(document.SetValue(0, "True")) << c.name;
        bool told = false;
        document.AddListener([&](const tav::DocumentChange&) { told = true; });
        tav::SetSaveFaultHookForTesting(
            [&](SaveStep step, std::size_t) { return step == c.step ? c.error : 0; });
        const tav::Status saved = tavtest::AsStatus(storage.Save(tavtest::SaveOf()));
        tav::SetSaveFaultHookForTesting({});
        ASSERT_FALSE(saved) << c.name;
        const tav::FileError& error = saved.Error();
        EXPECT_EQ(error.file, path) << c.name;
        EXPECT_NE(error.reason.find(c.reason), std::string::npos) << c.name << ": " << error.reason;
        EXPECT_EQ(error.code, c.error) << c.name;
        EXPECT_EQ(tavtest::ReadFile(path), old) << c.name;
        EXPECT_EQ(EntriesIn(dir.Path()), 1u) << c.name << ": a temporary file was left behind";
        EXPECT_TRUE(document.IsModified()) << c.name << ": the edit is not taken for saved";
        EXPECT_FALSE(told) << c.name << ": a failed save tells no view";
    }
}

TEST_F(SaveFaultTest, ProcessKilledInTheMiddleOfASaveLeavesTheOldFile) {
    tavtest::TempDir dir;
    const std::string path = dir.File("doc.tac");
    const std::string old(2 << 20, 'o');
    tavtest::WriteFile(path, old);
    const pid_t child = ::fork();
    ASSERT_GE(child, 0);
    if (child == 0) {
        tav::SetSaveFaultHookForTesting([](SaveStep step, std::size_t soFar) {
            if (step == SaveStep::Write && soFar >= (1u << 20)) {
                ::raise(SIGKILL);
            }
            return 0;
        });
        static_cast<void>(tav::RewriteDocument(path, tavtest::Becomes(std::string(4 << 20, 'n'))));
        ::_exit(0);  // not reached
    }
    int status = 0;
    ASSERT_EQ(::waitpid(child, &status, 0), child);
    ASSERT_TRUE(WIFSIGNALED(status));
    EXPECT_EQ(WTERMSIG(status), SIGKILL);
    EXPECT_TRUE(tavtest::ReadFile(path) == old) << "the old file must be whole";
    // What the killed save leaves is a hidden, incomplete temporary file, never the target.
    for (const auto& entry : std::filesystem::directory_iterator(dir.Path())) {
        const std::string name = entry.path().filename().string();
        EXPECT_TRUE(name == "doc.tac" || name.rfind(".doc.tac.", 0) == 0) << name;
    }
}

enum class Left { Old, Mixed, New };  // what a killed in-place save leaves in the document

struct KillCase {
    const char* name;
    SaveStep step;
    std::size_t atBytes;  // for the chunked steps: killed once this much is written
    Left document;
    bool completeCopy;  // the copy beside the document holds the whole new content
};

TEST_F(SaveFaultTest, ProcessKilledAtAnyStepOfAnInPlaceSaveLeavesTheOldFileOrACompleteCopy) {
    // New content shorter than the old, so that a save killed before the cut leaves old bytes.
    const std::string old(3 << 20, 'o');
    const std::string fresh((2 << 20) + 7, 'n');
    const KillCase cases[] = {
        {"creatingTheCopy", SaveStep::CreateTemp, 0, Left::Old, false},
        {"writingTheCopy", SaveStep::Write, 1 << 20, Left::Old, false},
        {"flushingTheCopy", SaveStep::Sync, 0, Left::Old, true},
        {"flushingTheFolder", SaveStep::SyncFolder, 0, Left::Old, true},
        {"verifying", SaveStep::Verify, 0, Left::Old, true},
        {"overwritingFirstChunk", SaveStep::Overwrite, 0, Left::Old, true},
        {"overwritingHalfWay", SaveStep::Overwrite, 1 << 20, Left::Mixed, true},
        {"cuttingToSize", SaveStep::Truncate, 0, Left::Mixed, true},
        {"flushingTheDocument", SaveStep::SyncInPlace, 0, Left::New, true},
        {"removingTheCopy", SaveStep::RemoveCopy, 0, Left::New, true},
    };
    for (const KillCase& c : cases) {
        tavtest::TempDir dir;
        const std::string path = dir.File("doc.tac");
        tavtest::WriteFile(path, old);
        // A second name makes the save write in place.
        ASSERT_EQ(::link(path.c_str(), dir.File("link.tac").c_str()), 0);
        const pid_t child = ::fork();
        ASSERT_GE(child, 0);
        if (child == 0) {
            tav::SetSaveFaultHookForTesting([&c](SaveStep step, std::size_t soFar) {
                if (step == c.step && soFar >= c.atBytes) {
                    ::raise(SIGKILL);
                }
                return 0;
            });
            static_cast<void>(tav::RewriteDocument(path, tavtest::Becomes(fresh)));
            ::_exit(0);  // not reached
        }
        int status = 0;
        ASSERT_EQ(::waitpid(child, &status, 0), child);
        ASSERT_TRUE(WIFSIGNALED(status)) << c.name << ": the save was not killed";
        const std::string left = tavtest::ReadFile(path);
        const Left expected = left == old ? Left::Old : left == fresh ? Left::New : Left::Mixed;
        EXPECT_EQ(expected, c.document) << c.name;
        EXPECT_TRUE(tavtest::ReadFile(dir.File("link.tac")) == left) << c.name;
        std::vector<std::string> copies;
        for (const auto& entry : std::filesystem::directory_iterator(dir.Path())) {
            const std::string name = entry.path().filename().string();
            if (name != "doc.tac" && name != "link.tac") {
                EXPECT_EQ(name.rfind(".doc.tac.", 0), 0u) << c.name << ": " << name;
                copies.push_back(entry.path().string());
            }
        }
        ASSERT_LE(copies.size(), 1u) << c.name;
        const bool completeCopy = copies.size() == 1 && tavtest::ReadFile(copies[0]) == fresh;
        EXPECT_EQ(completeCopy, c.completeCopy) << c.name;
        EXPECT_TRUE(left == old || completeCopy) << c.name << ": neither the old file nor a copy";
    }
}

enum class Route { Renamed, InPlace, Created };  // how the save writes: the hook sees other steps

struct StepFailure {
    const char* name;
    Route route;
    SaveStep step;
    std::size_t atBytes;  // for the chunked steps: fails once this much is written
    tav::WriteState state;
    Left document;  // Old also for a file that is still missing
};

TEST_F(SaveFaultTest, EveryFailedStepSaysTheStateTheDiskIsIn) {
    using State = tav::WriteState;
    const StepFailure cases[] = {
        {"renamedCreatingTemp", Route::Renamed, SaveStep::CreateTemp, 0, State::Untouched,
         Left::Old},
        {"renamedWriting", Route::Renamed, SaveStep::Write, 0, State::Untouched, Left::Old},
        {"renamedWritingHalfWay", Route::Renamed, SaveStep::Write, 1 << 20, State::Untouched,
         Left::Old},
        {"renamedFlushing", Route::Renamed, SaveStep::Sync, 0, State::Untouched, Left::Old},
        {"renamedVerifying", Route::Renamed, SaveStep::Verify, 0, State::Untouched, Left::Old},
        {"renaming", Route::Renamed, SaveStep::Rename, 0, State::Untouched, Left::Old},
        {"renamedFlushingTheFolder", Route::Renamed, SaveStep::SyncFolder, 0, State::Saved,
         Left::New},
        {"inPlaceCreatingCopy", Route::InPlace, SaveStep::CreateTemp, 0, State::Untouched,
         Left::Old},
        {"inPlaceWritingCopy", Route::InPlace, SaveStep::Write, 1 << 20, State::Untouched,
         Left::Old},
        {"inPlaceFlushingCopy", Route::InPlace, SaveStep::Sync, 0, State::Untouched, Left::Old},
        {"inPlaceNamingCopy", Route::InPlace, SaveStep::SyncFolder, 0, State::Untouched, Left::Old},
        {"inPlaceVerifying", Route::InPlace, SaveStep::Verify, 0, State::Untouched, Left::Old},
        {"inPlaceFirstChunk", Route::InPlace, SaveStep::Overwrite, 0, State::Untouched, Left::Old},
        {"inPlaceHalfWay", Route::InPlace, SaveStep::Overwrite, 1 << 20, State::Incomplete,
         Left::Mixed},
        {"inPlaceCutting", Route::InPlace, SaveStep::Truncate, 0, State::Incomplete, Left::Mixed},
        {"inPlaceFlushing", Route::InPlace, SaveStep::SyncInPlace, 0, State::Incomplete, Left::New},
        {"inPlaceRemovingCopy", Route::InPlace, SaveStep::RemoveCopy, 0, State::Saved, Left::New},
        {"createdCreatingTemp", Route::Created, SaveStep::CreateTemp, 0, State::Untouched,
         Left::Old},
        {"createdWriting", Route::Created, SaveStep::Write, 0, State::Untouched, Left::Old},
        {"createdFlushing", Route::Created, SaveStep::Sync, 0, State::Untouched, Left::Old},
        {"createdRenaming", Route::Created, SaveStep::Rename, 0, State::Untouched, Left::Old},
        {"createdFlushingTheFolder", Route::Created, SaveStep::SyncFolder, 0, State::Saved,
         Left::New},
    };
    // The new content is shorter than the old and longer than one chunk (1 MiB) of a write.
    const std::string old((3 << 19) + 11, 'o');
    const std::string fresh((1 << 20) + 5, 'n');
    for (const StepFailure& c : cases) {
        tavtest::TempDir dir;
        const std::string path = dir.File("doc.tac");
        std::set<std::string> names;
        if (c.route != Route::Created) {
            tavtest::WriteFile(path, old);
        }
        if (c.route != Route::Created || c.document == Left::New) {
            names.insert("doc.tac");
        }
        if (c.route == Route::InPlace) {
            ASSERT_EQ(::link(path.c_str(), dir.File("link.tac").c_str()), 0);
            names.insert("link.tac");
        }
        const tavtest::FaultHook hook([&c](SaveStep step, std::size_t soFar) {
            return step == c.step && soFar >= c.atBytes ? EIO : 0;
        });
        const tavtest::SaveResult result =
            tavtest::SaveResult::Of(tav::RewriteDocument(path, tavtest::Becomes(fresh)));
        ASSERT_FALSE(result.ok) << c.name;
        EXPECT_EQ(result.state, c.state) << c.name << ": " << result.message;
        EXPECT_EQ(result.code, EIO) << c.name;
        EXPECT_EQ(tavtest::StateWordsMismatch(result), "") << c.name;
        EXPECT_TRUE(tavtest::Holds(result.message, "Input/output error")) << result.message;

        const bool exists = std::filesystem::exists(path);
        EXPECT_EQ(exists, c.route != Route::Created || c.document == Left::New) << c.name;
        const std::string now = exists ? tavtest::ReadFile(path) : old;
        const Left left = now == old ? Left::Old : now == fresh ? Left::New : Left::Mixed;
        EXPECT_EQ(left, c.document) << c.name;
        // A failure that keeps the copy names it, and it holds the whole new content; nothing
        // else is left beside the document.
        std::string copy = result.copy;
        if (c.step == SaveStep::RemoveCopy) {
            copy = dir.File(tav::CopyNameBeside("doc.tac"));
            EXPECT_TRUE(tavtest::Holds(result.message, copy)) << result.message;
        }
        if (!copy.empty()) {
            EXPECT_TRUE(tavtest::ReadFile(copy) == fresh) << c.name << ": the copy is incomplete";
            names.insert(std::filesystem::path(copy).filename().string());
        }
        std::set<std::string> found;
        for (const auto& entry : std::filesystem::directory_iterator(dir.Path())) {
            found.insert(entry.path().filename().string());
        }
        EXPECT_EQ(found, names) << c.name;
    }
}

// Real small file systems, where the machine lets the test mount one (root on Linux).
class MountedFolder {
public:
    explicit MountedFolder(const std::string& path, const std::string& options) : m_path(path) {
        m_mounted = ::mount("tmpfs", path.c_str(), "tmpfs", 0, options.c_str()) == 0;
    }
    ~MountedFolder() {
        if (m_mounted) {
            ::umount2(m_path.c_str(), MNT_DETACH);
        }
    }
    bool Mounted() const { return m_mounted; }
    bool MakeReadOnly() {
        return ::mount("tmpfs", m_path.c_str(), "tmpfs", MS_REMOUNT | MS_RDONLY, nullptr) == 0;
    }

private:
    std::string m_path;
    bool m_mounted = false;
};

TEST_F(SaveFaultTest, FullDiskOnARealFileSystem) {
    tavtest::TempDir dir;
    MountedFolder small(dir.Path(), "size=256k");
    if (!small.Mounted()) {
        GTEST_SKIP() << "this machine does not let the test mount a small file system";
    }
    const std::string path = dir.File("doc.tac");
    const std::string old(100 << 10, 'o');
    tavtest::WriteFile(path, old);
    const tav::Status written =
        tav::RewriteDocument(path, tavtest::Becomes(std::string(400 << 10, 'n')));
    ASSERT_FALSE(written);
    EXPECT_NE(written.Error().reason.find("No space left on device"), std::string::npos)
        << written.Error().reason;
    EXPECT_TRUE(tavtest::ReadFile(path) == old);
    EXPECT_EQ(EntriesIn(dir.Path()), 1u);
}

TEST_F(SaveFaultTest, ReadOnlyFolderOnARealFileSystem) {
    tavtest::TempDir dir;
    MountedFolder folder(dir.Path(), "size=256k");
    if (!folder.Mounted()) {
        GTEST_SKIP() << "this machine does not let the test mount a small file system";
    }
    const std::string path = dir.File("doc.tac");
    tavtest::WriteFile(path, "old");
    ASSERT_TRUE(folder.MakeReadOnly());
    const tav::Status written = tav::RewriteDocument(path, tavtest::Becomes("new"));
    ASSERT_FALSE(written);
    EXPECT_NE(written.Error().reason.find("Read-only file system"), std::string::npos)
        << written.Error().reason;
    EXPECT_EQ(tavtest::ReadFile(path), "old");
}

}  // namespace
