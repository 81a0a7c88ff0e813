// The Edit menu: Undo and Redo on the document's history from the menu and the keys, and the
// undo of a text box's own keystrokes.
#include <QAction>
#include <QComboBox>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>
#include <functional>

#include "qtbridge/textconv.h"
#include "tree/configtree.h"
#include "ui-fakes.h"

namespace tavtest {
namespace {

constexpr const char* kSections =
    "1,Info,N,Information,SN,2\n2,Options,Y,Options,OP,3\n3,Replace,N,String replacements,SR,9\n";
constexpr const char* kFields =
    "Title,Title,C,N,1\nBeep,Beep,B,Y,2\nCount,Count,C,Y,2\nOrder,Order,C,N,2\n";
constexpr const char* kDocument =
    "[Info]\nTitle=Front desk\n[Options]\nBeep=False\nCount=7\n[Replace]\nr0=a,b\nr1=\n";

class EditHistoryTest : public WindowTest {
protected:
    void SetUp() override {
        BuildAndOpen(kSections, kFields, kDocument);
        m_window->activateWindow();
        ASSERT_TRUE(QTest::qWaitForWindowActive(m_window.get()));
    }
    // The tree's labels in order, which show every value, entry and the display order.
    QStringList Labels() const {
        QStringList labels;
        for (const tavtest::TreeItem& item : tavtest::AllItems(Tree())) {
            labels << item.text();
        }
        return labels;
    }
    bool Enabled(Command command) const { return Action(command)->isEnabled(); }
};

TEST_F(EditHistoryTest, UndoAndRedoCoverEveryKindOfEditAndEndWithoutAQuestion) {
    const QStringList opened = Labels();
    EXPECT_FALSE(Enabled(Command::Undo));
    EXPECT_FALSE(Enabled(Command::Redo));
    const std::vector<std::pair<const char*, std::function<void()>>> edits = {
        {"value edit",
         [this] {
             Select("Title");
             QTest::keyClicks(Edit(ControlId::ValueEdit), "!");
         }},
        {"combo pick",
         [this] {
             Select("Beep");
             QTest::keyClick(Control(ControlId::ValueCombo), Qt::Key_Down);
         }},
        {"entry added",
         [this] {
             Select("String replacements");
             QTest::keyClicks(Edit(ControlId::ReplaceEdit), "x");
             Click(ControlId::AddButton);
         }},
        {"entry modified",
         [this] {
             Select("String [a] Replaced by [b]");
             QTest::keyClicks(Edit(ControlId::ByEdit), "2");
         }},
        {"entry deleted",
         [this] {
             Select("String [x] Replaced by []");
             Click(ControlId::DeleteButton);
         }},
        {"drag move",
         [this] {
             QWidget* viewport = Tree().viewport();
             const QPoint from = Tree().ItemRect(Item("Count")).center();
             const QPoint to = Tree().ItemRect(Item("Beep")).center();
             QTest::mousePress(viewport, Qt::LeftButton, {}, from);
             QTest::mouseMove(viewport, to);
             QTest::mouseRelease(viewport, Qt::LeftButton, {}, to);
         }},
    };
    std::vector<QStringList> states = {opened};
    for (const auto& [name, edit] : edits) {
        edit();
        EXPECT_NE(Labels(), states.back()) << name << " changed nothing";
        EXPECT_TRUE(Enabled(Command::Undo)) << name;
        states.push_back(Labels());
    }
    for (std::size_t i = edits.size(); i-- > 0;) {
        Trigger(Command::Undo);
        EXPECT_EQ(Labels(), states[i]) << "undo of " << edits[i].first;
    }
    EXPECT_FALSE(Enabled(Command::Undo));
    EXPECT_FALSE(Document().IsModified());
    for (std::size_t i = 1; i <= edits.size(); ++i) {
        Trigger(Command::Redo);
        EXPECT_EQ(Labels(), states[i]) << "redo of " << edits[i - 1].first;
    }
    EXPECT_FALSE(Enabled(Command::Redo));
    while (Enabled(Command::Undo)) {
        QTest::keyClick(&Tree(), Qt::Key_Z, Qt::ControlModifier);
    }
    EXPECT_EQ(Labels(), opened);
    QTest::keyClick(&Tree(), Qt::Key_Y, Qt::ControlModifier);
    EXPECT_EQ(Labels(), states[1]);
    QTest::keyClick(&Tree(), Qt::Key_Z, Qt::ControlModifier | Qt::ShiftModifier);
    EXPECT_EQ(Labels(), states[2]);
    Trigger(Command::Undo);
    Trigger(Command::Undo);
    Trigger(Command::Exit);  // back at the opened state: no question
    EXPECT_FALSE(m_window->isVisible());
}

// The panel shows the selected item as the document now holds it after an undo or a redo.
TEST_F(EditHistoryTest, ThePanelFollowsAnUndoOfTheSelectedItem) {
    Select("String [a] Replaced by [b]");
    Edit(ControlId::ReplaceEdit)->end(false);  // typed after the text, as after a click there
    QTest::keyClicks(Edit(ControlId::ReplaceEdit), "1");
    Trigger(Command::Undo);
    EXPECT_EQ(Edit(ControlId::ReplaceEdit)->text(), "a");
    Trigger(Command::Redo);
    EXPECT_EQ(Edit(ControlId::ReplaceEdit)->text(), "a1");
    Select("Beep");
    QTest::keyClick(Control(ControlId::ValueCombo), Qt::Key_Down);
    Trigger(Command::Undo);
    EXPECT_EQ(Control<QComboBox>(ControlId::ValueCombo)->currentText(), "False");
}

TEST_F(EditHistoryTest, CtrlZInATextBoxUndoesItsOwnKeystrokesFirst) {
    Select("Count");  // an earlier edit, for the document's own undo
    ASSERT_TRUE(Tree().SetSelectedValue("8"));
    Select("Title");
    QLineEdit* edit = Edit(ControlId::ValueEdit);
    edit->setFocus();
    edit->end(false);
    QTest::keyClicks(edit, "xy");
    ASSERT_EQ(Tree().SelectedValue(), "Front deskxy");
    QTest::keyClick(edit, Qt::Key_Z, Qt::ControlModifier);
    EXPECT_EQ(edit->text(), "Front desk") << "the box's own undo";
    EXPECT_EQ(Tree().SelectedValue(), "Front desk") << "and the document follows the box";
    EXPECT_TRUE(edit->hasFocus());
    // The box has nothing left to undo: the keys go to the document, step by step.
    for (int step = 0; step < 2; ++step) {  // the typing, then the earlier edit
        QTest::keyClick(edit, Qt::Key_Z, Qt::ControlModifier);
    }
    EXPECT_FALSE(Document().IsModified());
    EXPECT_EQ(Item("Count").text(), "Count = \"7\"");
    EXPECT_EQ(edit->text(), "Front desk");
    EXPECT_TRUE(edit->hasFocus());
    // The box still has its own redo, which comes first.
    QTest::keyClick(edit, Qt::Key_Y, Qt::ControlModifier);
    EXPECT_EQ(edit->text(), "Front deskxy");
    EXPECT_EQ(Tree().SelectedValue(), "Front deskxy");
    EXPECT_EQ(Item("Count").text(), "Count = \"7\"");
}

}  // namespace
}  // namespace tavtest
