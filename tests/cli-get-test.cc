#include <gtest/gtest.h>

#include <cstdint>
#include <filesystem>
#include <fstream>
#include <optional>

#include "cli-testutil.h"

namespace {

using tavtest::CliFolder;
using tavtest::RunCli;

TEST(GetTest, PrintsValuesAsTheEditorShowsThem) {
    CliFolder folder;
    const std::pair<const char*, const char*> cases[] = {
        {"General.Beep", "True"},
        {"general.BEEP", "True"},  // names compare as in documents
        {"General.StartMinimised", "False"},
        {"Printing.Header", "  Front office  "},  // quotes are not part of the value
        {"TACInfo.Updated", "03/11/2026 (09:15:42)"},
        {"Replace.r0", "Dept\\044 Sales,Sales department"},
        {"Replace.R0.from", "Dept, Sales"},
        {"Replace.r2.to", "Telephone, direct line"},
    };
    for (const auto& [address, value] : cases) {
        const auto run = RunCli({"get", folder.File("front-office.tac"), address});
        EXPECT_EQ(run.exit, 0) << run.err;
        EXPECT_EQ(run.out, std::string(value) + "\n") << address;
    }
    const auto missing = RunCli({"get", folder.File("warehouse.tac"), "TACInfo.Author",
                                 "Capture.DeleteAfter", "Columns.ShowTime"});
    EXPECT_EQ(missing.out, "\nFalse\nTrue\n") << "keys the file lacks read as the defaults";
}

TEST(GetTest, AllPrintsEveryValueInDisplayOrder) {
    CliFolder folder;
    const auto run = RunCli({"get", "--all", folder.File("warehouse.tac")});
    EXPECT_EQ(run.exit, 0) << run.err;
    EXPECT_NE(run.out.find("Columns.ShowDate=True\n"
                           "Columns.FontName=\n"
                           "Columns.ShowSender=False\n"
                           "Columns.ShowSubject=False\n"
                           "Columns.ShowSize=False\n"
                           "Columns.ShowTime=True\n"
                           "Columns.FontSize=12\n"),
              std::string::npos)
        << run.out;
    EXPECT_NE(run.out.find("Replace.r0.from=Lager\nReplace.r0.to=Warehouse\n"
                           "Replace.r1.from=Eingang\nReplace.r1.to=Goods in\nAdvanced.LogFile=\n"),
              std::string::npos)
        << run.out;
    EXPECT_EQ(std::count(run.out.begin(), run.out.end(), '\n'), 34);
}

TEST(GetTest, AddressesMayHoldDotsInSectionNames) {
    CliFolder folder("1,Net,N,Net,SN,1\n2,Net.Core,N,Core,SN,1\n", "Host,Host,C,N,2\n");
    tavtest::WriteFile(folder.File("dotted.tac"), "[Net]\nHost=outer\n[Net.Core]\nHost=inner\n");
    const auto run = RunCli({"get", folder.File("dotted.tac"), "Net.Core.Host"}, folder.Path());
    EXPECT_EQ(run.out, "inner\n") << run.err;
}

struct ErrorCase {
    const char* name;
    std::vector<std::string> words;  // "DOC": the example document's copy; "DIR": its folder
    std::string message;             // expected within the error output
};

class GetErrorTest : public testing::TestWithParam<ErrorCase> {};

TEST_P(GetErrorTest, ReportsAndPrintsNothing) {
    CliFolder folder;
    std::vector<std::string> words{"get"};
    for (const std::string& word : GetParam().words) {
        if (word == "DOC") {
            words.push_back(folder.File("front-office.tac"));
        } else {
            words.push_back(word.rfind("DIR", 0) == 0 ? folder.Path() + word.substr(3) : word);
        }
    }
    const auto run = RunCli(words);
    EXPECT_EQ(run.exit, 2);
    EXPECT_TRUE(run.out.empty()) << run.out;
    EXPECT_NE(run.err.find(GetParam().message), std::string::npos) << run.err;
}

INSTANTIATE_TEST_SUITE_P(
    Cases, GetErrorTest,
    testing::Values(
        ErrorCase{"undescribedKey",
                  {"DOC", "General.Station"},
                  "\"General.Station\": the catalogue describes no key \"Station\" in section "
                  "[General]"},
        ErrorCase{"unknownSection",
                  {"DOC", "General.Beep", "Network.Host"},
                  "the catalogue has no section \"Network\""},
        ErrorCase{"noDot", {"DOC", "Beep"}, "\"Beep\" is not of the form SECTION.KEY"},
        ErrorCase{"missingEntry", {"DOC", "Replace.r3.to"}, "no replacement entry r3 (it has 3)"},
        ErrorCase{"pastTheList", {"DOC", "Replace.r="}, "at most 13 entries, r0 to r<"},
        ErrorCase{"entryOutsideTheList", {"DOC", "General.r0"}, "describes no key \"r0\""},
        ErrorCase{"allAndKey", {"DOC", "--all", "General.Beep"}, "--all takes no SECTION.KEY"},
        ErrorCase{"noKey", {"DOC"}, "missing SECTION.KEY"},
        ErrorCase{
            "missingFile", {"DIR/none.tac", "General.Beep"}, "none.tac: No such file or directory"},
        ErrorCase{"folderAsFile", {"DIR", "General.Beep"}, "is a folder, not a file"},
        ErrorCase{"noCatalogues",
                  {"--catalogues", "DIR", "DOC", "General.Beep"},
                  "/Sections.txt: No such file or directory"}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(CatalogueFolderTest, SearchedFoldersUnlessAnotherIsGiven) {
    CliFolder folder;
    const std::string doc = folder.File("front-office.tac");
    const auto beside = RunCli({"get", doc, "General.Beep"}, folder.Path());
    EXPECT_EQ(beside.exit, 2);
    EXPECT_EQ(beside.err,
              "tacconf: Sections.txt and Fields.txt were found in none of these folders: " +
                  folder.Path() + "; give --catalogues DIR\n");

    const auto given =
        RunCli({"--catalogues", TAV_EXAMPLES_DIR, "get", doc, "General.Beep"}, folder.Path());
    EXPECT_EQ(given.out, "True\n") << given.err;

    const auto unknown = RunCli({"get", doc, "General.Beep"}, "");
    EXPECT_EQ(unknown.exit, 2);
    EXPECT_EQ(unknown.err,
              "tacconf: Sections.txt and Fields.txt were found in no folder (the program's own "
              "folder is unknown: no folder in this test); give --catalogues DIR\n");
}

TEST(CatalogueFolderTest, LaterFoldersOfTheSearchAreReadAndNamedInErrors) {
    tavtest::TempDir dir;
    CliFolder config;  // the program's folder, with documents only; `dir` is $XDG_CONFIG_HOME
    const std::string users = dir.File("tavmanager");
    std::filesystem::create_directories(users);
    for (const char* name : {"Sections.txt", "Fields.txt"}) {
        tavtest::WriteFile(users + "/" + name,
                           tavtest::ReadFile(std::string(TAV_EXAMPLES_DIR) + "/" + name));
    }
    const std::string doc = config.File("front-office.tac");
    tav::CatalogueEnvironment env{dir.Path(), config.File("etc"), config.File("share")};
    const auto found = RunCli({"get", doc, "General.Beep"}, config.Path(), env);
    EXPECT_EQ(found.out, "True\n") << found.err;

    // A folder whose Fields.txt is not a file is passed over; the error names every folder.
    std::filesystem::remove(users + "/Fields.txt");
    std::filesystem::create_directory(users + "/Fields.txt");
    const auto unreadable = RunCli({"get", doc, "General.Beep"}, config.Path(), env);
    EXPECT_EQ(unreadable.exit, 2);
    EXPECT_EQ(unreadable.err,
              "tacconf: Sections.txt and Fields.txt were found in none of these folders: " +
                  config.Path() + ", " + users + ", " + config.File("etc") + "/tavmanager, " +
                  config.File("share") + "; give --catalogues DIR\n");
}

TEST(CatalogueFolderTest, LinesPastCapacityAreWarnedAbout) {
    std::string sections;
    for (int id = 1; id <= 66; ++id) {
        sections += std::to_string(id) + ",S" + std::to_string(id) + ",N,L" + std::to_string(id) +
                    ",SN,1\n";
    }
    CliFolder folder(sections, "Beep,Beep,B,N,1\n");
    tavtest::WriteFile(folder.File("s.tac"), "[S1]\nBeep=1\n");
    const auto run = RunCli({"get", folder.File("s.tac"), "S1.Beep"}, folder.Path());
    EXPECT_EQ(run.out, "True\n");
    EXPECT_EQ(run.err, "tacconf: warning: " + folder.File("Sections.txt") +
                           ": 2 line(s) past the limit of 64 sections were not loaded\n");
}

// The bytes this process has read so far, as the kernel counts them; nothing where it does not.
std::optional<std::uint64_t> BytesReadByProcess() {
#ifdef _WIN32
    // Wine shows the Linux file, but what it counts there is not what the program read.
    return std::nullopt;
#else
    std::ifstream io("/proc/self/io");
    std::string name;
    std::uint64_t count = 0;
    while (io >> name >> count) {
        if (name == "rchar:") {
            return count;
        }
    }
    return std::nullopt;
#endif
}

TEST(GetTest, ReadsADocumentOnlyAsFarAsTheAnswerNeeds) {
    if (!BytesReadByProcess()) {
        GTEST_SKIP() << "the kernel does not count the bytes a process reads";
    }
    CliFolder folder;
    const std::string doc = folder.File("large.tac");
    tavtest::WriteFile(doc, "[General]\r\nBeep=1\r\n");
    constexpr std::uintmax_t kSize = 16 << 20;  // the rest is a hole: no disk space is taken
    std::filesystem::resize_file(doc, kSize);
    struct Case {
        const char* address;
        const char* printed;
        bool readWhole;
    };
    const Case cases[] = {
        {"General.Beep", "True\n", false},            // found in the first section
        {"General.StartMinimised", "False\n", true},  // the first section ends at the end
        {"Printing.Header", "\n", true},              // a section the document lacks
    };
    for (const Case& c : cases) {
        const std::uint64_t before = *BytesReadByProcess();
        const auto run = RunCli({"get", doc, c.address});
        const std::uint64_t read = *BytesReadByProcess() - before;
        EXPECT_EQ(run.out, c.printed) << c.address << run.err;
        EXPECT_EQ(read >= kSize, c.readWhole) << c.address << ": " << read << " bytes read";
    }
}

}  // namespace
