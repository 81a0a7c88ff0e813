// The application: the remembered folder and recent files read at start and written at exit, and
// the document the command line names.
#include <QAction>
#include <QApplication>
#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QSettings>
#include <QStandardPaths>
#include <QTimer>
#include <filesystem>
#include <functional>

#include "app/configapp.h"
#include "catalog/rememberedfolder.h"
#include "ui/cataloguechoice.h"
#include "ui-fakes.h"

namespace tavtest {
namespace {

constexpr const char* kKey = "Init/OpenFolder";

class ConfigAppTest : public testing::Test {
protected:
    std::unique_ptr<QSettings> Settings() const {
        return std::make_unique<QSettings>(QString::fromStdString(m_temp.File("settings.ini")),
                                           QSettings::IniFormat);
    }
    // Runs the application; once its window is up, `during` acts on it and Exit ends it.
    void Run(std::unique_ptr<QSettings> settings,
             const std::function<void(tav::MainDialog&)>& during = {},
             const std::string& startFile = {},
             const std::string& catalogueFolder = TAV_EXAMPLES_DIR) {
        tav::ConfigApp app(std::move(settings), {m_files, m_messages, m_help});
        QTimer::singleShot(0, [&during] {
            auto* window = qobject_cast<tav::MainDialog*>(QApplication::activeModalWidget());
            ASSERT_NE(window, nullptr);
            if (during) {
                during(*window);
            }
            window->ExitAction()->trigger();
        });
        app.Run(catalogueFolder, startFile);
    }
    void Open(tav::MainDialog& window, const std::string& path) {
        m_files.answers.push_back(Chosen(path));
        window.OpenAction()->trigger();
    }
    QVariant Stored() const { return Settings()->value(kKey); }

