// Changes made to the open document's file by someone else: the notice while it is open, and the
// question a save asks (Merge, Overwrite, Reload, Cancel) with the merge rule.
#include <unistd.h>
#include <QApplication>
#include <QDialog>
#include <QGuiApplication>
#include <QHeaderView>
#include <QPushButton>
#include <QScreen>
#include <QTest>
#include <QTimer>
#include <QTreeWidget>
#include <functional>

#include "qtbridge/textconv.h"
#include "tree/configtree.h"
#include "ui-fakes.h"
#include "ui/disknotice.h"

namespace tavtest {
namespace {

using Answer = tav::DiskDecision::Answer;

constexpr const char* kDocument =
    "; theirs and mine\r\n[General]\r\nTitle=Desk\r\nBeep=1\r\n"
    "[Printing]\r\nCopies=2\r\n[Network]\r\nHost=a\r\n";

class DiskChangesTest : public WindowTest {
protected:
    void SetUp() override {
        m_document = m_temp.File("desk.tac");
        WriteFile(m_document, kDocument);
        Build();
        m_files.answers.push_back(Chosen(m_document));
        Trigger(Command::Open);
        Select("Title");
        ASSERT_TRUE(Tree().SetSelectedValue("Mine"));
    }
    // Someone else replaces `from` by `to` in the file.
    void TheyWrite(const std::string& from, const std::string& to) const {
        std::string bytes = ReadFile(m_document);
        bytes.replace(bytes.find(from), from.size(), to);
        WriteFile(m_document, bytes);
    }
    void Reply(Answer answer, std::vector<bool> takeTheirs = {}) {
        m_disk.answers.push_back(tav::DiskDecision{answer, std::move(takeTheirs)});
    }
    tav::DiskNotice* Notice() const {
        return m_window->findChild<tav::DiskNotice*>(QStringLiteral("diskNotice"));
    }
    // The notice is made the first time it is shown.
    bool NoticeShown() const { return Notice() != nullptr && Notice()->isVisible(); }
    std::string m_document;
};

TEST_F(DiskChangesTest, MergeKeepsTheirKeysAndMine) {
    TheyWrite("Copies=2", "Copies=3\r\nTimeout=500");
    Reply(Answer::Merge);
    Trigger(Command::Save);
    ASSERT_EQ(m_disk.asked.size(), 1u);
    EXPECT_TRUE(m_disk.asked[0].empty()) << "nothing was changed on both sides";
    const std::string saved = ReadFile(m_document);
    EXPECT_NE(saved.find("Title=Mine\r\n"), std::string::npos);
    EXPECT_NE(saved.find("Copies=3\r\n"), std::string::npos) << "their value survives";
    EXPECT_NE(saved.find("Timeout=500\r\n"), std::string::npos);
    EXPECT_FALSE(Document().IsModified());
    EXPECT_EQ(tav::FromQt(Item("Copies").text()), "Copies = \"3\"") << "the tree shows theirs";
}

// The question comes between the save's read and its write: the wait cursor of the work is not
// over it, and none is left once the save is done, whatever the answer.
TEST_F(DiskChangesTest, TheQuestionIsAskedWithoutTheWaitCursor) {
    for (const Answer answer : {Answer::Merge, Answer::Overwrite, Answer::Cancel}) {
        SetUp();
        TheyWrite("Copies=2", "Copies=3");
        bool busyWhenAsked = true;
        m_disk.whenAsked = [&] { busyWhenAsked = QGuiApplication::overrideCursor() != nullptr; };
        Reply(answer);
        Trigger(Command::Save);
        const int name = static_cast<int>(answer);
        EXPECT_FALSE(busyWhenAsked) << name;
        EXPECT_EQ(QGuiApplication::overrideCursor(), nullptr) << name;
        EXPECT_EQ(ReadFile(m_document).find("Title=Mine") != std::string::npos,
                  answer != Answer::Cancel)
            << name;
    }
}

TEST_F(DiskChangesTest, AConflictIsListedAndDecidedByTheUser) {
    struct Case {
        bool takeTheirs;
        const char* saved;
    };
    for (const Case c : {Case{false, "Title=Mine\r\n"}, Case{true, "Title=Theirs\r\n"}}) {
        SetUp();
        TheyWrite("Title=Desk", "Title=Theirs");
        Reply(Answer::Merge, {c.takeTheirs});
        Trigger(Command::Save);
        ASSERT_EQ(m_disk.asked.back().size(), 1u);
        const tav::DiskConflict& conflict = m_disk.asked.back()[0];
        EXPECT_EQ(conflict.what, "General\\Title");
        EXPECT_EQ(conflict.mine, "Mine");
        EXPECT_EQ(conflict.theirs, "Theirs");
        EXPECT_NE(ReadFile(m_document).find(c.saved), std::string::npos) << c.saved;
    }
}

TEST_F(DiskChangesTest, OverwriteReloadAndCancel) {
    struct Case {
        Answer answer;
        const char* title;   // in the file afterwards
        const char* copies;  // in the file afterwards
        bool modified;       // the document afterwards
    };
    const Case cases[] = {
        {Answer::Overwrite, "Title=Mine", "Copies=2", false},
        {Answer::Reload, "Title=Desk", "Copies=9", false},
        {Answer::Cancel, "Title=Desk", "Copies=9", true},
    };
    for (const Case& c : cases) {
        SetUp();
        TheyWrite("Copies=2", "Copies=9");
        Reply(c.answer);
        Trigger(Command::Save);
        const std::string saved = ReadFile(m_document);
        EXPECT_NE(saved.find(c.title), std::string::npos) << saved;
        EXPECT_NE(saved.find(c.copies), std::string::npos) << saved;
        EXPECT_NE(saved.find("[Network]\r\nHost=a"), std::string::npos);
        EXPECT_EQ(Document().IsModified(), c.modified) << static_cast<int>(c.answer);
    }
    EXPECT_EQ(m_disk.asked.size(), 3u);
}

TEST_F(DiskChangesTest, ARemovedFileIsWrittenAgainWithoutAQuestion) {
    ASSERT_EQ(::unlink(m_document.c_str()), 0);
    m_watcher.Fire();
    ASSERT_TRUE(NoticeShown());
    EXPECT_TRUE(Notice()->Text().contains("removed")) << Notice()->Text().toStdString();
    Trigger(Command::Save);
    EXPECT_NE(ReadFile(m_document).find("Title=Mine\r\n"), std::string::npos);
    EXPECT_FALSE(NoticeShown());
    EXPECT_TRUE(m_disk.asked.empty());
}

TEST_F(DiskChangesTest, TheNoticeComesForOthersOnlyAndReloadsOnRequest) {
    EXPECT_EQ(m_watcher.watched, tav::ToQt(m_document));
    Trigger(Command::Save);
    m_watcher.Fire();  // our own save
    EXPECT_FALSE(NoticeShown());
    TheyWrite("Copies=2", "Copies=4");
    m_watcher.Fire();
    ASSERT_TRUE(NoticeShown());
    Notice()->KeepButton()->click();
    EXPECT_FALSE(NoticeShown());
    m_watcher.Fire();
    ASSERT_TRUE(NoticeShown()) << "the file still differs";
    Select("Title");
    ASSERT_TRUE(Tree().SetSelectedValue("Unsaved"));
    m_messages.answers.push_back(tav::SaveAnswer::Discard);
    Notice()->ReloadButton()->click();
    EXPECT_EQ(tav::FromQt(Item("Copies").text()), "Copies = \"4\"");
    EXPECT_EQ(tav::FromQt(Item("Title").text()), "Title = \"Mine\"") << "as last saved";
    EXPECT_FALSE(Document().IsModified());
    EXPECT_FALSE(NoticeShown());
}

// Every way of reading the document's file again keeps the tree as the user left it, and the
// keyboard focus where it was.
TEST_F(DiskChangesTest, ReadingTheFileAgainKeepsTheTreeAndTheFocus) {
    struct Case {
        const char* name;
        std::function<void()> reopen;
    };
    const std::vector<Case> cases = {
        {"notice_reload",
         [this] {
             TheyWrite("Copies=2", "Copies=4");
             m_watcher.Fire();
             ASSERT_TRUE(NoticeShown());
             m_messages.answers.push_back(tav::SaveAnswer::Discard);
             Notice()->ReloadButton()->click();
         }},
        {"save_question_reload",
         [this] {
             TheyWrite("Copies=2", "Copies=4");
             Reply(Answer::Reload);
             Trigger(Command::Save);
         }},
        {"save_question_merge",
         [this] {
             TheyWrite("Copies=2", "Copies=4");
             Reply(Answer::Merge);
             Trigger(Command::Save);
         }},
        {"save_as",
         [this] {
             m_files.answers.push_back(Chosen(m_temp.File("copy.tac")));
             Trigger(Command::SaveAs);
         }},
        {"open_again",
         [this] {
             m_messages.answers.push_back(tav::SaveAnswer::Discard);
             m_files.answers.push_back(Chosen(m_document));
             Trigger(Command::Open);
         }},
    };
    for (const Case& c : cases) {
        SetUp();
        Item("General").setExpanded(true);
        Item("Printing").setExpanded(true);
        Item("Document information").setExpanded(false);
        Select("Copies");
        m_window->activateWindow();
        ASSERT_TRUE(QTest::qWaitForWindowActive(m_window.get()));
        QLineEdit* value = Edit(ControlId::ValueEdit);
        ASSERT_NE(value, nullptr);
        value->setFocus();

        c.reopen();
        EXPECT_TRUE(Item("General").isExpanded()) << c.name;
        EXPECT_TRUE(Item("Printing").isExpanded()) << c.name;
        EXPECT_FALSE(Item("Document information").isExpanded()) << c.name;
        EXPECT_EQ(CurrentItem(Tree()), Item("Copies")) << c.name;
        EXPECT_TRUE(value->isVisible()) << c.name;
        const int copies = Tree().FieldIndexOf(Item("Copies"));
        EXPECT_EQ(value->text(), tav::ToQt(Document().Value(static_cast<std::uint16_t>(copies))))
            << c.name;
        QWidget* focus = m_window->focusWidget();
        EXPECT_EQ(focus, value) << c.name << ": "
                                << (focus != nullptr ? focus->metaObject()->className() : "none");
    }
}

// The question's dialog shows each column of its conflict list whole, header included, and lies on
// its owner's screen; values wider than the screen make the list scroll inside a dialog that fits.
TEST(DiskQuestionsDialog, ShowsEveryColumnWholeWithinTheOwnersScreen) {
    const QString wide(300, u'w');
    struct Case {
        const char* name;
        std::function<void(QWidget&)> place;
        QString theirs;
        bool fits;  // every column can be shown whole on the screen
    };
    const std::vector<Case> cases = {
        {"at_the_right_edge",
         [](QWidget& owner) {
             const QRect area = owner.screen()->availableGeometry();
             owner.move(area.right() - owner.frameGeometry().width() / 2, area.y() + 10);
         },
         QStringLiteral("/srv/capture/inbox"), true},
        {"values_wider_than_the_screen", [](QWidget& owner) { owner.showMaximized(); }, wide,
         false},
    };
    for (const Case& c : cases) {
        QWidget owner;
        owner.resize(300, 200);
        owner.show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(&owner)) << c.name;
        c.place(owner);
        const std::vector<tav::DiskConflict> conflicts = {
            {"General\\Title", "Mine", "Theirs"},
            {"Capture\\Source folder", "/srv/in", c.theirs},
        };
        QRect frame;
        std::vector<int> cut;  // the columns narrower than their header or values
        bool scrolls = false;
        QTimer::singleShot(0, [&] {
            auto* dialog = qobject_cast<QDialog*>(QApplication::activeModalWidget());
            auto* list = dialog == nullptr ? nullptr : dialog->findChild<QTreeWidget*>();
            if (list == nullptr) {
                ADD_FAILURE() << c.name << ": no conflict list";
                if (dialog != nullptr) {
                    dialog->reject();
                }
                return;
            }
            frame = dialog->frameGeometry();
            for (int column = 0; column < list->columnCount(); ++column) {
                const int wanted =
                    std::max(static_cast<QAbstractItemView*>(list)->sizeHintForColumn(column),
                             list->header()->sectionSizeHint(column));
                if (list->columnWidth(column) < wanted) {
                    cut.push_back(column);
                }
            }
            scrolls = list->header()->length() > list->viewport()->width();
            dialog->reject();
        });
        tav::DialogDiskQuestions().AskHowToSave(&owner, "desk.tac", conflicts);
        const QRect area = owner.screen()->availableGeometry();
        EXPECT_TRUE(area.contains(frame)) << c.name << ": " << frame.x() << "," << frame.y() << " "
                                          << frame.width() << "x" << frame.height();
        EXPECT_EQ(cut, std::vector<int>{}) << c.name;
        EXPECT_EQ(scrolls, !c.fits) << c.name;
    }
}

}  // namespace
}  // namespace tavtest
