// The window by keyboard only: every menu command through its menu's letters, the toolbar's
// commands by their keys, the tree's context menu by Shift+F10, the editor panel's controls by
// Tab, the disk notice's buttons by their Alt letters.
#include <QApplication>
#include <QPushButton>
#include <QSignalSpy>
#include <QTest>
#include <QTimer>
#include <deque>
#include <functional>
#include <map>
#include <memory>

#include "tree/configtree.h"
#include "ui-fakes.h"
#include "ui/disknotice.h"

namespace tavtest {
namespace {

// Title and Copies are texts, Beep on error a boolean, Show date, Show time and Show size ordered
// booleans of one section.
constexpr const char* kDocument =
    "[General]\r\nTitle=Desk\r\nBeep=1\r\n[Columns]\r\nShowDate=1\r\nShowTime=0\r\nShowSize=1\r\n"
    "[Printing]\r\nCopies=2\r\n[Replace]\r\nr0=a,b\r\nr1=\r\n";

class KeyboardTest : public WindowTest {
protected:
    // A fresh window with the document open, active, the tree holding the keyboard.
    void Start() {
        m_path = m_temp.File("desk.tac");
        WriteFile(m_path, kDocument);
        Build();
        m_window->SetRecentFiles({});
        m_files.answers.push_back(Chosen(m_path));
        Trigger(Command::Open);
        m_window->activateWindow();
        ASSERT_TRUE(QTest::qWaitForWindowActive(m_window.get()));
        Tree().setFocus();
    }

    // Presses `keys` ("Alt+F, N"), each where the keyboard is then: the open menu, else the
    // focused control of the active window. Each goes from the event loop, so that a key which
    // opens a menu or a dialog with a loop of its own does not hold back the keys after it.
    static void Press(const QString& keys) {
        const QStringList presses = keys.split(QStringLiteral(", "));
        auto sent = std::make_shared<int>(0);
        for (int i = 0; i < presses.size(); ++i) {
            const QKeyCombination key = QKeySequence::fromString(presses[i])[0];
            QTimer::singleShot(20 * (i + 1), qApp, [key, sent] {
                QWidget* target = QApplication::activePopupWidget();
                QWidget* modal = QApplication::activeModalWidget();
                if (target == nullptr) {
                    target = QApplication::focusWidget() != nullptr ? QApplication::focusWidget()
                                                                    : QApplication::activeWindow();
                }
                if (modal != nullptr && target->window() != modal) {
                    target = modal;
                }
                ++*sent;
                QTest::keyClick(target, key.key(), key.keyboardModifiers());
            });
        }
        for (int wait = 0; wait < 200 && *sent < presses.size(); ++wait) {
            QTest::qWait(10);
        }
        QTest::qWait(20);
        ASSERT_EQ(*sent, presses.size()) << keys.toStdString();
    }

    tav::DiskNotice* Notice() const { return m_window->findChild<tav::DiskNotice*>(); }

