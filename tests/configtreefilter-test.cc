// The tree's filter: which items stay visible, and that it follows the document without changing
// it.
#include <gtest/gtest.h>

#include <QSignalSpy>
#include <QTreeWidgetItemIterator>

#include "treetestutil.h"

namespace {

using tav::ConfigTree;
using tavtest::TreeFixture;
using Names = std::vector<std::string>;

struct FilteredTree : TreeFixture {
    FilteredTree()
        : TreeFixture(tavtest::ReadFile(TAV_EXAMPLES_DIR "/Sections.txt"),
                      tavtest::ReadFile(TAV_EXAMPLES_DIR "/Fields.txt")) {
        EXPECT_TRUE(doc->Open(TAV_EXAMPLES_DIR "/front-office.tac", "front-office.tac"));
    }

    // The items a user can reach by opening sections (none of them or their ancestors hidden),
    // each cut before " = " or "] ", the root as "root".
    Names Visible() const {
        Names labels;
        for (QTreeWidgetItemIterator it(tree.get()); *it != nullptr; ++it) {
            bool shown = true;
            for (const QTreeWidgetItem* item = *it; item != nullptr; item = item->parent()) {
                shown = shown && !item->isHidden();
            }
            if (!shown) {
                continue;
            }
            const std::string text = tav::FromQt((*it)->text(0));
            labels.push_back(*it == tree->RootItem()
                                 ? "root"
                                 : text.substr(0, std::min(text.find(" = "), text.find("] "))));
        }
        return labels;
    }
    int ItemCount() const {
        int count = 0;
        for (QTreeWidgetItemIterator it(tree.get()); *it != nullptr; ++it) {
            ++count;
        }
        return count;
    }
};

struct FilterCase {
    const char* filter;
    Names visible;
};

TEST(FilterTest, ShowsMatchingItemsWithTheirAncestorsOnly) {
    FilteredTree t;
    const FilterCase cases[] = {
        {"beep", {"root", "General", "Beep on error"}},
        {"BEEP", {"root", "General", "Beep on error"}},
        {"sales", {"root", "Parameters", "String replacements", "String [Dept, Sales"}},
        {"office laser", {"root", "Parameters", "Printing", "Printer"}},
        {"general", {"root", "General"}},
        {"no such text", {}},
    };
    for (const FilterCase& c : cases) {
        t.tree->SetFilter(QString::fromUtf8(c.filter));
        EXPECT_EQ(t.Visible(), c.visible) << c.filter;
    }
    t.tree->SetFilter(QString());
    EXPECT_EQ(static_cast<int>(t.Visible().size()), t.ItemCount()) << "an empty filter shows all";
}

TEST(FilterTest, OpensTheSectionsOfMatchesAndLeavesSelectionAndDocumentAlone) {
    FilteredTree t;
    QTreeWidgetItem* general = t.Item("General");
    ASSERT_FALSE(general->isExpanded());
    t.tree->setCurrentItem(t.Item("Title"));
    QSignalSpy reports(t.tree.get(), &ConfigTree::selectionReported);
    t.tree->SetFilter(QStringLiteral("beep"));
    EXPECT_TRUE(general->isExpanded());
    EXPECT_TRUE(t.Item("Title")->isHidden());
    EXPECT_EQ(t.tree->currentItem(), t.Item("Title"));
    EXPECT_EQ(reports.count(), 0);
    EXPECT_FALSE(t.doc->IsModified());
    EXPECT_FALSE(t.doc->CanUndo());
}

TEST(FilterTest, FollowsRelabelsNewEntriesReordersAndOpens) {
    FilteredTree t;
    const Names none;
    t.tree->SetFilter(QStringLiteral("renamed"));
    EXPECT_EQ(t.Visible(), none);
    ASSERT_TRUE(t.doc->SetValue(static_cast<std::uint16_t>(t.tree->FieldIndexOf(t.Item("Title"))),
                                "Renamed"));
    EXPECT_EQ(t.Visible(), (Names{"root", "General", "Title"}));
    ASSERT_TRUE(t.doc->AddEntry("x", "renamed too"));
    EXPECT_EQ(t.Visible(), (Names{"root", "Parameters", "String replacements", "String [x",
                                  "General", "Title"}));
    ASSERT_TRUE(t.doc->Undo());
    ASSERT_TRUE(t.doc->Undo());
    EXPECT_EQ(t.Visible(), none);
    // A reorder re-creates the moved items; they stay hidden.
    const int first = t.tree->FieldIndexOf(t.Item("List columns")->child(0));
    const int last = t.tree->FieldIndexOf(t.Item("List columns")->child(1));
    ASSERT_TRUE(
        t.doc->MoveField(static_cast<std::uint16_t>(last), static_cast<std::uint16_t>(first)));
    EXPECT_EQ(t.Visible(), none);
    ASSERT_TRUE(t.doc->Open(TAV_EXAMPLES_DIR "/front-office.tac", "front-office.tac"));
    EXPECT_EQ(t.Visible(), none) << "a rebuilt tree is filtered too";
    EXPECT_EQ(t.tree->Filter(), QStringLiteral("renamed"));
}

}  // namespace
