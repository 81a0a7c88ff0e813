// The main window as a whole: its start state, menu, layout, toolbar, keys and help.
#include <QAction>
#include <QApplication>
#include <QComboBox>
#include <QDir>
#include <QLabel>
#include <QMenu>
#include <QMenuBar>
#include <QTest>
#include <QTimer>
#include <QToolBar>
#include <QToolTip>

#include "tree/configtree.h"
#include "ui-fakes.h"
#include "ui/aboutdialog.h"
#include "ui/maintoolbar.h"

namespace tavtest {
namespace {

using tav::Command;
using tav::ControlId;

TEST_F(WindowTest, StartsWithOnlyToolbarPathAndTreeOfNoDocument) {
    Build();
    EXPECT_EQ(m_window->frameGeometry(), QRect(50, 50, 400, 450));
    EXPECT_EQ(m_window->windowTitle(), "TAV Configuration Manager");
    for (ControlId id : {ControlId::ToolBar, ControlId::PathDisplay, ControlId::Tree}) {
        EXPECT_TRUE(Control(id)->isVisible()) << static_cast<int>(id);
    }
    EXPECT_TRUE(VisibleEditors().empty());
    EXPECT_EQ(Control<QLabel>(ControlId::PathDisplay)->text(), "");
    EXPECT_EQ(Control<QComboBox>(ControlId::ValueCombo)->currentText(), "False");
    EXPECT_EQ(Tree().RootItem()->text(0), "File : [none]");
    EXPECT_TRUE(m_messages.messages.empty());
}

TEST_F(WindowTest, MenusHoldTheCommandsInOrder) {
    Build();
    QStringList shown;
    for (QAction* menu : m_window->findChild<QMenuBar*>()->actions()) {
        for (QAction* item : menu->menu()->actions()) {
            shown << menu->text() + " " +
                         (item->isSeparator() ? "-" : item->text() + " " + item->data().toString());
        }
    }
    EXPECT_EQ(shown, QStringList({"&File &New 32771", "&File &Open 32772", "&File &Save 32773",
                                  "&File Save &As... 32774", "&File -", "&File &Exit 32777",
                                  "&Help &Contents\tF1 57670",
                                  "&Help &About TAV Configuration Manager... 32778"}));
    EXPECT_EQ(m_window->Action(Command::HelpContents)->shortcut(), QKeySequence(Qt::Key_F1));
    EXPECT_EQ(m_window->Action(Command::Save)->shortcut(), QKeySequence(QKeySequence::Save));
}

TEST_F(WindowTest, LayoutFollowsTheClientArea) {
    Build();
    const auto layoutAt = [this](int width, int height) {
        m_window->ClientArea()->resize(width, height);
        m_window->LayoutControls();
    };
    layoutAt(600, 500);
    const int comboHeight = std::min(60, Control(ControlId::ValueCombo)->sizeHint().height());
    const std::vector<std::pair<ControlId, QRect>> expected = {
        {ControlId::PathDisplay, {10, 30, 580, 25}},
        {ControlId::ValueEdit, {10, 60, 580, 30}},
        {ControlId::ValueCombo, {10, 60, 580, comboHeight}},
        {ControlId::Tree, {10, 95, 580, 395}},
        {ControlId::ReplaceLabel, {10, 60, 50, 20}},
        {ControlId::ReplaceEdit, {60, 60, 100, 20}},
        {ControlId::ByLabel, {170, 60, 20, 20}},
        {ControlId::ByEdit, {190, 60, 100, 20}},
        {ControlId::AddButton, {300, 60, 60, 20}},
        {ControlId::DeleteButton, {300, 60, 60, 20}},
    };
    for (const auto& [id, rect] : expected) {
        EXPECT_EQ(Control(id)->geometry(), rect) << static_cast<int>(id);
    }
    // Below the smallest sensible size, nothing gets a negative size.
    layoutAt(12, 50);
    EXPECT_EQ(Control(ControlId::Tree)->geometry(), QRect(10, 95, 0, 0));
    EXPECT_EQ(Control(ControlId::PathDisplay)->geometry(), QRect(10, 30, 0, 25));
    // Resizing the window itself lays the controls out below the menu bar.
    m_window->resize(500, 400);
    QTRY_COMPARE(Control(ControlId::Tree)->width(), 480);
    EXPECT_EQ(m_window->ClientArea()->geometry().bottom(), m_window->height() - 1);
    EXPECT_EQ(Control(ControlId::Tree)->height(), m_window->ClientArea()->height() - 105);
}

TEST_F(WindowTest, ToolbarSharesTheMenuActionsWithoutTooltips) {
    Build();
    auto* toolBar = Control<QToolBar>(ControlId::ToolBar);
    const QList<QAction*> buttons = toolBar->actions();
    ASSERT_EQ(buttons.size(), 5);
    EXPECT_EQ(buttons[0], m_window->Action(Command::New));
    EXPECT_EQ(buttons[1], m_window->Action(Command::Open));
    EXPECT_EQ(buttons[2], m_window->Action(Command::Save));
    EXPECT_TRUE(buttons[3]->isSeparator());
    EXPECT_EQ(buttons[4], m_window->Action(Command::HelpContents));
    EXPECT_GE(toolBar->y(), 0);
    EXPECT_LE(toolBar->geometry().bottom(), 29);  // above the path display
    EXPECT_EQ(toolBar->widgetForAction(buttons[0])->mapTo(m_window->ClientArea(), QPoint()).x(), 5);
    const QStringList names = {"New", "Open", "Save", "", "Help"};
    for (int i : {0, 1, 2, 4}) {
        QWidget* button = toolBar->widgetForAction(buttons[i]);
        EXPECT_EQ(button->accessibleName(), names[i]);
        EXPECT_FALSE(buttons[i]->icon().isNull());
        EXPECT_FALSE(buttons[i]->isIconVisibleInMenu());
        QHelpEvent hover(QEvent::ToolTip, QPoint(2, 2), button->mapToGlobal(QPoint(2, 2)));
        QApplication::sendEvent(button, &hover);
        EXPECT_FALSE(QToolTip::isVisible()) << names[i].toStdString();
    }
}

// Only Exit and the close box end the window; Enter and Escape never do.
TEST_F(WindowTest, OnlyExitAndCloseBoxEndTheWindow) {
    Build();
    Select("Title");
    QWidget* edit = Control(ControlId::ValueEdit);
    for (Qt::Key key : {Qt::Key_Return, Qt::Key_Enter, Qt::Key_Escape}) {
        QTest::keyClick(edit, key);
        QTest::keyClick(&Tree(), key);
        EXPECT_TRUE(m_window->isVisible()) << key;
    }
    m_window->close();
    EXPECT_FALSE(m_window->isVisible());
    EXPECT_EQ(m_window->result(), QDialog::Rejected);
    m_window->show();
    Trigger(Command::Exit);
    EXPECT_FALSE(m_window->isVisible());
    EXPECT_EQ(m_window->result(), QDialog::Accepted);
    EXPECT_TRUE(m_messages.messages.empty());
}

TEST_F(WindowTest, HelpComesFromMenuToolbarAndF1) {
    Build();
    Trigger(Command::HelpContents);
    auto* toolBar = Control<QToolBar>(ControlId::ToolBar);
    QTest::mouseClick(toolBar->widgetForAction(m_window->Action(Command::HelpContents)),
                      Qt::LeftButton);
    m_window->activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(m_window.get()));
    QTest::keyClick(&Tree(), Qt::Key_F1);
    EXPECT_EQ(m_help.owners, std::vector<QWidget*>(3, m_window.get()));
}

TEST_F(WindowTest, HelpAsksForThePageAboutTheFocusedControl) {
    Build();
    m_window->activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(m_window.get()));
    struct Case {
        const char* name;
        const char* editor;  // the type whose editor is shown
        ControlId control;
        const char* page;
    };
    const std::vector<Case> cases = {
        {"tree", "", ControlId::Tree, "tree.html"},
        {"value_edit", "C", ControlId::ValueEdit, "editing.html"},
        {"value_combo", "B", ControlId::ValueCombo, "editing.html"},
        {"replace_edit", "SR", ControlId::ReplaceEdit, "editing.html"},
        {"by_edit", "RFS", ControlId::ByEdit, "editing.html"},
        {"add_button", "SR", ControlId::AddButton, "editing.html"},
        {"delete_button", "RFS", ControlId::DeleteButton, "editing.html"},
    };
    for (const Case& c : cases) {
        m_window->ShowEditorFor(c.editor);
        QWidget* control = Control(c.control);
        control->setFocus();
        ASSERT_TRUE(control->hasFocus()) << c.name;
        QTest::keyClick(control, Qt::Key_F1);
        ASSERT_EQ(m_help.pages.size(), m_help.owners.size()) << c.name;
        ASSERT_FALSE(m_help.pages.empty()) << c.name;
        EXPECT_EQ(m_help.pages.back(), c.page) << c.name;
    }
    // Nothing has the focus: the default topic.
    m_window->focusWidget()->clearFocus();
    Trigger(Command::HelpContents);
    EXPECT_EQ(m_help.pages.back(), "");
    EXPECT_EQ(m_help.pages.size(), cases.size() + 1);
}

TEST_F(WindowTest, AboutRunsTheAboutBoxOverTheWindow) {
    Build();
    bool shown = false;
    QWidget* owner = nullptr;
    QTimer::singleShot(0, [&] {
        QWidget* modal = QApplication::activeModalWidget();
        shown = qobject_cast<tav::AboutDialog*>(modal) != nullptr;
        if (modal != nullptr) {
            owner = modal->parentWidget();
            modal->close();
        }
    });
    Trigger(Command::About);
    EXPECT_TRUE(shown);
    EXPECT_EQ(owner, m_window.get());
}

TEST_F(WindowTest, CatalogueProblemsAreShownWithFileAndReason) {
    Build(m_temp.Path());
    ASSERT_EQ(m_messages.messages.size(), 2u);
    for (std::size_t i : {0u, 1u}) {
        const std::string file = m_temp.File(i == 0 ? "Sections.txt" : "Fields.txt");
        EXPECT_TRUE(m_messages.messages[i].contains(
            QDir::toNativeSeparators(QString::fromStdString(file)) + ": No such file or directory"))
            << m_messages.messages[i].toStdString();
    }
    EXPECT_EQ(Tree().RootItem()->childCount(), 1);  // "Parameters" only
}

}  // namespace
}  // namespace tavtest
