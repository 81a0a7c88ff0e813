#include "app/installedfiles.h"

#include <gtest/gtest.h>

#include <QDir>
#include <filesystem>
#include <string>

#include "qtbridge/textconv.h"
#include "ui-fakes.h"
#include "ui/cataloguechoice.h"

namespace {

using tav::ToQt;

// A program folder and a user's configuration folder below a temporary one, each with the
// catalogue files a row asks for; no other place of the search exists.
class EditorCatalogueFolderTest : public testing::Test {
protected:
    EditorCatalogueFolderTest() {
        std::filesystem::create_directories(m_dir.File("bin"));
        std::filesystem::create_directories(m_dir.File("config/tavmanager"));
    }

    void WriteCatalogues(const std::string& folder) const {
        std::filesystem::create_directories(m_dir.File(folder));
        tavtest::WriteFile(m_dir.File(folder + "/Sections.txt"), "1,S,N,L,SN,1\n");
        tavtest::WriteFile(m_dir.File(folder + "/Fields.txt"), "K,K,B,N,1\n");
    }

    std::string Run(const QStringList& arguments, const std::string& remembered = {}) {
        const tav::CatalogueEnvironment env{m_dir.File("config"), m_dir.File("etc"),
                                            m_dir.File("share/tavmanager"), remembered};
        const tav::StartCatalogues start =
            tav::EditorCatalogueFolder(arguments, Bin(), env, m_choice);
        m_chosen = start.chosen;
        return start.folder;
    }

    QString Bin() const { return ToQt(m_dir.File("bin")); }

    tavtest::TempDir m_dir;
    tavtest::ScriptedChooser m_files;
    tavtest::RecordingReporter m_messages;
    tav::CatalogueChoice m_choice{m_files, m_messages, {}};
    bool m_chosen = false;
};

TEST_F(EditorCatalogueFolderTest, GivenFolderWinsInEitherFormAndTheLastCounts) {
    WriteCatalogues("bin");
    const QString program = QStringLiteral("tavmanager");
    const QString mine = ToQt(m_dir.File("mine"));
    const QString other = ToQt(m_dir.File("other"));
    EXPECT_EQ(Run({program, QStringLiteral("--catalogues"), mine}), m_dir.File("mine"));
    EXPECT_EQ(Run({program, QStringLiteral("--catalogues=") + mine}), m_dir.File("mine"));
    EXPECT_EQ(Run({program, QStringLiteral("--catalogues"), other, QStringLiteral("a.tac"),
                   QStringLiteral("--catalogues=") + mine}),
              m_dir.File("mine"));
    // Without a value the option names nothing: the search runs.
    EXPECT_EQ(Run({program, QStringLiteral("--catalogues")}), m_dir.File("bin"));
    EXPECT_EQ(Run({program, QStringLiteral("--catalogues=")}), m_dir.File("bin"));
    EXPECT_TRUE(m_messages.messages.empty());
}

TEST_F(EditorCatalogueFolderTest, RelativeGivenFolderIsMadeAbsolute) {
    const std::string folder =
        Run({QStringLiteral("tavmanager"), QStringLiteral("--catalogues"), QStringLiteral("cat")});
    EXPECT_EQ(folder, tav::FromQt(QDir::current().absoluteFilePath(QStringLiteral("cat"))));
}

TEST_F(EditorCatalogueFolderTest, SearchFindsTheUsersFolder) {
    WriteCatalogues("config/tavmanager");
    EXPECT_EQ(Run({QStringLiteral("tavmanager")}), m_dir.File("config/tavmanager"));
    EXPECT_TRUE(m_messages.messages.empty());
}

TEST_F(EditorCatalogueFolderTest, TheRememberedFolderComesFirstAndIsNotChosenAgain) {
    WriteCatalogues("bin");
    WriteCatalogues("chosen");
    EXPECT_EQ(Run({QStringLiteral("tavmanager")}, m_dir.File("chosen")), m_dir.File("chosen"));
    EXPECT_FALSE(m_chosen);
    EXPECT_TRUE(m_messages.catalogueQuestions.empty());
}

// One question, saying where the search looked; the folder chosen there is marked chosen.
TEST_F(EditorCatalogueFolderTest, NoneFoundAsksOnceSayingWhereItLooked) {
    EXPECT_EQ(Run({QStringLiteral("tavmanager")}), "");
    EXPECT_FALSE(m_chosen);
    ASSERT_EQ(m_messages.catalogueQuestions.size(), 1u);
    const QString& text = m_messages.catalogueQuestions[0].text;
    const QStringList folders{Bin(), ToQt(m_dir.File("config/tavmanager")),
                              ToQt(m_dir.File("etc/tavmanager")),
                              ToQt(m_dir.File("share/tavmanager"))};
    EXPECT_TRUE(text.contains(folders.join(QLatin1Char('\n')))) << text.toStdString();
    EXPECT_TRUE(m_messages.messages.empty());

    WriteCatalogues("mine");
    m_messages.catalogueAnswers.push_back(tav::CatalogueAnswer::ChooseFolder);
    m_files.folderAnswers.push_back(m_dir.File("mine"));
    EXPECT_EQ(Run({QStringLiteral("tavmanager")}), m_dir.File("mine"));
    EXPECT_TRUE(m_chosen);
}

TEST_F(EditorCatalogueFolderTest, ExamplesAreOfferedOnlyWhereTheInstallationHasThem) {
    EXPECT_EQ(tav::ExampleCatalogueFolder(Bin()), "");
    WriteCatalogues("share/tavmanager/examples");
    EXPECT_EQ(tav::ExampleCatalogueFolder(Bin()), m_dir.File("share/tavmanager/examples"));
}

TEST(HelpFolderTest, BesideTheProgramElseTheInstallationsDataFolder) {
    tavtest::TempDir dir;
    const std::string bin = dir.File("bin");
    std::filesystem::create_directories(bin);
    EXPECT_EQ(tav::HelpFolder(ToQt(bin)), ToQt(dir.File("share/tavmanager")));
    tavtest::WriteFile(bin + "/taca.chm", "");
    EXPECT_EQ(tav::HelpFolder(ToQt(bin)), ToQt(bin));
}

}  // namespace
