// The File commands: New, Open, Save, Save As and Exit, with their failures.
#include <QAction>
#include <QDir>
#include <QTest>
#include <QToolBar>
#include <filesystem>

#include "tree/configtree.h"
#include "ui-fakes.h"

namespace tavtest {
namespace {

using tav::Command;

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
        auto* toolBar = Control<QToolBar>(tav::ControlId::ToolBar);
        QTest::mouseClick(toolBar->widgetForAction(m_window->Action(command)), Qt::LeftButton);
    }
    QString Native(const std::string& path) const {
        return QDir::toNativeSeparators(QString::fromStdString(path));
    }

    std::string m_document;
};

TEST_F(FileCommandsTest, OpenReadsRebuildsAndRemembersTheFolder) {
    OpenDocument(m_document);
    EXPECT_EQ(m_files.calls.at(0).folder, ".");
    EXPECT_FALSE(m_files.calls.at(0).save);
    EXPECT_EQ(Tree().RootItem()->text(0), QString::fromStdString("File : [" + m_document + "]"));
    EXPECT_NE(Item("Title = \"Desk\""), nullptr);
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
    EXPECT_NE(Item("Title = \"Desk\""), nullptr);
    EXPECT_EQ(m_window->OpenFolder(), Native(m_temp.File("in")).toStdString());
}

TEST_F(FileCommandsTest, NewForgetsTheDocument) {
    OpenDocument(m_document);
    ClickToolButton(Command::New);
    EXPECT_EQ(Tree().RootItem()->text(0), "File : [none]");
    EXPECT_EQ(Document().Path(), "");
    EXPECT_NE(Item("Title = \"\""), nullptr);
    EXPECT_EQ(m_window->OpenFolder(), Native(m_temp.File("in")).toStdString());
}

TEST_F(FileCommandsTest, SaveWritesInPlaceWithoutRebuilding) {
    OpenDocument(m_document);
    QTreeWidgetItem* title = Select("Title");
    ASSERT_TRUE(Tree().SetSelectedValue("Counter"));
    ClickToolButton(Command::Save);
    EXPECT_NE(ReadFile(m_document).find("Title=Counter\r\n"), std::string::npos);
    EXPECT_EQ(Tree().currentItem(), title);
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
    EXPECT_EQ(m_files.calls.at(1).folder, ".");
    EXPECT_TRUE(m_files.calls.at(1).save);
    EXPECT_NE(ReadFile(target).find("Title=Desk\r\n"), std::string::npos);
    EXPECT_EQ(Tree().RootItem()->text(0), QString::fromStdString("File : [" + target + "]"));
    EXPECT_NE(Item("Beep on error = \"False\""), nullptr);
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
    EXPECT_EQ(Tree().RootItem()->text(0), QString::fromStdString("File : [" + m_document + "]"));
    EXPECT_FALSE(std::filesystem::exists(nowhere));
}

TEST_F(FileCommandsTest, ExitSavesNothing) {
    OpenDocument(m_document);
    Select("Title");
    ASSERT_TRUE(Tree().SetSelectedValue("Changed"));
    Trigger(Command::Exit);
    EXPECT_FALSE(m_window->isVisible());
    EXPECT_EQ(ReadFile(m_document), kDocument);
}

}  // namespace
}  // namespace tavtest
