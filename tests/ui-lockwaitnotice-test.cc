// The notice while a save waits for another program's lock on the document, alone and in the
// window's saves: who holds the lock, Cancel gives the save up and keeps the edits, a released
// lock lets the save finish, and nothing but the notice takes input meanwhile.
#include <QAction>
#include <QCoreApplication>
#include <QGuiApplication>
#include <QProgressDialog>
#include <QPushButton>
#include <QShortcutEvent>
#include <QTest>
#include <QTimer>
#include <QToolBar>
#include <algorithm>
#include <chrono>
#include <filesystem>
#include <functional>
#include <memory>
#include <optional>

#include "storage/filelock.h"
#include "storage/posix/tempfile.h"
#include "tree/configtree.h"
#include "ui-fakes.h"
#include "ui/lockwaitnotice.h"

namespace tavtest {
namespace {

using namespace std::chrono_literals;

int OverrideShape() {
    const QCursor* cursor = QGuiApplication::overrideCursor();
    return cursor == nullptr ? -1 : cursor->shape();
}

// Nothing shows before the delay; from then on the notice names whoever holds the lock now.
TEST(LockWaitNoticeTest, ShowsOnceTheWaitLastsAndNamesTheHolder) {
    struct Tick {
        std::chrono::milliseconds waited;
        tav::LockHolder holder;
        const char* text;  // nullptr: nothing shows
    };
    const std::vector<Tick> ticks = {
        {0ms, {42, "flock"}, nullptr},
        {299ms, {42, "flock"}, nullptr},
        {300ms, {42, "flock"}, "Waiting for flock (process 42) to release a.tac…"},
        {350ms, {7, ""}, "Waiting for process 7 to release a.tac…"},
        {5000ms, {}, "Waiting for another program to release a.tac…"},
    };
    QWidget parent;
    parent.show();
    {
        tav::LockWaitNotice notice(&parent, QStringLiteral("a.tac"), 300ms);
        for (const Tick& tick : ticks) {
            SCOPED_TRACE(tick.waited.count());
            EXPECT_TRUE(notice.Waiting(tick.holder, tick.waited));
            ASSERT_EQ(notice.Dialog() != nullptr, tick.text != nullptr);
            if (tick.text == nullptr) {
                EXPECT_EQ(OverrideShape(), -1);
                continue;
            }
            EXPECT_TRUE(notice.Dialog()->isVisible());
            EXPECT_EQ(notice.Dialog()->windowModality(), Qt::WindowModal);
            EXPECT_EQ(notice.Dialog()->windowTitle(), "TAV Configuration Manager");
            EXPECT_TRUE(notice.Dialog()->labelText().startsWith(QString::fromUtf8(tick.text)))
                << notice.Dialog()->labelText().toStdString();
            EXPECT_EQ(OverrideShape(), Qt::ArrowCursor) << "the Cancel button can be clicked";
        }
        notice.Close();
        EXPECT_EQ(notice.Dialog(), nullptr);
        EXPECT_EQ(OverrideShape(), -1);
        EXPECT_TRUE(notice.Waiting({}, 1s)) << "a later wait shows it again";
        EXPECT_NE(notice.Dialog(), nullptr);
    }
    EXPECT_EQ(OverrideShape(), -1);
}

// Each way of dismissing the notice gives the save up; while it shows, the keys, shortcuts and
// clicks meant for its window reach nothing.
TEST(LockWaitNoticeTest, EveryWayOfDismissingItCancelsAndNothingElseTakesInput) {
    struct Way {
        const char* name;
        std::function<void(QProgressDialog*)> dismiss;
    };
    const std::vector<Way> ways = {
        {"Cancel button",
         [](QProgressDialog* d) {
             QTest::mouseClick(d->findChild<QPushButton*>(), Qt::LeftButton);
         }},
        {"Escape", [](QProgressDialog* d) { QTest::keyClick(d, Qt::Key_Escape); }},
        {"close box", [](QProgressDialog* d) { d->close(); }},
    };
    for (const Way& way : ways) {
        QWidget window;
        auto* button = new QPushButton(QStringLiteral("Open"), &window);
        auto* save = new QAction(&window);
        save->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_S));
        window.addAction(save);
        window.show();
        window.activateWindow();
        ASSERT_TRUE(QTest::qWaitForWindowActive(&window));
        int clicks = 0;
        int saves = 0;
        QObject::connect(button, &QPushButton::clicked, [&] { ++clicks; });
        QObject::connect(save, &QAction::triggered, [&] { ++saves; });
        tav::LockWaitNotice notice(&window, QStringLiteral("a.tac"), 0ms);
        QTimer::singleShot(0, [&] {
            QTest::mouseClick(button, Qt::LeftButton);
            QTest::keyClick(&window, Qt::Key_S, Qt::ControlModifier);
            // What the shortcut map delivers when the window system has not activated the
            // notice yet, so that the window's shortcuts still match.
            QShortcutEvent shortcut(save->shortcut(), 0);
            QCoreApplication::sendEvent(save, &shortcut);
            QTest::keyClick(button, Qt::Key_Space);
            way.dismiss(notice.Dialog());
        });
        EXPECT_FALSE(notice.Waiting({42, "flock"}, 10ms)) << way.name;
        EXPECT_FALSE(notice.Waiting({42, "flock"}, 60ms)) << way.name << ": it stays cancelled";
        EXPECT_EQ(clicks, 0) << way.name;
        EXPECT_EQ(saves, 0) << way.name;
        notice.Close();
        QTest::mouseClick(button, Qt::LeftButton);
        EXPECT_EQ(clicks, 1) << way.name << ": input flows again once it is closed";
    }
}

