#include "storage/atomicfile.h"

#include <gtest/gtest.h>

#include <sys/stat.h>
#include <unistd.h>

#include <filesystem>
#include <utility>
#include <vector>

#include "base/fileaccess.h"
#include "base/progress.h"
#include "savetestutil.h"
#include "storage/documentfile.h"
#include "testutil.h"

namespace {

std::size_t FilesIn(const std::string& folder) {
    std::size_t count = 0;
    for ([[maybe_unused]] const auto& entry : std::filesystem::directory_iterator(folder)) {
        ++count;
    }
    return count;
}

TEST(AtomicFileTest, ReplacesContentAndKeepsPermissions) {
    tavtest::TempDir dir;
    const std::string path = dir.File("a.tac");
    tavtest::WriteFile(path, "old");
    ASSERT_EQ(::chmod(path.c_str(), 0640), 0);
    ASSERT_TRUE(tav::RewriteDocument(path, tavtest::Becomes("new content")));
    EXPECT_EQ(tavtest::ReadFile(path), "new content");
    struct stat info {};
    ASSERT_EQ(::stat(path.c_str(), &info), 0);
    EXPECT_EQ(info.st_mode & 07777, 0640u);
    EXPECT_EQ(FilesIn(dir.Path()), 1u) << "no temporary file is left behind";
}

TEST(AtomicFileTest, WritesThroughASymbolicLink) {
    tavtest::TempDir dir;
    std::filesystem::create_directory(dir.File("real"));
    tavtest::WriteFile(dir.File("real/doc.tac"), "old");
    ASSERT_EQ(::symlink("real/doc.tac", dir.File("link.tac").c_str()), 0);
    ASSERT_TRUE(tav::RewriteDocument(dir.File("link.tac"), tavtest::Becomes("new")));
    EXPECT_TRUE(std::filesystem::is_symlink(dir.File("link.tac")));
    EXPECT_EQ(tavtest::ReadFile(dir.File("real/doc.tac")), "new");
}

TEST(AtomicFileTest, FailedWriteLeavesTheOldFileWhole) {
    tavtest::TempDir dir;
    const std::string path = dir.File("a.tac");
    const std::string old(3 << 20, 'o');
    tavtest::WriteFile(path, old);
    // The disk fills up after the first megabyte of the new content.
    tav::SetSaveFaultHookForTesting([](tav::SaveStep step, std::size_t soFar) {
        return step == tav::SaveStep::Write && soFar >= (1u << 20) ? ENOSPC : 0;
    });
    const tav::Status written =
        tav::RewriteDocument(path, tavtest::Becomes(std::string(3 << 20, 'n')));
    tav::SetSaveFaultHookForTesting({});
    ASSERT_FALSE(written);
    EXPECT_EQ(written.Error().file, path);
    EXPECT_NE(written.Error().reason.find("No space left on device"), std::string::npos)
        << written.Error().reason;
    EXPECT_TRUE(tavtest::ReadFile(path) == old);
    EXPECT_EQ(FilesIn(dir.Path()), 1u);
}

TEST(AtomicFileTest, RefusesFoldersAndMissingFolders) {
    tavtest::TempDir dir;
    const tav::Status folder = tav::RewriteDocument(dir.Path(), tavtest::Becomes("x"));
    ASSERT_FALSE(folder);
    EXPECT_EQ(folder.Error().reason, "is a folder, not a file");
    const tav::Status missing = tav::RewriteDocument(dir.File("none/x.tac"), tavtest::Becomes("x"));
    ASSERT_FALSE(missing);
    EXPECT_NE(missing.Error().reason.find("No such file or directory"), std::string::npos);
}

TEST(AtomicFileTest, NewFileIsCreated) {
    tavtest::TempDir dir;
    ASSERT_TRUE(tav::RewriteDocument(dir.File("fresh.tac"), tavtest::Becomes("[S]\r\n")));
    EXPECT_EQ(tavtest::ReadFile(dir.File("fresh.tac")), "[S]\r\n");
}

}  // namespace

namespace {

// Reads and writes of a large document tell how far they are, up to the whole size, in order.
TEST(AtomicFileTest, ReadsAndWritesReportTheirProgress) {
    tavtest::TempDir dir;
    const std::string path = dir.File("large.tac");
    const std::string content(40 << 20, 'x');
    std::vector<std::pair<std::size_t, std::size_t>> reports;
    const tav::ProgressReport report(
        [&](std::size_t done, std::size_t total) { reports.emplace_back(done, total); });
    const auto expectSteps = [&](const char* what, std::size_t atLeast) {
        ASSERT_GE(reports.size(), atLeast) << what;
        for (std::size_t i = 0; i < reports.size(); ++i) {
            EXPECT_EQ(reports[i].second, content.size()) << what;
            EXPECT_TRUE(i == 0 || reports[i].first > reports[i - 1].first) << what;
        }
        EXPECT_EQ(reports.back().first, content.size()) << what;
        reports.clear();
    };
    ASSERT_TRUE(tav::RewriteDocument(path, tavtest::Becomes(content)));
    expectSteps("write", 40);  // a step per megabyte
    const tav::Expected<tav::FileBytes> read = tav::ReadFileBuffer(path);
    ASSERT_TRUE(read);
    EXPECT_TRUE(read->View() == content);
    expectSteps("read", 3);
}

}  // namespace
