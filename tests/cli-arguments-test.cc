#include "cli/arguments.h"

#include <gtest/gtest.h>

#include "cli-testutil.h"

namespace {

using tav::cli::CommandSyntax;
using tav::cli::ParseArguments;
using Words = std::vector<std::string>;

const CommandSyntax kDumpLike{{"--json"}, 1, 1};

// The outcome of a parse in one line: "error: ..." or the operands followed by what else was set.
std::string Summary(const tav::Expected<tav::cli::Arguments>& parsed) {
    if (!parsed) {
        return "error: " + parsed.Error().reason;
    }
    std::string text;
    for (const std::string& operand : parsed->operands) {
        text += "[" + operand + "]";
    }
    text += parsed->Has("--json") ? " json" : "";
    text += parsed->help ? " help" : "";
    if (parsed->catalogueFolder) {
        text += " folder=" + *parsed->catalogueFolder;
    }
    if (parsed->encoding) {
        text += std::string(" encoding=") + tav::EncodingName(*parsed->encoding);
    }
    if (parsed->files) {
        text += " files=" + testing::PrintToString(*parsed->files);
    }
    if (parsed->wait) {
        text += " wait=" + testing::PrintToString(*parsed->wait);
    }
    return text;
}

TEST(ParseArgumentsTest, SplitsOptionsFromOperands) {
    const std::pair<Words, std::string> cases[] = {
        {{"a.tac"}, "[a.tac]"},
        {{"a.tac", "--json"}, "[a.tac] json"},
        {{"--catalogues", "/c", "a.tac"}, "[a.tac] folder=/c"},
        {{"a.tac", "--catalogues=/c d"}, "[a.tac] folder=/c d"},
        {{"-5"}, "[-5]"},
        {{"-.5"}, "[-.5]"},
        {{"-"}, "[-]"},
        {{"a.tac", "-n"}, "error: unknown option -n"},
        {{"-json", "a.tac"}, "error: unknown option -json"},
        {{"--", "--json"}, "[--json]"},
        {{"--help"}, " help"},
        {{"x", "y", "-h"}, "[x][y] help"},
        {{"a.tac", "--all"}, "error: unknown option --all"},
        {{"a.tac", "--catalogues"}, "error: --catalogues needs a folder"},
        {{"--json"}, "error: missing operand"},
        {{"a", "b"}, "error: too many operands (from \"b\" on)"},
        {{"--encoding", "UTF-8", "a.tac"}, "[a.tac] encoding=utf-8"},
        {{"a.tac", "--encoding=cp1252"}, "[a.tac] encoding=windows-1252"},
        {{"a.tac", "--encoding", "latin1"},
         "error: --encoding takes utf-8 or windows-1252, not \"latin1\""},
        {{"a.tac", "--encoding"}, "error: --encoding takes utf-8 or windows-1252"},
    };
    for (const auto& [words, summary] : cases) {
        EXPECT_EQ(Summary(ParseArguments(words, kDumpLike)), summary)
            << testing::PrintToString(words);
    }
}

TEST(ParseArgumentsTest, TheValueOfAPairIsNeverAnOption) {
    const CommandSyntax setLike{{}, 2, CommandSyntax::kAnyNumber, 1, true};
    const std::pair<Words, std::string> cases[] = {
        {{"f", "K", "-h"}, "[f][K][-h]"},
        {{"f", "K", "--help", "L", "--catalogues"}, "[f][K][--help][L][--catalogues]"},
        {{"f", "K", "-x", "--help"}, "[f][K][-x] help"},
        {{"f", "--encoding", "utf-8", "K", "v"}, "[f][K][v] encoding=utf-8"},
        {{"f", "K", "v", "--bogus"}, "error: unknown option --bogus"},
        {{"--", "f", "--help", "v"}, "[f][--help][v]"},
        {{"--files", "a", "-", "--"},
         "error: --files - reads the list from standard input and takes no other file"},
        {{"--files", "a b", "--json", "--", "K", "--", "-h"},
         "[K][--][-h] files={ \"a b\", \"--json\" }"},
        {{"--files", "-", "--", "--help", "v"}, "[--help][v] files={ \"-\" }"},
        {{"--files", "a", "K", "v"}, "error: --files takes FILE... ended by --"},
        {{"--files", "--", "K", "v"}, "error: --files needs at least one file"},
    };
    for (const auto& [words, summary] : cases) {
        EXPECT_EQ(Summary(ParseArguments(words, setLike)), summary)
            << testing::PrintToString(words);
    }
    EXPECT_EQ(Summary(ParseArguments({"--files", "a", "--", "x"}, kDumpLike)),
              "error: unknown option --files");
}

TEST(ParseArgumentsTest, WaitTakesSecondsWhereTheCommandAcceptsIt) {
    const CommandSyntax waits{{}, 1, 1, CommandSyntax::kAnyNumber, false, true};
    const std::pair<Words, std::string> cases[] = {
        {{"--wait", "2.5", "a"}, "[a] wait=2.5"},
        {{"--wait=0", "a"}, "[a] wait=0"},
        {{"a", "--wait"}, "error: --wait needs a number of seconds"},
        {{"--wait", "-1", "a"},
         "error: --wait takes a number of seconds from 0 to 86400, not \"-1\""},
        {{"--wait", "5s", "a"},
         "error: --wait takes a number of seconds from 0 to 86400, not \"5s\""},
        {{"--wait", "nan", "a"},
         "error: --wait takes a number of seconds from 0 to 86400, not \"nan\""},
        {{"--wait", "1e9", "a"},
         "error: --wait takes a number of seconds from 0 to 86400, not \"1e9\""},
    };
    for (const auto& [words, summary] : cases) {
        EXPECT_EQ(Summary(ParseArguments(words, waits)), summary) << testing::PrintToString(words);
    }
    EXPECT_EQ(Summary(ParseArguments({"--wait", "1", "a"}, kDumpLike)),
              "error: unknown option --wait");
    Words words{"--wait", "3", "set", "x"};
    EXPECT_EQ(tav::cli::TakeCommandName(words), "set");
}

TEST(TakeCommandNameTest, TakesTheFirstWordThatIsNoOption) {
    Words words{"--catalogues", "get", "dump", "x"};
    EXPECT_EQ(tav::cli::TakeCommandName(words), "dump") << "get is the folder here";
    EXPECT_EQ(words, (Words{"--catalogues", "get", "x"}));

    Words encoded{"--encoding", "utf-8", "get", "x"};
    EXPECT_EQ(tav::cli::TakeCommandName(encoded), "get");
    EXPECT_EQ(encoded, (Words{"--encoding", "utf-8", "x"}));

    Words none{"--help", "--", "get"};
    EXPECT_EQ(tav::cli::TakeCommandName(none), "");
    EXPECT_EQ(none.size(), 3u);
}

TEST(CommandLineTest, WithoutCommandOnlyHelpSucceeds) {
    const auto help = tavtest::RunCli({"--help"});
    EXPECT_EQ(help.exit, 0);
    EXPECT_EQ(help.out.rfind("Usage: tacconf [--catalogues DIR] [--encoding NAME] COMMAND", 0), 0u)
        << help.out;

    const auto none = tavtest::RunCli({});
    EXPECT_EQ(none.exit, 2);
    EXPECT_EQ(none.err, "tacconf: missing command\nTry 'tacconf --help'.\n");

    const auto unknown = tavtest::RunCli({"--catalogues", "/c", "merge", "x.tac"});
    EXPECT_EQ(unknown.exit, 2);
    EXPECT_EQ(unknown.err, "tacconf: unknown command \"merge\"\nTry 'tacconf --help'.\n");
}

TEST(CommandLineTest, EveryCommandHasHelpAndReportsUsageErrors) {
    for (const std::string command : {"get", "set", "dump", "check", "diff", "version"}) {
        const auto help = tavtest::RunCli({command, "--help"});
        EXPECT_EQ(help.exit, 0) << command;
        EXPECT_EQ(help.out.rfind("Usage: tacconf " + command, 0), 0u) << help.out;
        EXPECT_TRUE(help.err.empty()) << help.err;

        const auto bad = tavtest::RunCli({command, "--bogus"});
        EXPECT_EQ(bad.exit, 2) << command;
        EXPECT_EQ(bad.err, "tacconf " + command + ": unknown option --bogus\nTry 'tacconf " +
                               command + " --help'.\n");
        EXPECT_TRUE(bad.out.empty());
    }
}

TEST(CommandLineTest, VersionPrintsTheProgramsNameAndVersion) {
    const std::string line = std::string("tacconf ") + TAV_PROJECT_VERSION + "\n";
    for (const Words& words :
         {Words{"--version"}, Words{"version"}, Words{"--catalogues", "/c", "--version"}}) {
        const auto run = tavtest::RunCli(words);
        EXPECT_EQ(run.exit, 0) << testing::PrintToString(words);
        EXPECT_EQ(run.out, line);
        EXPECT_EQ(run.err, "");
    }
    const auto extra = tavtest::RunCli({"version", "x"});
    EXPECT_EQ(extra.exit, 2);
    EXPECT_EQ(
        extra.err,
        "tacconf version: too many operands (from \"x\" on)\nTry 'tacconf version --help'.\n");
}

}  // namespace
