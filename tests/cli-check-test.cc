#include <gtest/gtest.h>

#include "cli-testutil.h"

namespace {

using tavtest::CliFolder;
using tavtest::OutputLines;
using tavtest::RunCli;

// A small, clean catalogue pair: an unordered, an ordered and a replacement section.
const std::string kSections =
    "1,Info,N,Information,SN,1\n2,Cols,Y,Columns,CL,2\n3,Replace,N,Replacements,SR,3\n";
const std::string kFields =
    "Title,Title,C,N,1\nBeep,Beep,B,N,1\nA,ColA,B,Y,2\nB,ColB,B,Y,2\nSize,Size,C,N,2\n";

TEST(CheckTest, ExampleCataloguesAreClean) {
    const auto run = RunCli({"check"});
    EXPECT_EQ(run.exit, 0);
    EXPECT_EQ(run.out, "");
    EXPECT_EQ(run.err, "tacconf: no problems found in the catalogues and 0 documents\n");
}

TEST(CheckTest, ExampleDocumentsDisagreeWhereTheySay) {
    CliFolder folder;
    const std::string front = folder.File("front-office.tac");
    const std::string house = folder.File("warehouse.tac");
    const auto run = RunCli({"check", front, house});
    EXPECT_EQ(run.exit, 1);
    const std::string order = ": the Order list of [Columns] does not name ";
    EXPECT_EQ(OutputLines(run.out),
              (std::vector<std::string>{
                  front + ":15: the key Station of [General] is not in the catalogue: the editor "
                          "neither shows nor changes it",
                  front + ":58: section [Network] is not in the catalogue: the editor neither "
                          "shows nor changes it",
                  house + ":7" + order + "ShowSender: the editor gives it position 1",
                  house + ":7" + order + "ShowSubject: the editor gives it position 1",
                  house + ":7" + order + "ShowSize: the editor gives it position 1",
                  house + ":17: r3 comes after the end of the replacement list (r2): it is not "
                          "read, and a save overwrites it once the list has 3 entries or more",
                  house + ":18: r4 comes after the end of the replacement list (r2): it is not "
                          "read, and a save overwrites it once the list has 4 entries or more",
                  house + ":20: section [Scanner] is not in the catalogue: the editor neither "
                          "shows nor changes it"}));
    EXPECT_EQ(run.err, "tacconf: 8 problems found in the catalogues and 2 documents\n");
}

struct CatalogueCase {
    const char* name;
    std::string sections;
    std::string fields;
    std::vector<std::string> findings;  // "File.txt:LINE: start of the message"
};

class CatalogueCheckTest : public testing::TestWithParam<CatalogueCase> {};

TEST_P(CatalogueCheckTest, ReportsTheLinesTheEditorMisreads) {
    const CatalogueCase& test = GetParam();
    CliFolder folder(test.sections, test.fields);
    const auto run = RunCli({"check"}, folder.Path());
    EXPECT_EQ(run.exit, test.findings.empty() ? 0 : 1) << run.err;
    const std::vector<std::string> lines = OutputLines(run.out);
    ASSERT_EQ(lines.size(), test.findings.size()) << run.out;
    for (std::size_t i = 0; i < lines.size(); ++i) {
        EXPECT_EQ(lines[i].rfind(folder.Path() + "/" + test.findings[i], 0), 0u) << lines[i];
    }
}

// The clean catalogues with `sectionLine` added to Sections.txt and `fieldLine` to Fields.txt.
CatalogueCase Added(const char* name, const std::string& sectionLine, const std::string& fieldLine,
                    std::vector<std::string> findings) {
    return {name, kSections + sectionLine, kFields + fieldLine, std::move(findings)};
}

// `count` catalogue lines made by `line` from the numbers 1 to `count`.
template <typename Line>
std::string ManyLines(int count, Line line) {
    std::string text;
    for (int i = 1; i <= count; ++i) {
        text += line(std::to_string(i));
    }
    return text;
}

const std::string k65Sections =
    ManyLines(65, [](const std::string& n) { return n + ",S" + n + ",N,L" + n + ",SN,1\n"; });
const std::string k120Fields =
    ManyLines(120, [](const std::string& n) { return "L,K" + n + ",C,N,1\n"; });
const std::string k129Fields =
    ManyLines(129, [](const std::string& n) { return "L,K" + n + ",C,N,1\n"; });

// clang-format off
INSTANTIATE_TEST_SUITE_P(
    Sections, CatalogueCheckTest,
    testing::Values(
        Added("clean", "", "", {}),
        Added("idOutOfOrder", "5,More,N,More,XX,1\n", "",
              {"Sections.txt:4: the section id is 5 on section line 4: ids must run"}),
        Added("idNotANumber", "4x,More,N,More,XX,1\n", "",
              {"Sections.txt:4: the id column \"4x\" is not a plain number: the editor reads 4"}),
        CatalogueCase{"lineNumbersCountBlankLines", "\r\n" + kSections + "\r\n4,X,Yes,X,XX,1\r\n",
                      kFields, {"Sections.txt:6: the order column \"Yes\" is not one character"}},
        Added("lowerCaseFlag", "4,X,y,X,XX,1\n", "",
              {"Sections.txt:4: the order flag is a lower-case y"}),
        Added("otherFlag", "4,X,Q,X,XX,1\n", "",
              {"Sections.txt:4: the order flag \"Q\" is neither Y nor N"}),
        Added("columnCount", "4,X,N,X,XX\n", "",
              {"Sections.txt:4: the line has 5 columns where 6 are expected"}),
        Added("repeatedLabel", "4,Other,N,Columns,XX,1\n", "",
              {"Sections.txt:4: the label \"Columns\" is also on line 2"}),
        Added("repeatedName", "4,INFO,N,Other,XX,1\n", "",
              {"Sections.txt:4: the section name \"INFO\" is also on line 1"}),
        Added("secondReplacementSection", "4,R2,N,R2,SR,1\n", "",
              {"Sections.txt:4: a second section of kind SR: only the first (line 3)"}),
        CatalogueCase{"pastCapacity", k65Sections, "T,T,C,N,1\n",
                      {"Sections.txt:65: the line is past the 64 sections"}}),
    [](const auto& info) { return std::string(info.param.name); });

INSTANTIATE_TEST_SUITE_P(
    Fields, CatalogueCheckTest,
    testing::Values(
        Added("keyWithEquals", "", "X,a=b,C,N,1\n",
              {"Fields.txt:6: the key \"a=b\" cannot stand in a document"}),
        Added("blankInKey", "", "X,Font Size,C,N,1\n",
              {"Fields.txt:6: the key \"Font Size\" holds a blank"}),
        Added("blankAtKeyEnd", "", "X,Size2 ,C,N,1\n",
              {"Fields.txt:6: the key \"Size2 \" has blanks at its ends"}),
        Added("unknownType", "", "X,X,N,N,1\n",
              {"Fields.txt:6: the type \"N\" is neither B nor C"}),
        Added("replacementType", "", "X,X,RFS,N,1\n",
              {"Fields.txt:6: the type RFS belongs to replacement entries"}),
        Added("unknownSection", "", "X,X,C,N,9\n",
              {"Fields.txt:6: the field names section 9, which the section catalogue does not"}),
        Added("orderedInUnorderedSection", "", "X,X,C,Y,1\n",
              {"Fields.txt:6: the field is marked ordered, but its section [Info] has no Order"}),
        Added("keyOrder", "", "X,order,C,N,2\n",
              {"Fields.txt:6: the key Order is the Order list of section [Cols]"}),
        Added("entryKey", "", "X,R4,C,N,3\n",
              {"Fields.txt:6: the key \"R4\" is an entry key of the replacement list"}),
        Added("repeatedKey", "", "X,beep,B,N,1\n",
              {"Fields.txt:6: the key \"beep\" of section [Info] is also on line 2"}),
        Added("badSectionNumber", "", "X,X,C,N,\n",
              {"Fields.txt:6: the section id column \"\" is not a plain number",
               "Fields.txt:6: the field names section 0"}),
        CatalogueCase{"littleRoomForReplacements", kSections, k120Fields,
                      {"Fields.txt: 120 fields leave room for only 8 of the 13 replacement"}},
        CatalogueCase{"pastCapacity", kSections, k129Fields,
                      {"Fields.txt: 128 fields leave room for only 0",
                       "Fields.txt:129: the line is past the 128 fields"}}),
    [](const auto& info) { return std::string(info.param.name); });
// clang-format on

}  // namespace