    TempDir m_temp;
    ScriptedChooser m_files;
    RecordingReporter m_messages;
    FakeHelp m_help;
};

TEST_F(ConfigAppTest, ProgramSettingsAreThePerUserStoreNamedAfterTheProgram) {
    const auto settings = tav::ConfigApp::ProgramSettings();
    const QString program = QFileInfo(QCoreApplication::applicationFilePath()).completeBaseName();
    EXPECT_EQ(settings->organizationName(), "Wrn.Applications");
    EXPECT_EQ(settings->applicationName(), program);
    EXPECT_EQ(settings->scope(), QSettings::UserScope);
    EXPECT_EQ(settings->fileName(),
              QStandardPaths::writableLocation(QStandardPaths::GenericConfigLocation) +
                  "/Wrn.Applications/" + program + ".conf");
}

TEST_F(ConfigAppTest, NothingIsWrittenWhileTheFolderIsEmpty) {
    Run(Settings());
    EXPECT_FALSE(Stored().isValid());
    EXPECT_TRUE(m_messages.messages.empty());
}

TEST_F(ConfigAppTest, TheStoredFolderStartsOpenAndIsWrittenBackUnchanged) {
    Settings()->setValue(kKey, "/srv/tac");
    Run(Settings(), [this](tav::MainDialog& window) {
        m_files.answers.push_back(std::nullopt);
        window.OpenAction()->trigger();
        Settings()->setValue(kKey, "/elsewhere");  // the run's own value wins at exit
    });
    EXPECT_EQ(m_files.calls.at(0).folder, "/srv/tac");
    EXPECT_EQ(Stored().toString(), "/srv/tac");
}

TEST_F(ConfigAppTest, OnlyTheFolderOfTheLastOpenIsStored) {
    Settings()->setValue(kKey, "/srv/tac");
    Run(Settings(), [this](tav::MainDialog& window) {
        Open(window, m_temp.File("one.tac"));
        Open(window, "/tmp/two.tac");
        EXPECT_EQ(Settings()->value(kKey).toString(), "/srv/tac");  // only at exit
    });
    EXPECT_EQ(Stored().toString(), QDir::toNativeSeparators("/tmp"));
}

TEST_F(ConfigAppTest, AStoreThatCannotBeWrittenIsReported) {
    auto settings = std::make_unique<QSettings>("/dev/null/settings.ini", QSettings::IniFormat);
    Run(std::move(settings), [this](tav::MainDialog& window) { Open(window, "/tmp/one.tac"); });
    ASSERT_EQ(m_messages.messages.size(), 1u);
    EXPECT_TRUE(m_messages.messages[0].contains("/dev/null/settings.ini: "));
}

TEST_F(ConfigAppTest, RecentFilesAreReadAndStoredUnderTheirOwnKey) {
    constexpr const char* kRecent = "Recent/Files";
    Settings()->setValue(kKey, "/srv/tac");
    Settings()->setValue(kRecent, QStringList({"/srv/tac/a.tac", "/srv/tac/b.tac"}));
    std::vector<std::string> shown;
    Run(Settings(), [&](tav::MainDialog& window) {
        shown = window.RecentFiles();
        Open(window, "/srv/tac/b.tac");
    });
    EXPECT_EQ(shown, (std::vector<std::string>{"/srv/tac/a.tac", "/srv/tac/b.tac"}));
    EXPECT_EQ(Settings()->value(kRecent).toStringList(),
              QStringList({"/srv/tac/b.tac", "/srv/tac/a.tac"}));
    EXPECT_EQ(Stored().toString(), "/srv/tac");  // the folder keeps its own key
    // A run that opens nothing leaves the stored list alone.
    Run(Settings());
    EXPECT_EQ(Settings()->value(kRecent).toStringList(),
              QStringList({"/srv/tac/b.tac", "/srv/tac/a.tac"}));
    EXPECT_TRUE(m_messages.messages.empty());
}

TEST_F(ConfigAppTest, TheStartFileIsOpenedOrStartedAsANewDocumentOfThatName) {
    const std::string existing = m_temp.File("desk.tac");
    WriteFile(existing, "[General]\r\nTitle=Desk\r\n");
    const std::string missing = m_temp.File("new.tac");
    for (const std::string& file : {existing, missing}) {
        std::string path;
        QString title;
        Run(
            Settings(),
            [&](tav::MainDialog& window) {
                path = window.Document().Path();
                title = window.windowTitle();
            },
            file);
        EXPECT_EQ(path, file);
        EXPECT_TRUE(title.startsWith(QFileInfo(QString::fromStdString(file)).fileName() + "[*]"));
    }
    EXPECT_EQ(Settings()->value("Recent/Files").toStringList(),
              QStringList({QString::fromStdString(missing), QString::fromStdString(existing)}));
    EXPECT_TRUE(m_messages.messages.empty());
    EXPECT_FALSE(std::filesystem::exists(missing)) << "opening writes nothing";
}

TEST_F(ConfigAppTest, CatalogueProblemsAreShownWithFileAndReason) {
    std::size_t sections = 1;
    Run(
        Settings(),
        [&sections](tav::MainDialog& window) {
            sections = window.Document().Defs().sections.Count();
        },
        {}, m_temp.Path());
    ASSERT_EQ(m_messages.messages.size(), 2u);
    for (std::size_t i : {0u, 1u}) {
        const std::string file = m_temp.File(i == 0 ? "Sections.txt" : "Fields.txt");
        EXPECT_TRUE(m_messages.messages[i].contains(
            QDir::toNativeSeparators(QString::fromStdString(file)) + ": No such file or directory"))
            << m_messages.messages[i].toStdString();
    }
    EXPECT_EQ(sections, 0u);
}

// The start-up found no folder and said where it looked; the window opens without a word.
TEST_F(ConfigAppTest, WithoutACatalogueFolderTheWindowOpensWithoutAWord) {
    std::size_t sections = 1;
    Run(Settings(),
        [&sections](tav::MainDialog& window) {
            sections = window.Document().Defs().sections.Count();
        },
        {}, {});
    EXPECT_TRUE(m_messages.messages.empty())
        << (m_messages.messages.empty() ? "" : m_messages.messages[0].toStdString());
    EXPECT_EQ(sections, 0u);
}

// File > Catalogue Folder... in the running program: the folder is remembered where tacconf reads
// it, and a window over the new catalogues opens the same document again, asking nothing.
TEST_F(ConfigAppTest, AnotherCatalogueFolderIsRememberedAndTheDocumentReopenedOverIt) {
    const std::string other = m_temp.File("other");
    std::filesystem::create_directories(other);
    for (const char* name : {"Sections.txt", "Fields.txt"}) {
        std::filesystem::copy_file(std::string(TAV_EXAMPLES_DIR) + "/" + name, other + "/" + name);
    }
    const std::string document = std::string(TAV_EXAMPLES_DIR) + "/front-office.tac";
    tav::CatalogueChoice choice(m_files, m_messages, {});
    tav::ConfigApp app(Settings(), {m_files, m_messages, m_help, nullptr, nullptr, &choice});
    std::vector<std::string> seen;  // each window's catalogue folder and document
    std::function<void()> act = [&] {
        auto* window = qobject_cast<tav::MainDialog*>(QApplication::activeModalWidget());
        // The next window may not be up yet (and may take the address of the one before).
        if (window == nullptr || window->property("seen").toBool()) {
            QTimer::singleShot(10, act);
            return;
        }
        window->setProperty("seen", true);
        const tav::ConfigDocument& shown = window->Document();
        seen.push_back(std::filesystem::path(shown.Defs().sectionFile.path).parent_path().string() +
                       " " + shown.Path());
        if (seen.size() == 1) {
            m_messages.catalogueAnswers.push_back(tav::CatalogueAnswer::ChooseFolder);
            m_files.folderAnswers.push_back(other);
            QTimer::singleShot(0, act);
            window->CatalogueFolderAction()->trigger();
        } else {
            window->ExitAction()->trigger();
        }
    };
    QTimer::singleShot(0, act);
    app.Run(TAV_EXAMPLES_DIR, document);

    EXPECT_EQ(seen, std::vector<std::string>({std::string(TAV_EXAMPLES_DIR) + " " + document,
                                              other + " " + document}));
    EXPECT_TRUE(m_messages.questions.empty()) << "an unmodified document needs no question";
    EXPECT_EQ(m_files.folderCalls, std::vector<QString>{QString::fromStdString(TAV_EXAMPLES_DIR)});
    EXPECT_EQ(app.RememberedCatalogueFolder(), other);
    const auto read = tav::ReadRememberedCatalogueFolder(m_temp.File("settings.ini"));
    ASSERT_TRUE(read);
    EXPECT_EQ(*read, other);
    EXPECT_TRUE(m_messages.messages.empty());
}

}  // namespace
}  // namespace tavtest
