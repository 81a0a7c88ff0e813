// The context menu and its keys: revert, move up and down, delete.
#include <gtest/gtest.h>

#include <QAction>
#include <QApplication>
#include <QContextMenuEvent>
#include <QMenu>
#include <QTest>
#include <QTimer>

#include "treetestutil.h"

namespace {

using tav::ConfigTree;
using tavtest::TreeFixture;
using Names = std::vector<std::string>;

// Section Alpha (ordered) holds the ordered P, Q, R and the unordered U; Swaps holds the
// replacement entries.
struct MenuFixture : TreeFixture {
    MenuFixture()
        : TreeFixture("1,A,Y,Alpha,SN,2\n2,S,N,Swaps,SR,2\n",
                      "P,P,C,Y,1\nQ,Q,C,Y,1\nR,R,C,Y,1\nU,U,C,N,1\n") {
        EXPECT_TRUE(tree->AddReplacement("from", "to"));
        tree->show();
    }
    QTreeWidgetItem* Select(const std::string& prefix) const {
        QTreeWidgetItem* item = Item(prefix);
        tree->setCurrentItem(item);
        return item;
    }
    Names Alpha() const { return Children(Item("Alpha")); }
    // "text" for each action of the menu, "text (off)" for a disabled one.
    Names Menu() const {
        Names shown;
        for (const QAction* action : tree->ContextActions()) {
            shown.push_back(tav::FromQt(action->text()) + (action->isEnabled() ? "" : " (off)"));
        }
        return shown;
    }
    QAction* MenuAction(const QString& text) const {
        for (QAction* action : tree->ContextActions()) {
            if (action->text() == text) {
                return action;
            }
        }
        ADD_FAILURE() << "no menu entry " << text.toStdString();
        return nullptr;
    }
};

struct MenuCase {
    const char* item;
    Names menu;
};

TEST(ContextMenuTest, OffersWhatAppliesToTheItem) {
    MenuFixture t;
    ASSERT_TRUE(t.doc->SetValue(3, "edited"));  // U
    const MenuCase cases[] = {
        {"File : [", {}},
        {"Parameters", {}},
        {"Alpha", {}},
        {"Swaps", {}},
        {"P =", {"Revert to saved value (off)", "Move up (off)", "Move down"}},
        {"Q =", {"Revert to saved value (off)", "Move up", "Move down"}},
        {"R =", {"Revert to saved value (off)", "Move up", "Move down (off)"}},
        {"U =", {"Revert to saved value"}},
        {"String [from]", {"Delete"}},
    };
    for (const MenuCase& c : cases) {
        t.Select(c.item);
        EXPECT_EQ(t.Menu(), c.menu) << c.item;
    }
    t.tree->setCurrentItem(nullptr);
    EXPECT_EQ(t.Menu(), Names{});
}

TEST(ContextMenuTest, RevertRestoresTheSavedValueAsItsOwnUndoStep) {
    MenuFixture t;
    t.Select("Q =");
    EXPECT_FALSE(t.tree->RevertSelectedValue()) << "nothing to revert";
    t.tree->SetSelectedValue("typ");
    t.tree->SetSelectedValue("typed");  // one undo step of typing
    ASSERT_TRUE(t.tree->currentItem()->font(0).bold());
    t.MenuAction(QStringLiteral("Revert to saved value"))->trigger();
    EXPECT_EQ(t.doc->Row(1).value, "");
    EXPECT_FALSE(t.tree->currentItem()->font(0).bold());
    EXPECT_TRUE(t.doc->ChangedRows().empty());
    ASSERT_TRUE(t.doc->Undo());
    EXPECT_EQ(t.doc->Row(1).value, "typed") << "the revert did not merge into the typing";
    t.tree->SetSelectedValue("typed more");
    ASSERT_TRUE(t.doc->Undo());
    EXPECT_EQ(t.doc->Row(1).value, "typed") << "typing after an undo is a step of its own";
    t.Select("String [from]");
    EXPECT_FALSE(t.tree->RevertSelectedValue()) << "entries have no saved value to go back to";
}

// A step presses a key or picks a menu entry on the selected P and says what the order is then.
struct MoveStep {
    const char* what;
    bool byKey;
    bool up;
    Names order;
};

TEST(ContextMenuTest, MovesByKeysAndMenuStopAtTheEndsAndKeepTheSelection) {
    MenuFixture t;
    t.Select("P =");
    const MoveStep steps[] = {
        {"key up at the top: refused", true, true, {"P", "Q", "R", "U"}},
        {"key down", true, false, {"Q", "P", "R", "U"}},
        {"menu down", false, false, {"Q", "R", "P", "U"}},
        {"key down at the end: refused", true, false, {"Q", "R", "P", "U"}},
        {"menu up", false, true, {"Q", "P", "R", "U"}},
        {"key up", true, true, {"P", "Q", "R", "U"}},
    };
    for (const MoveStep& step : steps) {
        if (step.byKey) {
            QTest::keyClick(t.tree.get(), step.up ? Qt::Key_Up : Qt::Key_Down, Qt::AltModifier);
        } else {
            t.MenuAction(step.up ? QStringLiteral("Move up") : QStringLiteral("Move down"))
                ->trigger();
        }
        EXPECT_EQ(t.Alpha(), step.order) << step.what;
        EXPECT_EQ(t.tree->FieldIndexOf(), 0) << step.what;
    }
    EXPECT_FALSE(t.tree->MoveSelectedUp());
    t.Select("U =");
    EXPECT_FALSE(t.tree->MoveSelectedDown()) << "an unordered field does not move";
    t.Select("R =");
    ASSERT_TRUE(t.tree->MoveSelectedUp());
    ASSERT_TRUE(t.doc->SaveAs(t.dir.File("moved.tac"), "moved.tac", "now"));
    EXPECT_EQ(tavtest::ReadFile(t.dir.File("moved.tac")),
              tavtest::Crlf("[A]\nOrder=P,R,Q\nP=\nR=\nQ=\nU=\n[S]\nr0=from,to\nr1=\n"));
}

TEST(ContextMenuTest, DeleteRemovesOnlyEntries) {
    MenuFixture t;
    ASSERT_TRUE(t.tree->AddReplacement("second", "2"));
    const int rows = t.doc->RowCount();
    for (const char* item : {"File : [", "Alpha", "Swaps", "P ="}) {
        t.Select(item);
        QTest::keyClick(t.tree.get(), Qt::Key_Delete);
        EXPECT_EQ(t.doc->RowCount(), rows) << item;
        EXPECT_EQ(t.tree->currentItem(), t.Item(item)) << item;
    }
    t.Select("String [from]");
    QTest::keyClick(t.tree.get(), Qt::Key_Delete);
    EXPECT_EQ(t.doc->EntryCount(), 1u);
    t.Select("String [second]");
    t.MenuAction(QStringLiteral("Delete"))->trigger();
    EXPECT_EQ(t.doc->EntryCount(), 0u);
    EXPECT_EQ(t.Item("Swaps")->childCount(), 0);
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
    MenuFixture t;
    QWidget* viewport = t.tree->viewport();
    const QPoint entry = t.tree->visualItemRect(t.Item("String [from]")).center();
    EXPECT_EQ(MenuShownBy([&] { QTest::mouseClick(viewport, Qt::RightButton, {}, entry); }),
              Names{"Delete"});
    EXPECT_EQ(t.tree->currentItem(), t.Item("String [from]")) << "the click selects the item";
    ASSERT_TRUE(t.doc->SetValue(2, "changed"));  // R
    const QPoint q = t.tree->visualItemRect(t.Item("Q =")).center();
    const QPoint r = t.tree->visualItemRect(t.Item("R =")).center();
    EXPECT_EQ(MenuShownBy([&] {
                  QTest::mousePress(viewport, Qt::RightButton, {}, r);
                  QTest::mouseMove(viewport, q);
                  QTest::mouseRelease(viewport, Qt::RightButton, {}, q);
              }),
              Names{});
    EXPECT_EQ(t.Alpha(), (Names{"P", "R", "Q", "U"})) << "the right drag dropped R before Q";
    EXPECT_TRUE(t.Item("R =")->font(0).bold()) << "the dropped item keeps its mark";
    t.Select("P =");
    EXPECT_EQ(MenuShownBy([&] {
                  QContextMenuEvent key(QContextMenuEvent::Keyboard, QPoint(), QPoint());
                  QApplication::sendEvent(t.tree.get(), &key);
              }),
              (Names{"Revert to saved value", "Move up", "Move down"}));
}

}  // namespace
