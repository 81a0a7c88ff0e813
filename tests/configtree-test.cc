#include <gtest/gtest.h>

#include <QScrollBar>
#include <QSignalSpy>
#include <QTest>
#include <functional>

#include "treetestutil.h"

namespace {

using tav::ConfigTree;
using tav::ConfigTreeModel;
using tavtest::TreeFixture;
using tavtest::TreeItem;
using Kind = ConfigTreeModel::ItemKind;

std::string Text(const TreeItem& item) {
    return item.Text();
}

struct ExampleTree : TreeFixture {
    ExampleTree()
        : TreeFixture(tavtest::ReadFile(TAV_EXAMPLES_DIR "/Sections.txt"),
                      tavtest::ReadFile(TAV_EXAMPLES_DIR "/Fields.txt")) {}
};

TEST(BuildTreeTest, ExampleCatalogueGivesTheTreeShape) {
    ExampleTree t;
    EXPECT_TRUE(t.problems.empty());
    ASSERT_EQ(t.tree->Model().rowCount(), 1);
    TreeItem root = t.Root();
    EXPECT_EQ(Text(root), "File : [none]");
    EXPECT_EQ(root.Kind(), Kind::Root);
    EXPECT_EQ(root.Row(), -1);
    ASSERT_EQ(root.childCount(), 3);
    EXPECT_EQ(Text(root.child(0)), "Parameters");
    EXPECT_EQ(root.child(0).Kind(), Kind::Parameters);
    EXPECT_EQ(root.child(0).Row(), -1) << "never taken for field 0";
    EXPECT_EQ(Text(root.child(1)), "Document information");
    EXPECT_EQ(root.child(1).Kind(), Kind::Section);
    EXPECT_EQ(root.child(1).Section(), 0);
    EXPECT_EQ(root.child(1).Row(), -1);
    EXPECT_EQ(Text(root.child(2)), "General");
    const std::vector<std::string> underParameters = {"List",   "Capture", "Printing",
                                                      "Export", "String",  "Advanced"};
    EXPECT_EQ(TreeFixture::Children(root.child(0)), underParameters);
    // Fields: label form, tag, ordered image; unordered fields stay where they fall.
    TreeItem columns = root.child(0).child(0);
    EXPECT_EQ(columns.Section(), 2);
    const std::vector<std::string> columnOrder = {"Show", "Font", "Show", "Show",
                                                  "Font", "Show", "Show"};
    EXPECT_EQ(TreeFixture::Children(columns), columnOrder);
    EXPECT_EQ(Text(columns.child(0)), "Show date = \"False\"");
    EXPECT_EQ(columns.child(0).Row(), 7);
    EXPECT_EQ(columns.child(0).Kind(), Kind::OrderedField);
    EXPECT_EQ(columns.child(0).Section(), -1);
    EXPECT_EQ(t.Item("Font name").Kind(), Kind::Field);
    EXPECT_EQ(Text(root.child(1).child(0)), "Version = \"\"");
    // Expansion: root, Parameters and the first SN section only.
    EXPECT_TRUE(root.isExpanded());
    EXPECT_TRUE(root.child(0).isExpanded());
    EXPECT_TRUE(root.child(1).isExpanded());
    EXPECT_FALSE(root.child(2).isExpanded());
    EXPECT_FALSE(columns.isExpanded());
    // Images: the icons of the table exist and fields use 10 and 11.
    for (int i = 0; i < ConfigTreeModel::kImageCount; ++i) {
        EXPECT_FALSE(ConfigTreeModel::ItemImage(i).pixmap(20, 16).isNull()) << i;
    }
    EXPECT_EQ(columns.child(0).icon().cacheKey(), t.Item("Show time").icon().cacheKey())
        << "ordered fields share image 11";
    EXPECT_NE(columns.child(0).icon().cacheKey(), t.Item("Font name").icon().cacheKey());
}

// The view takes every row to be as tall as the first (uniform row heights), which holds for every
// kind of item, a replacement entry and a changed setting (bold) included.
TEST(BuildTreeTest, EveryRowIsAsTallAsTheFirst) {
    ExampleTree t;
    ASSERT_TRUE(t.tree->AddReplacement("from", "to"));
    t.tree->SetCurrentIndex(t.Item("Version"));
    ASSERT_TRUE(t.tree->SetSelectedValue("2.0"));
    ASSERT_TRUE(t.Item("Version").font().bold());
    ASSERT_TRUE(t.tree->uniformRowHeights());
    const QAbstractItemModel& shown = *t.tree->model();  // the view's rows
    const int first = t.tree->sizeHintForIndex(shown.index(0, 0)).height();
    EXPECT_GT(first, 0);
    std::vector<QModelIndex> pending = {shown.index(0, 0)};
    int rows = 0;
    while (!pending.empty()) {
        const QModelIndex index = pending.back();
        pending.pop_back();
        ++rows;
        EXPECT_EQ(t.tree->sizeHintForIndex(index).height(), first)
            << index.data().toString().toStdString();
        for (int i = 0; i < shown.rowCount(index); ++i) {
            pending.push_back(shown.index(i, 0, index));
        }
    }
    EXPECT_EQ(rows, static_cast<int>(tavtest::AllItems(*t.tree).size()));
}

TEST(BuildTreeTest, ReadingADocumentShowsItsPathValuesAndOrder) {
    ExampleTree t;
    const std::string path = TAV_EXAMPLES_DIR "/front-office.tac";
    ASSERT_TRUE(tavtest::OpenFile(*t.doc, path, "front-office.tac"));
    t.tree->BuildTree();
    EXPECT_EQ(Text(t.Root()), "File : [" + path + "]");
    EXPECT_EQ(Text(t.Item("Beep")), "Beep on error = \"True\"");
    const std::vector<std::string> expected = {"Show subject", "Show date", "Font name",
                                               "Show sender",  "Show time", "Font size",
                                               "Show size"};
    std::vector<std::string> labels;
    for (int i = 0; i < t.Item("List columns").childCount(); ++i) {
        const std::string text = Text(t.Item("List columns").child(i));
        labels.push_back(text.substr(0, text.find(" = ")));
    }
    EXPECT_EQ(labels, expected);
    EXPECT_EQ(Text(t.Item("String [Dept")), "String [Dept, Sales] Replaced by [Sales department]");
    EXPECT_EQ(t.Item("String [Dept").parent(), t.Item("String replacements"));
    // An empty name shows "none" even with a path stored.
    ASSERT_TRUE(tavtest::OpenFile(*t.doc, path, ""));
    t.tree->BuildTree();
    EXPECT_EQ(Text(t.Root()), "File : [none]");
}

TEST(BuildTreeTest, LabelsAndValuesShowDecodedWhateverTheEncoding) {
    struct Case {
        const char* name;
        std::string sections, fields, document;
    };
    const Case cases[] = {
        {"windows1252", "1,Office,N,B\xFCro,SN,2\n2,Replace,N,Ersetzungen \x96 Liste,SR,9\n",
         "Gr\xF6\xDF\x65,Size,C,N,1\nTitle,Title,C,N,1\n",
         "[Office]\nTitle=Caf\xE9 B\xFCro\nSize=\x80\x35\n[Replace]\nr0=\xE9,\xE8\n"},
        {"utf8", "1,Office,N,B\xC3\xBCro,SN,2\n2,Replace,N,Ersetzungen \xE2\x80\x93 Liste,SR,9\n",
         "Gr\xC3\xB6\xC3\x9F\x65,Size,C,N,1\nTitle,Title,C,N,1\n",
         "[Office]\nTitle=Caf\xC3\xA9 B\xC3\xBCro\nSize=\xE2\x82\xAC\x35\n[Replace]\n"
         "r0=\xC3\xA9,\xC3\xA8\n"},
    };
    for (const Case& c : cases) {
        TreeFixture t(c.sections, c.fields);
        tavtest::WriteFile(t.dir.File("doc.tac"), c.document);
        ASSERT_TRUE(tavtest::OpenFile(*t.doc, t.dir.File("doc.tac"), "doc.tac")) << c.name;
        const std::vector<std::pair<std::string, const char*>> shown = {
            {"B\xC3\xBCro", "B\xC3\xBCro"},
            {"Gr\xC3\xB6", "Gr\xC3\xB6\xC3\x9F\x65 = \"\xE2\x82\xAC\x35\""},
            {"Title", "Title = \"Caf\xC3\xA9 B\xC3\xBCro\""},
            {"Ersetzungen", "Ersetzungen \xE2\x80\x93 Liste"},
            {"String [", "String [\xC3\xA9] Replaced by [\xC3\xA8]"},
        };
        for (const auto& [prefix, text] : shown) {
            EXPECT_EQ(Text(t.Item(prefix)), text) << c.name;
        }
        t.tree->SetCurrentIndex(t.Item("Title"));
        EXPECT_EQ(t.tree->SelectedValue(), "Caf\xC3\xA9 B\xC3\xBCro") << c.name;
        EXPECT_EQ(t.tree->SelectedPath(), "B\xC3\xBCro\\Title") << c.name;
    }
}

TEST(BuildTreeTest, ReadOfAnUnreadableFileChangesNothing) {
    ExampleTree t;
    ASSERT_TRUE(
        tavtest::OpenFile(*t.doc, TAV_EXAMPLES_DIR "/front-office.tac", "front-office.tac"));
    const QString rootBefore = t.Root().text();
    const auto error = tavtest::OpenFile(*t.doc, t.dir.Path(), "folder");
    ASSERT_FALSE(error);
    EXPECT_EQ(error.Error().file, t.dir.Path());
    EXPECT_EQ(t.Root().text(), rootBefore) << "the tree still shows the document";
    EXPECT_EQ(t.doc->Name(), "front-office.tac");
    EXPECT_EQ(t.doc->EntryCount(), 3);
}

TEST(BuildTreeTest, PlacementRuleAndSectionsByKind) {
    TreeFixture t("1,Ordered,Y,Ordered,SN,2\n2,Lower,N,Lower,sn,70\n",
                  "P,P,C,N,1\nQ,Q,C,Y,1\nR,R,C,N,1\nS,S,C,Y,1\nT,T,C,Y,1\nX,X,C,N,9\n");
    ASSERT_TRUE(tavtest::OpenFile(*t.doc, "", ""));
    // Positions Q 3, S 1, T 2 come from a document's Order list.
    tavtest::WriteFile(t.dir.File("d.tac"), "[Ordered]\nOrder=S,T,Q\n");
    ASSERT_TRUE(tavtest::OpenFile(*t.doc, t.dir.File("d.tac"), "d.tac"));
    t.tree->BuildTree();
    const std::vector<std::string> expected = {"P", "S", "T", "Q", "R"};
    EXPECT_EQ(TreeFixture::Children(t.Item("Ordered")), expected);
    EXPECT_EQ(t.Item("Lower").parent(), t.Root().child(0)) << "kinds compare exactly";
    EXPECT_TRUE(t.Item("Lower").icon().isNull()) << "icon index outside the table";
    EXPECT_THROW(t.Item("X ="), std::runtime_error) << "a field of no section gets no item";
}

TEST(BuildTreeTest, EmptyCataloguesGiveRootAndParametersOnly) {
    TreeFixture t("", "");
    ASSERT_EQ(t.Root().childCount(), 1);
    EXPECT_TRUE(t.Root().isExpanded());
    t.tree->BuildTree();
    EXPECT_EQ(t.Root().childCount(), 1) << "a rebuild gives the same tree";
}

struct SelectionCase {
    const char* item;  // prefix of the selected item's text; "" for no selection
    const char* path;
    std::optional<tav::FieldType> field;
    std::optional<tav::SectionKind> section;
    const char* value;
};

TEST(SelectionQueryTest, EveryKindOfItem) {
    ExampleTree t;
    ASSERT_TRUE(
        tavtest::OpenFile(*t.doc, TAV_EXAMPLES_DIR "/front-office.tac", "front-office.tac"));
    t.tree->BuildTree();
    const SelectionCase cases[] = {
        {"", "", {}, {}, ""},
        {"File : [", "", {}, {}, ""},
        {"Parameters", "Parameters", {}, {}, ""},
        {"General", "General", {}, tav::SectionKind::Root, ""},
        {"String replacements",
         "Parameters\\String replacements",
         {},
         tav::SectionKind::Replacements,
         ""},
        {"List columns", "Parameters\\List columns", {}, tav::SectionKind::Parameters, ""},
        {"Beep on error", "General\\Beep on error", tav::FieldType::Boolean, {}, "True"},
        {"Title", "General\\Title", tav::FieldType::Text, {}, "Front office capture"},
        {"String [FO]",
         "Parameters\\String replacements\\String [FO] Replaced by [Front office]",
         tav::FieldType::Replacement,
         {},
         "Front office"},
    };
    for (const auto& c : cases) {
        t.tree->SetCurrentIndex(std::string(c.item).empty() ? QModelIndex() : t.Item(c.item));
        EXPECT_EQ(t.tree->SelectedPath(), c.path) << c.item;
        EXPECT_EQ(t.tree->SelectedFieldType(), c.field) << c.item;
        EXPECT_EQ(t.tree->SelectedSectionKind(), c.section) << c.item;
        EXPECT_EQ(t.tree->SelectedValue(), c.value) << c.item;
    }
}

TEST(SelectionQueryTest, PathCutsBeforeTheCharacterPrecedingTheFirstEquals) {
    TreeFixture t("1,A,N,Sec,SN,2\n", "a=b,K,C,N,1\n=x,L,C,N,1\n");
    t.tree->SetCurrentIndex(t.Item("a=b"));
    EXPECT_EQ(t.tree->SelectedPath(), "Sec") << "an empty first component leaves no separator";
    t.tree->SetCurrentIndex(t.Item("=x"));
    EXPECT_EQ(t.tree->SelectedPath(), "Sec") << "an empty first component leaves no separator";
}

TEST(EditTest, EditsOnNonFieldItemsChangeNothing) {
    ExampleTree t;
    for (const char* prefix : {"File : [", "Parameters", "General"}) {
        t.tree->SetCurrentIndex(t.Item(prefix));
        const std::string before = Text(t.Current());
        EXPECT_TRUE(t.tree->SetSelectedValue("x")) << "nothing to refuse";
        EXPECT_TRUE(t.tree->ModifySelectedReplacement("a", "b")) << "nothing to refuse";
        t.tree->DeleteSelectedReplacement();
        std::string from = "keep", to = "keep";
        t.tree->GetSelectedReplacement(from, to);
        EXPECT_EQ(Text(t.Current()), before) << prefix;
        EXPECT_EQ(from, "keep");
        EXPECT_EQ(to, "keep");
    }
    EXPECT_EQ(t.doc->RowCount(), 30);
}

TEST(EditTest, SetValueAndModifyReplacementRelabel) {
    ExampleTree t;
    t.tree->SetCurrentIndex(t.Item("Beep on error"));
    ASSERT_TRUE(t.tree->SetSelectedValue("True"));
    EXPECT_EQ(Text(t.Current()), "Beep on error = \"True\"");
    EXPECT_EQ(t.tree->SelectedValue(), "True");
    t.tree->SetCurrentIndex(t.Item("String replacements"));
    ASSERT_TRUE(t.tree->AddReplacement("a,b", "c"));
    t.tree->SetCurrentIndex(t.Item("String [a,b]"));
    ASSERT_TRUE(t.tree->ModifySelectedReplacement("x=y", "z"));
    EXPECT_EQ(Text(t.Current()), "String [x=y] Replaced by [z]");
    std::string from, to;
    t.tree->GetSelectedReplacement(from, to);
    EXPECT_EQ(from, "x=y");
    EXPECT_EQ(to, "z");
}

TEST(ReplacementTest, AddSelectsTheSectionAndReportsOnlyAChange) {
    ExampleTree t;
    QSignalSpy reports(t.tree.get(), &ConfigTree::selectionReported);
    const int rows = t.doc->RowCount();
    std::vector<int> rowsSeenInReport;
    QObject::connect(t.tree.get(), &ConfigTree::selectionReported, [&] {
        // Inside the report the new row and item exist already.
        rowsSeenInReport.push_back(t.doc->RowCount());
    });
    ASSERT_TRUE(t.tree->AddReplacement("a", "b"));  // section not selected yet: one report
    ASSERT_TRUE(t.tree->AddReplacement("c", "d"));  // already selected: none
    EXPECT_EQ(reports.count(), 1);
    EXPECT_EQ(rowsSeenInReport, std::vector<int>{rows + 1});
    TreeItem section = t.Item("String replacements");
    EXPECT_EQ(t.Current(), section);
    EXPECT_TRUE(section.isExpanded());
    ASSERT_EQ(section.childCount(), 2);
    EXPECT_EQ(section.child(0).Row(), rows);
    EXPECT_EQ(section.child(0).Kind(), Kind::Entry);
    EXPECT_EQ(section.child(1).Row(), rows + 1);
    EXPECT_EQ(Text(section.child(1)), "String [c] Replaced by [d]");
    EXPECT_EQ(section.child(0).icon().cacheKey(), t.Item("Title").icon().cacheKey());
}

TEST(ReplacementTest, AddIsRefusedPastThirteenEntries) {
    ExampleTree t;
    for (int i = 0; i < 13; ++i) {
        ASSERT_TRUE(t.tree->AddReplacement("f" + std::to_string(i), "t"));
    }
    EXPECT_FALSE(t.tree->AddReplacement("f13", "t"));
    EXPECT_EQ(t.Item("String replacements").childCount(), 13);
    TreeFixture none("1,A,N,A,SN,2\n", "");
    EXPECT_FALSE(none.tree->AddReplacement("a", "b")) << "no replacement section";
}

TEST(ReplacementTest, DeleteRenumbersAndReportsTheNewSelectionConsistently) {
    ExampleTree t;
    const std::string path = t.dir.File("out.tac");
    for (const char* name : {"p", "q", "r"}) {
        ASSERT_TRUE(t.tree->AddReplacement(name, std::string(name) + "-to"));
    }
    TreeItem section = t.Item("String replacements");
    t.tree->SetCurrentIndex(section.child(1));  // q
    std::vector<std::pair<std::string, std::string>> seen;
    QObject::connect(t.tree.get(), &ConfigTree::selectionReported, [&] {
        std::string from, to;
        t.tree->GetSelectedReplacement(from, to);
        seen.emplace_back(from, to);
    });
    t.tree->DeleteSelectedReplacement();
    ASSERT_EQ(seen.size(), 1u);
    EXPECT_EQ(seen[0], std::make_pair(std::string("r"), std::string("r-to")));
    EXPECT_EQ(t.tree->FieldIndexOf(section.child(1)), 31);
    EXPECT_EQ(t.doc->EntryCount(), 2);
    ASSERT_TRUE(tavtest::SaveFileAs(*t.doc, path, "saved.tac", "now"));
    const std::string saved = tavtest::ReadFile(path);
    EXPECT_NE(saved.find("r0=p,p-to\r\nr1=r,r-to\r\nr2=\r\n"), std::string::npos) << saved;
    // Deleting the last one, then everything.
    t.tree->SetCurrentIndex(section.child(1));
    t.tree->DeleteSelectedReplacement();
    t.tree->SetCurrentIndex(section.child(0));
    t.tree->DeleteSelectedReplacement();
    EXPECT_EQ(t.doc->RowCount(), 30);
    EXPECT_EQ(section.childCount(), 0);
    EXPECT_TRUE(t.Current().IsValid());
}

TEST(SectionItemTest, AddAndSaveFindSectionsByTheirOwnItemWhateverTheLabels) {
    TreeFixture t("1,A,N,Parameters,XX,2\n2,B,N,Twin,XX,2\n3,C,N,Twin,SR,2\n",
                  "F,F,C,N,2\nG,G,C,N,3\n");
    t.Root().child(0).setExpanded(false);
    ASSERT_TRUE(t.tree->AddReplacement("a", "b"));
    EXPECT_EQ(TreeItem(t.tree.get(), t.tree->SectionIndex(2)).childCount(), 2);
    ASSERT_TRUE(tavtest::SaveFileAs(*t.doc, t.dir.File("twin.tac"), "saved.tac", "now"));
    const std::string saved = tavtest::ReadFile(t.dir.File("twin.tac"));
    EXPECT_EQ(saved, tavtest::Crlf("[B]\nF=\n[C]\nG=\nr0=a,b\nr1=\n"));
}

TEST(DocumentRoundTripTest, ReadEditSaveReadTheExample) {
    ExampleTree t;
    const std::string path = t.dir.File("copy.tac");
    tavtest::WriteFile(path, tavtest::ReadFile(TAV_EXAMPLES_DIR "/front-office.tac"));
    ASSERT_TRUE(tavtest::OpenFile(*t.doc, path, "copy.tac"));
    t.tree->BuildTree();
    t.tree->SetCurrentIndex(t.Item("Title"));
    ASSERT_TRUE(t.tree->SetSelectedValue("  Renamed  "));
    t.tree->SetCurrentIndex(t.Item("Debug output"));
    ASSERT_TRUE(t.tree->SetSelectedValue("True"));
    ASSERT_TRUE(tavtest::SaveFile(*t.doc, "now"));
    EXPECT_EQ(t.doc->Path(), path);
    ASSERT_TRUE(tavtest::OpenFile(*t.doc, path, "copy.tac"));
    t.tree->BuildTree();
    EXPECT_EQ(Text(t.Item("Title")), "Title = \"  Renamed  \"");
    EXPECT_EQ(Text(t.Item("Debug output")), "Debug output = \"True\"");
    EXPECT_EQ(Text(t.Item("String [Dept")), "String [Dept, Sales] Replaced by [Sales department]");
    const std::string saved = tavtest::ReadFile(path);
    EXPECT_NE(saved.find("[Network]\r\n; read by the capture service only"), std::string::npos);
    EXPECT_NE(saved.find("Station=FRONT-01\r\n"), std::string::npos);
}

TEST(DocumentRoundTripTest, SaveWithoutPathOrToABadPlaceChangesNothing) {
    ExampleTree t;
    const auto none = tavtest::SaveFile(*t.doc, "now");
    ASSERT_FALSE(none);
    const auto bad = tavtest::SaveFileAs(*t.doc, t.dir.File("missing/x.tac"), "x.tac", "now");
    ASSERT_FALSE(bad);
    EXPECT_EQ(bad.Error().file, t.dir.File("missing/x.tac"));
    EXPECT_EQ(t.doc->Path(), "");
    EXPECT_EQ(t.doc->Row(1).value, "") << "the Updated stamp is not kept after a failure";
}

}  // namespace