    std::string m_path;
};

// One row per command: the keys, and the one action of the window or the tree they trigger.
TEST_F(KeyboardTest, EveryCommandIsReachedByItsKeys) {
    using Pick = std::function<QAction*()>;
    const auto command = [this](Command c) { return [this, c] { return Action(c); }; };
    // The tree's menu for the selected item, entry `index`.
    const auto treeMenu = [this](const char* item, int index) {
        return [this, item, index] {
            Select(item);
            // Revert is offered only for a changed value.
            if (Tree().SelectedFieldType() == tav::FieldType::Boolean) {
                EXPECT_TRUE(Tree().SetSelectedValue("True"));
            }
            return Tree().ContextActions().value(index);
        };
    };
    // Undo needs an edit, Redo an undone one.
    const auto edited = [this](Command c, bool undone) {
        return [this, c, undone] {
            Select("Title");
            EXPECT_TRUE(Tree().SetSelectedValue("Hall"));
            if (undone) {
                Trigger(Command::Undo);
            }
            return Action(c);
        };
    };
    struct Row {
        const char* name;
        const char* keys;
        Pick action;
        std::deque<std::optional<tav::ChosenFile>> chooser;  // what the file dialogs answer
    };
    const std::vector<Row> rows = {
        {"file_new", "Alt+F, N", command(Command::New), {}},
        {"file_open", "Alt+F, O", command(Command::Open), {std::nullopt}},
        {"file_save", "Alt+F, S", command(Command::Save), {}},
        {"file_save_as", "Alt+F, A", command(Command::SaveAs), {std::nullopt}},
        {"file_recent", "Alt+F, F, 1", [this] { return m_window->RecentAction(0); }, {}},
        {"file_exit", "Alt+F, E", command(Command::Exit), {}},
        {"edit_undo", "Alt+E, U", edited(Command::Undo, false), {}},
        {"edit_redo", "Alt+E, R", edited(Command::Redo, true), {}},
        {"help_contents", "Alt+H, C", command(Command::HelpContents), {}},
        {"help_about", "Alt+H, A, Esc", command(Command::About), {}},
        {"key_new", "Ctrl+N", command(Command::New), {}},
        {"key_open", "Ctrl+O", command(Command::Open), {std::nullopt}},
        {"key_save", "Ctrl+S", command(Command::Save), {}},
        {"key_save_as", "Ctrl+Shift+S", command(Command::SaveAs), {std::nullopt}},
        {"key_help", "F1", command(Command::HelpContents), {}},
        {"key_exit", "Ctrl+Q", command(Command::Exit), {}},
        {"key_undo", "Ctrl+Z", edited(Command::Undo, false), {}},
        {"key_redo", "Ctrl+Y", edited(Command::Redo, true), {}},
        {"tree_revert", "Shift+F10, Down, Return", treeMenu("Show time", 0), {}},
        {"tree_move_up", "Shift+F10, Down, Down, Return", treeMenu("Show time", 1), {}},
        {"tree_move_down", "Shift+F10, Down, Down, Down, Return", treeMenu("Show time", 2), {}},
        {"tree_delete", "Shift+F10, Down, Return", treeMenu("String [a] Replaced by [b]", 0), {}},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        Start();
        QAction* expected = row.action();
        ASSERT_NE(expected, nullptr);
        Tree().setFocus();
        // Every action of the window and the tree: only the expected one may fire.
        std::map<QAction*, std::unique_ptr<QSignalSpy>> spies;
        QList<QAction*> actions = m_window->findChildren<QAction*>();
        for (QAction* action : actions) {
            spies[action] = std::make_unique<QSignalSpy>(action, &QAction::triggered);
        }
        m_files.answers = row.chooser;
        Press(QString::fromLatin1(row.keys));
        for (const auto& [action, spy] : spies) {
            EXPECT_EQ(spy->count(), action == expected ? 1 : 0)
                << action->text().toStdString() << " " << action->objectName().toStdString();
        }
        EXPECT_EQ(QApplication::activePopupWidget(), nullptr) << "a menu stayed open";
        EXPECT_EQ(QApplication::activeModalWidget(), nullptr) << "a dialog stayed open";
        m_messages.messages.clear();
    }
}

// Tab goes from the Find box to the tree and on through the shown editor, whose controls then
// work by keys.
TEST_F(KeyboardTest, TabReachesEachEditorsControlsWhichWorkByKeys) {
    struct Row {
        const char* name;
        const char* item;     // selected first
        const char* reach;    // the keys from the tree
        ControlId focused;    // where they lead
        const char* keys;     // what is pressed there
        const char* path;     // the selection then
        const char* value;    // and its value
        std::size_t entries;  // the string replacements in the document then
    };
    const std::vector<Row> rows = {
        {"tree", "Title", "Ctrl+F, Tab", ControlId::Tree, "Down", "General\\Start minimised",
         "False", 1},
        {"value_edit", "Title", "Ctrl+F, Tab, Tab", ControlId::ValueEdit, "End, X",
         "General\\Title", "Deskx", 1},
        {"value_combo", "Beep on error", "Ctrl+F, Tab, Tab", ControlId::ValueCombo, "Up",
         "General\\Beep on error", "False", 1},
        {"replace_edit", "String [a] Replaced by [b]", "Ctrl+F, Tab, Tab", ControlId::ReplaceEdit,
         "C", "Parameters\\String replacements\\String [c] Replaced by [b]", "b", 1},
        {"by_edit", "String [a] Replaced by [b]", "Ctrl+F, Tab, Tab, Tab", ControlId::ByEdit, "E",
         "Parameters\\String replacements\\String [a] Replaced by [e]", "e", 1},
        {"delete_button", "String [a] Replaced by [b]", "Ctrl+F, Tab, Tab, Tab, Tab",
         ControlId::DeleteButton, "Space", "Parameters\\String replacements", "", 0},
        {"add_button", "String replacements", "Ctrl+F, Tab, Tab, C, Tab, D, Tab",
         ControlId::AddButton, "Space", "Parameters\\String replacements", "", 2},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        Start();
        Select(row.item);
        Press(QString::fromLatin1(row.reach));
        EXPECT_EQ(QApplication::focusWidget(), Control(row.focused));
        Press(QString::fromLatin1(row.keys));
        EXPECT_EQ(Tree().SelectedPath(), row.path);
        EXPECT_EQ(Tree().SelectedValue(), row.value);
        EXPECT_EQ(Document().EntryCount(), row.entries);
    }
}

// The notice of a change on disk takes no focus; its buttons answer to Alt+R and Alt+K.
TEST_F(KeyboardTest, TheDiskNoticeAnswersToItsLetters) {
    for (const bool reload : {true, false}) {
        SCOPED_TRACE(reload ? "reload" : "keep");
        Start();
        Select("Copies");
        std::string bytes = ReadFile(m_path);
        bytes.replace(bytes.find("Copies=2"), 8, "Copies=7");
        WriteFile(m_path, bytes);
        m_watcher.Fire();
        ASSERT_NE(Notice(), nullptr);
        ASSERT_TRUE(Notice()->isVisible());
        EXPECT_EQ(QApplication::focusWidget(), &Tree());
        Press(reload ? QStringLiteral("Alt+R") : QStringLiteral("Alt+K"));
        // A button's letter clicks it the way the mouse does, after a moment.
        for (int wait = 0; wait < 50 && Notice()->isVisible(); ++wait) {
            QTest::qWait(10);
        }
        EXPECT_FALSE(Notice()->isVisible());
        EXPECT_EQ(Tree().SelectedValue(), reload ? "7" : "2");
    }
}

}  // namespace
}  // namespace tavtest
