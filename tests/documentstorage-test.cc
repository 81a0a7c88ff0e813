#include "document/documentstorage.h"

#include <gtest/gtest.h>

#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <functional>
#include <string>
#include <vector>

#include "base/progress.h"
#include "storage/atomicfile.h"
#include "testutil.h"

namespace {

using tav::ConfigDocument;
using tav::DiskResolution;
using tav::SaveOutcome;
using tav::SaveRequest;
using Kind = tav::DocumentChange::Kind;

// Rows: 0 Version, 1 Updated, 2 Beep (B), 3 Title; entries from row 4.
const char* kSections =
    "1,TACInfo,N,Information,SN,2\n2,General,N,General,XX,3\n"
    "3,Replace,N,R,SR,9\n";
const char* kFields =
    "Version,Version,C,N,1\nUpdated,Updated,C,N,1\nBeep,Beep,B,N,2\nTitle,Title,C,N,2\n";
const char* kBase = "[General]\nBeep=0\nTitle=Base\n[Replace]\nr0=a,b\nr1=\n; kept\n";
// kBase as someone else changed it: Beep, which this document does not edit.
const char* kTheirs = "[General]\nBeep=1\nTitle=Base\n[Replace]\nr0=a,b\nr1=\n; kept\n";
constexpr std::uint16_t kBeep = 2, kTitle = 3;

// The document d.tac opened from kBase, recording what its listeners are told.
struct StorageFixture {
    tavtest::TempDir dir;
    std::string path = dir.File("d.tac");
    ConfigDocument doc{tav::CataloguesFromText(dir.Path(), kSections, kFields)};
    tav::DocumentStorage storage{doc, tavtest::FixedClock("now")};
    std::vector<Kind> told;

