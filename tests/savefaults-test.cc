// Saving under failure: whatever goes wrong, the old file stays whole or the new one is complete,
// the caller is told which file and why, and the document in memory is kept.
#include <gtest/gtest.h>

#include <sys/mount.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <csignal>
#include <filesystem>
#include <vector>

#include "document/atomicfile.h"
#include "document/documentio.h"
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
        tav::SectionCatalog sections;
        sections.LoadText("1,General,N,General,SN,2\n");
        tav::FieldCatalog fields;
        fields.LoadText("Beep,Beep,B,N,1\nTitle,Title,C,N,1\n");
        fields[0].value = "True";
        const tav::FieldCatalog before = fields;
        tav::SetSaveFaultHookForTesting(
            [&](SaveStep step, std::size_t) { return step == c.step ? c.error : 0; });
        const tav::Status saved = tav::SaveDocumentFile(
            path, sections, fields, tav::CatalogDisplayOrder(sections, fields), "t");
        tav::SetSaveFaultHookForTesting({});
        ASSERT_FALSE(saved) << c.name;
        const tav::FileError& error = saved.Error();
        EXPECT_EQ(error.file, path) << c.name;
        EXPECT_NE(error.reason.find(c.reason), std::string::npos) << c.name << ": " << error.reason;
        EXPECT_EQ(error.code, c.error) << c.name;
        EXPECT_EQ(tavtest::ReadFile(path), old) << c.name;
        EXPECT_EQ(EntriesIn(dir.Path()), 1u) << c.name << ": a temporary file was left behind";
        EXPECT_EQ(fields[0].value, before[0].value) << c.name;
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
        static_cast<void>(tav::WriteFileAtomically(path, std::string(4 << 20, 'n')));
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
            static_cast<void>(tav::WriteFileAtomically(path, fresh));
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

// Real small file systems, where the machine lets the test mount one (root on Linux).
class MountedFolder {
public:
    explicit MountedFolder(const std::string& path, const std::string& options)
        : m_path(path) {
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
    const tav::Status written = tav::WriteFileAtomically(path, std::string(400 << 10, 'n'));
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
    const tav::Status written = tav::WriteFileAtomically(path, "new");
    ASSERT_FALSE(written);
    EXPECT_NE(written.Error().reason.find("Read-only file system"), std::string::npos)
        << written.Error().reason;
    EXPECT_EQ(tavtest::ReadFile(path), "old");
}

}  // namespace