constexpr const char* kDocument = "[General]\r\nTitle=Desk\r\nBeep=1\r\n[Printing]\r\nCopies=2\r\n";

// The window's saves against a file another process holds a lock on.
class LockedSaveTest : public WindowTest {
protected:
    void SetUp() override {
        std::filesystem::create_directory(m_temp.File("in"));
        m_document = m_temp.File("in/desk.tac");
        Build();
        OpenEdited();
    }
    // Opens the document afresh with its Title changed, so that it is modified.
    void OpenEdited() {
        WriteFile(m_document, kDocument);
        Document().New();
        m_files.answers.push_back(Chosen(m_document));
        Trigger(Command::Open);
        Select("Title");
        ASSERT_TRUE(Tree().SetSelectedValue("Changed"));
    }
    QProgressDialog* Notice() const {
        return m_window->findChild<QProgressDialog*>(QStringLiteral("lockWaitNotice"));
    }
    // Runs `act` with the notice once it shows (the window handles events only then).
    void WhenNoticeShows(std::function<void(QProgressDialog*)> act) {
        m_poll = std::make_unique<QTimer>();
        QObject::connect(m_poll.get(), &QTimer::timeout, [this, act = std::move(act)] {
            if (QProgressDialog* notice = Notice(); notice != nullptr && notice->isVisible()) {
                m_poll->stop();
                act(notice);
            }
        });
        m_poll->start(5);
    }
    void ClickCancel(QProgressDialog* notice) const {
        QTest::mouseClick(notice->findChild<QPushButton*>(), Qt::LeftButton);
    }

    std::string m_document;
    std::unique_ptr<QTimer> m_poll;
};

