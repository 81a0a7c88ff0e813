// The File commands: New, Open, Save, Save As, Recent and Exit, a dropped file, with their
// failures and the unsaved-changes question.
#include <QAction>
#include <QApplication>
#include <QCursor>
#include <QDir>
#include <QDropEvent>
#include <QGuiApplication>
#include <QMimeData>
#include <QProgressDialog>
#include <QTest>
#include <QToolBar>
#include <QUrl>
#include <chrono>
#include <filesystem>
#include <functional>

#include "storage/posix/tempfile.h"
#include "tree/configtree.h"
#include "ui-fakes.h"
#include "ui/workfeedback.h"

namespace tavtest {
namespace {

constexpr const char* kDocument = "[General]\r\nTitle=Desk\r\nBeep=1\r\n";

class FileCommandsTest : public WindowTest {
protected:
    void SetUp() override {
        std::filesystem::create_directory(m_temp.File("in"));
        m_document = m_temp.File("in/desk.tac");
        WriteFile(m_document, kDocument);
        Build();
    }
    void OpenDocument(const std::string& path) {
        m_files.answers.push_back(Chosen(path));
        Trigger(Command::Open);
    }
    void ClickToolButton(Command command) const {
        auto* toolBar = Control<QToolBar>(ControlId::ToolBar);
        QTest::mouseClick(toolBar->widgetForAction(Action(command)), Qt::LeftButton);
    }
    QString Native(const std::string& path) const {
        return QDir::toNativeSeparators(QString::fromStdString(path));
    }
    // Drops `path` on the window as a file manager would; returns whether the window took it.
    bool Drop(const std::string& path) const {
        QMimeData data;
        data.setUrls({QUrl::fromLocalFile(QString::fromStdString(path))});
        QDragEnterEvent enter(QPoint(20, 20), Qt::CopyAction, &data, Qt::LeftButton, {});
        QApplication::sendEvent(m_window.get(), &enter);
        QDropEvent drop(QPointF(20, 20), Qt::CopyAction, &data, Qt::LeftButton, {});
        QApplication::sendEvent(m_window.get(), &drop);
        EXPECT_EQ(enter.isAccepted(), drop.isAccepted()) << path;
        return drop.isAccepted();
    }
    // Opens the document afresh with its Title changed, so that it is modified.
    void OpenEdited() {
        WriteFile(m_document, kDocument);
        OpenDocument(m_document);
        Select("Title");
        ASSERT_TRUE(Tree().SetSelectedValue("Changed"));
    }

