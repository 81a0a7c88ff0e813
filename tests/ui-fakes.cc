#include "ui-fakes.h"

#include <fcntl.h>
#include <sys/file.h>
#include <sys/prctl.h>
#include <sys/wait.h>
#include <unistd.h>

#include <QAction>
#include <QApplication>
#include <QFileInfo>
#include <QLineEdit>
#include <QMenuBar>
#include <QTest>
#include <map>
#include <stdexcept>

#include "catalog/catalogues.h"
#include "qtbridge/textconv.h"
#include "tree/configtree.h"
#include "ui/filterfield.h"
#include "ui/programstyle.h"

namespace tavtest {

QAction* ActionOf(const tav::MainDialog& window, Command command) {
    switch (command) {
        case Command::New:
            return window.NewAction();
        case Command::Open:
            return window.OpenAction();
        case Command::Save:
            return window.SaveAction();
        case Command::SaveAs:
            return window.SaveAsAction();
        case Command::CatalogueFolder:
            return window.CatalogueFolderAction();
        case Command::Exit:
            return window.ExitAction();
        case Command::Undo:
            return window.UndoAction();
        case Command::Redo:
            return window.RedoAction();
        case Command::HelpContents:
            return window.HelpContentsAction();
        case Command::About:
            return window.AboutAction();
    }
    return nullptr;
}

std::optional<tav::ChosenFile> ScriptedChooser::ChooseOpen(QWidget*, const QString& folder) {
    return Next(false, folder);
}

std::optional<tav::ChosenFile> ScriptedChooser::ChooseSave(QWidget*, const QString& folder) {
    return Next(true, folder);
}

std::optional<std::string> ScriptedChooser::ChooseFolder(QWidget*, const QString& folder) {
    folderCalls.push_back(folder);
    if (folderAnswers.empty()) {
        ADD_FAILURE() << "a folder chooser opened that the test did not expect";
        return std::nullopt;
    }
    auto answer = folderAnswers.front();
    folderAnswers.pop_front();
    return answer;
}

std::optional<tav::ChosenFile> ScriptedChooser::Next(bool save, const QString& folder) {
    calls.push_back({save, folder});
    if (answers.empty()) {
        ADD_FAILURE() << "a file dialog opened that the test did not expect";
        return std::nullopt;
    }
    auto answer = answers.front();
    answers.pop_front();
    return answer;
}

tav::SaveAnswer RecordingReporter::AskToSaveChanges(QWidget*, const QString& documentName) {
    questions.push_back(documentName);
    if (answers.empty()) {
        ADD_FAILURE() << "the window asked about unsaved changes, which the test did not expect";
        return tav::SaveAnswer::Cancel;
    }
    const tav::SaveAnswer answer = answers.front();
    answers.pop_front();
    return answer;
}

tav::LeftoverAnswer RecordingReporter::AskAboutUnfinishedSave(QWidget*, const QString& documentName,
                                                              const QString& copyPath) {
    leftoverQuestions.emplace_back(documentName, copyPath);
    if (leftoverAnswers.empty()) {
        ADD_FAILURE() << "the window asked about an unfinished save, which the test did not expect";
        return tav::LeftoverAnswer::Cancel;
    }
    const tav::LeftoverAnswer answer = leftoverAnswers.front();
    leftoverAnswers.pop_front();
    return answer;
}

tav::CatalogueAnswer RecordingReporter::AskForCatalogues(QWidget*,
                                                         const tav::CatalogueQuestion& question) {
    catalogueQuestions.push_back(question);
    if (catalogueAnswers.empty()) {
        return tav::CatalogueAnswer::Cancel;
    }
    const tav::CatalogueAnswer answer = catalogueAnswers.front();
    catalogueAnswers.pop_front();
    return answer;
}

bool RecordingReporter::AskToForgetMissingFile(QWidget*, const QString& path) {
    missingFiles.push_back(path);
    if (forgetAnswers.empty()) {
        ADD_FAILURE() << "the window said a file is missing, which the test did not expect";
        return false;
    }
    const bool answer = forgetAnswers.front();
    forgetAnswers.pop_front();
    return answer;
}

tav::DiskDecision ScriptedDiskQuestions::AskHowToSave(
    QWidget*, const QString&, const std::vector<tav::DiskConflict>& conflicts) {
    asked.push_back(conflicts);
    if (whenAsked) {
        whenAsked();
    }
    if (answers.empty()) {
        ADD_FAILURE() << "an unscripted question about changes on disk";
        return {};
    }
    const tav::DiskDecision answer = answers.front();
    answers.pop_front();
    return answer;
}

LockHoldingProcess::LockHoldingProcess(const std::string& path) {
    int ready[2];
    int release[2];
    if (::pipe(ready) != 0 || ::pipe(release) != 0) {
        throw std::runtime_error("pipe failed");
    }
    m_pid = ::fork();
    if (m_pid == 0) {
        // Only system calls from here on: the parent has threads.
        ::close(ready[0]);
        ::close(release[1]);
        ::prctl(PR_SET_NAME, kLockHolderName);
        const int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
        const char held = fd >= 0 && ::flock(fd, LOCK_SH) == 0 ? '1' : '0';
        ::alarm(20);
        if (::write(ready[1], &held, 1) == 1) {
            char any;
            while (::read(release[0], &any, 1) > 0) {
            }
        }
        ::_exit(0);
    }
    ::close(ready[1]);
    ::close(release[0]);
    m_release = release[1];
    char held = '0';
    const bool told = m_pid > 0 && ::read(ready[0], &held, 1) == 1;
    ::close(ready[0]);
    if (!told || held != '1') {
        Release();
        throw std::runtime_error("the lock holder could not lock " + path);
    }
}

LockHoldingProcess::~LockHoldingProcess() {
    Release();
}

void LockHoldingProcess::Release() {
    if (m_release >= 0) {
        ::close(m_release);
        m_release = -1;
    }
    if (m_pid > 0) {
        ::waitpid(m_pid, nullptr, 0);
        m_pid = -1;
    }
}

tav::ChosenFile Chosen(const std::string& path) {
    return {path, tav::FromQt(QFileInfo(tav::ToQt(path)).fileName())};
}

void WindowTest::TearDown() {
    m_window.reset();
    EXPECT_TRUE(m_files.answers.empty()) << "a scripted file dialog never opened";
    EXPECT_TRUE(m_messages.answers.empty()) << "a scripted question was never asked";
    EXPECT_TRUE(m_messages.leftoverAnswers.empty())
        << "a scripted question about an unfinished save was never asked";
    EXPECT_TRUE(m_disk.answers.empty()) << "a scripted question about the disk was never asked";
    EXPECT_TRUE(m_files.folderAnswers.empty()) << "a scripted folder chooser never opened";
    EXPECT_TRUE(m_messages.catalogueAnswers.empty())
        << "a scripted question about the catalogues was never asked";
}

void WindowTest::WriteCatalogues(const std::string& sections, const std::string& fields) {
    WriteFile(m_temp.File("Sections.txt"), Crlf(sections));
    WriteFile(m_temp.File("Fields.txt"), Crlf(fields));
}

void UseProgramStyle() {
    if (qobject_cast<tav::ProgramStyle*>(QApplication::style()) == nullptr) {
        QApplication::setStyle(new tav::ProgramStyle);
    }
}

void WindowTest::Build(std::string catalogueFolder, std::string openFolder) {
    UseProgramStyle();
    const auto problem = [](const tav::FileError& error) {
        ADD_FAILURE() << error.file << ": " << error.reason;
    };
    m_window = std::make_unique<tav::MainDialog>(
        catalogueFolder.empty() ? tav::CataloguesFromText({}, {}, {})
                                : tav::LoadCatalogues(catalogueFolder, problem),
        std::move(openFolder),
        tav::MainDialogServices{m_files, m_messages, m_help, &m_disk, &m_watcher, &m_choice});
    m_window->show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(m_window.get()));
}