// Every save the window makes waits with the notice, and Cancel gives it up: the error says so,
// nothing is written and the edits stay.
TEST_F(LockedSaveTest, EverySaveWaitsWithTheNoticeAndCancelGivesItUp) {
    const std::string other = m_temp.File("in/other.tac");
    struct SaveCommand {
        const char* name;
        const std::string* locked;  // the file the save waits for
        const char* shownName;
        std::function<void(std::optional<LockHoldingProcess>&)> prepare;
        Command command;
    };
    const std::vector<SaveCommand> commands = {
        {"Save", &m_document, "desk.tac", [this](auto& holder) { holder.emplace(m_document); },
         Command::Save},
        {"Save As over a locked file", &other, "other.tac",
         [&](auto& holder) {
             holder.emplace(other);
             m_files.answers.push_back(Chosen(other));
         },
         Command::SaveAs},
        {"Save after merging changes made on disk", &m_document, "desk.tac",
         [this](auto& holder) {
             WriteFile(m_document, "[General]\r\nTitle=Desk\r\nBeep=0\r\n");
             m_disk.answers.push_back({tav::DiskDecision::Answer::Merge, {}});
             // Locked only now: the save after the merge is the one that waits.
             m_disk.whenAsked = [this, &holder] { holder.emplace(m_document); };
         },
         Command::Save},
        {"Save asked for by Exit", &m_document, "desk.tac",
         [&](auto& holder) {
             holder.emplace(m_document);
             m_messages.answers.push_back(tav::SaveAnswer::Save);
         },
         Command::Exit},
    };
    WriteFile(other, "[General]\r\nTitle=Other\r\n");
    for (const SaveCommand& command : commands) {
        SCOPED_TRACE(command.name);
        OpenEdited();
        m_messages.messages.clear();
        std::optional<LockHoldingProcess> holder;
        command.prepare(holder);
        const std::string before = ReadFile(*command.locked);
        QString shown;
        WhenNoticeShows([&](QProgressDialog* notice) {
            shown = notice->labelText();
            ClickCancel(notice);
        });
        Trigger(command.command);
        m_disk.whenAsked = nullptr;
        ASSERT_TRUE(holder.has_value());
        const std::string holderName =
            tav::LockHolder{holder->Pid(), LockHoldingProcess::kLockHolderName}.Describe();
        EXPECT_TRUE(shown.startsWith(QString::fromStdString("Waiting for " + holderName +
                                                            " to release " + command.shownName)))
            << shown.toStdString();
        EXPECT_EQ(Notice(), nullptr) << "the notice goes with the save";
        ASSERT_EQ(m_messages.messages.size(), 1u);
        const QString& error = m_messages.messages[0];
        EXPECT_TRUE(error.startsWith("The document could not be saved.")) << error.toStdString();
        EXPECT_TRUE(error.contains(QString::fromStdString("the file is locked by " + holderName)))
            << error.toStdString();
        EXPECT_TRUE(error.endsWith("; nothing was written")) << error.toStdString();
        EXPECT_EQ(ReadFile(*command.locked), before);
        EXPECT_TRUE(m_window->isVisible());
        EXPECT_EQ(Document().Path(), m_document);
        EXPECT_TRUE(Document().IsModified());
        EXPECT_TRUE(m_window->isWindowModified());
        EXPECT_TRUE(Item("Title = \"Changed\"").IsValid());
    }
}

// While the notice shows, the window's commands cannot run; once the lock is released after a
// cancelled save, Save writes the edits that were kept.
TEST_F(LockedSaveTest, ACancelledSaveKeepsTheEditsForALaterSave) {
    std::optional<LockHoldingProcess> holder(m_document);
    int saves = 0;
    QObject::connect(Action(Command::Save), &QAction::triggered, [&] { ++saves; });
    WhenNoticeShows([&](QProgressDialog* notice) {
        QTest::keyClick(m_window.get(), Qt::Key_S, Qt::ControlModifier);
        QTest::keyClick(m_window.get(), Qt::Key_O, Qt::ControlModifier);
        auto* toolBar = Control<QToolBar>(ControlId::ToolBar);
        QTest::mouseClick(toolBar->widgetForAction(Action(Command::New)), Qt::LeftButton);
        ClickCancel(notice);
    });
    Trigger(Command::Save);
    EXPECT_EQ(saves, 1) << "Ctrl+S reached the window while it saved";
    EXPECT_EQ(m_files.calls.size(), 1u) << "Ctrl+O reached the window while it saved";
    EXPECT_EQ(Document().Path(), m_document) << "New reached the window while it saved";
    ASSERT_EQ(m_messages.messages.size(), 1u);
    EXPECT_EQ(ReadFile(m_document), kDocument);
    holder.reset();
    Trigger(Command::Save);
    EXPECT_EQ(m_messages.messages.size(), 1u);
    EXPECT_NE(ReadFile(m_document).find("Title=Changed\r\n"), std::string::npos);
    EXPECT_FALSE(Document().IsModified());
    EXPECT_FALSE(m_window->isWindowModified());
}

