// The selection's edits on their own: each applies to its kind of row only, and a row of another
// kind (or no row) leaves the document and its history alone.
#include <gtest/gtest.h>

#include <functional>
#include <memory>

#include "testutil.h"
#include "tree/configtreeedits.h"

namespace {

constexpr int kP = 0, kQ = 1, kU = 2, kEntry = 3;

TEST(TreeEditsTest, EachEditActsOnItsKindOfRowOnly) {
    tavtest::TempDir dir;
    tavtest::WriteFile(dir.File("Sections.txt"), "1,A,Y,Alpha,SN,2\n2,S,N,Swaps,SR,2\n");
    tavtest::WriteFile(dir.File("Fields.txt"), "P,P,C,Y,1\nQ,Q,C,Y,1\nU,U,C,N,1\n");
    tavtest::WriteFile(dir.File("d.tac"), "[A]\nU=old\n[S]\nr0=a,1\n");
    struct Case {
        const char* name;
        std::function<bool(tav::ConfigTreeEdits&)> edit;  // gives the edit's own result
        bool result;  // true for an edit that has nothing to refuse where nothing applies
    };
    const Case refused[] = {
        {"value_of_an_entry", [](auto& e) { return bool(e.SetValue(kEntry, "x")); }, true},
        {"value_of_no_row", [](auto& e) { return bool(e.SetValue(-1, "x")); }, true},
        {"entry_texts_of_a_field", [](auto& e) { return bool(e.ModifyEntry(kU, "a", "b")); }, true},
        {"remove_a_field", [](auto& e) { return e.RemoveEntry(kP), true; }, true},
        {"revert_an_unchanged_field", [](auto& e) { return e.RevertValue(kU); }, false},
        {"revert_an_entry", [](auto& e) { return e.RevertValue(kEntry); }, false},
        {"move_the_first_up", [](auto& e) { return e.Move(kP, true); }, false},
        {"move_the_last_down", [](auto& e) { return e.Move(kQ, false); }, false},
        {"move_an_unordered_field", [](auto& e) { return e.Move(kU, true); }, false},
        {"move_an_entry", [](auto& e) { return e.Move(kEntry, false); }, false},
    };
    for (const Case& c : refused) {
        auto doc = std::make_shared<tav::ConfigDocument>(
            tav::LoadCatalogues(dir.Path(), [](const tav::FileError&) {}));
        ASSERT_TRUE(tavtest::OpenFile(*doc, dir.File("d.tac"), "d.tac"));
        tav::ConfigTreeEdits edits(*doc);
        EXPECT_EQ(c.edit(edits), c.result) << c.name;
        EXPECT_FALSE(doc->CanUndo()) << c.name << " changed the document";
        EXPECT_EQ(doc->EntryCount(), 1u) << c.name;
    }
    auto doc = std::make_shared<tav::ConfigDocument>(
        tav::LoadCatalogues(dir.Path(), [](const tav::FileError&) {}));
    ASSERT_TRUE(tavtest::OpenFile(*doc, dir.File("d.tac"), "d.tac"));
    tav::ConfigTreeEdits edits(*doc);
    EXPECT_EQ(edits.OrderedNeighbour(kP, false), std::optional<std::uint16_t>(kQ));
    ASSERT_TRUE(edits.SetValue(kU, "new"));
    ASSERT_TRUE(edits.SetValue(kU, "newer"));  // typing: one step
    ASSERT_TRUE(edits.RevertValue(kU));
    EXPECT_EQ(doc->Value(kU), "old");
    ASSERT_TRUE(doc->Undo());
    EXPECT_EQ(doc->Value(kU), "newer") << "the revert is a step of its own";
    ASSERT_TRUE(edits.Move(kQ, true));
    EXPECT_EQ(doc->Order()[0].front(), kQ);
}

}  // namespace
