// The main window as a whole: its start state, menu, layout, toolbar, keys and help.
#include <QAction>
#include <QApplication>
#include <QComboBox>
#include <QDir>
#include <QLabel>
#include <QMenu>
#include <QMenuBar>
#include <QPushButton>
#include <QTest>
#include <QTimer>
#include <QToolBar>
#include <QToolTip>
#include <algorithm>

#include "tree/configtree.h"
#include "ui-fakes.h"
#include "ui/aboutdialog.h"
#include "ui/elidedlabel.h"
#include "ui/filterfield.h"
#include "ui/maintoolbar.h"

namespace tavtest {
namespace {

// The sizes a control asks for that it must get: labels, buttons, the toolbar and the menu bar
// show their texts and buttons whole; boxes, the combo and the tree get at least their least
// size and a box its full height; the path display cuts its text to whatever width it gets.
void ExpectRoomFor(QWidget* control) {
    const std::string name = control->objectName().isEmpty() ? control->metaObject()->className()
                                                             : control->objectName().toStdString();
    const bool whole = (qobject_cast<QLabel*>(control) != nullptr &&
                        qobject_cast<tav::ElidedLabel*>(control) == nullptr) ||
                       qobject_cast<QPushButton*>(control) != nullptr ||
                       qobject_cast<QToolBar*>(control) != nullptr ||
                       qobject_cast<QMenuBar*>(control) != nullptr;
    const QSize least = whole ? control->sizeHint() : control->minimumSizeHint();
    EXPECT_GE(control->width(), least.width()) << name;
    const int height = qobject_cast<tav::ConfigTree*>(control) != nullptr
                           ? least.height()
                           : control->sizeHint().height();
    EXPECT_GE(control->height(), height) << name;
}

// Each of `controls` lies inside `window`, over no other, and has its room.
void ExpectRoomForEach(const QWidget& window, const std::vector<QWidget*>& controls) {
    const auto place = [&window](const QWidget* control) {
        return QRect(control->mapTo(&window, QPoint()), control->size());
    };
    for (std::size_t i = 0; i < controls.size(); ++i) {
        const std::string name = controls[i]->objectName().toStdString();
        EXPECT_TRUE(window.rect().contains(place(controls[i]))) << name;
        ExpectRoomFor(controls[i]);
        for (std::size_t j = i + 1; j < controls.size(); ++j) {
            EXPECT_FALSE(place(controls[i]).intersects(place(controls[j])))
                << name << " and " << controls[j]->objectName().toStdString();
        }
    }
}

TEST_F(WindowTest, StartsWithOnlyToolbarPathAndTreeOfNoDocument) {
    Build();
    EXPECT_EQ(m_window->frameGeometry(), QRect(50, 50, 400, 450));
    EXPECT_EQ(m_window->windowTitle(), "TAV Configuration Manager");
    for (ControlId id : {ControlId::ToolBar, ControlId::PathDisplay, ControlId::Tree}) {
        EXPECT_TRUE(Control(id)->isVisible()) << static_cast<int>(id);
    }
    EXPECT_TRUE(VisibleEditors().empty());
    EXPECT_EQ(Control<QLabel>(ControlId::PathDisplay)->text(), "");
    EXPECT_EQ(RootItem(Tree()).text(), "File : [none]");
    EXPECT_TRUE(m_messages.messages.empty());
}

TEST_F(WindowTest, MenusHoldTheCommandsInOrder) {
    Build();
    QStringList shown;
    for (QAction* menu : m_window->findChild<QMenuBar*>()->actions()) {
        for (QAction* item : menu->menu()->actions()) {
            shown << menu->text() + " " + (item->isSeparator() ? "-" : item->text());
        }
    }
    EXPECT_EQ(shown, QStringList({"&File &New", "&File &Open", "&File &Save", "&File Save &As...",
                                  "&File -", "&File &Catalogue Folder...", "&File -",
                                  "&File Recent &Files", "&File -", "&File &Exit",
                                  "&Edit &Undo", "&Edit &Redo", "&Help &Contents\tF1",
                                  "&Help &About TAV Configuration Manager..."}));
    EXPECT_EQ(Action(Command::HelpContents)->shortcut(), QKeySequence(Qt::Key_F1));
    EXPECT_EQ(Action(Command::Save)->shortcut(), QKeySequence(QKeySequence::Save));
    EXPECT_EQ(Action(Command::Undo)->shortcut(), QKeySequence(Qt::CTRL | Qt::Key_Z));
    // The desktop's own keys: Ctrl+Shift+S and Ctrl+Q here.
    EXPECT_EQ(Action(Command::SaveAs)->shortcut(), QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_S));
    EXPECT_EQ(Action(Command::Exit)->shortcut(), QKeySequence(Qt::CTRL | Qt::Key_Q));
    EXPECT_EQ(Action(Command::Redo)->shortcuts(),
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

// The Find field comes right before the tree in the focus chain, the editors after it in the
// order of the band.
TEST_F(WindowTest, TabGoesThroughTheEditorsInTheirOrder) {
    Build();
    m_window->findChild<tav::EditorPanel*>()->ShowEditor(tav::EditorPanel::Editor::Boolean);
    std::vector<QWidget*> order = {m_window->findChild<tav::FilterField*>()};
    for (ControlId id :
         {ControlId::Tree, ControlId::ValueEdit, ControlId::ValueCombo, ControlId::ReplaceEdit,
          ControlId::ByEdit, ControlId::AddButton, ControlId::DeleteButton}) {
        order.push_back(Control(id));
    }
    std::vector<QWidget*> chain;
    QWidget* widget = order.front();
    do {
        if (std::find(order.begin(), order.end(), widget) != order.end()) {
            chain.push_back(widget);
        }
        widget = widget->nextInFocusChain();
    } while (widget != order.front() && chain.size() < order.size());
    EXPECT_EQ(chain, order);
}

TEST_F(WindowTest, AtItsSmallestEveryControlHasRoomInsideTheWindow) {
    Build();
    m_window->findChild<tav::EditorPanel*>()->ShowEditor(tav::EditorPanel::Editor::ReplacementList);
    m_window->findChild<tav::FilterField*>()->ShowNote("Saved at 12:00:00");
    m_window->resize(10, 10);
    QTRY_COMPARE(m_window->size(), m_window->minimumSize());
    ExpectRoomForEach(*m_window, VisibleControls());
    // Room to be used, not only to be seen.
    EXPECT_GE(Control(ControlId::ReplaceEdit)->width(), 50);
    EXPECT_GE(Control(ControlId::ByEdit)->width(), 50);
    EXPECT_GE(Control(ControlId::Tree)->height(), 80);
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
    EXPECT_EQ(buttons[0], Action(Command::New));
    EXPECT_EQ(buttons[1], Action(Command::Open));
    EXPECT_EQ(buttons[2], Action(Command::Save));
    EXPECT_TRUE(buttons[3]->isSeparator());
    EXPECT_EQ(buttons[4], Action(Command::HelpContents));
    EXPECT_GE(toolBar->y(), 0);
    EXPECT_LT(toolBar->geometry().bottom(), Control(ControlId::PathDisplay)->geometry().top());
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
    QTest::mouseClick(toolBar->widgetForAction(Action(Command::HelpContents)), Qt::LeftButton);
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
        tav::EditorPanel::Editor editor;  // the editor shown
        ControlId control;
        const char* page;
    };
    const std::vector<Case> cases = {
        {"tree", tav::EditorPanel::Editor::None, ControlId::Tree, "tree.html"},
        {"value_edit", tav::EditorPanel::Editor::Text, ControlId::ValueEdit, "editing.html"},
        {"value_combo", tav::EditorPanel::Editor::Boolean, ControlId::ValueCombo, "editing.html"},
        {"replace_edit", tav::EditorPanel::Editor::ReplacementList, ControlId::ReplaceEdit,
         "editing.html"},
        {"by_edit", tav::EditorPanel::Editor::ReplacementEntry, ControlId::ByEdit, "editing.html"},
        {"add_button", tav::EditorPanel::Editor::ReplacementList, ControlId::AddButton,
         "editing.html"},
        {"delete_button", tav::EditorPanel::Editor::ReplacementEntry, ControlId::DeleteButton,
         "editing.html"},
    };
    for (const Case& c : cases) {
        m_window->findChild<tav::EditorPanel*>()->ShowEditor(c.editor);
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

// A document of each kind of item the panel has an editor for, and those items.
struct Texts {
    const char* sections;
    const char* fields;
    const char* document;
    std::vector<std::string> items;  // a section, a text, a boolean, the list, an entry
};

const Texts kShortTexts = {
    "1,Info,N,Information,SN,2\n2,Replace,N,String replacements,SR,9\n",
    "Title,Title,C,N,1\nBeep on error,Beep,B,N,1\n",
    "[Info]\nTitle=Front desk\nBeep=True\n[Replace]\nr0=a,b\nr1=\n",
    {"Information", "Title", "Beep on error", "String replacements", "String [a] Replaced by [b]"},
};
// Longer than the window is wide: labels as a translation may make them, a path, values.
const Texts kLongTexts = {
    "1,Info,N,Information about the configuration of this particular front desk,SN,2\n"
    "2,Replace,N,String replacements applied to every text printed on a receipt,SR,9\n",
    "Title of the front desk as it is printed at the top of every receipt,Title,C,N,1\n"
    "Beep on error,Beep,B,N,1\n",
    "[Info]\nTitle=The front desk on the ground floor, next to the main entrance of the building\n"
    "Beep=True\n[Replace]\nr0=a text that is to be replaced wherever it occurs,"
    "the text that replaces it in every receipt\nr1=\n",
    {"Information about the configuration of this particular front desk",
     "Title of the front desk as it is printed at the top of every receipt", "Beep on error",
     "String replacements applied to every text printed on a receipt",
     "String [a text that is to be replaced wherever it occurs] Replaced by [the text that "
     "replaces it in every receipt]"},
};

// Sets the application's font for as long as it lives.
class ApplicationFont final {
public:
    explicit ApplicationFont(qreal scale) : m_before(QApplication::font()) {
        QFont font = m_before;
        font.setPointSizeF(m_before.pointSizeF() * scale);
        QApplication::setFont(font);
    }
    ~ApplicationFont() { QApplication::setFont(m_before); }
    ApplicationFont(const ApplicationFont&) = delete;
    ApplicationFont& operator=(const ApplicationFont&) = delete;

private:
    QFont m_before;
};

// At its start size at the default font, and as large as its controls need otherwise, the window
// shows every control whole, inside it and over no other, whichever editor shows.
TEST_F(WindowTest, EveryControlHasItsRoomAtLargerFontsAndWithLongerTexts) {
    struct Case {
        const char* name;
        qreal fontScale;
        bool longTexts;  // also the panel's labels and buttons, as a translation may make them
    };
    const std::vector<Case> cases = {
        {"default font", 1.0, false},
        {"twice the font size", 2.0, false},
        {"long texts", 1.0, true},
        {"twice the font size, long texts", 2.0, true},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const ApplicationFont font(c.fontScale);
        const Texts& texts = c.longTexts ? kLongTexts : kShortTexts;
        BuildAndOpen(texts.sections, texts.fields, texts.document);
        if (c.longTexts) {
            Control<QLabel>(ControlId::ReplaceLabel)->setText("Replace the text");
            Control<QLabel>(ControlId::ByLabel)->setText("by the text");
            Control<QPushButton>(ControlId::AddButton)->setText("Add to the list");
            Control<QPushButton>(ControlId::DeleteButton)->setText("Delete from the list");
        }
        m_window->findChild<tav::FilterField*>()->ShowNote("Saved at 12:00:00");
        if (c.fontScale == 1.0 && !c.longTexts) {
            EXPECT_EQ(m_window->frameGeometry(), QRect(50, 50, 400, 450));
        }
        for (const std::string& item : texts.items) {
            SCOPED_TRACE(item);
            Select(item);
            QApplication::processEvents();  // the layout follows the shown editor
            EXPECT_GE(m_window->frameGeometry().width(), 400);
            EXPECT_GE(m_window->frameGeometry().height(), 450);
            const std::vector<QWidget*> controls = VisibleControls();
            EXPECT_GE(controls.size(), 6u);
            ExpectRoomForEach(*m_window, controls);
        }
        m_window.reset();
    }
}

}  // namespace
}  // namespace tavtest
