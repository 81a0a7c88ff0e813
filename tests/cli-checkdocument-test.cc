#include <gtest/gtest.h>

#include "check/cataloguelines.h"
#include "cli-testutil.h"

namespace {

using namespace std::string_literals;
using tavtest::CliFolder;
using tavtest::RunCli;

const std::string kSections =
    "1,Info,N,Information,SN,1\n2,Cols,Y,Columns,CL,2\n3,Replace,N,Replacements,SR,3\n";
const std::string kFields =
    "Title,Title,C,N,1\nBeep,Beep,B,N,1\nA,ColA,B,Y,2\nB,ColB,B,Y,2\nSize,Size,C,N,2\n";

// A document the catalogues above describe fully; cases add lines to it.
const std::string kCleanHead = "[Info]\nTitle=\"  padded  \"\nBeep=1\n[Cols]\nOrder=ColB,ColA\n";
const std::string kCleanTail = "[Replace]\nr0=a\\044b,c\nr1=d,e\nr2=\n";

struct DocumentCase {
    const char* name;
    std::string text;
    std::vector<std::string> findings;  // "LINE: start of the message"
};

class DocumentCheckTest : public testing::TestWithParam<DocumentCase> {};

TEST_P(DocumentCheckTest, ReportsWhereDocumentAndCataloguesDisagree) {
    const DocumentCase& test = GetParam();
    CliFolder folder(kSections, kFields);
    const std::string doc = folder.File("case.tac");
    tavtest::WriteFile(doc, test.text);
    const auto run = RunCli({"check", doc}, folder.Path());
    EXPECT_EQ(run.exit, test.findings.empty() ? 0 : 1) << run.err;
    const std::vector<std::string> lines = tavtest::OutputLines(run.out);
    ASSERT_EQ(lines.size(), test.findings.size()) << run.out;
    for (std::size_t i = 0; i < lines.size(); ++i) {
        EXPECT_EQ(lines[i].rfind(doc + ":" + test.findings[i], 0), 0u) << lines[i];
    }
}

// clang-format off
INSTANTIATE_TEST_SUITE_P(
    Keys, DocumentCheckTest,
    testing::Values(
        DocumentCase{"clean", kCleanHead + kCleanTail, {}},
        DocumentCase{"cleanCrlf", tavtest::Crlf(kCleanHead + kCleanTail), {}},
        DocumentCase{"undescribedKey", kCleanHead + "Extra=1\n" + kCleanTail,
                     {"6: the key Extra of [Cols] is not in the catalogue"}},
        DocumentCase{"undescribedSection", "[Other]\nx=1\n" + kCleanHead,
                     {"1: section [Other] is not in the catalogue"}},
        DocumentCase{"orderInUnorderedSection", "[Info]\nOrder=Title\n",
                     {"2: the key Order of [Info] is not in the catalogue"}},
        DocumentCase{"repeatedSection", kCleanHead + "[info]\nBeep=0\n",
                     {"6: section [info] appears again (first on line 1)"}},
        DocumentCase{"repeatedKey", "[Info]\nBeep=1\n\nBEEP=0\n",
                     {"4: the key BEEP appears again in [Info] (first on line 2)"}},
        DocumentCase{"skippedLines", "orphan=1\n; note\n[Info]\n# note\nno equals sign\n",
                     {"1: the line comes before the first section",
                      "5: the line is neither a section header nor a key line"}}),
    [](const auto& info) { return std::string(info.param.name); });

INSTANTIATE_TEST_SUITE_P(
    Values, DocumentCheckTest,
    testing::Values(
        DocumentCase{"booleanWord", "[Info]\nBeep=yes\n",
                     {"2: the value \"yes\" of Beep shows as False in the editor, and a save "
                      "writes 0"}},
        DocumentCase{"booleanNumber", "[Info]\nBeep = 10\n",
                     {"2: the value \"10\" of Beep shows as True in the editor, and a save "
                      "writes 1"}},
        DocumentCase{"needlessQuotes", "[Info]\nTitle='x'\n",
                     {"2: the quotes around the value of Title are not part of it: the editor "
                      "shows \"x\""}},
        DocumentCase{"blanksAroundValue", "[Info]\nTitle =  x  \n", {}},
        DocumentCase{"ctrlZAroundNamesAndValue", "[Info\x1A]\nTitle\x1A=\x1Ax\x1A\n", {}},
        DocumentCase{"nulInValue", "[Info]\nTitle=Shop\0old\n"s,
                     {"2: the value of Title in [Info] holds a NUL byte: readers take only the "
                      "text before it, \"Shop\""}},
        DocumentCase{"nulInQuotedValueIsNotAboutQuotes", "[Info]\nTitle=\"a\0b\"\n"s,
                     {"2: the value of Title in [Info] holds a NUL byte: readers take only the "
                      "text before it, \"a\""}},
        DocumentCase{"nulInUndescribedKey", "[Info]\nNote=\0\n"s,
                     {"2: the value of Note in [Info] holds a NUL byte",
                      "2: the key Note of [Info] is not in the catalogue"}}),
    [](const auto& info) { return std::string(info.param.name); });

INSTANTIATE_TEST_SUITE_P(
    Lists, DocumentCheckTest,
    testing::Values(
        DocumentCase{"noOrderKey", "[Cols]\nColA=1\n",
                     {"1: [Cols] has no Order key: its ordered fields show in catalogue order"}},
        DocumentCase{"orderNamesUnknownKeys", "[Cols]\nOrder=ColA,Size,colb,ColA,,Nope\n",
                     {"2: the Order list of [Cols] names \"Size\", which is not an ordered field",
                      "2: the Order list of [Cols] names \"colb\", but the key is ColB",
                      "2: the Order list of [Cols] names \"ColA\" twice",
                      "2: the Order list of [Cols] holds an empty item",
                      "2: the Order list of [Cols] names \"Nope\", which is not",
                      "2: the Order list of [Cols] does not name ColB: the editor gives it "
                      "position 1"}},
        DocumentCase{"entriesAfterTheEnd", "[Replace]\nr0=a,b\nr1=\nr2=c,d\n",
                     {"4: r2 comes after the end of the replacement list (r1): it is not read, "
                      "and a save overwrites it once the list has 2 entries or more"}},
        DocumentCase{"gap", "[Replace]\nr0=a,b\nr2=c,d\n",
                     {"3: r2 is not read: the replacement list stops at the missing r1"}},
        DocumentCase{"endKeyWithText", "[Replace]\nr0=a,b\nr1=junk\n",
                     {"3: r1 holds \"junk\" without a comma: it ends the replacement list, and "
                      "a save empties it"}},
        DocumentCase{"pastThirteen",
                     "[Replace]\nr0=a,b\nr1=a,b\nr2=a,b\nr3=a,b\nr4=a,b\nr5=a,b\nr6=a,b\nr7=a,b\n"
                     "r8=a,b\nr9=a,b\nr:=a,b\nr;=a,b\nr<=a,b\nr==a,b\nr>=a,b\n",
                     {"15: the line holds the key \"r=\" of a 14th replacement entry",
                      "16: the key r> would hold entry 15, past the 13 entries"}},
        DocumentCase{"undescribedKeyInReplacementSection", "[Replace]\nr0=a,b\nr01=1\n",
                     {"3: the key r01 of [Replace] is not in the catalogue"}}),
    [](const auto& info) { return std::string(info.param.name); });
// clang-format on

TEST(CheckFilesTest, UnreadableFileFailsTheRunButOthersAreChecked) {
    CliFolder folder;
    const auto run = RunCli({"check", folder.File("none.tac"), folder.File("warehouse.tac")});
    EXPECT_EQ(run.exit, 2);
    EXPECT_NE(run.err.find("tacconf: " + folder.File("none.tac") + ": No such file or directory"),
              std::string::npos)
        << run.err;
    EXPECT_NE(run.out.find(folder.File("warehouse.tac") + ":20: section [Scanner]"),
              std::string::npos)
        << run.out;
}

// A document of many repeated or unknown sections, keys and lines (what a broken generator
// writes) lists the first findings of each kind, then says how many more there are; the count of
// problems, in words and in JSON, is every one of them.
TEST(CheckFilesTest, FindingsOfOneKindStopAtTheCapWithACountOfTheRest) {
    constexpr std::size_t kCap = tav::check::kFindingsPerKind;
    struct Case {
        const char* name;
        std::string repeated;  // written kCap + extra times after a clean head
        std::size_t extra;
        const char* kind;  // the start of each listed finding's message
    };
    const Case cases[] = {
        {"repeatedSection", "[Info]\n", 7, "section [Info] appears again (first on line 1)"},
        {"unknownSections", "[x]\n[y]\n", 3, "section ["},
        {"skippedLines", "no equals sign\n", 1, "the line is neither"},
        {"repeatedKey", "Title=x\n", 0, "the key Title appears again"},
    };
    for (const Case& c : cases) {
        CliFolder folder(kSections, kFields);
        const std::string doc = folder.File("many.tac");
        std::string text = kCleanHead.substr(0, kCleanHead.find("[Cols]"));
        for (std::size_t i = 0; i < kCap + c.extra; ++i) {
            text += c.repeated;
        }
        tavtest::WriteFile(doc, text);
        const auto run = RunCli({"check", doc}, folder.Path());
        const std::vector<std::string> lines = tavtest::OutputLines(run.out);
        std::size_t listed = 0;
        for (const std::string& line : lines) {
            listed += line.find(c.kind) != std::string::npos ? 1 : 0;
        }
        // [x] and [y] are one kind: the first of each name is unknown, the rest repeat.
        const bool twoKinds = std::string(c.name) == "unknownSections";
        const std::size_t found = (kCap + c.extra) * (twoKinds ? 2 : 1);
        if (c.extra == 0) {
            EXPECT_EQ(listed, kCap) << c.name;
            EXPECT_EQ(run.out.find("more findings like"), std::string::npos) << c.name;
            continue;
        }
        EXPECT_EQ(listed, twoKinds ? kCap + 2 : kCap) << c.name;
        ASSERT_FALSE(lines.empty()) << c.name;
        const std::size_t more = found - (twoKinds ? kCap + 2 : kCap);
        // The summary names the line of the last finding listed.
        std::string lastListed;
        for (const std::string& line : lines) {
            if (line.find(c.kind) != std::string::npos) {
                lastListed =
                    line.substr(doc.size() + 1, line.find(':', doc.size() + 1) - doc.size() - 1);
            }
        }
        EXPECT_EQ(lines.back(), doc + ": " + std::to_string(more) +
                                    " more findings like the one on line " + lastListed +
                                    " are not listed")
            << c.name;
        EXPECT_NE(run.err.find(std::to_string(found) + " problems found"), std::string::npos)
            << c.name << ": " << run.err;
        const auto json = RunCli({"check", "--json", doc}, folder.Path());
        EXPECT_NE(json.out.find("\"problems\": " + std::to_string(found)), std::string::npos)
            << c.name;
    }
}

}  // namespace
