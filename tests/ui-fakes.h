// Stand-ins for the main window's services, and a fixture that builds the real window over them.
#pragma once

#include <gtest/gtest.h>
#include <sys/types.h>

#include <QLineEdit>
#include <QString>
#include <deque>
#include <functional>
#include <memory>
#include <optional>
#include <set>
#include <string>
#include <utility>
#include <vector>

#include "document/configdocument.h"
#include "help/helpservice.h"
#include "testutil.h"
#include "treeitem.h"
#include "ui/cataloguechoice.h"
#include "ui/diskquestions.h"
#include "ui/filechooser.h"
#include "ui/filewatcher.h"
#include "ui/maindialog.h"
#include "ui/messagereporter.h"

class QAction;

namespace tavtest {

// The window's controls as the tests name them; each is found by its object name.
enum class ControlId {
    ToolBar,
    Tree,
    ValueEdit,
    PathDisplay,
    ValueCombo,
    ReplaceLabel,
    ReplaceEdit,
    ByLabel,
    ByEdit,
    AddButton,
    DeleteButton,
    StatusLabel,
};

// The window's menu commands as the tests name them.
enum class Command { New, Open, Save, SaveAs, CatalogueFolder, Exit, Undo, Redo, HelpContents, About };

// The action of `command` in `window`.
QAction* ActionOf(const tav::MainDialog& window, Command command);

// Answers file dialogs from a script and records where each one started.
class ScriptedChooser final : public tav::FileChooser {
public:
    struct Call {
        bool save;
        QString folder;
    };
    std::deque<std::optional<tav::ChosenFile>> answers;  // nullopt: the user cancels
    std::vector<Call> calls;

    std::optional<tav::ChosenFile> ChooseOpen(QWidget* owner, const QString& folder) override;
    std::optional<tav::ChosenFile> ChooseSave(QWidget* owner, const QString& folder) override;

    // The folder chooser's answers (nullopt: the user cancels) and where each one started.
    std::deque<std::optional<std::string>> folderAnswers;
    std::vector<QString> folderCalls;
    std::optional<std::string> ChooseFolder(QWidget* owner, const QString& folder) override;

private:
    std::optional<tav::ChosenFile> Next(bool save, const QString& folder);
};

// Records warnings, and answers the unsaved-changes question and the question about an
// unfinished save from scripts, recording the document (and copy) each question named.
class RecordingReporter final : public tav::MessageReporter {
public:
    std::vector<QString> messages;
    std::deque<tav::SaveAnswer> answers;
    std::vector<QString> questions;
    std::deque<tav::LeftoverAnswer> leftoverAnswers;
    std::vector<std::pair<QString, QString>> leftoverQuestions;  // document, copy
    void ShowWarning(QWidget*, const QString& text) override { messages.push_back(text); }
    tav::SaveAnswer AskToSaveChanges(QWidget* owner, const QString& documentName) override;
    tav::LeftoverAnswer AskAboutUnfinishedSave(QWidget* owner, const QString& documentName,
                                               const QString& copyPath) override;
    std::deque<bool> forgetAnswers;
    std::vector<QString> missingFiles;
    bool AskToForgetMissingFile(QWidget* owner, const QString& path) override;
    // The question about the catalogue folder: answered from a script (Cancel when it runs out),
    // each one asked recorded.
    std::deque<tav::CatalogueAnswer> catalogueAnswers;
    std::vector<tav::CatalogueQuestion> catalogueQuestions;
    tav::CatalogueAnswer AskForCatalogues(QWidget* owner,
                                          const tav::CatalogueQuestion& question) override;
};

// Answers the question about changes on disk from a script (Cancel when it runs out) and records
// the conflicts each question listed; runs `whenAsked` (if set) before answering.
class ScriptedDiskQuestions final : public tav::DiskQuestions {
public:
    std::deque<tav::DiskDecision> answers;
    std::vector<std::vector<tav::DiskConflict>> asked;
    std::function<void()> whenAsked;
    tav::DiskDecision AskHowToSave(QWidget*, const QString&,
                                   const std::vector<tav::DiskConflict>& conflicts) override;
};

// A watch the test fires by hand; records the path watched last.
class FakeWatcher final : public tav::FileWatcher {
    Q_OBJECT

public:
    QString watched;
    void Watch(const QString& path) override { watched = path; }
    void Fire() { emit fileChanged(); }
};

class FakeHelp final : public tav::HelpService {
public:
    std::vector<QWidget*> owners;
    std::vector<std::string> pages;
    void ShowHelp(QWidget* owner, const std::string& page = {}) override {
        owners.push_back(owner);
        pages.push_back(page);
    }
};

// Another process, named kLockHolderName, holding a shared flock on a file: taken by the
// constructor (which returns once it is held), released by Release or the destructor, and in
// any case after 20 s, so that a test that fails to cancel a wait does not wait for ever.
class LockHoldingProcess final {
public:
    static constexpr const char* kLockHolderName = "lockholder";
    explicit LockHoldingProcess(const std::string& path);
    ~LockHoldingProcess();
    LockHoldingProcess(const LockHoldingProcess&) = delete;
    LockHoldingProcess& operator=(const LockHoldingProcess&) = delete;

