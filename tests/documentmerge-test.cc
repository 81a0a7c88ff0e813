#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

#include "document/configdocument.h"
#include "document/documentstorage.h"
#include "testutil.h"

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
        const auto saved = tav::DocumentStorage(f.doc, tavtest::FixedClock("now")).SavedBytes(disk);
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
