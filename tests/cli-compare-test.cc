// tacconf compare: the settings of several documents side by side.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "cli-testutil.h"

namespace {

using tavtest::CliFolder;
using tavtest::RunCli;

TEST(CompareTest, ShowsTheSettingsThatDifferInEachLayout) {
    CliFolder folder;
    const std::string a = folder.File("a.tac");
    const std::string b = folder.File("b.tac");
    tavtest::WriteFile(a,
                       "[General]\nTitle=Site\tA\nBeep=1\n[Columns]\nOrder=ShowSize,ShowDate,"
                       "ShowTime,ShowSender,ShowSubject\n"
                       "[Replace]\nr0=x,y\n");
    tavtest::WriteFile(b, "[General]\nTitle=Site \"B\"\nBeep=1\n");
    const struct {
        std::vector<std::string> options;
        std::vector<std::string> says;
        std::vector<std::string> never;
    } cases[] = {
        {{},
         {"SETTING\t" + a + "\t" + b + "\n", "General.Title\tSite\\tA\tSite \"B\"\n",
          "Replace.r0.from\tx\t\n",
          "Columns.Order\tShowSize,ShowDate,ShowTime,ShowSender,ShowSubject\t"},
         {"General.Beep", "Capture.PollInterval"}},
        {{"--all"}, {"General.Beep\tTrue\tTrue\n", "Capture.PollInterval\t\t\n"}, {}},
        {{"--csv"},
         {"\"SETTING\",\"" + a + "\",\"" + b + "\"\r\n",
          "\"General.Title\",\"Site\tA\",\"Site \"\"B\"\"\"\r\n"},
         {"General.Beep"}},
        {{"--json", "--all"},
         {R"({"format": 1, "files": [")",
          R"({"key": "General.Beep", "values": [true, true], "differs": false})",
          R"({"key": "Replace.r0.to", "values": ["y", null], "differs": true})"},
         {}},
    };
    for (const auto& c : cases) {
        std::vector<std::string> words{"compare"};
        words.insert(words.end(), c.options.begin(), c.options.end());
        words.insert(words.end(), {a, b});
        const auto run = RunCli(words);
        const std::string name = testing::PrintToString(c.options);
        EXPECT_EQ(run.exit, 1) << name << ": " << run.err;
        for (const std::string& part : c.says) {
            EXPECT_NE(run.out.find(part), std::string::npos) << name << ": no " << part << "\n"
                                                             << run.out;
        }
        for (const std::string& part : c.never) {
            EXPECT_EQ(run.out.find(part), std::string::npos) << name << ": " << part;
        }
    }
}

TEST(CompareTest, SameSettingsExitZeroAndErrorsPrintNothing) {
    CliFolder folder;
    const std::string office = folder.File("front-office.tac");
    const auto same = RunCli({"compare", office, office});
    EXPECT_EQ(same.exit, 0) << same.err;
    EXPECT_EQ(same.out, "SETTING\t" + office + "\t" + office + "\n");
    const auto missing = RunCli({"compare", office, folder.File("gone.tac")});
    EXPECT_EQ(missing.exit, 2);
    EXPECT_EQ(missing.out, "");
    EXPECT_NE(missing.err.find("No such file or directory"), std::string::npos);
    EXPECT_EQ(RunCli({"compare", office}).exit, 2);
    EXPECT_EQ(RunCli({"compare", "--json", "--csv", office, office}).exit, 2);
}

}  // namespace
