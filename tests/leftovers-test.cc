// After a save was killed: its complete copy is found, a plain save refuses the file it may have
// left incomplete, and the copy is restored (links kept) or discarded on request; the temporary
// file of a killed rename is found and the next save removes it.
#include "storage/leftovers.h"
#include "storage/tempnames.h"

#include <gtest/gtest.h>

#include <sys/stat.h>
#include <unistd.h>

#include <filesystem>
#include <set>

#include "savetestutil.h"
#include "storage/documentfile.h"
#include "testutil.h"

namespace {

using tav::SaveStep;
using tavtest::Holds;

std::set<std::string> NamesIn(const std::string& folder) {
    std::set<std::string> names;
    for (const auto& entry : std::filesystem::directory_iterator(folder)) {
        names.insert(entry.path().filename().string());
    }
    return names;
}

ino_t InodeOf(const std::string& path) {
    struct stat info {};
    EXPECT_EQ(::stat(path.c_str(), &info), 0) << path;
    return info.st_ino;
}

enum class Then { Save, Restore, Discard };

struct KilledCase {
    const char* name;
    SaveStep step;
    std::size_t atBytes;
    bool fileHoldsCopy;  // killed after the document was written whole
};

TEST(LeftoversTest, AKilledInPlaceWriteIsFoundRefusedRestoredOrDiscarded) {
    // New content shorter than the old, and longer than one chunk of a write.
    const std::string old(3 << 20, 'o');
    const std::string fresh((2 << 20) + 7, 'n');
    const KilledCase cases[] = {
        {"afterTheCopyIsNamed", SaveStep::SyncFolder, 0, false},
        {"partWayThroughTheOverwrite", SaveStep::Overwrite, 1 << 20, false},
        {"beforeTheCut", SaveStep::Truncate, 0, false},
        {"beforeTheFlush", SaveStep::SyncInPlace, 0, true},
        {"beforeTheCopysRemoval", SaveStep::RemoveCopy, 0, true},
    };
    for (const KilledCase& c : cases) {
        for (const Then then : {Then::Save, Then::Restore, Then::Discard}) {
            const std::string row = std::string(c.name) + "/" + std::to_string(int(then));
            tavtest::TempDir dir;
            const std::string path = dir.File("doc.tac");
            const std::string link = dir.File("link.tac");  // makes the write go in place
            tavtest::WriteFile(path, old);
            ASSERT_EQ(::link(path.c_str(), link.c_str()), 0);
            const ino_t inode = InodeOf(path);
            ASSERT_TRUE(tavtest::KillSaveAt(path, fresh, c.step, c.atBytes)) << row;
            const std::string left = tavtest::ReadFile(path);
            const std::string copy = dir.File(tav::CopyNameBeside("doc.tac"));

            const tav::Expected<tav::Leftovers> found = tav::FindLeftovers(path);
            ASSERT_TRUE(found) << row << ": " << found.Error().Message();
            EXPECT_EQ(found->copy, copy) << row;
            EXPECT_EQ(found->fileHoldsCopy, c.fileHoldsCopy) << row;
            EXPECT_EQ(found->Unfinished(), !c.fileHoldsCopy) << row;
            EXPECT_TRUE(found->temps.empty()) << row;
            ASSERT_TRUE(tavtest::ReadFile(copy) == fresh) << row << ": the copy is not complete";
            EXPECT_EQ(left == fresh, c.fileHoldsCopy) << row;

            tav::Status done;
            std::string expected;
            if (then == Then::Save) {
                done = tav::RewriteDocument(path, tavtest::Becomes("next"));
                expected = c.fileHoldsCopy ? "next" : left;
            } else if (then == Then::Restore) {
                done = tav::RestoreLeftoverCopy(path);
                expected = fresh;
            } else {
                done = tav::DiscardLeftoverCopy(path);
                expected = left;
            }
            const auto result = tavtest::SaveResult::Of(done);
            const bool refused = then == Then::Save && !c.fileHoldsCopy;
            EXPECT_EQ(result.ok, !refused) << row << ": " << result.message;
            if (refused) {
                EXPECT_EQ(result.state, tav::WriteState::Untouched) << row;
                EXPECT_TRUE(Holds(result.message, "an earlier save of this file did not finish"))
                    << row << ": " << result.message;
                EXPECT_TRUE(Holds(result.message, copy)) << row << ": " << result.message;
                EXPECT_EQ(tavtest::StateWordsMismatch(result), "") << row;
            }
            EXPECT_TRUE(tavtest::ReadFile(path) == expected) << row;
            EXPECT_EQ(InodeOf(path), inode) << row;
            EXPECT_EQ(InodeOf(link), inode) << row << ": the hard link was lost";
            const std::set<std::string> names =
                refused ? std::set<std::string>{"doc.tac", "link.tac",
                                                copy.substr(dir.Path().size() + 1)}
                        : std::set<std::string>{"doc.tac", "link.tac"};
            EXPECT_EQ(NamesIn(dir.Path()), names) << row;
        }
    }
}

TEST(LeftoversTest, TheTempFileOfAKilledRenameIsFoundAndRemovedByTheNextSave) {
    for (const SaveStep step : {SaveStep::Sync, SaveStep::Rename}) {
        tavtest::TempDir dir;
        const std::string path = dir.File("doc.tac");
        tavtest::WriteFile(path, "old");
        // A save of another document in the same folder leaves its own temp, which stays.
        ASSERT_TRUE(tavtest::KillSaveAt(dir.File("other.tac"), "theirs", step));
        ASSERT_TRUE(tavtest::KillSaveAt(path, "new", step));
        EXPECT_EQ(tavtest::ReadFile(path), "old");

        const tav::Expected<tav::Leftovers> found = tav::FindLeftovers(path);
        ASSERT_TRUE(found) << found.Error().Message();
        EXPECT_TRUE(found->copy.empty());
        ASSERT_EQ(found->temps.size(), 1u);
        const std::string temp = found->temps.front();
        EXPECT_TRUE(tav::IsTempNameOf(std::filesystem::path(temp).filename().string(), "doc.tac"))
            << temp;
        EXPECT_EQ(tavtest::ReadFile(temp), "new");

        ASSERT_TRUE(tav::RewriteDocument(path, tavtest::Becomes("next")));
        EXPECT_EQ(tavtest::ReadFile(path), "next");
        EXPECT_FALSE(std::filesystem::exists(temp)) << "the killed save's temp is left";
        const tav::Expected<tav::Leftovers> other = tav::FindLeftovers(dir.File("other.tac"));
        ASSERT_TRUE(other);
        EXPECT_EQ(other->temps.size(), 1u) << "another document's temp was removed";
    }
}

TEST(LeftoversTest, ACreatorWhoseTempAnotherSaverRemovedStartsAgainOnTheFileMadeMeanwhile) {
    tavtest::TempDir dir;
    const std::string path = dir.File("new.tac");
    // While this save creates the file, another program makes it and a second saver saves it:
    // holding the lock, that saver takes this save's temporary file for a killed save's.
    bool madeMeanwhile = false;
    const tavtest::FaultHook hook([&](SaveStep step, std::size_t) {
        if (step == SaveStep::Rename && !madeMeanwhile) {
            madeMeanwhile = true;
            tavtest::WriteFile(path, "theirs\n");
            const tavtest::ChildRun other = tavtest::RunInChild([&] {
                return tavtest::SaveResult::Of(
                           tav::RewriteDocument(path, tavtest::Becomes("second\n")))
                    .Encode();
            });
            EXPECT_TRUE(tavtest::SaveResult::Decode(other.text).ok) << other.text;
        }
        return 0;
    });
    int edits = 0;
    const tav::Status saved = tav::RewriteDocument(
        path, [&edits, bytes = std::string()](std::string_view current) mutable {
            ++edits;
            bytes = std::string(current) + "mine\n";
            return tav::Expected<tav::SplicedBytes>(tav::SplicedBytes(bytes));
        });
    ASSERT_TRUE(saved) << saved.Error().Message();
    EXPECT_EQ(edits, 2);
    EXPECT_EQ(tavtest::ReadFile(path), "second\nmine\n");
    EXPECT_EQ(NamesIn(dir.Path()), std::set<std::string>{"new.tac"});
}

}  // namespace
