#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

#include "document/configdocument.h"
#include "testutil.h"

#include <unistd.h>

namespace {

using tav::ConfigDocument;
using tav::DiskChoices;

// Rows: 0 Beep (B), 1 Title, 2 Size (ordered), 3 Width (ordered); entries from row 4.
const char* kSections = "1,General,N,General,XX,3\n2,Fonts,Y,Fonts,XX,4\n3,Replace,N,R,SR,9\n";
const char* kFields = "Beep,Beep,B,N,1\nTitle,Title,C,N,1\nSize,Size,C,Y,2\nWidth,Width,C,Y,2\n";
const char* kBase =
    "[General]\nBeep=0\nTitle=Base\n[Fonts]\nOrder=Size,Width\nSize=1\nWidth=2\n"
    "[Replace]\nr0=a,b\nr1=\n; kept\n";

struct MergeFixture {
    tavtest::TempDir dir;
    ConfigDocument doc{tav::CataloguesFromText(dir.Path(), kSections, kFields)};
    MergeFixture() { doc.OpenBytes(dir.File("d.tac"), "d.tac", kBase); }
    // kBase with `from` replaced by `to`.
    static std::string Disk(const std::string& from, const std::string& to) {
        std::string bytes = kBase;
        bytes.replace(bytes.find(from), from.size(), to);
        return bytes;
    }
};

TEST(DocumentMergeTest, WhatChangedWhereIsSorted) {
    struct Case {
        const char* name;
        std::function<void(ConfigDocument&)> edit;
        std::string disk;
        std::vector<std::uint16_t> theirs, conflicts;
        bool entriesTheirs, entriesConflict;
        std::vector<std::size_t> theirOrders;
    };
    const auto title = [](const char* v) {
        return [v](ConfigDocument& d) { ASSERT_TRUE(d.SetValue(1, v)); };
    };
    const Case cases[] = {
        {"nothingOnDisk", title("Mine"), kBase, {}, {}, false, false, {}},
        {"otherKeyOnDisk",
         title("Mine"),
         MergeFixture::Disk("Beep=0", "Beep=1"),
         {0},
         {},
         false,
         false,
         {}},
        {"sameKeyBothSides",
         title("Mine"),
         MergeFixture::Disk("Title=Base", "Title=Theirs"),
         {},
         {1},
         false,
         false,
         {}},
        {"sameValueBothSides",
         title("Same"),
         MergeFixture::Disk("Title=Base", "Title=Same"),
         {},
         {},
         false,
         false,
         {}},
        {"listOnDisk",
         title("Mine"),
         MergeFixture::Disk("r1=", "r1=c,d\nr2="),
         {},
         {},
         true,
         false,
         {}},
        {"listBothSides",
         [](ConfigDocument& d) { ASSERT_TRUE(d.AddEntry("x", "y")); },
         MergeFixture::Disk("r0=a,b", "r0=a,z"),
         {},
         {},
         false,
         true,
         {}},
        {"orderOnDisk",
         title("Mine"),
         MergeFixture::Disk("Order=Size,Width", "Order=Width,Size"),
         {},
         {},
         false,
         false,
         {1}},
    };
    for (const Case& c : cases) {
        MergeFixture f;
        c.edit(f.doc);
        const tav::DiskComparison found = f.doc.CompareWithDisk(c.disk);
        EXPECT_EQ(found.theirRows, c.theirs) << c.name;
        EXPECT_EQ(found.conflictRows, c.conflicts) << c.name;
        EXPECT_EQ(found.entriesTheirs, c.entriesTheirs) << c.name;
        EXPECT_EQ(found.entriesConflict, c.entriesConflict) << c.name;
        EXPECT_EQ(found.theirOrders, c.theirOrders) << c.name;
        EXPECT_EQ(found.HasChanges(),
                  c.disk != kBase && std::string(c.name) != "sameValueBothSides")
            << c.name;
    }
}

TEST(DocumentMergeTest, MergingKeepsBothSidesAndTheChosenConflicts) {
    for (const bool theirs : {false, true}) {
        MergeFixture f;
        ASSERT_TRUE(f.doc.SetValue(1, "Mine"));
        ASSERT_TRUE(f.doc.SetValue(2, "5"));
        const std::string disk =
            MergeFixture::Disk("Beep=0\nTitle=Base", "Beep=1\nTitle=Theirs\nNew=key");
        DiskChoices choices;
        if (theirs) {
            choices.rows.insert(1);
        }
        EXPECT_TRUE(f.doc.MergeDisk(disk, choices).empty());
        EXPECT_EQ(f.doc.Row(0).value, "True") << "changed on disk only";
        EXPECT_EQ(f.doc.Row(1).value, theirs ? "Theirs" : "Mine");
        EXPECT_EQ(f.doc.Row(2).value, "5") << "changed here only";
        EXPECT_TRUE(f.doc.IsModified());
        EXPECT_FALSE(f.doc.CanUndo()) << "the steps were made on values that are gone";
        const auto expected =
            theirs ? std::vector<std::uint16_t>{2} : std::vector<std::uint16_t>{1, 2};
        EXPECT_EQ(f.doc.ChangedRows(), expected) << "against the disk's version";
        const auto saved = f.doc.SavedBytes(disk, "now");
        ASSERT_TRUE(saved);
        EXPECT_NE(saved->find("New=key"), std::string::npos) << "their key survives a save";
        EXPECT_NE(saved->find("Beep=1"), std::string::npos);
    }
}

TEST(DocumentMergeTest, AListConflictTakesTheChosenSideAndOwnMovesStay) {
    MergeFixture f;
    ASSERT_TRUE(f.doc.AddEntry("x", "y"));
    ASSERT_TRUE(f.doc.MoveField(3, 2));
    DiskChoices takeList;
    takeList.entries = true;
    f.doc.MergeDisk(MergeFixture::Disk("r0=a,b", "r0=a,z"), takeList);
    ASSERT_EQ(f.doc.EntryCount(), 1u);
    EXPECT_EQ(f.doc.Entry(0).to, "z");
    EXPECT_EQ(f.doc.Order()[1], (std::vector<std::uint16_t>{3, 2}));
    EXPECT_TRUE(f.doc.OrderChanged(1)) << "the moved field is an edit of its own";
    EXPECT_TRUE(f.doc.IsModified());
}

TEST(DocumentMergeTest, NoEditLeftMeansNotModified) {
    MergeFixture f;
    ASSERT_TRUE(f.doc.SetValue(1, "Mine"));
    DiskChoices takeTitle;
    takeTitle.rows.insert(1);
    f.doc.MergeDisk(MergeFixture::Disk("Title=Base", "Title=Theirs"), takeTitle);
    EXPECT_EQ(f.doc.Row(1).value, "Theirs");
    EXPECT_FALSE(f.doc.IsModified());
    EXPECT_TRUE(f.doc.ChangedRows().empty());
}

}  // namespace