    explicit StorageFixture(const std::string& bytes = kBase) {
        tavtest::WriteFile(path, bytes);
        EXPECT_TRUE(storage.Open(path, "d.tac"));
        doc.AddListener([this](const tav::DocumentChange& change) {
            if (change.kind != Kind::History) {
                told.push_back(change.kind);
            }
        });
    }
    bool Has(const std::string& text) const {
        return tavtest::ReadFile(path).find(text) != std::string::npos;
    }
    bool Told(Kind kind) const { return std::count(told.begin(), told.end(), kind) > 0; }
};

// Every mode of the request over a file as this document left it, changed by someone else, and
// removed: what is written, and whether the other writer's change survives. Once with a small
// file, once with one whose fingerprints are worked out beside the work.
TEST(DocumentStorageTest, TheRequestsModesOverAnUnchangedChangedOrRemovedFile) {
    using Scope = SaveRequest::Scope;
    using Condition = SaveRequest::Condition;
    enum class Meanwhile { Untouched, Changed, Removed };
    struct Case {
        const char* name;
        Scope scope;
        Condition condition;
        Meanwhile meanwhile;
        SaveOutcome outcome;
        bool theirBeepStays;  // the file keeps Beep=1 afterwards
    };
    const Case cases[] = {
        {"whole always untouched", Scope::WholeDocument, Condition::Always, Meanwhile::Untouched,
         SaveOutcome::Saved, false},
        {"whole always changed", Scope::WholeDocument, Condition::Always, Meanwhile::Changed,
         SaveOutcome::Saved, false},
        {"whole always removed", Scope::WholeDocument, Condition::Always, Meanwhile::Removed,
         SaveOutcome::Saved, false},
        {"edited always untouched", Scope::EditedKeys, Condition::Always, Meanwhile::Untouched,
         SaveOutcome::Saved, false},
        {"edited always changed", Scope::EditedKeys, Condition::Always, Meanwhile::Changed,
         SaveOutcome::Saved, true},
        {"edited always removed", Scope::EditedKeys, Condition::Always, Meanwhile::Removed,
         SaveOutcome::Saved, false},
        {"whole if unchanged untouched", Scope::WholeDocument, Condition::IfUnchanged,
         Meanwhile::Untouched, SaveOutcome::Saved, false},
        {"whole if unchanged changed", Scope::WholeDocument, Condition::IfUnchanged,
         Meanwhile::Changed, SaveOutcome::FileChanged, true},
        {"whole if unchanged removed", Scope::WholeDocument, Condition::IfUnchanged,
         Meanwhile::Removed, SaveOutcome::Saved, false},
        {"edited if unchanged untouched", Scope::EditedKeys, Condition::IfUnchanged,
         Meanwhile::Untouched, SaveOutcome::Saved, false},
        {"edited if unchanged changed", Scope::EditedKeys, Condition::IfUnchanged,
         Meanwhile::Changed, SaveOutcome::FileChanged, true},
        {"edited if unchanged removed", Scope::EditedKeys, Condition::IfUnchanged,
         Meanwhile::Removed, SaveOutcome::Saved, false},
    };
    const std::string large = "; " + std::string(tav::HashBeside::kFrom, 'p') + "\n";
    for (const std::string& padding : {std::string(), large}) {
        for (const Case& c : cases) {
            const std::string name = c.name + std::string(padding.empty() ? "" : ", large");
            StorageFixture f(kBase + padding);
            ASSERT_TRUE(f.doc.SetValue(kTitle, "Mine")) << name;
            if (c.meanwhile == Meanwhile::Changed) {
                tavtest::WriteFile(f.path, kTheirs + padding);
            } else if (c.meanwhile == Meanwhile::Removed) {
                ASSERT_EQ(::unlink(f.path.c_str()), 0) << name;
            }
            f.told.clear();
            SaveRequest request;
            request.scope = c.scope;
            request.condition = c.condition;
            const tav::Expected<SaveOutcome> saved = f.storage.Save(request);
            ASSERT_TRUE(saved) << name << ": " << saved.Error().Message();
            EXPECT_EQ(*saved, c.outcome) << name;
            const bool written = c.outcome == SaveOutcome::Saved;
            EXPECT_EQ(f.Has("Title=Mine\n"), written) << name;
            EXPECT_EQ(f.Has("Updated=now\n"), written && c.scope == Scope::WholeDocument) << name;
            EXPECT_EQ(f.Has("Beep=1\n"), c.theirBeepStays) << name;
            EXPECT_TRUE(f.Has("; kept\n")) << name << ": a removed file is written again whole";
            EXPECT_EQ(f.doc.IsModified(), !written) << name;
            EXPECT_EQ(f.Told(Kind::Saved), written) << name;
            if (written) {
                // The next save finds the file as this one left it.
                ASSERT_TRUE(f.doc.SetValue(kTitle, "Again")) << name;
                request.condition = Condition::IfUnchanged;
                const tav::Expected<SaveOutcome> again = f.storage.Save(request);
                EXPECT_TRUE(again && *again == SaveOutcome::Saved) << name;
            }
        }
    }
}

// A save over a file someone else changed reads it once for the question; the answer then
// decides what is written (the write itself reads the file under its lock once more).
TEST(DocumentStorageTest, AChangedFileIsReadOnceForTheDecisionAndTheAnswerDecides) {
    struct Case {
        DiskResolution::Answer answer;
        SaveOutcome outcome;
        const char* file;  // what the file holds afterwards
    };
    const Case cases[] = {
        {DiskResolution::Answer::Merge, SaveOutcome::Saved,
         "[General]\nBeep=1\nTitle=Mine\n[Replace]\nr0=a,b\nr1=\n; kept\n"
         "[TACInfo]\nVersion=1.0\nUpdated=now\n"},
        {DiskResolution::Answer::Overwrite, SaveOutcome::Saved,
         "[General]\nBeep=0\nTitle=Mine\n[Replace]\nr0=a,b\nr1=\n; kept\n"
         "[TACInfo]\nVersion=1.0\nUpdated=now\n"},
        {DiskResolution::Answer::Reload, SaveOutcome::Reload, kTheirs},
        {DiskResolution::Answer::Cancel, SaveOutcome::Cancelled, kTheirs},
    };
    for (const Case& c : cases) {
        const std::string name = std::to_string(static_cast<int>(c.answer));
        StorageFixture f;
        ASSERT_TRUE(f.doc.SetValue(kTitle, "Mine")) << name;
        tavtest::WriteFile(f.path, kTheirs);
        const std::size_t theirSize = std::string(kTheirs).size();
        // Every whole read of the changed file ends with a report of all its bytes.
        int reads = 0;
        int readsBeforeQuestion = -1;
        const tav::ProgressReport counting([&](std::size_t done, std::size_t total) {
            reads += done == total && total == theirSize ? 1 : 0;
        });
        SaveRequest request;
        request.condition = SaveRequest::Condition::IfUnchanged;
        request.onChanged = [&](const tav::DiskChange& change) {
            readsBeforeQuestion = reads;
            EXPECT_EQ(change.bytes, kTheirs) << name;
            EXPECT_EQ(change.comparison.theirRows, std::vector<std::uint16_t>{kBeep}) << name;
            EXPECT_TRUE(change.comparison.conflictRows.empty()) << name;
            return DiskResolution{c.answer, {}};
        };
        const tav::Expected<SaveOutcome> saved = f.storage.Save(request);
        ASSERT_TRUE(saved) << name << ": " << saved.Error().Message();
        EXPECT_EQ(*saved, c.outcome) << name;
        EXPECT_EQ(readsBeforeQuestion, 1) << name;
        EXPECT_EQ(reads, c.outcome == SaveOutcome::Saved ? 2 : 1) << name;
        EXPECT_EQ(tavtest::ReadFile(f.path), c.file) << name;
        EXPECT_EQ(f.doc.IsModified(), c.outcome != SaveOutcome::Saved) << name;
    }
}

// The model is told of a save only once the file holds it: a write that fails, and an edit that
// refuses, leave the document and its views as they were.
TEST(DocumentStorageTest, ListenersAreToldOnlyAfterTheWriteSucceeded) {
    struct Case {
        const char* name;
        bool editInTheCycle;  // tacconf set's request: read, edit and write under the lock
        bool refuse;          // the edit refuses
        tav::SaveStep failing;
        bool fails;
    };
    const Case cases[] = {
        {"whole document, rename fails", false, false, tav::SaveStep::Rename, true},
        {"whole document, flush fails", false, false, tav::SaveStep::Sync, true},
        {"edit in the cycle, rename fails", true, false, tav::SaveStep::Rename, true},
        {"edit in the cycle, refused", true, true, tav::SaveStep::Rename, false},
        {"edit in the cycle, written", true, false, tav::SaveStep::Rename, false},
    };
    for (const Case& c : cases) {
        StorageFixture f;
        ASSERT_TRUE(f.doc.SetValue(kBeep, "True")) << c.name;
        f.told.clear();
        SaveRequest request;
        if (c.editInTheCycle) {
            request.scope = SaveRequest::Scope::EditedKeys;
            request.path = f.path;
            request.edit = [&](ConfigDocument& read, const std::vector<std::string>&) {
                EXPECT_NE(&read, &f.doc) << c.name << ": the model is left alone meanwhile";
                EXPECT_TRUE(read.SetValue(kTitle, "Set")) << c.name;
                return !c.refuse;
            };
        }
        tav::SetSaveFaultHookForTesting([&](tav::SaveStep step, std::size_t) {
            return c.fails && step == c.failing ? EIO : 0;
        });
        const tav::Expected<SaveOutcome> saved = f.storage.Save(request);
        tav::SetSaveFaultHookForTesting({});
        const bool written = !c.fails && !c.refuse;
        EXPECT_EQ(static_cast<bool>(saved), !c.fails) << c.name;
        if (saved) {
            EXPECT_EQ(*saved, c.refuse ? SaveOutcome::Refused : SaveOutcome::Saved) << c.name;
        } else {
            EXPECT_EQ(saved.Error().file, f.path) << c.name;
        }
        EXPECT_EQ(tavtest::ReadFile(f.path) == kBase, !written) << c.name;
        EXPECT_EQ(f.told.empty(), !written) << c.name;
        if (written) {
            EXPECT_EQ(f.told, (std::vector<Kind>{Kind::Reset, Kind::Saved})) << c.name;
            EXPECT_EQ(f.doc.Value(kTitle), "Set") << c.name << ": the model shows what was written";
            EXPECT_EQ(f.doc.Value(kBeep), "False") << c.name << ": read from the file";
            EXPECT_FALSE(f.doc.IsModified()) << c.name;
        } else {
            EXPECT_EQ(f.doc.Value(kBeep), "True") << c.name;
            EXPECT_TRUE(f.doc.IsModified()) << c.name;
        }
    }
}

TEST(DocumentStorageTest, OnlySomeoneElsesWritesCountAsChanges) {
    StorageFixture f;
    const auto state = [&] {
        auto checked = f.storage.CheckDisk();
        EXPECT_TRUE(checked);
        return checked ? std::move(*checked) : tav::DiskState{};
    };
    EXPECT_FALSE(state().changed) << "as opened";
    ASSERT_TRUE(f.doc.SetValue(kTitle, "Mine"));
    ASSERT_TRUE(tavtest::AsStatus(f.storage.Save(tavtest::SaveOf())));
    EXPECT_FALSE(state().changed) << "our own save";
    tavtest::WriteFile(f.path, kTheirs);
    const tav::DiskState changed = state();
    EXPECT_TRUE(changed.changed);
    EXPECT_EQ(changed.bytes.View(), kTheirs);
    ASSERT_EQ(::unlink(f.path.c_str()), 0);
    EXPECT_TRUE(state().deleted);
    ASSERT_TRUE(tavtest::AsStatus(f.storage.Save(tavtest::SaveOf())));
    EXPECT_FALSE(state().changed) << "a save recreates the file";

    ASSERT_TRUE(f.storage.Open(f.dir.File("new.tac"), "new.tac")) << "no such file yet";
    EXPECT_FALSE(state().changed);
    tavtest::WriteFile(f.dir.File("new.tac"), kBase);
    EXPECT_TRUE(state().changed) << "someone created it";
    f.storage.New();
    EXPECT_FALSE(state().changed) << "no file at all";
}

TEST(DocumentStorageTest, SaveAsWritesTheWholeDocumentOverTheTarget) {
    StorageFixture f;
    const std::string copy = f.dir.File("copy.tac");
    tavtest::WriteFile(copy, "[Other]\nx=1\n");
    ASSERT_TRUE(f.doc.SetValue(kTitle, "Copied"));
    ASSERT_TRUE(tavtest::AsStatus(
        f.storage.Save(tavtest::SaveOf(SaveRequest::Scope::WholeDocument, copy, "copy.tac"))));
    const std::string written = tavtest::ReadFile(copy);
    EXPECT_NE(written.find("; kept\n"), std::string::npos) << "lines no catalogue describes";
    EXPECT_NE(written.find("Title=Copied\n"), std::string::npos);
    EXPECT_EQ(written.find("[Other]"), std::string::npos) << "the old target is replaced";
    EXPECT_EQ(tavtest::ReadFile(f.path), kBase) << "the source is untouched";
    EXPECT_EQ(f.doc.Path(), copy);
    EXPECT_EQ(f.doc.Name(), "copy.tac");

    f.storage.New();
    ASSERT_TRUE(tavtest::AsStatus(
        f.storage.Save(tavtest::SaveOf(SaveRequest::Scope::WholeDocument, copy, "copy.tac"))));
    EXPECT_EQ(tavtest::ReadFile(copy).find("; kept"), std::string::npos)
        << "a new document starts from nothing";
}

TEST(DocumentStorageTest, FailuresNameTheFileAndChangeNothing) {
    StorageFixture f;
    ASSERT_TRUE(f.doc.SetValue(kTitle, "Mine"));
    const std::string missingFolder = f.dir.File("no/such/folder/x.tac");
    const tav::Status saved = tavtest::AsStatus(
        f.storage.Save(tavtest::SaveOf(SaveRequest::Scope::WholeDocument, missingFolder, "x")));
    ASSERT_FALSE(saved);
    EXPECT_EQ(saved.Error().file, missingFolder);
    EXPECT_NE(saved.Error().reason.find("No such file or directory"), std::string::npos)
        << saved.Error().reason;
    EXPECT_EQ(f.doc.Path(), f.path);
    EXPECT_EQ(f.doc.Value(1), "") << "not stamped";

    ASSERT_EQ(::chmod(f.path.c_str(), 0444), 0);
    const tav::Status readOnly = tavtest::AsStatus(f.storage.Save(tavtest::SaveOf()));
    ASSERT_FALSE(readOnly);
    EXPECT_EQ(readOnly.Error().reason, "the file is read-only");
    EXPECT_EQ(tavtest::ReadFile(f.path), kBase);
    EXPECT_TRUE(f.doc.IsModified());
}

TEST(DocumentStorageTest, AMissingFileOpensEmptyButAnUnreadableOneIsReported) {
    StorageFixture f;
    for (const std::string& path : {std::string(), f.dir.File("new.tac"), f.dir.File("no/x.tac")}) {
        const auto opened = f.storage.Open(path, "x.tac");
        ASSERT_TRUE(opened) << path;
        EXPECT_EQ(f.doc.Value(kTitle), "") << path;
        EXPECT_EQ(f.doc.Path(), path);
    }
    const auto missing =
        f.storage.Open(f.dir.File("none.tac"), "none.tac", tav::MissingFile::IsAnError);
    ASSERT_FALSE(missing);
    EXPECT_EQ(missing.Error().file, f.dir.File("none.tac"));
    const std::pair<std::string, const char*> refused[] = {
        {f.dir.Path(), "is a folder, not a file"},
#ifdef _WIN32
        {"NUL", "is not a regular file"},
#else
        {"/dev/null", "is not a regular file"},
#endif
    };
    for (const auto& [path, reason] : refused) {
        const auto opened = f.storage.Open(path, "x.tac");
        ASSERT_FALSE(opened) << path;
        EXPECT_EQ(opened.Error().file, path);
        EXPECT_EQ(opened.Error().reason, reason);
    }
}

}  // namespace
