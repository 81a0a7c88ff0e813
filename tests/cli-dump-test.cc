#include <gtest/gtest.h>

#include "cli-testutil.h"

namespace {

using tavtest::CliFolder;
using tavtest::RunCli;

TEST(DumpTest, TextShowsEverySectionAndFieldInDisplayOrder) {
    CliFolder folder;
    const auto run = RunCli({"dump", folder.File("warehouse.tac")});
    EXPECT_EQ(run.exit, 0) << run.err;
    EXPECT_EQ(run.out,
              "[TACInfo]\tSN\tN\tDocument information\n"
              "Version\tC\t-\tVersion\t\n"
              "Updated\tC\t-\tLast saved\t\n"
              "Author\tC\t-\tAuthor\t\n"
              "[General]\tSN\tN\tGeneral\n"
              "Title\tC\t-\tTitle\tWarehouse scanner\n"
              "StartMinimised\tB\t-\tStart minimised\tFalse\n"
              "Beep\tB\t-\tBeep on error\tTrue\n"
              "Language\tC\t-\tLanguage\tde-DE\n"
              "[Columns]\tCL\tY\tList columns\n"
              "ShowDate\tB\t1\tShow date\tTrue\n"
              "FontName\tC\t-\tFont name\t\n"
              "ShowSender\tB\t1\tShow sender\tFalse\n"
              "ShowSubject\tB\t1\tShow subject\tFalse\n"
              "ShowSize\tB\t1\tShow size\tFalse\n"
              "ShowTime\tB\t2\tShow time\tTrue\n"
              "FontSize\tC\t-\tFont size\t12\n"
              "[Capture]\tCP\tN\tCapture\n"
              "SourceFolder\tC\t-\tSource folder\t\n"
              "PollInterval\tC\t-\tPoll interval (s)\t\n"
              "DeleteAfter\tB\t-\tDelete after capture\tFalse\n"
              "[Printing]\tPR\tN\tPrinting\n"
              "Printer\tC\t-\tPrinter\t\n"
              "Landscape\tB\t-\tLandscape\tFalse\n"
              "Copies\tC\t-\tCopies\t\n"
              "Header\tC\t-\tHeader text\t\n"
              "[Export]\tEX\tY\tExport fields\n"
              "ExportDate\tB\t1\tInclude date\tFalse\n"
              "TargetFolder\tC\t-\tTarget folder\t\n"
              "ExportSender\tB\t1\tInclude sender\tFalse\n"
              "ExportBody\tB\t1\tInclude body\tFalse\n"
              "Separator\tC\t-\tSeparator\t\n"
              "ExportAttachments\tB\t1\tInclude attachments\tFalse\n"
              "[Replace]\tSR\tN\tString replacements\n"
              "r0\tRFS\t-\tLager\tWarehouse\n"
              "r1\tRFS\t-\tEingang\tGoods in\n"
              "[Advanced]\tAD\tN\tAdvanced\n"
              "LogFile\tC\t-\tLog file\t\n"
              "Debug\tB\t-\tDebug output\tFalse\n"
              "Timeout\tC\t-\tTimeout (ms)\t\n");
}

TEST(DumpTest, JsonHoldsFieldsAndReplacementsApart) {
    CliFolder folder("1,Main,Y,Main \"one\",SN,1\n2,Repl,N,Replacements,SR,2\n3,Empty,N,E,XX,0\n",
                     "Size,Size,C,Y,1\nBeep,Beep,B,N,1\nColour,Colour,C,Y,1\n");
    const std::string doc = folder.File("j.tac");
    tavtest::WriteFile(doc, "[Main]\nOrder=Colour,Size\nSize=\"a\\b\"\n[Repl]\nr0=x\\044y,\tz\n");
    const auto run = RunCli({"dump", doc, "--json"}, folder.Path());
    EXPECT_EQ(run.exit, 0) << run.err;
    EXPECT_EQ(run.out,
              "{\n  \"format\": 1,\n  \"file\": \"" + doc +
                  "\",\n  \"sections\": [\n"
                  "    {\n      \"name\": \"Main\",\n      \"label\": \"Main \\\"one\\\"\",\n"
                  "      \"kind\": \"SN\",\n      \"ordered\": true,\n      \"fields\": [\n"
                  "        {\"key\": \"Colour\", \"label\": \"Colour\", \"type\": \"C\", "
                  "\"order\": 1, \"value\": \"\"},\n"
                  "        {\"key\": \"Size\", \"label\": \"Size\", \"type\": \"C\", "
                  "\"order\": 2, \"value\": \"a\\\\b\"},\n"
                  "        {\"key\": \"Beep\", \"label\": \"Beep\", \"type\": \"B\", "
                  "\"order\": null, \"value\": false}\n      ]\n    },\n"
                  "    {\n      \"name\": \"Repl\",\n      \"label\": \"Replacements\",\n"
                  "      \"kind\": \"SR\",\n      \"ordered\": false,\n      \"fields\": [],\n"
                  "      \"replacements\": [\n"
                  "        {\"key\": \"r0\", \"from\": \"x,y\", \"to\": \"\\tz\"}\n      ]\n"
                  "    },\n"
                  "    {\n      \"name\": \"Empty\",\n      \"label\": \"E\",\n"
                  "      \"kind\": \"XX\",\n      \"ordered\": false,\n      \"fields\": []\n"
                  "    }\n  ]\n}\n");
}

TEST(DumpTest, TextEscapesTabsLineBreaksAndBackslashes) {
    CliFolder folder("1,Main,N,Tab\there,SN,1\n2,Repl,N,R,SR,2\n", "Size,Size,C,N,1\n");
    const std::string doc = folder.File("e.tac");
    tavtest::WriteFile(doc, "[Main]\nSize=a\tb\\c\\\\t\n[Repl]\nr0=x\ty\\,\\n\n");
    const auto run = RunCli({"dump", doc}, folder.Path());
    EXPECT_EQ(run.exit, 0) << run.err;
    EXPECT_EQ(run.out,
              "[Main]\tSN\tN\tTab\\there\n"
              "Size\tC\t-\tSize\ta\\tb\\\\c\\\\\\\\t\n"
              "[Repl]\tSR\tN\tR\n"
              "r0\tRFS\t-\tx\\ty\\\\\t\\\\n\n");
}

TEST(DumpTest, JsonBooleansAreTrueAndFalse) {
    CliFolder folder;
    const auto run = RunCli({"dump", folder.File("warehouse.tac"), "--json"});
    EXPECT_EQ(run.exit, 0) << run.err;
    for (const char* field :
         {"{\"key\": \"Beep\", \"label\": \"Beep on error\", \"type\": \"B\", \"order\": null, "
          "\"value\": true}",
          "{\"key\": \"StartMinimised\", \"label\": \"Start minimised\", \"type\": \"B\", "
          "\"order\": null, \"value\": false}",
          "\"type\": \"C\", \"order\": null, \"value\": \"de-DE\"}"}) {
        EXPECT_NE(run.out.find(field), std::string::npos) << field;
    }
    EXPECT_EQ(run.out.find("\"True\""), std::string::npos);
    EXPECT_EQ(run.out.find("\"False\""), std::string::npos);
}

TEST(DumpTest, UsageAndFileErrors) {
    CliFolder folder;
    const auto extra = RunCli({"dump", folder.File("warehouse.tac"), "more"});
    EXPECT_EQ(extra.exit, 2);
    EXPECT_NE(extra.err.find("too many operands (from \"more\" on)"), std::string::npos);
    const auto missing = RunCli({"dump", folder.File("none.tac"), "--json"});
    EXPECT_EQ(missing.exit, 2);
    EXPECT_EQ(missing.err, "tacconf: " + folder.File("none.tac") + ": No such file or directory\n");
    EXPECT_TRUE(missing.out.empty());
}

}  // namespace