void WindowTest::BuildAndOpen(const std::string& sections, const std::string& fields,
                              const std::string& document) {
    WriteCatalogues(sections, fields);
    WriteFile(m_temp.File("doc.tac"), Crlf(document));
    Build(m_temp.Path());
    m_files.answers.push_back(Chosen(m_temp.File("doc.tac")));
    Trigger(Command::Open);
}

QWidget* WindowTest::Control(ControlId id) const {
    static const std::map<ControlId, const char*> kNames = {
        {ControlId::ToolBar, "toolBar"},
        {ControlId::Tree, "tree"},
        {ControlId::ValueEdit, "valueEdit"},
        {ControlId::PathDisplay, "pathDisplay"},
        {ControlId::ValueCombo, "valueCombo"},
        {ControlId::ReplaceLabel, "replaceLabel"},
        {ControlId::ReplaceEdit, "replaceEdit"},
        {ControlId::ByLabel, "byLabel"},
        {ControlId::ByEdit, "byEdit"},
        {ControlId::AddButton, "addButton"},
        {ControlId::DeleteButton, "deleteButton"},
        {ControlId::StatusLabel, "statusLabel"},
    };
    QWidget* control = m_window->findChild<QWidget*>(QLatin1String(kNames.at(id)));
    if (control == nullptr) {
        ADD_FAILURE() << "the window has no " << kNames.at(id);
    }
    return control;
}

