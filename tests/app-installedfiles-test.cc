#include "app/installedfiles.h"

#include <gtest/gtest.h>

#include <QDir>
#include <filesystem>
#include <string>

#include "qtbridge/textconv.h"
#include "ui-fakes.h"

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
        tavtest::WriteFile(m_dir.File(folder + "/Sections.txt"), "1,S,N,L,SN,1\n");
        tavtest::WriteFile(m_dir.File(folder + "/Fields.txt"), "K,K,B,N,1\n");
    }

    std::string Run(const QStringList& arguments) {
        const tav::CatalogueEnvironment env{m_dir.File("config"), m_dir.File("etc"),
                                            m_dir.File("share/tavmanager")};
        return tav::EditorCatalogueFolder(arguments, Bin(), env, m_messages);
    }

    QString Bin() const { return ToQt(m_dir.File("bin")); }

    tavtest::TempDir m_dir;
    tavtest::RecordingReporter m_messages;
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

TEST_F(EditorCatalogueFolderTest, NoneFoundSaysWhereItLookedAndNamesNoFolder) {
    EXPECT_EQ(Run({QStringLiteral("tavmanager")}), "");
    ASSERT_EQ(m_messages.messages.size(), 1u);
    const QString& text = m_messages.messages[0];
    const QStringList folders{Bin(), ToQt(m_dir.File("config/tavmanager")),
                              ToQt(m_dir.File("etc/tavmanager")),
                              ToQt(m_dir.File("share/tavmanager"))};
    EXPECT_TRUE(text.contains(folders.join(QLatin1Char('\n')))) << text.toStdString();
    EXPECT_TRUE(text.contains(QStringLiteral("--catalogues FOLDER"))) << text.toStdString();
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
