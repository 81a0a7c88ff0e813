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
#include <algorithm>

#include "tree/configtree.h"
#include "ui-fakes.h"
#include "ui/aboutdialog.h"
#include "ui/elidedlabel.h"
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
    for (ControlId id : {ControlId::ValueEdit, ControlId::ValueCombo, ControlId::ReplaceEdit,
                         ControlId::AddButton}) {
        EXPECT_EQ(Control(id), nullptr) << "made when a setting is first selected";
    }
    EXPECT_EQ(RootItem(Tree()).text(), "File : [none]");
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
                                  "&File Save &As... 32774", "&File -", "&File Recent &Files ",
                                  "&File -", "&File &Exit 32777", "&Edit &Undo 57643",
                                  "&Edit &Redo 57644", "&Help &Contents\tF1 57670",
                                  "&Help &About TAV Configuration Manager... 32778"}));
    EXPECT_EQ(m_window->Action(Command::HelpContents)->shortcut(), QKeySequence(Qt::Key_F1));
    EXPECT_EQ(m_window->Action(Command::Save)->shortcut(), QKeySequence(QKeySequence::Save));
    EXPECT_EQ(m_window->Action(Command::Undo)->shortcut(), QKeySequence(Qt::CTRL | Qt::Key_Z));
    // The desktop's own keys: Ctrl+Shift+S and Ctrl+Q here.
    EXPECT_EQ(m_window->Action(Command::SaveAs)->shortcut(),
              QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_S));
    EXPECT_EQ(m_window->Action(Command::Exit)->shortcut(), QKeySequence(Qt::CTRL | Qt::Key_Q));
    EXPECT_EQ(m_window->Action(Command::Redo)->shortcuts(),
              QList<QKeySequence>({QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_Z),
                                   QKeySequence(Qt::CTRL | Qt::Key_Y)}));
    // Recent Files holds one entry per remembered document, none yet.
    QMenu* recent = m_window->RecentAction(0)->associatedObjects().isEmpty()
                        ? nullptr
                        : qobject_cast<QMenu*>(m_window->RecentAction(0)->associatedObjects()[0]);
    ASSERT_NE(recent, nullptr);
    EXPECT_EQ(recent->actions().size(), 8);
    EXPECT_EQ(m_window->RecentAction(8), nullptr);
    for (QAction* entry : recent->actions()) {
        EXPECT_FALSE(entry->isVisible());
    }
}

// The editors, made when a setting is first selected, follow the tree in the focus chain in the
// order of the band.
TEST_F(WindowTest, TabGoesThroughTheEditorsInTheirOrder) {
    Build();
    m_window->ShowEditorFor("B");
    const std::vector<ControlId> order = {
        ControlId::Tree,   ControlId::ValueEdit, ControlId::ValueCombo,   ControlId::ReplaceEdit,
        ControlId::ByEdit, ControlId::AddButton, ControlId::DeleteButton,
    };
    std::vector<ControlId> chain;
    QWidget* widget = Control(ControlId::Tree);
    do {
        const auto id = static_cast<ControlId>(widget->property(tav::kControlIdProperty).toInt());
        if (std::find(order.begin(), order.end(), id) != order.end() &&
            widget->parentWidget() == m_window->ClientArea()) {
            chain.push_back(id);
        }
        widget = widget->nextInFocusChain();
    } while (widget != Control(ControlId::Tree) && chain.size() < order.size());
    EXPECT_EQ(chain, order);
}

