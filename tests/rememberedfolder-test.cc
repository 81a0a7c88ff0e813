#include "catalog/rememberedfolder.h"

#include <gtest/gtest.h>

#include <string>

#include "testutil.h"

namespace {

// Settings files as QSettings writes them, and what tacconf takes from them.
struct SettingsCase {
    const char* name;
    std::string text;
    std::string folder;
};

class RememberedFolderTest : public testing::TestWithParam<SettingsCase> {};

TEST_P(RememberedFolderTest, ReadsTheFolderAsQSettingsWroteIt) {
    EXPECT_EQ(tav::RememberedFolderInSettings(GetParam().text), GetParam().folder);
}

INSTANTIATE_TEST_SUITE_P(
    Rows, RememberedFolderTest,
    testing::Values(
        SettingsCase{"plain", "[Init]\nOpenFolder=/home/u\n\n[Catalogues]\nFolder=/srv/cat\n",
                     "/srv/cat"},
        SettingsCase{"crlfAndBlanks", "[Catalogues]\r\nFolder = /srv/cat \r\n", "/srv/cat"},
        SettingsCase{"quotedWithComma", "[Catalogues]\nFolder=\"/srv/a,b; c\"\n", "/srv/a,b; c"},
        SettingsCase{"escapes", "[Catalogues]\nFolder=/srv/back\\\\slash/\\\"q\\\"/tab\\tx\n",
                     "/srv/back\\slash/\"q\"/tab\tx"},
        SettingsCase{"hexUnit", "[Catalogues]\nFolder=/srv/\\x1f\\x41\n",
                     "/srv/\x1f"
                     "A"},
        SettingsCase{"utf8AsWritten", "[Catalogues]\nFolder=/srv/K\xc3\xa4se\n",
                     "/srv/K\xc3\xa4se"},
        SettingsCase{"atIsDoubled", "[Catalogues]\nFolder=@@srv\n", "@srv"},
        SettingsCase{"aVariantIsNoFolder", "[Catalogues]\nFolder=@Variant(\\0\\0)\n", ""},
        SettingsCase{"aListIsNoFolder", "[Catalogues]\nFolder=/a, /b\n", ""},
        SettingsCase{"otherGroupsKeyIsNotIt", "[Init]\nFolder=/srv/cat\n[Catalogues]\n", ""},
        SettingsCase{"noSettings", "", ""}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(RememberedFolderFileTest, MissingIsNoneUnreadableIsAnErrorWithTheFile) {
    tavtest::TempDir dir;
    EXPECT_EQ(tav::EditorSettingsFile("/home/u/.config"),
              "/home/u/.config/Wrn.Applications/tavmanager.conf");
    EXPECT_EQ(tav::EditorSettingsFile(""), "");
    const auto missing = tav::ReadRememberedCatalogueFolder(dir.File("none.conf"));
    ASSERT_TRUE(missing);
    EXPECT_EQ(*missing, "");
    tavtest::WriteFile(dir.File("tavmanager.conf"), "[Catalogues]\nFolder=/srv/cat\n");
    const auto read = tav::ReadRememberedCatalogueFolder(dir.File("tavmanager.conf"));
    ASSERT_TRUE(read);
    EXPECT_EQ(*read, "/srv/cat");
    const auto folder = tav::ReadRememberedCatalogueFolder(dir.Path());
    ASSERT_FALSE(folder);
    EXPECT_EQ(folder.Error().file, dir.Path());
    EXPECT_FALSE(folder.Error().reason.empty());
}

}  // namespace
