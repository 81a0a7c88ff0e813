// The change marks: which items are bold after each kind of change of the document.
#include <gtest/gtest.h>

#include <QTreeWidgetItemIterator>
#include <functional>

#include "treetestutil.h"

namespace {

using tavtest::TreeFixture;

// The example catalogues over a copy of front-office.tac, whose entries are "Dept, Sales", "FO"
// and "Tel.".
struct MarkedTree : TreeFixture {
    std::string path = dir.File("copy.tac");
    std::uint16_t firstEntry = 0;

    MarkedTree()
        : TreeFixture(tavtest::ReadFile(TAV_EXAMPLES_DIR "/Sections.txt"),
                      tavtest::ReadFile(TAV_EXAMPLES_DIR "/Fields.txt")) {
        tavtest::WriteFile(path, tavtest::ReadFile(TAV_EXAMPLES_DIR "/front-office.tac"));
        EXPECT_TRUE(doc->Open(path, "copy.tac"));
        firstEntry = doc->CatalogueRows();
    }

    // The texts of the bold items, each cut before " = " or "] Replaced".
    std::vector<std::string> Bold() const {
        std::vector<std::string> labels;
        for (QTreeWidgetItemIterator it(tree.get()); *it != nullptr; ++it) {
            if ((*it)->font(0).bold()) {
                const std::string text = tav::FromQt((*it)->text(0));
                labels.push_back(text.substr(0, std::min(text.find(" = "), text.find("] "))));
            }
        }
        return labels;
    }
    std::uint16_t Row(const char* prefix) const {
        return static_cast<std::uint16_t>(tree->FieldIndexOf(Item(prefix)));
    }
};

using Labels = std::vector<std::string>;

struct MarkStep {
    const char* what;
    std::function<void(MarkedTree&)> change;
    Labels bold;
};

TEST(ChangeMarksTest, FollowEditsUndoRedoSaveAndOpen) {
    MarkedTree t;
    const MarkStep steps[] = {
        {"opened", [](MarkedTree&) {}, {}},
        {"edit",
         [](MarkedTree& m) { ASSERT_TRUE(m.doc->SetValue(m.Row("Title"), "Renamed")); },
         {"Title"}},
        {"second field",
         [](MarkedTree& m) { ASSERT_TRUE(m.doc->SetValue(m.Row("Beep on error"), "False")); },
         {"Title", "Beep on error"}},
        {"undo", [](MarkedTree& m) { ASSERT_TRUE(m.doc->Undo()); }, {"Title"}},
        {"redo", [](MarkedTree& m) { ASSERT_TRUE(m.doc->Redo()); }, {"Title", "Beep on error"}},
        {"typed back to the saved value",
         [](MarkedTree& m) {
             m.doc->EndTyping();
             ASSERT_TRUE(m.doc->SetValue(m.Row("Title"), "Front office capture"));
         },
         {"Beep on error"}},
        {"undo all the way back",
         [](MarkedTree& m) {
             while (m.doc->Undo()) {
             }
         },
         {}},
        {"edit again",
         [](MarkedTree& m) { ASSERT_TRUE(m.doc->SetValue(m.Row("Title"), "X")); },
         {"Title"}},
        {"save, stamps included", [](MarkedTree& m) { ASSERT_TRUE(m.doc->Save("now")); }, {}},
        {"undo past the save",
         [](MarkedTree& m) {
             while (m.doc->Undo()) {
             }
         },
         {"Title"}},
        {"open", [](MarkedTree& m) { ASSERT_TRUE(m.doc->Open(m.path, "copy.tac")); }, {}},
    };
    for (const MarkStep& step : steps) {
        step.change(t);
        EXPECT_EQ(t.Bold(), step.bold) << step.what;
    }
}

TEST(ChangeMarksTest, EntriesAreMarkedWhereTheyDifferFromTheSavedPlace) {
    MarkedTree t;
    const std::uint16_t first = t.firstEntry;
    const MarkStep steps[] = {
        {"added",
         [](MarkedTree& m) { ASSERT_TRUE(m.tree->AddReplacement("new", "one")); },
         {"String [new"}},
        {"modified",
         [first](MarkedTree& m) { ASSERT_TRUE(m.doc->ModifyEntry(first + 1, "FO", "Desk")); },
         {"String [FO", "String [new"}},
        {"modified back",
         [first](MarkedTree& m) {
             m.doc->EndTyping();
             ASSERT_TRUE(m.doc->ModifyEntry(first + 1, "FO", "Front office"));
         },
         {"String [new"}},
        {"first removed: every later entry moved up",
         [first](MarkedTree& m) { ASSERT_TRUE(m.doc->RemoveEntry(first)); },
         {"String [FO", "String [Tel.", "String [new"}},
        {"undo the removal", [](MarkedTree& m) { ASSERT_TRUE(m.doc->Undo()); }, {"String [new"}},
        {"save", [](MarkedTree& m) { ASSERT_TRUE(m.doc->Save("now")); }, {}},
        {"undo the add after the save",
         [](MarkedTree& m) {
             ASSERT_TRUE(m.doc->Undo());  // modified back
             ASSERT_TRUE(m.doc->Undo());  // modified
             ASSERT_TRUE(m.doc->Undo());  // added
         },
         {}},
    };
    for (const MarkStep& step : steps) {
        step.change(t);
        EXPECT_EQ(t.Bold(), step.bold) << step.what;
    }
    EXPECT_FALSE(t.tree->IsRowChanged(t.doc->RowCount())) << "past the last row";
    EXPECT_FALSE(t.tree->IsRowChanged(-1));
}

TEST(ChangeMarksTest, AReorderKeepsTheMarksOfTheMovedItems) {
    TreeFixture t("1,A,Y,Alpha,SN,2\n", "P,P,C,Y,1\nQ,Q,C,Y,1\n");
    ASSERT_TRUE(t.doc->SetValue(0, "changed"));
    ASSERT_TRUE(t.doc->MoveField(1, 0));  // Q before P: P's item is re-created
    EXPECT_TRUE(t.Item("P =")->font(0).bold());
    EXPECT_FALSE(t.Item("Q =")->font(0).bold());
    EXPECT_FALSE(t.Item("Alpha")->font(0).bold()) << "an order change marks no item";
}

}  // namespace