namespace {

TEST(DiskStateTest, OnlySomeoneElsesWritesCountAsChanges) {
    MergeFixture f;
    const std::string path = f.dir.File("d.tac");
    tavtest::WriteFile(path, kBase);
    ASSERT_TRUE(f.doc.Open(path, "d.tac"));
    const auto state = [&] {
        auto checked = f.doc.CheckDisk();
        EXPECT_TRUE(checked);
        return checked ? std::move(*checked) : ConfigDocument::DiskState{};
    };
    EXPECT_FALSE(state().changed) << "as opened";
    ASSERT_TRUE(f.doc.SetValue(1, "Mine"));
    ASSERT_TRUE(f.doc.Save("now"));
    EXPECT_FALSE(state().changed) << "our own save";
    tavtest::WriteFile(path, MergeFixture::Disk("Beep=0", "Beep=1"));
    const ConfigDocument::DiskState changed = state();
    EXPECT_TRUE(changed.changed);
    EXPECT_EQ(changed.bytes.View(), tavtest::ReadFile(path));
    f.doc.MergeDisk(changed.bytes.View(), {});
    EXPECT_FALSE(state().changed) << "merged: the disk's version is the reference";
    ASSERT_EQ(::unlink(path.c_str()), 0);
    EXPECT_TRUE(state().deleted);
    ASSERT_TRUE(f.doc.Save("now"));
    EXPECT_FALSE(state().changed) << "a save recreates the file";

    ASSERT_TRUE(f.doc.Open(f.dir.File("new.tac"), "new.tac")) << "no such file yet";
    EXPECT_FALSE(state().changed);
    tavtest::WriteFile(f.dir.File("new.tac"), kBase);
    EXPECT_TRUE(state().changed) << "someone created it";
    f.doc.New();
    EXPECT_FALSE(state().changed) << "no file at all";
}

TEST(DiskStateTest, SaveAsWritesTheWholeDocumentOverTheTarget) {
    MergeFixture f;
    const std::string path = f.dir.File("d.tac");
    const std::string copy = f.dir.File("copy.tac");
    tavtest::WriteFile(path, kBase);
    tavtest::WriteFile(copy, "[Other]\nx=1\n");
    ASSERT_TRUE(f.doc.Open(path, "d.tac"));
    ASSERT_TRUE(f.doc.SetValue(1, "Copied"));
    ASSERT_TRUE(f.doc.SaveAs(copy, "copy.tac", "now"));
    const std::string written = tavtest::ReadFile(copy);
    EXPECT_NE(written.find("; kept\n"), std::string::npos) << "lines no catalogue describes";
    EXPECT_NE(written.find("Title=Copied\n"), std::string::npos);
    EXPECT_EQ(written.find("[Other]"), std::string::npos) << "the old target is replaced";
    EXPECT_EQ(tavtest::ReadFile(path), kBase) << "the source is untouched";
    EXPECT_EQ(f.doc.Path(), copy);

    ConfigDocument fresh(tav::CataloguesFromText(f.dir.Path(), kSections, kFields));
    ASSERT_TRUE(fresh.SaveAs(copy, "copy.tac", "now"));
    EXPECT_EQ(tavtest::ReadFile(copy).find("; kept"), std::string::npos)
        << "a new document starts from nothing";
}

}  // namespace