void WindowTest::Click(ControlId id) const {
    QTest::mouseClick(Control(id), Qt::LeftButton);
}

TreeItem WindowTest::Item(const std::string& label) const {
    const QString text = tav::ToQt(label);
    for (const TreeItem& item : AllItems(Tree())) {
        const QString itemText = item.text();
        if (itemText == text || itemText.startsWith(text + QStringLiteral(" = "))) {
            return item;
        }
    }
    ADD_FAILURE() << "no tree item labelled " << label;
    return {};
}

TreeItem WindowTest::Select(const std::string& label) const {
    const TreeItem item = Item(label);
    Tree().SetCurrentIndex(item);
    return item;
}

void WindowTest::Trigger(Command command) const {
    Action(command)->trigger();
}

std::set<ControlId> WindowTest::VisibleEditors() const {
    std::set<ControlId> visible;
    for (ControlId id : {ControlId::ValueEdit, ControlId::ValueCombo, ControlId::ReplaceLabel,
                         ControlId::ReplaceEdit, ControlId::ByLabel, ControlId::ByEdit,
                         ControlId::AddButton, ControlId::DeleteButton}) {
        if (Control(id) != nullptr && Control(id)->isVisible()) {
            visible.insert(id);
        }
    }
    return visible;
}

std::vector<QWidget*> WindowTest::VisibleControls() const {
    std::vector<QWidget*> controls = {m_window->findChild<QMenuBar*>(),
                                      m_window->findChild<tav::FilterField*>()};
    for (ControlId id : {ControlId::ToolBar, ControlId::StatusLabel, ControlId::PathDisplay,
                         ControlId::ValueEdit, ControlId::ValueCombo, ControlId::ReplaceLabel,
                         ControlId::ReplaceEdit, ControlId::ByLabel, ControlId::ByEdit,
                         ControlId::AddButton, ControlId::DeleteButton, ControlId::Tree}) {
        controls.push_back(Control(id));
    }
    std::erase_if(controls, [this](const QWidget* control) {
        return control == nullptr || !control->isVisibleTo(m_window.get());
    });
    return controls;
}

}  // namespace tavtest

void PrintTo(const QString& text, std::ostream* out) {
    *out << '"' << text.toStdString() << '"';
}