// At the start size the controls sit where the layout table writes them; a wider window gives
// the extra width to the Replace and By edits.
TEST_F(WindowTest, LayoutFollowsTheClientArea) {
    Build();
    const auto layoutAt = [this](int width, int height) {
        m_window->ClientArea()->resize(width, height);
        m_window->LayoutControls();
    };
    m_window->ShowEditorFor("B");  // makes the editors
    const int comboHeight = std::min(60, Control(ControlId::ValueCombo)->sizeHint().height());
    struct Case {
        const char* name;
        QSize client;
        std::vector<std::pair<ControlId, QRect>> expected;
    };
    const QSize start = m_window->ClientArea()->size();
    const int w = start.width();
    const int h = start.height();
    const std::vector<Case> cases = {
        {"start size",
         start,
         {
             {ControlId::PathDisplay, {10, 30, w - 20, 25}},
             {ControlId::ValueEdit, {10, 60, w - 20, 30}},
             {ControlId::ValueCombo, {10, 60, w - 20, comboHeight}},
             {ControlId::Tree, {10, 95, w - 20, h - 105}},
             {ControlId::ReplaceLabel, {10, 60, 50, 20}},
             {ControlId::ReplaceEdit, {60, 60, 100, 20}},
             {ControlId::ByLabel, {170, 60, 20, 20}},
             {ControlId::ByEdit, {190, 60, 100, 20}},
             {ControlId::AddButton, {300, 60, 60, 20}},
             {ControlId::DeleteButton, {300, 60, 60, 20}},
         }},
        {"wide",
         {601, 500},
         {
             {ControlId::PathDisplay, {10, 30, 581, 25}},
             {ControlId::ValueEdit, {10, 60, 581, 30}},
             {ControlId::ValueCombo, {10, 60, 581, comboHeight}},
             {ControlId::Tree, {10, 95, 581, 395}},
             {ControlId::ReplaceLabel, {10, 60, 50, 20}},
             {ControlId::ReplaceEdit, {60, 60, 200, 20}},
             {ControlId::ByLabel, {270, 60, 20, 20}},
             {ControlId::ByEdit, {290, 60, 201, 20}},
             {ControlId::AddButton, {501, 60, 60, 20}},
             {ControlId::DeleteButton, {501, 60, 60, 20}},
         }},
        {"narrow",
         {330, 300},
         {
             {ControlId::ReplaceEdit, {60, 60, 80, 20}},
             {ControlId::ByLabel, {150, 60, 20, 20}},
             {ControlId::ByEdit, {170, 60, 80, 20}},
             {ControlId::AddButton, {260, 60, 60, 20}},
         }},
    };
    ASSERT_LE(w, 400);  // the start size is at most 400 wide inside any frame
    ASSERT_GE(w, 370);
    for (const Case& c : cases) {
        layoutAt(c.client.width(), c.client.height());
        for (const auto& [id, rect] : c.expected) {
            EXPECT_EQ(Control(id)->geometry(), rect) << c.name << " " << static_cast<int>(id);
        }
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

TEST_F(WindowTest, WithoutACatalogueFolderTheWindowOpensWithoutAWord) {
    Build("");
    EXPECT_TRUE(m_messages.messages.empty())
        << "the start-up's one message said where it looked: "
        << (m_messages.messages.empty() ? "" : m_messages.messages[0].toStdString());
    EXPECT_EQ(Document().Defs().sections.Count(), 0u);
}

TEST_F(WindowTest, AtItsSmallestEveryControlHasRoomInsideTheWindow) {
    Build();
    m_window->ShowEditorFor("SR");  // makes the editors
    m_window->resize(10, 10);
    QTRY_COMPARE(m_window->size(), m_window->minimumSize());
    const QRect client = m_window->ClientArea()->rect();
    for (QWidget* control :
         m_window->ClientArea()->findChildren<QWidget*>(Qt::FindDirectChildrenOnly)) {
        const QRect place = control->geometry();
        EXPECT_TRUE(client.contains(place)) << control->objectName().toStdString();
        EXPECT_GE(place.width(), 20) << control->objectName().toStdString();
        EXPECT_GE(place.height(), 20) << control->objectName().toStdString();
    }
    EXPECT_GE(Control(ControlId::ReplaceEdit)->width(), 50);
    EXPECT_GE(Control(ControlId::ByEdit)->width(), 50);
    EXPECT_GE(Control(ControlId::Tree)->height(), 80);
    EXPECT_LT(Control(ControlId::ByEdit)->geometry().right(),
              Control(ControlId::AddButton)->geometry().left());
    EXPECT_FALSE(Control(ControlId::ToolBar)
                     ->geometry()
                     .intersects(Control(ControlId::StatusLabel)->geometry()));
}

TEST_F(WindowTest, ThePathLineCutsALongPathInTheMiddleAndShowsItWholeAsTooltip) {
    Build();
    m_window->resize(m_window->minimumSize());
    QTRY_COMPARE(m_window->size(), m_window->minimumSize());
    ASSERT_TRUE(Document().AddEntry("a rather long text to replace", "the text it is replaced by"));
    Select("String [a rather long text to replace] Replaced by [the text it is replaced by]");
    auto* path = qobject_cast<tav::ElidedLabel*>(Control(ControlId::PathDisplay));
    ASSERT_NE(path, nullptr);
    const QString whole = path->text();
    const QString shown = path->ShownText();
    ASSERT_TRUE(shown.contains(QChar(0x2026))) << whole.toStdString();
    EXPECT_TRUE(whole.startsWith(shown.section(QChar(0x2026), 0, 0)));
    EXPECT_TRUE(whole.endsWith(shown.section(QChar(0x2026), 1)));
    EXPECT_LE(path->fontMetrics().horizontalAdvance(shown), path->contentsRect().width());
    QHelpEvent hover(QEvent::ToolTip, QPoint(2, 2), path->mapToGlobal(QPoint(2, 2)));
    QApplication::sendEvent(path, &hover);
    EXPECT_EQ(QToolTip::text(), whole);
    QToolTip::hideText();
    m_window->resize(900, 450);
    QTRY_COMPARE(path->ShownText(), whole);
}

TEST_F(WindowTest, TitleNamesTheDocumentAndMarksItModified) {
    Build();
    const std::string path = m_temp.File("desk.tac");
    WriteFile(path, "[General]\r\nTitle=Desk\r\n");
    const auto shownTitle = [this] {
        QString title = m_window->windowTitle();
        return title.replace("[*]", m_window->isWindowModified() ? "*" : "");
    };
    EXPECT_EQ(shownTitle(), "TAV Configuration Manager");
    m_files.answers.push_back(Chosen(path));
    Trigger(Command::Open);
    EXPECT_EQ(m_window->windowTitle(), "desk.tac[*] - TAV Configuration Manager");
    EXPECT_EQ(shownTitle(), "desk.tac - TAV Configuration Manager");
    Select("Title");
    ASSERT_TRUE(Tree().SetSelectedValue("Counter"));
    EXPECT_EQ(shownTitle(), "desk.tac* - TAV Configuration Manager");
    auto* note = Control<QLabel>(ControlId::StatusLabel);
    EXPECT_EQ(note->text(), "");
    Trigger(Command::Save);
    EXPECT_EQ(shownTitle(), "desk.tac - TAV Configuration Manager");
    EXPECT_TRUE(note->text().startsWith("Saved at ")) << note->text().toStdString();
    EXPECT_TRUE(note->isVisible());
    // Seen, not only set: inside the window, wide enough for its text, covered by nothing.
    EXPECT_TRUE(m_window->ClientArea()->rect().contains(note->geometry()));
    EXPECT_GE(note->width(), note->sizeHint().width());
    for (QWidget* other :
         m_window->ClientArea()->findChildren<QWidget*>(Qt::FindDirectChildrenOnly)) {
        if (other != note && other->isVisible()) {
            EXPECT_FALSE(other->geometry().intersects(note->geometry()))
                << other->objectName().toStdString() << " covers the note";
        }
    }
    QTRY_COMPARE_WITH_TIMEOUT(note->text(), QString(), 7000);  // only for a few seconds
    ASSERT_TRUE(Tree().SetSelectedValue("Again"));
    Trigger(Command::Undo);
    EXPECT_EQ(shownTitle(), "desk.tac - TAV Configuration Manager");
    m_messages.answers.push_back(tav::SaveAnswer::Discard);
    ASSERT_TRUE(Tree().SetSelectedValue("Again"));
    Trigger(Command::New);
    EXPECT_EQ(shownTitle(), "TAV Configuration Manager");
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
    EXPECT_EQ(RootItem(Tree()).childCount(), 1);  // "Parameters" only
}

}  // namespace
}  // namespace tavtest