    std::string m_document;
};

TEST_F(FileCommandsTest, OpenReadsRebuildsAndRemembersTheFolder) {
    OpenDocument(m_document);
    EXPECT_EQ(m_files.calls.at(0).folder, ".");
    EXPECT_FALSE(m_files.calls.at(0).save);
    EXPECT_EQ(RootItem(Tree()).text(), QString::fromStdString("File : [" + m_document + "]"));
    EXPECT_TRUE(Item("Title = \"Desk\"").IsValid());
    EXPECT_EQ(m_window->OpenFolder(), Native(m_temp.File("in")).toStdString());
    m_files.answers.push_back(std::nullopt);
    ClickToolButton(Command::Open);  // cancelled: nothing changes
    EXPECT_EQ(m_files.calls.at(1).folder, Native(m_temp.File("in")));
    EXPECT_EQ(m_window->OpenFolder(), Native(m_temp.File("in")).toStdString());
    EXPECT_EQ(Document().Path(), m_document);
}

TEST_F(FileCommandsTest, RememberedFolderIsCutAtTheLastSeparator) {
    const std::vector<std::pair<std::string, std::string>> cases = {
        {m_temp.File("new.tac"), m_temp.Path()},  // need not exist
        {"/top.tac", "/top.tac"},                 // the only separator comes first
        {"bare.tac", "bare.tac"},
    };
    for (const auto& [path, folder] : cases) {
        OpenDocument(path);
        EXPECT_EQ(m_window->OpenFolder(), Native(folder).toStdString()) << path;
        EXPECT_EQ(Document().Path(), path);
    }
    EXPECT_TRUE(m_messages.messages.empty());
}

TEST_F(FileCommandsTest, UnreadableOpenIsReportedAndChangesNothing) {
    OpenDocument(m_document);
    OpenDocument(m_temp.Path());  // a folder, not a document
    ASSERT_EQ(m_messages.messages.size(), 1u);
    EXPECT_TRUE(m_messages.messages[0].contains(Native(m_temp.Path()) + ": is a folder"));
    EXPECT_EQ(Document().Path(), m_document);
    EXPECT_TRUE(Item("Title = \"Desk\"").IsValid());
    EXPECT_EQ(m_window->OpenFolder(), Native(m_temp.File("in")).toStdString());
}

TEST_F(FileCommandsTest, NewForgetsTheDocument) {
    OpenDocument(m_document);
    ClickToolButton(Command::New);
    EXPECT_EQ(RootItem(Tree()).text(), "File : [none]");
    EXPECT_EQ(Document().Path(), "");
    EXPECT_TRUE(Item("Title = \"\"").IsValid());
    EXPECT_EQ(m_window->OpenFolder(), Native(m_temp.File("in")).toStdString());
}

TEST_F(FileCommandsTest, SaveWritesInPlaceWithoutRebuilding) {
    OpenDocument(m_document);
    TreeItem title = Select("Title");
    ASSERT_TRUE(Tree().SetSelectedValue("Counter"));
    ClickToolButton(Command::Save);
    EXPECT_NE(ReadFile(m_document).find("Title=Counter\r\n"), std::string::npos);
    EXPECT_EQ(CurrentItem(Tree()), title);
    EXPECT_EQ(m_files.calls.size(), 1u);  // the Open only
}

TEST_F(FileCommandsTest, SaveWithoutAPathRunsSaveAs) {
    const std::string target = m_temp.File("first.tac");
    m_files.answers.push_back(Chosen(target));
    Trigger(Command::Save);
    ASSERT_EQ(m_files.calls.size(), 1u);
    EXPECT_TRUE(m_files.calls[0].save);
    EXPECT_NE(ReadFile(target).find("[General]"), std::string::npos);
    EXPECT_EQ(Document().Path(), target);
}

TEST_F(FileCommandsTest, SaveAsWritesReadsBackAndKeepsTheRememberedFolder) {
    OpenDocument(m_document);
    Select("Beep on error");
    ASSERT_TRUE(Tree().SetSelectedValue("False"));
    const std::string target = m_temp.File("copy.tac");
    m_files.answers.push_back(Chosen(target));
    Trigger(Command::SaveAs);
    EXPECT_EQ(m_files.calls.at(1).folder, Native(m_temp.File("in")));  // the document's folder
    EXPECT_TRUE(m_files.calls.at(1).save);
    EXPECT_NE(ReadFile(target).find("Title=Desk\r\n"), std::string::npos);
    EXPECT_EQ(RootItem(Tree()).text(), QString::fromStdString("File : [" + target + "]"));
    EXPECT_TRUE(Item("Beep on error = \"False\"").IsValid());
    EXPECT_EQ(m_window->OpenFolder(), Native(m_temp.File("in")).toStdString());
    m_files.answers.push_back(std::nullopt);  // cancelled: nothing happens
    Trigger(Command::SaveAs);
    EXPECT_EQ(Document().Path(), target);
}

TEST_F(FileCommandsTest, FailedSavesAreReportedAndChangeNothing) {
    OpenDocument(m_document);
    const std::string nowhere = m_temp.File("missing/x.tac");
    m_files.answers.push_back(Chosen(nowhere));
    Trigger(Command::SaveAs);
    std::filesystem::remove_all(m_temp.File("in"));
    Trigger(Command::Save);
    ASSERT_EQ(m_messages.messages.size(), 2u);
    EXPECT_TRUE(m_messages.messages[0].contains(Native(nowhere) + ": "));
    EXPECT_TRUE(m_messages.messages[1].contains(Native(m_document) + ": "));
    EXPECT_EQ(Document().Path(), m_document);
    EXPECT_EQ(RootItem(Tree()).text(), QString::fromStdString("File : [" + m_document + "]"));
    EXPECT_FALSE(std::filesystem::exists(nowhere));
}

TEST_F(FileCommandsTest, ExitSavesNothingWhenTheChangesAreDiscarded) {
    OpenEdited();
    m_messages.answers.push_back(tav::SaveAnswer::Discard);
    Trigger(Command::Exit);
    EXPECT_FALSE(m_window->isVisible());
    EXPECT_EQ(ReadFile(m_document), kDocument);
}

// Every command that discards the document asks first; Save saves in place and goes on, Discard
// goes on, Cancel leaves the modified document as it is.
TEST_F(FileCommandsTest, CommandsThatDiscardTheDocumentAskFirst) {
    const std::string other = m_temp.File("in/other.tac");
    WriteFile(other, "[General]\r\nTitle=Other\r\n");
    struct Command {
        const char* name;
        std::function<void()> run;     // runs the command; may script the file chooser
        std::function<bool()> wentOn;  // the command did what it does
    };
    const auto closed = [this] { return !m_window->isVisible(); };
    const auto openedOther = [this, other] { return Document().Path() == other; };
    const std::vector<Command> commands = {
        {"Exit", [this] { Trigger(tavtest::Command::Exit); }, closed},
        {"close box", [this] { m_window->close(); }, closed},
        {"New", [this] { Trigger(tavtest::Command::New); },
         [this] { return Document().Path().empty(); }},
        {"Open",
         [this, other] {
             // The chooser opens only once the question allows the command to go on.
             if (m_messages.answers.front() != tav::SaveAnswer::Cancel) {
                 m_files.answers.push_back(Chosen(other));
             }
             Trigger(tavtest::Command::Open);
         },
         openedOther},
        {"drop", [this, other] { Drop(other); }, openedOther},
        {"recent",
         [this, other] {
             m_window->SetRecentFiles({other});
             m_window->RecentAction(0)->trigger();
         },
         openedOther},
        // The folder is chosen first; the question about the changes comes before it is used.
        {"Catalogue Folder",
         [this] {
             m_window->setResult(0);
             m_messages.catalogueAnswers.push_back(tav::CatalogueAnswer::ChooseFolder);
             m_files.folderAnswers.push_back(TAV_EXAMPLES_DIR);
             Trigger(tavtest::Command::CatalogueFolder);
         },
         [this] {
             return m_window->result() == tav::MainDialog::kCataloguesChanged &&
                    !m_window->isVisible() && m_window->NewCatalogues().folder == TAV_EXAMPLES_DIR;
         }},
    };
    for (const Command& command : commands) {
        for (const tav::SaveAnswer answer :
             {tav::SaveAnswer::Save, tav::SaveAnswer::Discard, tav::SaveAnswer::Cancel}) {
            const std::string name =
                std::string(command.name) + " answered " + std::to_string(static_cast<int>(answer));
            m_window->show();
            Document().New();  // unmodified, so that the next Open asks nothing
            OpenEdited();
            m_messages.questions.clear();
            m_messages.answers.push_back(answer);
            command.run();
            EXPECT_EQ(m_messages.questions, std::vector<QString>{"desk.tac"}) << name;
            EXPECT_EQ(command.wentOn(), answer != tav::SaveAnswer::Cancel) << name;
            const bool saved = ReadFile(m_document).find("Title=Changed") != std::string::npos;
            EXPECT_EQ(saved, answer == tav::SaveAnswer::Save) << name;
            if (answer == tav::SaveAnswer::Cancel) {
                EXPECT_TRUE(Document().IsModified()) << name;
                EXPECT_TRUE(m_window->isVisible()) << name;
            }
        }
    }
}

TEST_F(FileCommandsTest, NoQuestionWhileNothingIsChangedOrAfterUndoingBackToTheSave) {
    Trigger(Command::New);  // a new document, untouched
    OpenDocument(m_document);
    Select("Title");
    ASSERT_TRUE(Tree().SetSelectedValue("Changed"));
    Trigger(Command::Save);
    ASSERT_TRUE(Tree().SetSelectedValue("Again"));
    Trigger(Command::Undo);
    m_window->close();
    EXPECT_FALSE(m_window->isVisible());
    EXPECT_TRUE(m_messages.questions.empty());
}

TEST_F(FileCommandsTest, ASaveThatFailsOrIsCancelledKeepsTheWindowOpen) {
    OpenEdited();
    std::filesystem::remove_all(m_temp.File("in"));
    m_messages.answers.push_back(tav::SaveAnswer::Save);
    Trigger(Command::Exit);
    EXPECT_TRUE(m_window->isVisible());
    EXPECT_EQ(m_messages.messages.size(), 1u);  // why the save failed
    // A new document saves through Save As; cancelling its chooser cancels the close too.
    m_messages.answers.push_back(tav::SaveAnswer::Discard);
    Trigger(Command::New);
    Select("Title");
    ASSERT_TRUE(Tree().SetSelectedValue("Fresh"));
    m_messages.answers.push_back(tav::SaveAnswer::Save);
    m_files.answers.push_back(std::nullopt);
    m_window->close();
    EXPECT_TRUE(m_window->isVisible());
    EXPECT_EQ(m_messages.questions, (std::vector<QString>{"desk.tac", "desk.tac", ""}));
    EXPECT_EQ(m_files.calls.back().folder, Native(m_temp.File("in")))
        << "a new document is saved where Open would start";
}

// Before a document whose earlier in-place save did not finish is opened, however it is opened,
// the user decides: Restore writes the complete copy over the file, Keep removes the copy, Cancel
// opens nothing. A copy whose content the file holds already asks nothing.
TEST_F(FileCommandsTest, AnUnfinishedEarlierSaveIsSettledBeforeTheDocumentOpens) {
    using Answer = tav::LeftoverAnswer;
    const std::string torn = m_temp.File("in/torn.tac");
    const std::string copy = m_temp.File("in/" + tav::CopyNameBeside("torn.tac"));
    const std::string complete = "[General]\r\nTitle=Complete\r\n";
    const std::string cut = "[General]\r\nTitle=Comp";
    struct Case {
        const char* name;
        const std::string* file;       // what the document holds before it is opened
        std::optional<Answer> answer;  // none: no question
        const std::string* onDisk;     // the document afterwards
        bool opened;
        const char* title;  // the Title the tree shows
        bool copyRemains;
    };
    const std::vector<Case> cases = {
        {"Restore", &cut, Answer::Restore, &complete, true, "Complete", false},
        {"Keep the file as it is", &cut, Answer::Keep, &cut, true, "Comp", false},
        {"Cancel", &cut, Answer::Cancel, &cut, false, "Desk", true},
        {"a finished write", &complete, std::nullopt, &complete, true, "Complete", true},
    };
    struct Entry {
        const char* name;
        std::function<void()> open;
    };
    const std::vector<Entry> entries = {
        {"Open", [&] { OpenDocument(torn); }},
        {"drop", [&] { Drop(torn); }},
        {"recent",
         [&] {
             m_window->SetRecentFiles({torn});
             m_window->RecentAction(0)->trigger();
         }},
        {"command line", [&] { m_window->OpenFile(torn); }},
    };
    for (const Entry& entry : entries) {
        for (const Case& c : cases) {
            SCOPED_TRACE(std::string(entry.name) + ", " + c.name);
            OpenDocument(m_document);
            WriteFile(torn, *c.file);
            WriteFile(copy, complete);
            m_messages.leftoverQuestions.clear();
            if (c.answer) {
                m_messages.leftoverAnswers.push_back(*c.answer);
            }
            entry.open();
            if (c.answer) {
                EXPECT_EQ(m_messages.leftoverQuestions,
                          (std::vector<std::pair<QString, QString>>{{"torn.tac", Native(copy)}}));
            } else {
                EXPECT_TRUE(m_messages.leftoverQuestions.empty());
            }
            EXPECT_EQ(Document().Path(), c.opened ? torn : m_document);
            EXPECT_TRUE(Item("Title = \"" + std::string(c.title) + "\"").IsValid());
            EXPECT_EQ(ReadFile(torn), *c.onDisk);
            EXPECT_EQ(std::filesystem::exists(copy), c.copyRemains);
            EXPECT_TRUE(m_messages.messages.empty());
        }
    }
}

TEST_F(FileCommandsTest, OnlyASingleDroppedTacFileIsOpened) {
    const std::string text = m_temp.File("notes.txt");
    WriteFile(text, "[General]\r\n");
    EXPECT_FALSE(Drop(text));
    EXPECT_EQ(Document().Path(), "");
    const std::string upper = m_temp.File("in/UPPER.TAC");
    WriteFile(upper, kDocument);
    EXPECT_TRUE(Drop(upper));
    EXPECT_EQ(Document().Path(), upper);
    EXPECT_EQ(m_window->OpenFolder(), Native(m_temp.File("in")).toStdString());
    EXPECT_EQ(m_window->RecentFiles().front(), upper);
}

TEST_F(FileCommandsTest, RecentFilesPutTheLastUsedFirstAndSayWhenOneIsMissing) {
    const std::string gone = m_temp.File("gone.tac");
    m_window->SetRecentFiles({gone, "/srv/a.tac"});
    OpenDocument(m_document);
    const std::string copy = m_temp.File("copy.tac");
    m_files.answers.push_back(Chosen(copy));
    Trigger(Command::SaveAs);
    EXPECT_EQ(m_window->RecentFiles(),
              (std::vector<std::string>{copy, m_document, gone, "/srv/a.tac"}));
    QStringList shown;
    for (int i = 0; i < 8; ++i) {
        if (m_window->RecentAction(i)->isVisible()) {
            shown << m_window->RecentAction(i)->text();
        }
    }
    EXPECT_EQ(shown, QStringList({"&1 " + Native(copy), "&2 " + Native(m_document),
                                  "&3 " + Native(gone), "&4 " + Native("/srv/a.tac")}));
    // A file that is no longer there is news, not a new document; the user may drop it.
    for (const bool forget : {false, true}) {
        m_messages.forgetAnswers.push_back(forget);
        m_window->RecentAction(2)->trigger();
        EXPECT_EQ(m_messages.missingFiles.back(), Native(gone)) << forget;
        EXPECT_EQ(Document().Path(), copy) << forget;
        const std::vector<std::string> kept = {copy, m_document, gone, "/srv/a.tac"};
        const std::vector<std::string> dropped = {copy, m_document, "/srv/a.tac"};
        EXPECT_EQ(m_window->RecentFiles(), forget ? dropped : kept) << forget;
    }
    EXPECT_FALSE(m_window->RecentAction(3)->isVisible());
}

}  // namespace
}  // namespace tavtest

