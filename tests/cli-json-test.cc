// tacconf's JSON outputs as scripts read them, and documents read from standard input.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "cli-testutil.h"

namespace {

using tavtest::CliFolder;
using tavtest::RunCli;
using tavtest::RunCliWithInput;

const char* const kDocument = "[General]\nTitle=Site \"7\"\nBeep=yes\nStray=1\n[Replace]\nr0=a,b\n";

TEST(JsonOutputTest, EveryCommandStatesItsFormatAndTypesItsValues) {
    const struct {
        std::vector<std::string> words;
        int exit;
        std::vector<std::string> says;
    } cases[] = {
        {{"get", "--json", "-", "General.Beep", "General.Title", "Replace.r0.to"},
         0,
         {R"({"format": 1, "file": "-", "values": [)", R"({"key": "General.Beep", "value": false})",
          R"({"key": "General.Title", "value": "Site \"7\""})",
          R"({"key": "Replace.r0.to", "value": "b"}]})"}},
        {{"get", "--json", "-", "--all"},
         0,
         {R"({"key": "General.StartMinimised", "value": false})",
          R"({"key": "Replace.r0.from", "value": "a"})"}},
        {{"check", "--json", "-"},
         1,
         {R"({"format": 1, "findings": [)", R"({"file": "-", "line": 3, "message": "the value \"yes\")",
          R"("line": 4, "message": "the key Stray)", R"("documents": 1, "unreadable": []})"}},
        {{"dump", "--json", "-"},
         0,
         {"\"format\": 1,", R"({"key": "Beep", "label": "Beep on error", "type": "B", "order": null, "value": false})"}},
        {{"get", "-", "General.Title"}, 0, {"Site \"7\"\n"}},
    };
    for (const auto& c : cases) {
        const auto run = RunCliWithInput(c.words, kDocument);
        const std::string name = testing::PrintToString(c.words);
        EXPECT_EQ(run.exit, c.exit) << name << ": " << run.err;
        for (const std::string& part : c.says) {
            EXPECT_NE(run.out.find(part), std::string::npos) << name << ": no " << part << " in "
                                                             << run.out;
        }
    }
}

TEST(JsonOutputTest, CheckNamesTheFilesItCouldNotReadAndChecksTheOthers) {
    CliFolder folder;
    const std::string missing = folder.File("gone.tac");
    const auto run = RunCli({"check", "--json", missing, folder.File("front-office.tac")});
    EXPECT_EQ(run.exit, 2);
    EXPECT_NE(run.out.find(R"("documents": 2, "unreadable": [")" + missing + "\"]}"),
              std::string::npos)
        << run.out;
    EXPECT_NE(run.err.find("No such file or directory"), std::string::npos) << run.err;
}

}  // namespace