    pid_t Pid() const { return m_pid; }
    // Ends the process, and with it the lock; returns once it has ended.
    void Release();

private:
    pid_t m_pid = -1;
    int m_release = -1;  // the write end of the pipe the process waits on
};

// Makes the program's style (see app/main.cpp) the application's, unless it is already.
void UseProgramStyle();

// The chosen file at `path`, named as the file dialog would name it.
tav::ChosenFile Chosen(const std::string& path);

// Builds the real main window over the fakes, shown, in the program's style, with the example
// catalogues unless a test writes its own.
class WindowTest : public testing::Test {
protected:
    void TearDown() override;

    // Writes Sections.txt and Fields.txt (lines joined with CR LF) into the temporary folder.
    void WriteCatalogues(const std::string& sections, const std::string& fields);
    // Builds the window over the catalogues in `catalogueFolder`, which must load without a
    // problem.
    void Build(std::string catalogueFolder = TAV_EXAMPLES_DIR, std::string openFolder = {});
    // Writes the catalogues and `document` (as doc.tac, lines joined with CR LF) into the
    // temporary folder, builds the window over those catalogues and opens the document.
    void BuildAndOpen(const std::string& sections, const std::string& fields,
                      const std::string& document);

    tav::ConfigTree& Tree() const { return m_window->Tree(); }
    tav::ConfigDocument& Document() const { return m_window->Document(); }
    QWidget* Control(ControlId id) const;
    QLineEdit* Edit(ControlId id) const { return Control<QLineEdit>(id); }
    // Clicks the control as the mouse would.
    void Click(ControlId id) const;
    template <typename Widget>
    Widget* Control(ControlId id) const {
        return qobject_cast<Widget*>(Control(id));
    }
    QAction* Action(Command command) const { return ActionOf(*m_window, command); }
    // The first item whose text is `label` or starts with `label` followed by " = "; fails the
    // test when there is none (and gives an invalid item).
    TreeItem Item(const std::string& label) const;
    // Selects that item as a click would and returns it.
    TreeItem Select(const std::string& label) const;
    void Trigger(Command command) const;
    // Which of the editor panel's controls are visible now.
    std::set<ControlId> VisibleEditors() const;
    // What a person sees of the window now: the menu bar, the toolbar, the find field, the save
    // note while it shows, the path display, the editor panel's shown controls and the tree.
    std::vector<QWidget*> VisibleControls() const;

    TempDir m_temp;
    ScriptedChooser m_files;
    RecordingReporter m_messages;
    FakeHelp m_help;
    ScriptedDiskQuestions m_disk;
    FakeWatcher m_watcher;
    tav::CatalogueChoice m_choice{m_files, m_messages, {}};
    std::unique_ptr<tav::MainDialog> m_window;
};

}  // namespace tavtest

// Lets GoogleTest print a QString as its text.
void PrintTo(const QString& text, std::ostream* out);