namespace {

// A save that finds the file as this document left it writes at once; one that finds someone
// else's change (or no file) writes nothing and says so, for the changes to be looked at first.
TEST(DocumentMergeTest, SaveIfUnchangedWritesOnlyOverTheDocumentsOwnVersion) {
    struct Case {
        const char* name;
        std::function<void(const std::string& path)> meanwhile;
        bool saved;
    };
    const Case cases[] = {
        {"untouched", [](const std::string&) {}, true},
        {"changedByOthers",
         [](const std::string& path) {
             tavtest::WriteFile(path, MergeFixture::Disk("Beep=0", "Beep=1"));
         },
         false},
        {"sameSizeChange",
         [](const std::string& path) {
             tavtest::WriteFile(path, MergeFixture::Disk("Title=Base", "Title=Bass"));
         },
         false},
        {"removed", [](const std::string& path) { ::unlink(path.c_str()); }, false},
    };
    for (const Case& c : cases) {
        MergeFixture f;
        const std::string path = f.dir.File("d.tac");
        tavtest::WriteFile(path, kBase);
        ASSERT_TRUE(f.doc.Open(path, "d.tac")) << c.name;
        ASSERT_TRUE(f.doc.SetValue(1, "Mine")) << c.name;
        c.meanwhile(path);
        const bool existed = ::access(path.c_str(), F_OK) == 0;
        const std::string before = existed ? tavtest::ReadFile(path) : "";
        const tav::Expected<bool> saved = f.doc.SaveIfUnchangedOnDisk("now");
        ASSERT_TRUE(saved) << c.name << ": " << saved.Error().Message();
        EXPECT_EQ(*saved, c.saved) << c.name;
        EXPECT_EQ(f.doc.IsModified(), !c.saved) << c.name;
        if (c.saved) {
            EXPECT_NE(tavtest::ReadFile(path).find("Title=Mine"), std::string::npos) << c.name;
            // The next save finds the file as this one left it.
            ASSERT_TRUE(f.doc.SetValue(1, "Again")) << c.name;
            const tav::Expected<bool> again = f.doc.SaveIfUnchangedOnDisk("later");
            EXPECT_TRUE(again && *again) << c.name;
        } else {
            EXPECT_EQ(::access(path.c_str(), F_OK) == 0, existed) << c.name;
            EXPECT_EQ(existed ? tavtest::ReadFile(path) : "", before) << c.name;
        }
    }
}

}  // namespace
