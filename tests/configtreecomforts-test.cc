// The tree's comforts: change marks, the context menu and its keys, the filter.
#include <gtest/gtest.h>

#include <QAction>
#include <QApplication>
#include <QMenu>
#include <QSignalSpy>
#include <QTest>
#include <QTimer>
#include <functional>

#include "treetestutil.h"

namespace {

using tav::ConfigTree;
using Names = std::vector<std::string>;
using tavtest::TreeItem;
using Pick = std::function<bool(const TreeItem&)>;
constexpr std::uint16_t kQ = 1, kFirstEntry = 4;

// Alpha (ordered) holds the ordered P, Q, R and the unordered U; Swaps holds the entries a and b.
// The document is unnamed, so the root reads "File : [none]" whatever the temporary folder is.
struct ComfortTree : tavtest::TreeFixture {
    std::string path = dir.File("d.tac");
    ComfortTree()
        : TreeFixture("1,A,Y,Alpha,SN,2\n2,S,N,Swaps,SR,2\n",
                      "P,P,C,Y,1\nQ,Q,C,Y,1\nR,R,C,Y,1\nU,U,C,N,1\n") {
        tavtest::WriteFile(path, "[A]\nP=apple\n[S]\nr0=a,1\nr1=b,2\n");
        EXPECT_TRUE(tavtest::OpenFile(*doc, path, ""));
        Item("Alpha").setExpanded(true);
        tree->show();
    }
    void Select(const std::string& prefix) const { tree->SetCurrentIndex(Item(prefix)); }
    // The items `pick` accepts, each cut before " = ", "] " or " : ".
    Names Items(const Pick& pick) const {
        Names names;
        for (const TreeItem& item : tavtest::AllItems(*tree)) {
            const std::string text = item.Text();
            if (pick(item)) {
                names.push_back(text.substr(
                    0, std::min({text.find(" = "), text.find("] "), text.find(" : ")})));
            }
        }
        return names;
    }
    Names Bold() const {
        return Items([](const TreeItem& i) { return i.font().bold(); });
    }
    Names Visible() const {
        return Items([](const TreeItem& i) { return !i.isHidden(); });
    }
    // The selected item's menu: each action's text, " (off)" added when it is disabled.
    Names Menu() const {
        Names shown;
        for (const QAction* a : tree->ContextActions()) {
            shown.push_back(tav::FromQt(a->text()) + (a->isEnabled() ? "" : " (off)"));
        }
        return shown;
    }
    void Choose(const char* text) const {
        for (QAction* a : tree->ContextActions()) {
            if (a->text() == QLatin1String(text)) {
                return a->trigger();
            }
        }
        ADD_FAILURE() << "no menu entry " << text;
    }
};

struct MarkStep {
    const char* what;
    std::function<void(ComfortTree&)> change;
    Names bold;
};

TEST(ChangeMarksTest, FollowEditsUndoRevertSaveAndOpen) {
    ComfortTree t;
    const MarkStep steps[] = {
        {"edit", [](ComfortTree& m) { ASSERT_TRUE(m.doc->SetValue(kQ, "x")); }, {"Q"}},
        {"entry added",
         [](ComfortTree& m) { ASSERT_TRUE(m.tree->AddReplacement("c", "3")); },
         {"String [c", "Q"}},
        {"entry modified",
         [](ComfortTree& m) { ASSERT_TRUE(m.doc->ModifyEntry(kFirstEntry, "a", "9")); },
         {"String [a", "String [c", "Q"}},
        {"undo", [](ComfortTree& m) { ASSERT_TRUE(m.doc->Undo()); }, {"String [c", "Q"}},
        {"first entry removed: the later ones moved",
         [](ComfortTree& m) { ASSERT_TRUE(m.doc->RemoveEntry(kFirstEntry)); },
         {"String [b", "String [c", "Q"}},
        {"undo to the file",
         [](ComfortTree& m) {
             while (m.doc->Undo()) {
             }
         },
         {}},
        {"redo and type on",
         [](ComfortTree& m) {
             m.Select("Q =");
             ASSERT_TRUE(m.doc->Redo());
             ASSERT_TRUE(m.doc->SetValue(kQ, "xy"));
         },
         {"Q"}},
        {"revert", [](ComfortTree& m) { m.Choose("Revert to saved value"); }, {}},
        {"undo the revert alone",
         [](ComfortTree& m) {
             ASSERT_TRUE(m.doc->Undo());
             EXPECT_EQ(m.doc->Row(kQ).value, "xy") << "not merged into the typing";
         },
         {"Q"}},
        {"save", [](ComfortTree& m) { ASSERT_TRUE(tavtest::SaveFile(*m.doc, "now")); }, {}},
        {"edit, then open",
         [](ComfortTree& m) {
             ASSERT_TRUE(m.doc->SetValue(kQ, ""));
             ASSERT_TRUE(tavtest::OpenFile(*m.doc, m.path, ""));
         },
         {}},
    };
    for (const MarkStep& step : steps) {
        step.change(t);
        EXPECT_EQ(t.Bold(), step.bold) << step.what;
    }
    EXPECT_FALSE(t.tree->RevertSelectedValue()) << "nothing to revert";
}

TEST(ChangeMarksTest, NonAsciiSettingsAndEntriesAreUnmarkedUntilEditedInEitherEncoding) {
    const std::pair<const char*, std::string> documents[] = {
        {"windows1252", "[A]\nP=gr\xFCn\n[S]\nr0=\xE9t\xE9,summer\nr1=b,\xFC\n"},
        {"utf8", "[A]\nP=gr\xC3\xBCn\n[S]\nr0=\xC3\xA9t\xC3\xA9,summer\nr1=b,\xC3\xBC\n"},
    };
    for (const auto& [name, bytes] : documents) {
        ComfortTree t;
        tavtest::WriteFile(t.path, bytes);
        ASSERT_TRUE(tavtest::OpenFile(*t.doc, t.path, ""));
        EXPECT_EQ(t.Bold(), Names{}) << name << " as read";
        ASSERT_TRUE(t.doc->ModifyEntry(kFirstEntry, "\xC3\xA9t\xC3\xA9", "\xC3\xA9t\xC3\xA9"));
        EXPECT_EQ(t.Bold(), Names{"String [\xC3\xA9t\xC3\xA9"}) << name << " edited";
        ASSERT_TRUE(tavtest::SaveFile(*t.doc, "now"));
        EXPECT_EQ(t.Bold(), Names{}) << name << " saved";
        ASSERT_TRUE(tavtest::OpenFile(*t.doc, t.path, ""));
        EXPECT_EQ(t.Bold(), Names{}) << name << " reloaded";
        EXPECT_FALSE(t.doc->IsModified()) << name;
    }
}

TEST(ChangeMarksTest, RevertingTheOnlyChangeLeavesTheDocumentUnmodified) {
    ComfortTree t;
    t.Select("Q =");
    ASSERT_TRUE(t.doc->SetValue(kQ, "x"));
    EXPECT_TRUE(t.doc->IsModified());
    t.Choose("Revert to saved value");
    EXPECT_EQ(t.Bold(), Names{});
    EXPECT_FALSE(t.doc->IsModified()) << "bold and the title's * must agree";
}

TEST(ContextMenuTest, OffersWhatAppliesToTheItem) {
    ComfortTree t;
    ASSERT_TRUE(t.doc->SetValue(3, "edited"));  // U
    const std::pair<const char*, Names> cases[] = {
        {"File", {}},
        {"Alpha", {}},
        {"Swaps", {}},
        {"P =", {"Revert to saved value (off)", "Move up (off)", "Move down"}},
        {"Q =", {"Revert to saved value (off)", "Move up", "Move down"}},
        {"R =", {"Revert to saved value (off)", "Move up", "Move down (off)"}},
        {"U =", {"Revert to saved value"}},
        {"String [a]", {"Delete"}},
    };
    for (const auto& [item, menu] : cases) {
        t.Select(item);
        EXPECT_EQ(t.Menu(), menu) << item;
    }
}

TEST(ContextMenuTest, MovesByKeysAndMenuStopAtTheEndsKeepTheSelectionAndSave) {
    ComfortTree t;
    t.Select("P =");
    const std::tuple<bool, bool, Names> steps[] = {
        // by key, up, the order after it
        {true, true, {"P", "Q", "R", "U"}},   // refused at the top
        {true, false, {"Q", "P", "R", "U"}},  //
        {false, false, {"Q", "R", "P", "U"}},
        {true, false, {"Q", "R", "P", "U"}},  // refused at the end
        {false, true, {"Q", "P", "R", "U"}},
    };
    for (const auto& [byKey, up, order] : steps) {
        if (byKey) {
            QTest::keyClick(t.tree.get(), up ? Qt::Key_Up : Qt::Key_Down, Qt::AltModifier);
        } else {
            t.Choose(up ? "Move up" : "Move down");
        }
        EXPECT_EQ(t.Children(t.Item("Alpha")), order);
        EXPECT_EQ(t.tree->FieldIndexOf(), 0) << "P stays selected";
    }
    t.Select("U =");
    EXPECT_FALSE(t.tree->MoveSelectedDown()) << "an unordered field does not move";
    ASSERT_TRUE(tavtest::SaveFile(*t.doc, "now"));
    EXPECT_NE(tavtest::ReadFile(t.path).find("Order=Q,P,R\n"), std::string::npos);
}

TEST(ContextMenuTest, DeleteKeyAndEntryRemoveOnlyEntries) {
    ComfortTree t;
    for (const char* item : {"File", "Alpha", "Swaps", "P ="}) {
        t.Select(item);
        QTest::keyClick(t.tree.get(), Qt::Key_Delete);
        EXPECT_EQ(t.doc->EntryCount(), 2u) << item;
    }
    t.Select("String [a]");
    QTest::keyClick(t.tree.get(), Qt::Key_Delete);
    t.Select("String [b]");
    t.Choose("Delete");
    EXPECT_EQ(t.doc->EntryCount(), 0u);
}

// Runs `open` and returns the texts of the popup menu it shows, closing that menu.
Names MenuShownBy(const std::function<void()>& open) {
    Names shown;
    QTimer::singleShot(0, [&shown] {
        if (auto* menu = qobject_cast<QMenu*>(QApplication::activePopupWidget())) {
            for (const QAction* action : menu->actions()) {
                shown.push_back(tav::FromQt(action->text()));
            }
            menu->close();
        }
    });
    open();
    QCoreApplication::processEvents();  // the timer runs even when no menu was shown
    return shown;
}

TEST(ContextMenuTest, ShownByARightClickOrTheMenuKeyButNotAfterARightDrag) {
    ComfortTree t;
    QWidget* viewport = t.tree->viewport();
    const auto centre = [&t](const char* item) { return t.tree->ItemRect(t.Item(item)).center(); };
    EXPECT_EQ(MenuShownBy([&] { QTest::mouseClick(viewport, Qt::RightButton, {}, centre("U =")); }),
              Names{"Revert to saved value"});
    EXPECT_EQ(t.tree->FieldIndexOf(), 3) << "the click selects U";
    ASSERT_TRUE(t.doc->SetValue(2, "changed"));  // R
    EXPECT_EQ(MenuShownBy([&] {
                  QTest::mousePress(viewport, Qt::RightButton, {}, centre("R ="));
                  QTest::mouseMove(viewport, centre("Q ="));
                  QTest::mouseRelease(viewport, Qt::RightButton, {}, centre("Q ="));
              }),
              Names{});
    EXPECT_EQ(t.Children(t.Item("Alpha")), (Names{"P", "R", "Q", "U"})) << "R dropped before Q";
    EXPECT_EQ(t.Bold(), Names{"R"}) << "the dropped item keeps its mark";
    EXPECT_EQ(MenuShownBy([&] { QTest::keyClick(t.tree.get(), Qt::Key_Menu); }),
              (Names{"Revert to saved value", "Move up", "Move down"}));
}

TEST(FilterTest, ShowsMatchesWithTheirAncestorsAndLeavesSelectionAndDocumentAlone) {
    ComfortTree t;
    t.Item("Alpha").setExpanded(false);
    t.Select("U =");
    QSignalSpy reports(t.tree.get(), &ConfigTree::selectionReported);
    const std::pair<const char*, Names> cases[] = {
        {"APPLE", {"File", "Alpha", "P"}},
        {"replaced by [2", {"File", "Parameters", "Swaps", "String [b"}},
        {"alpha", {"File", "Alpha"}},
        {"zzz", {}},
        {"",
         {"File", "Parameters", "Swaps", "String [a", "String [b", "Alpha", "P", "Q", "R", "U"}},
    };
    for (const auto& [filter, visible] : cases) {
        t.tree->SetFilter(QLatin1String(filter));
        EXPECT_EQ(t.Visible(), visible) << filter;
    }
    EXPECT_TRUE(t.Item("Alpha").isExpanded()) << "opened to show a match";
    EXPECT_EQ(reports.count(), 0);
    EXPECT_EQ(t.tree->FieldIndexOf(), 3);
    EXPECT_FALSE(t.doc->IsModified());
}

// The view shows the model itself until the first filter, which gives it the filter's rows: what
// was open and closed, the view's current item and the reports of the clicks after it carry over.
TEST(FilterTest, TheFirstFilterKeepsOpenItemsSelectionAndClickReports) {
    ComfortTree t;
    t.Item("Parameters").setExpanded(false);
    t.Select("U =");
    QSignalSpy reports(t.tree.get(), &ConfigTree::selectionReported);
    t.tree->SetFilter(QStringLiteral("zzz"));
    t.tree->SetFilter(QString());
    EXPECT_FALSE(t.tree->ItemRect(t.Item("Swaps")).isValid()) << "Parameters stays closed";
    EXPECT_TRUE(t.tree->ItemRect(t.Item("P =")).isValid()) << "Alpha stays open";
    EXPECT_TRUE(t.tree->currentIndex().data().toString().startsWith(u"U ="));
    QTest::mouseClick(t.tree->viewport(), Qt::LeftButton, {},
                      t.tree->ItemRect(t.Item("Q =")).center());
    EXPECT_EQ(reports.count(), 1);
    EXPECT_EQ(t.tree->FieldIndexOf(), kQ);
}

TEST(FilterTest, FollowsRelabelsNewEntriesReordersAndOpens) {
    ComfortTree t;
    t.tree->SetFilter(QStringLiteral("kiwi"));
    ASSERT_TRUE(t.doc->SetValue(kQ, "kiwi"));
    EXPECT_EQ(t.Visible(), (Names{"File", "Alpha", "Q"}));
    ASSERT_TRUE(t.doc->AddEntry("kiwi", "x"));
    EXPECT_EQ(t.Visible(), (Names{"File", "Parameters", "Swaps", "String [kiwi", "Alpha", "Q"}));
    ASSERT_TRUE(t.doc->Undo());
    ASSERT_TRUE(t.doc->Undo());
    ASSERT_TRUE(t.doc->MoveField(2, 0));  // re-creates the hidden R
    EXPECT_EQ(t.Visible(), Names{});
    ASSERT_TRUE(tavtest::OpenFile(*t.doc, t.path, ""));
    EXPECT_EQ(t.Visible(), Names{}) << "a rebuilt tree is filtered too";
}

}  // namespace
