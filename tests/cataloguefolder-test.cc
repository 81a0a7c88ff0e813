#include "catalog/cataloguefolder.h"

#include <gtest/gtest.h>
#include <unistd.h>

#include <filesystem>
#include <map>
#include <string>
#include <vector>

#include "testutil.h"

namespace {

using tav::CatalogueEnvironment;
using Folders = std::vector<std::string>;

// The order of the folders, without touching the file system.
struct OrderCase {
    const char* name;
    std::string given;
    std::string programFolder;
    CatalogueEnvironment env;
    Folders expected;
};

class CatalogueSearchOrderTest : public testing::TestWithParam<OrderCase> {};

TEST_P(CatalogueSearchOrderTest, ListsTheFoldersInOrder) {
    const OrderCase& row = GetParam();
    EXPECT_EQ(tav::CatalogueSearchFolders(row.given, row.programFolder, row.env), row.expected);
}

INSTANTIATE_TEST_SUITE_P(
    Rows, CatalogueSearchOrderTest,
    testing::Values(OrderCase{"everyPlace",
                              "",
                              "/opt/tav/bin",
                              {"/home/u/cfg", "/etc/a:/etc/b", "/opt/tav/share/tavmanager"},
                              {"/opt/tav/bin", "/home/u/cfg/tavmanager", "/etc/a/tavmanager",
                               "/etc/b/tavmanager", "/opt/tav/share/tavmanager"}},
                    OrderCase{"givenIsTheOnlyOne",
                              "my/catalogues",
                              "/opt/tav/bin",
                              {"/home/u/cfg", "/etc/a", "/opt/tav/share/tavmanager"},
                              {"my/catalogues"}},
                    OrderCase{"emptyEnvironmentAddsNothing", "", "/usr/bin", {}, {"/usr/bin"}},
                    OrderCase{"emptyAndRelativeFoldersAreSkipped",
                              "",
                              "bin",
                              {"cfg", "::rel:/etc/a/:", ""},
                              {"/etc/a/tavmanager"}},
                    OrderCase{"noProgramFolder",
                              "",
                              "",
                              {"", "/etc/a", "/usr/share/tavmanager"},
                              {"/etc/a/tavmanager", "/usr/share/tavmanager"}},
                    OrderCase{"rememberedBeforeEveryPlaceSearched",
                              "",
                              "/opt/tav/bin",
                              {"/home/u/cfg", "/etc/a", "", "/srv/chosen"},
                              {"/srv/chosen", "/opt/tav/bin", "/home/u/cfg/tavmanager",
                               "/etc/a/tavmanager"}},
                    OrderCase{"givenHidesTheRemembered",
                              "my/catalogues",
                              "/opt/tav/bin",
                              {"/home/u/cfg", "/etc/a", "", "/srv/chosen"},
                              {"my/catalogues"}},
                    OrderCase{"rememberedRelativeIsSkippedAndAFolderComesOnce",
                              "",
                              "/opt/tav/bin",
                              {"/opt/tav", "", "/opt/tav/bin", "chosen"},
                              {"/opt/tav/bin", "/opt/tav/tavmanager"}},
                    OrderCase{"aFolderComesOnce",
                              "",
                              "/etc/a/tavmanager",
                              {"/etc/a", "/etc/a:/etc/a", "/etc/a/tavmanager"},
                              {"/etc/a/tavmanager"}}),
    [](const auto& info) { return std::string(info.param.name); });

// The XDG defaults, from variables given as a table (missing: unset).
struct VariablesCase {
    const char* name;
    std::map<std::string, std::string> variables;
    std::string programFolder;
    CatalogueEnvironment expected;
};

class CatalogueEnvironmentTest : public testing::TestWithParam<VariablesCase> {};

TEST_P(CatalogueEnvironmentTest, AppliesTheXdgDefaults) {
    const VariablesCase& row = GetParam();
    const auto variable = [&row](const char* name) -> const char* {
        const auto found = row.variables.find(name);
        return found == row.variables.end() ? nullptr : found->second.c_str();
    };
    const CatalogueEnvironment env = tav::CatalogueEnvironmentFrom(variable, row.programFolder);
    EXPECT_EQ(env.configHome, row.expected.configHome);
    EXPECT_EQ(env.configDirs, row.expected.configDirs);
    EXPECT_EQ(env.dataFolder, row.expected.dataFolder);
}

INSTANTIATE_TEST_SUITE_P(
    Rows, CatalogueEnvironmentTest,
    testing::Values(VariablesCase{"allSet",
                                  {{"HOME", "/home/u"},
                                   {"XDG_CONFIG_HOME", "/cfg"},
                                   {"XDG_CONFIG_DIRS", "/etc/a:/etc/b"}},
                                  "/usr/bin",
                                  {"/cfg", "/etc/a:/etc/b", "/usr/share/tavmanager"}},
                    VariablesCase{"unsetTakeTheDefaults",
                                  {{"HOME", "/home/u"}},
                                  "/opt/tav/bin",
                                  {"/home/u/.config", "/etc/xdg", "/opt/tav/share/tavmanager"}},
                    VariablesCase{
                        "emptyTakeTheDefaults",
                        {{"HOME", "/home/u"}, {"XDG_CONFIG_HOME", ""}, {"XDG_CONFIG_DIRS", ""}},
                        "/usr/bin",
                        {"/home/u/.config", "/etc/xdg", "/usr/share/tavmanager"}},
                    VariablesCase{"relativeConfigHomeIsIgnored",
                                  {{"HOME", "/home/u"}, {"XDG_CONFIG_HOME", "cfg"}},
                                  "/usr/bin",
                                  {"/home/u/.config", "/etc/xdg", "/usr/share/tavmanager"}},
                    VariablesCase{"nothingKnown", {}, "", {"", "/etc/xdg", ""}}),
    [](const auto& info) { return std::string(info.param.name); });

// The search over real folders below a temporary one ("T"), which hold the catalogue files named.
struct FolderContent {
    std::string folder;  // below T
    bool sections = false;
    bool fields = false;
};

struct FindCase {
    const char* name;
    std::vector<FolderContent> layout;
    std::string given;  // below T, empty for none
    std::string found;  // below T, empty when none is found
    Folders searched;   // below T
    std::string remembered{};  // below T, empty for none
};

class FindCatalogueFolderTest : public testing::TestWithParam<FindCase> {
protected:
    std::string Path(const std::string& below) const { return m_dir.Path() + "/" + below; }