namespace tavtest {
namespace {

// Reading and writing a document shows a wait cursor, and only while it lasts.
TEST_F(FileCommandsTest, OpenAndSaveShowAWaitCursorWhileTheyWork) {
    std::vector<int> shapes;
    const int listener = Document().AddListener([&](const tav::DocumentChange& change) {
        if (change.kind == tav::DocumentChange::Kind::Reset ||
            change.kind == tav::DocumentChange::Kind::Saved) {
            const QCursor* cursor = QGuiApplication::overrideCursor();
            shapes.push_back(cursor == nullptr ? -1 : cursor->shape());
        }
    });
    OpenDocument(m_document);
    Trigger(Command::Save);
    Document().RemoveListener(listener);
    EXPECT_EQ(shapes, (std::vector<int>{Qt::WaitCursor, Qt::WaitCursor}));
    EXPECT_EQ(QGuiApplication::overrideCursor(), nullptr);
}

}  // namespace
}  // namespace tavtest

namespace tavtest {
namespace {

// Work that lasts shows a progress dialog telling how far it is; short work shows none. The
// dialog and the wait cursor go with the work.
TEST(WorkFeedbackTest, ShowsProgressOnlyForWorkThatLasts) {
    struct Case {
        const char* name;
        std::chrono::milliseconds showAfter;
        bool reports;
        bool shown;
    };
    const std::vector<Case> cases = {
        {"lasting work that reports", std::chrono::milliseconds(0), true, true},
        {"short work", std::chrono::hours(1), true, false},
        {"lasting work that never reports", std::chrono::milliseconds(0), false, false},
    };
    QWidget parent;
    for (const Case& c : cases) {
        {
            const tav::WorkFeedback feedback(&parent, QStringLiteral("Saving a.tac…"), c.showAfter);
            if (c.reports) {
                tav::ReportProgress(250, 1000);
                tav::ReportProgress(500, 1000);
            }
            ASSERT_EQ(feedback.Dialog() != nullptr, c.shown) << c.name;
            if (c.shown) {
                EXPECT_EQ(feedback.Dialog()->labelText(), QStringLiteral("Saving a.tac…"));
                EXPECT_EQ(feedback.Dialog()->value() * 2, feedback.Dialog()->maximum()) << c.name;
                EXPECT_TRUE(feedback.Dialog()->isVisible()) << c.name;
            }
            EXPECT_EQ(QGuiApplication::overrideCursor()->shape(), Qt::WaitCursor) << c.name;
        }
        EXPECT_EQ(QGuiApplication::overrideCursor(), nullptr) << c.name;
        EXPECT_TRUE(parent.findChildren<QProgressDialog*>().isEmpty()) << c.name;
        tav::ReportProgress(1, 2);  // nobody listens any more: nothing happens
    }
}

}  // namespace
}  // namespace tavtest