// The user need not cancel: the save waits as long as the lock is held and, once it is released,
// writes. The notice goes when the writing starts, and the wait does not count for the progress
// dialog, which shows only for a write that itself lasts a second.
TEST_F(LockedSaveTest, ReleasingTheLockLetsTheSaveFinish) {
    std::optional<LockHoldingProcess> holder(m_document);
    bool shown = false;
    WhenNoticeShows([&](QProgressDialog*) {
        shown = true;
        QTimer::singleShot(1s, [&] { holder.reset(); });
    });
    std::optional<int> dialogsWhenSaved;
    const int listener = Document().AddListener([&](const tav::DocumentChange& change) {
        if (change.kind == tav::DocumentChange::Kind::Saved) {
            const auto dialogs = m_window->findChildren<QProgressDialog*>();
            dialogsWhenSaved = static_cast<int>(std::count_if(
                dialogs.begin(), dialogs.end(), [](auto* d) { return d->isVisible(); }));
        }
    });
    Trigger(Command::Save);
    Document().RemoveListener(listener);
    EXPECT_TRUE(shown);
    EXPECT_EQ(dialogsWhenSaved, 0);
    EXPECT_EQ(Notice(), nullptr);
    EXPECT_TRUE(m_messages.messages.empty());
    EXPECT_NE(ReadFile(m_document).find("Title=Changed\r\n"), std::string::npos);
    EXPECT_FALSE(Document().IsModified());
    EXPECT_EQ(QGuiApplication::overrideCursor(), nullptr);
}

// Restoring an unfinished save's copy writes the file, so it waits for the lock like a save; when
// that is cancelled, the question's outcome is reported and nothing is opened.
TEST_F(LockedSaveTest, ACancelledRestoreOpensNothing) {
    const std::string torn = m_temp.File("in/torn.tac");
    const std::string copy = m_temp.File("in/" + tav::CopyNameBeside("torn.tac"));
    WriteFile(torn, "[General]\r\nTitle=Comp");
    WriteFile(copy, "[General]\r\nTitle=Complete\r\n");
    std::optional<LockHoldingProcess> holder(torn);
    QString shown;
    WhenNoticeShows([&](QProgressDialog* notice) {
        shown = notice->labelText();
        ClickCancel(notice);
    });
    m_messages.answers.push_back(tav::SaveAnswer::Discard);
    m_messages.leftoverAnswers.push_back(tav::LeftoverAnswer::Restore);
    EXPECT_FALSE(m_window->OpenFile(torn));
    EXPECT_TRUE(shown.contains("to release torn.tac")) << shown.toStdString();
    ASSERT_EQ(m_messages.messages.size(), 1u);
    EXPECT_TRUE(m_messages.messages[0].startsWith("The complete content could not be restored"))
        << m_messages.messages[0].toStdString();
    EXPECT_TRUE(m_messages.messages[0].endsWith("; nothing was written"));
    EXPECT_EQ(Document().Path(), m_document);
    EXPECT_EQ(ReadFile(torn), "[General]\r\nTitle=Comp");
    EXPECT_TRUE(std::filesystem::exists(copy));
}

}  // namespace
}  // namespace tavtest