    void MakeLayout(const std::vector<FolderContent>& layout) const {
        for (const FolderContent& content : layout) {
            std::filesystem::create_directories(Path(content.folder));
            if (content.sections) {
                tavtest::WriteFile(Path(content.folder + "/Sections.txt"), "1,S,N,L,SN,1\n");
            }
            if (content.fields) {
                tavtest::WriteFile(Path(content.folder + "/Fields.txt"), "K,K,B,N,1\n");
            }
        }
    }

    // Every place of the search lies below T: bin, home/.config, etc1 and etc2, share.
    CatalogueEnvironment Environment(const std::string& remembered) const {
        return {Path("home/.config"), Path("etc1") + ":" + Path("etc2"), Path("share/tavmanager"),
                remembered.empty() ? "" : Path(remembered)};
    }

    tavtest::TempDir m_dir;
};

TEST_P(FindCatalogueFolderTest, TakesTheFirstFolderWithBothFiles) {
    const FindCase& row = GetParam();
    MakeLayout(row.layout);
    const tav::CatalogueSearch search = tav::FindCatalogueFolder(
        row.given.empty() ? "" : Path(row.given), Path("bin"), Environment(row.remembered));
    EXPECT_EQ(search.folder, row.found.empty() ? "" : Path(row.found));
    EXPECT_EQ(search.Found(), !row.found.empty());
    Folders searched;
    for (const std::string& folder : row.searched) {
        searched.push_back(Path(folder));
    }
    EXPECT_EQ(search.searched, searched);
}

const Folders kEveryFolder{"bin", "home/.config/tavmanager", "etc1/tavmanager", "etc2/tavmanager",
                           "share/tavmanager"};

INSTANTIATE_TEST_SUITE_P(
    Rows, FindCatalogueFolderTest,
    testing::Values(
        FindCase{"programFolderFirst",
                 {{"bin", true, true}, {"home/.config/tavmanager", true, true}},
                 "",
                 "bin",
                 {"bin"}},
        FindCase{"userFolderBeforeSystemFolders",
                 {{"home/.config/tavmanager", true, true}, {"etc1/tavmanager", true, true}},
                 "",
                 "home/.config/tavmanager",
                 {"bin", "home/.config/tavmanager"}},
        FindCase{"configDirsInTheirOrder",
                 {{"etc2/tavmanager", true, true}, {"share/tavmanager", true, true}},
                 "",
                 "etc2/tavmanager",
                 {"bin", "home/.config/tavmanager", "etc1/tavmanager", "etc2/tavmanager"}},
        FindCase{"installationLast",
                 {{"share/tavmanager", true, true}},
                 "",
                 "share/tavmanager",
                 kEveryFolder},
        FindCase{"oneFileIsNotEnough",
                 {{"bin", false, true},
                  {"etc1/tavmanager", true, false},
                  {"share/tavmanager", true, true}},
                 "",
                 "share/tavmanager",
                 kEveryFolder},
        FindCase{"noneFound", {{"bin", true, false}}, "", "", kEveryFolder},
        FindCase{"givenFolderWithBoth",
                 {{"mine", true, true}, {"bin", true, true}},
                 "mine",
                 "mine",
                 {"mine"}},
        FindCase{"givenFolderIsNotReplacedByAnother",
                 {{"mine", true, false}, {"bin", true, true}},
                 "mine",
                 "",
                 {"mine"}},
        FindCase{"rememberedBeforeTheProgramFolder",
                 {{"chosen", true, true}, {"bin", true, true}},
                 "",
                 "chosen",
                 {"chosen"},
                 "chosen"},
        FindCase{"rememberedWithoutBothFilesIsPassedOver",
                 {{"chosen", false, true}, {"bin", true, true}},
                 "",
                 "bin",
                 {"chosen", "bin"},
                 "chosen"},
        FindCase{"givenFolderHidesTheRemembered",
                 {{"mine", true, false}, {"chosen", true, true}},
                 "mine",
                 "",
                 {"mine"},
                 "chosen"}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(FindCatalogueFolderFilesTest, FolderNamedLikeACatalogueDoesNotCountLinksDo) {
    tavtest::TempDir dir;
    const std::string bin = dir.File("bin");
    const std::string share = dir.File("share");
    std::filesystem::create_directories(bin + "/Sections.txt");
    std::filesystem::create_directories(share);
    tavtest::WriteFile(bin + "/Fields.txt", "K,K,B,N,1\n");
    tavtest::WriteFile(dir.File("real-sections.txt"), "1,S,N,L,SN,1\n");
    ASSERT_EQ(::symlink(dir.File("real-sections.txt").c_str(), (share + "/Sections.txt").c_str()),
              0);
    ASSERT_EQ(::symlink((bin + "/Fields.txt").c_str(), (share + "/Fields.txt").c_str()), 0);
    const auto search = tav::FindCatalogueFolder("", bin, {"", dir.File("none"), share});
    EXPECT_EQ(search.folder, share);
}

TEST(FindCatalogueFolderFilesTest, MissingFilesAreNamedInTheirOrder) {
    tavtest::TempDir dir;
    EXPECT_EQ(tav::MissingCatalogueFiles(dir.Path()), Folders({"Sections.txt", "Fields.txt"}));
    tavtest::WriteFile(dir.File("Sections.txt"), "1,S,N,L,SN,1\n");
    EXPECT_EQ(tav::MissingCatalogueFiles(dir.Path()), Folders({"Fields.txt"}));
    tavtest::WriteFile(dir.File("Fields.txt"), "K,K,B,N,1\n");
    EXPECT_EQ(tav::MissingCatalogueFiles(dir.Path()), Folders());
}

TEST(CatalogueSearchTextTest, FailureNamesEveryFolderInOrder) {
    EXPECT_EQ(tav::CatalogueSearchFailure({"/usr/bin", "/home/u/.config/tavmanager"}),
              "Sections.txt and Fields.txt were found in none of these folders: /usr/bin, "
              "/home/u/.config/tavmanager");
    EXPECT_EQ(tav::CatalogueSearchFailure({}),
              "Sections.txt and Fields.txt were found in no folder");
}

TEST(CatalogueSearchTextTest, DataFolderLiesBesideTheProgramsFolder) {
    EXPECT_EQ(tav::InstalledDataFolder("/usr/bin"), "/usr/share/tavmanager");
    EXPECT_EQ(tav::InstalledDataFolder("/opt/tav/bin/"), "/opt/tav/share/tavmanager");
    EXPECT_EQ(tav::InstalledDataFolder(""), "");
}

}  // namespace
