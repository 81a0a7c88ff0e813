// tacconf set as scripts use it: a dry run, the diff of a write, a JSON result that says whether
// anything changed, a document made when asked, and a document through standard input and output.
#include <gtest/gtest.h>

#include <sys/stat.h>

#include <string>
#include <vector>

#include "cli-testutil.h"

namespace {

using tavtest::CliFolder;
using tavtest::ReadFile;
using tavtest::RunCli;
using tavtest::RunCliWithInput;

struct timespec ModificationTime(const std::string& path) {
    struct stat info {};
    EXPECT_EQ(::stat(path.c_str(), &info), 0) << path;
    return info.st_mtim;
}

bool Contains(const std::string& text, const std::string& part) {
    return text.find(part) != std::string::npos;
}

TEST(SetForScriptsTest, DryRunDiffAndJsonSayWhatChanges) {
    struct Case {
        const char* name;
        std::vector<std::string> options;
        const char* value;
        bool written;                   // the file's bytes change
        std::vector<std::string> says;  // what the output holds
        std::vector<std::string> never;
    };
    const Case cases[] = {
        {"dry run", {"--dry-run"}, "blau", false, {}, {"Title"}},
        {"dry run with diff",
         {"--dry-run", "--diff"},
         "blau",
         false,
         {"-Title=Front office capture\r\n", "+Title=blau\r\n", "\tbefore\n", "\tafter\n"},
         {"FontSize"}},
        {"diff of the write", {"--diff"}, "blau", true, {"+Title=blau\r\n"}, {"FontSize"}},
        {"json of a change",
         {"--json"},
         "blau",
         true,
         {"\"format\": 1", "\"changed\": true", "\"dry_run\": false",
          R"({"key": "General.Title", "before": "Front office capture", "after": "blau"})"},
         {"\"diff\""}},
        {"json of a dry run with diff",
         {"--json", "--dry-run", "--diff"},
         "blau",
         false,
         {"\"changed\": true", "\"dry_run\": true", R"("diff": "--- )", R"(+Title=blau\r\n)"},
         {}},
        {"json of the value it has",
         {"--json", "--diff"},
         "Front office capture",
         false,
         {"\"changed\": false", R"("diff": "")"},
         {}},
        {"diff of the value it has", {"--diff"}, "Front office capture", false, {}, {"Title"}},
    };
    for (const Case& c : cases) {
        CliFolder folder;
        const std::string doc = folder.File("front-office.tac");
        const std::string before = ReadFile(doc);
        const struct timespec time = ModificationTime(doc);
        std::vector<std::string> words{"set"};
        words.insert(words.end(), c.options.begin(), c.options.end());
        words.insert(words.end(), {doc, "General.Title", c.value});
        const auto run = RunCli(words);
        EXPECT_EQ(run.exit, 0) << c.name << ": " << run.err;
        EXPECT_EQ(ReadFile(doc) != before, c.written) << c.name;
        if (!c.written) {
            const struct timespec after = ModificationTime(doc);
            EXPECT_TRUE(after.tv_sec == time.tv_sec && after.tv_nsec == time.tv_nsec) << c.name;
        }
        for (const std::string& part : c.says) {
            EXPECT_TRUE(Contains(run.out, part)) << c.name << ": no " << part << " in " << run.out;
        }
        for (const std::string& part : c.never) {
            EXPECT_FALSE(Contains(run.out, part)) << c.name << ": " << part << " in " << run.out;
        }
    }
}

TEST(SetForScriptsTest, JsonOfSeveralFilesCountsThemAndNamesEntriesThatAreNotThere) {
    CliFolder folder;
    const std::string office = folder.File("front-office.tac");
    const std::string missing = folder.File("gone.tac");
    const auto run = RunCli({"set", "--json", "--files", office, missing, "--", "Replace.r9", "x,y",
                             "General.Beep", "True"});
    EXPECT_EQ(run.exit, 2);
    EXPECT_TRUE(Contains(run.out, R"("failed": true})")) << run.out;
    EXPECT_TRUE(Contains(run.out, R"("changed": 0, "unchanged": 0, "failed": 2})")) << run.out;
    const std::string doc = folder.File("warehouse.tac");
    const auto appended = RunCli({"set", "--json", doc, "Replace.r2", "x,y", "Replace.r2.to", "z"});
    EXPECT_EQ(appended.exit, 0) << appended.err;
    EXPECT_TRUE(Contains(appended.out, R"({"key": "Replace.r2", "before": null, "after": "x,z"})"))
        << appended.out;
}

TEST(SetForScriptsTest, CreateMakesAMissingDocumentWithTheModeAsked) {
    const struct {
        const char* name;
        std::vector<std::string> options;
        int exit;
        int mode;  // -1: no file
        const char* err;
    } cases[] = {
        {"missing is an error", {}, 2, -1, "No such file or directory; nothing was written"},
        {"create", {"--create", "--mode", "0640"}, 0, 0640, ""},
        {"create, mode with =", {"--create", "--mode=600"}, 0, 0600, ""},
        {"a mode out of range", {"--create", "--mode", "1777"}, 2, -1, "from 0 to 0777"},
        {"a mode not octal", {"--create", "--mode", "rw-r--r--"}, 2, -1, "in octal"},
        {"dry run creates nothing", {"--create", "--dry-run"}, 0, -1, ""},
    };
    for (const auto& c : cases) {
        CliFolder folder;
        const std::string doc = folder.File("new.tac");
        std::vector<std::string> words{"set"};
        words.insert(words.end(), c.options.begin(), c.options.end());
        words.insert(words.end(), {doc, "General.Title", "Neu"});
        const auto run = RunCli(words);
        EXPECT_EQ(run.exit, c.exit) << c.name << ": " << run.err;
        EXPECT_TRUE(Contains(run.err, c.err)) << c.name << ": " << run.err;
        struct stat info {};
        const bool made = ::stat(doc.c_str(), &info) == 0;
        EXPECT_EQ(made, c.mode >= 0) << c.name;
        if (made) {
            EXPECT_EQ(static_cast<int>(info.st_mode & 07777), c.mode) << c.name;
            EXPECT_EQ(RunCli({"get", doc, "General.Title"}).out, "Neu\n") << c.name;
        }
    }
}

TEST(SetForScriptsTest, StandardInputToStandardOutputKeepsEveryOtherByte) {
    const std::string input =
        "; site 7\r\n[General]\r\nTitle=a\r\nBeep=1\r\n\r\n[Other]\r\nX=\xE9\r\n";
    const auto run =
        RunCliWithInput({"set", "-", "General.Title", "b", "General.Beep", "False"}, input);
    EXPECT_EQ(run.exit, 0) << run.err;
    EXPECT_EQ(run.out, "; site 7\r\n[General]\r\nTitle=b\r\nBeep=0\r\n\r\n[Other]\r\nX=\xE9\r\n");
    for (const char* option : {"--json", "--diff", "--create"}) {
        const auto refused = RunCliWithInput({"set", option, "-", "General.Title", "b"}, input);
        EXPECT_EQ(refused.exit, 2) << option;
        EXPECT_TRUE(Contains(refused.err, "not taken with -")) << refused.err;
        EXPECT_EQ(refused.out, "") << option;
    }
    const auto bad = RunCliWithInput({"set", "-", "General.Beep", "yes"}, input);
    EXPECT_EQ(bad.exit, 2);
    EXPECT_EQ(bad.out, "");
}

}  // namespace