namespace {

// The tree follows every change of its document, whoever makes it: values relabel their items,
// entries and orders move items, a save relabels the stamps and names the file in the root.
TEST(DocumentViewTest, UndoAndRedoUpdateTheItemsInPlace) {
    ExampleTree t;
    ASSERT_TRUE(
        tavtest::OpenFile(*t.doc, TAV_EXAMPLES_DIR "/front-office.tac", "front-office.tac"));
    TreeItem section = t.Item("String replacements");
    const int firstEntry = t.doc->CatalogueRows();
    const std::vector<std::string> before = TreeFixture::Children(section);
    t.tree->SetCurrentIndex(section.child(0));
    t.tree->DeleteSelectedReplacement();
    t.tree->SetCurrentIndex(t.Item("Title"));
    ASSERT_TRUE(t.tree->SetSelectedValue("Renamed"));
    t.tree->SetCurrentIndex(t.Item("Beep on error"));  // a drop-free reorder comes from the model
    ASSERT_TRUE(t.doc->Undo());
    EXPECT_EQ(Text(t.Item("Title")), "Title = \"Front office capture\"");
    ASSERT_TRUE(t.doc->Undo());
    EXPECT_EQ(TreeFixture::Children(section), before) << "the entry is back in its place";
    for (int i = 0; i < section.childCount(); ++i) {
        EXPECT_EQ(section.child(i).Row(), firstEntry + i) << "rows follow the document again";
        EXPECT_EQ(Text(section.child(i)),
                  ConfigTree::ReplacementLabel(t.doc->Entry(i).from, t.doc->Entry(i).to));
    }
    ASSERT_TRUE(t.doc->Redo());
    EXPECT_EQ(section.childCount(), static_cast<int>(before.size()) - 1);
    EXPECT_EQ(section.child(0).Row(), firstEntry);
}

TEST(DocumentViewTest, AnUndoneDropPutsTheItemsBackAndKeepsTheSelection) {
    TreeFixture t("1,A,Y,Alpha,SN,2\n", "P,P,C,Y,1\nQ,Q,C,Y,1\nR,R,C,Y,1\nU,U,C,N,1\n");
    ASSERT_TRUE(t.doc->MoveField(2, 0));  // R before P
    EXPECT_EQ(TreeFixture::Children(t.Item("Alpha")),
              (std::vector<std::string>{"R", "P", "Q", "U"}));
    t.tree->SetCurrentIndex(t.Item("R ="));
    ASSERT_TRUE(t.doc->Undo());
    EXPECT_EQ(TreeFixture::Children(t.Item("Alpha")),
              (std::vector<std::string>{"P", "Q", "R", "U"}));
    EXPECT_EQ(t.tree->FieldIndexOf(), 2) << "the moved item stays selected";
}

TEST(DocumentViewTest, ASaveRelabelsTheStampsAndNamesTheFile) {
    ExampleTree t;
    const std::string path = t.dir.File("new.tac");
    ASSERT_TRUE(tavtest::SaveFileAs(*t.doc, path, "new.tac", "01/02/2026 (03:04:05)"));
    EXPECT_EQ(Text(t.Root()), "File : [" + path + "]");
    EXPECT_EQ(Text(t.Item("Version")), "Version = \"1.0\"");
    EXPECT_EQ(Text(t.Item("Last saved")), "Last saved = \"01/02/2026 (03:04:05)\"");
}

// The example document in the test's folder, opened, shown in a tree short enough to scroll.
struct OpenedExample : ExampleTree {
    std::string path = dir.File("front-office.tac");
    OpenedExample() {
        tavtest::WriteFile(path, tavtest::ReadFile(TAV_EXAMPLES_DIR "/front-office.tac"));
        EXPECT_TRUE(tavtest::OpenFile(*doc, path, "front-office.tac"));
        tree->resize(300, 150);
        tree->show();
        EXPECT_TRUE(QTest::qWaitForWindowExposed(tree.get()));
    }
    // Which items are open, by text ("root" for the root, which names the file).
    std::vector<std::string> Expanded() const {
        std::vector<std::string> open;
        for (const TreeItem& item : tavtest::AllItems(*tree)) {
            if (item.isExpanded()) {
                open.push_back(item == Root() ? "root" : Text(item));
            }
        }
        return open;
    }
};

// Read again, the file shown keeps the open sections, the scroll position and the selection: a
// replacement entry by its place in the list, else its section. Another file or a new document
// starts as a fresh tree.
TEST(ReopenTest, OnlyTheFileShownKeepsTheView) {
    struct Case {
        const char* name;
        const char* list;  // the file's replacement list when read again; null: as it is
        std::function<void(OpenedExample&)> open;
        const char* selected;  // null: a fresh tree
    };
    const auto readAgain = [](OpenedExample& t) {
        ASSERT_TRUE(tavtest::OpenFile(*t.doc, t.path, "x.tac"));
    };
    const std::vector<Case> cases = {
        {"another_entry_at_its_place", "r0=A,a\r\nr1=B,b\r\nr2=\r\n", readAgain,
         "String [B] Replaced by [b]"},
        {"a_shorter_list", "r0=A,a\r\nr1=\r\n", readAgain, "String replacements"},
        {"by_another_name", nullptr,
         [](OpenedExample& t) {
             ASSERT_TRUE(tavtest::OpenFile(*t.doc, t.dir.Path() + "/./front-office.tac", "x"));
         },
         "String [FO] Replaced by [Front office]"},
        {"another_file", nullptr,
         [](OpenedExample& t) {
             ASSERT_TRUE(tavtest::OpenFile(*t.doc, TAV_EXAMPLES_DIR "/warehouse.tac", "w"));
         },
         nullptr},
        {"new_document", nullptr, [](OpenedExample& t) { t.doc->New(); }, nullptr},
    };
    for (const Case& c : cases) {
        OpenedExample t;
        const std::vector<std::string> fresh = t.Expanded();
        t.Item("General").setExpanded(true);
        t.Item("Document information").setExpanded(false);
        t.tree->SetCurrentIndex(t.Item("String replacements").child(1));
        t.tree->verticalScrollBar()->setValue(3);
        const std::vector<std::string> open = t.Expanded();
        if (c.list != nullptr) {
            std::string bytes = tavtest::ReadFile(t.path);
            const std::size_t from = bytes.find("r0=");
            bytes.replace(from, bytes.find("r3=\r\n") + 5 - from, c.list);
            tavtest::WriteFile(t.path, bytes);
        }
        c.open(t);
        EXPECT_EQ(t.Expanded(), c.selected != nullptr ? open : fresh) << c.name;
        if (c.selected == nullptr) {
            EXPECT_FALSE(t.Current().IsValid()) << c.name;
            continue;
        }
        ASSERT_TRUE(t.Current().IsValid()) << c.name;
        EXPECT_EQ(Text(t.Current()), c.selected) << c.name;
        EXPECT_EQ(t.tree->verticalScrollBar()->value(), 3) << c.name;
    }
}

}  // namespace
