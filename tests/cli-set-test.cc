#include <gtest/gtest.h>

#include <sys/stat.h>

#include <cerrno>
#include <filesystem>

#include "cli-testutil.h"
#include "savetestutil.h"
#include "storage/atomicfile.h"
#include "storage/leftovers.h"

namespace {

using tavtest::CliFolder;
using tavtest::ReadFile;
using tavtest::RunCli;

// `text` with its one occurrence of `from` replaced by `to`.
std::string Replaced(std::string text, const std::string& from, const std::string& to) {
    const std::size_t at = text.find(from);
    if (at == std::string::npos || text.find(from, at + 1) != std::string::npos) {
        throw std::runtime_error("not exactly one \"" + from + "\"");
    }
    return text.replace(at, from.size(), to);
}

std::string SectionText(const std::string& file, const std::string& header) {
    const std::size_t begin = file.find(header);
    return file.substr(begin, file.find("\r\n\r\n", begin) - begin);
}

TEST(SetTest, ChangesOnlyTheNamedKeysAndStampsNothing) {
    CliFolder folder;
    const std::string doc = folder.File("front-office.tac");
    const std::string before = ReadFile(doc);
    const auto run = RunCli({"set", doc, "General.Beep", "False", "columns.fontsize", "11",
                             "Printing.Header", " x ", "General.Language", "-5"});
    EXPECT_EQ(run.exit, 0) << run.err;
    EXPECT_EQ(run.out + run.err, "");
    std::string expected = Replaced(before, "Beep=1\r\n", "Beep=0\r\n");
    expected = Replaced(expected, "FontSize=10", "FontSize=11");
    expected = Replaced(expected, "Header=\"  Front office  \"", "Header=\" x \"");
    expected = Replaced(expected, "Language=en-GB", "Language=-5");
    EXPECT_EQ(ReadFile(doc), expected);
}

TEST(SetTest, ValuesReadBackAsTheyWereSet) {
    CliFolder folder;
    const std::string doc = folder.File("warehouse.tac");
    const std::pair<const char*, const char*> cases[] = {
        {"General.Title", "\"quoted\""},     {"General.Title", "  padded  "},
        {"General.Title", "a=b; #c"},        {"General.Title", ""},
        {"TACInfo.Author", "Z\xC3\xBCrich"}, {"Capture.DeleteAfter", "True"},
        {"Replace.r1.from", "a,b"},          {"Replace.r1.to", " c,d "},
    };
    for (const auto& [address, value] : cases) {
        ASSERT_EQ(RunCli({"set", doc, address, value}).exit, 0) << address << value;
        EXPECT_EQ(RunCli({"get", doc, address}).out, std::string(value) + "\n");
    }
}

TEST(SetTest, ValuesThatLookLikeOptionsAreValues) {
    CliFolder folder;
    const std::string doc = folder.File("front-office.tac");
    for (const char* value : {"-h", "--help", "-x", "--", "--catalogues", "--files"}) {
        const auto run = RunCli({"set", doc, "Printing.Header", value, "General.Title", value});
        EXPECT_EQ(run.exit, 0) << value << run.err;
        EXPECT_EQ(run.out, "") << value;
        EXPECT_EQ(RunCli({"get", doc, "Printing.Header", "General.Title"}).out,
                  std::string(value) + "\n" + value + "\n");
    }
}

TEST(SetTest, DecimalEntryNamesAddressTheLastEntries) {
    CliFolder folder;
    const std::string doc = folder.File("front-office.tac");
    std::vector<std::string> words{"set", doc};
    for (int n = 3; n <= 12; ++n) {
        words.insert(words.end(),
                     {"Replace.r" + std::to_string(n), "f" + std::to_string(n) + ",t"});
    }
    ASSERT_EQ(RunCli(words).exit, 0);
    const std::string section = SectionText(ReadFile(doc), "[Replace]");
    for (const char* line :
         {"\r\nr9=f9,t\r\n", "\r\nr:=f10,t\r\n", "\r\nr;=f11,t\r\n", "\r\nr<=f12,t"}) {
        EXPECT_NE(section.find(line), std::string::npos) << line << section;
    }
    EXPECT_EQ(RunCli({"get", doc, "Replace.r11.from", "Replace.R12", "Replace.r:.from"}).out,
              "f11\nf12,t\nf10\n");
    ASSERT_EQ(RunCli({"set", doc, "Replace.r10.to", "ten"}).exit, 0);
    EXPECT_NE(ReadFile(doc).find("\r\nr:=f10,ten\r\n"), std::string::npos);
}

struct ListCase {
    const char* name;
    std::vector<std::string> edits;
    std::string section;  // the [Replace] section afterwards, CR LF endings left out
};

class ReplacementListTest : public testing::TestWithParam<ListCase> {};

TEST_P(ReplacementListTest, ListIsWrittenBackWithItsEndKey) {
    CliFolder folder;
    const std::string doc = folder.File("front-office.tac");
    std::vector<std::string> words{"set", doc};
    words.insert(words.end(), GetParam().edits.begin(), GetParam().edits.end());
    const auto run = RunCli(words);
    ASSERT_EQ(run.exit, 0) << run.err;
    EXPECT_EQ(SectionText(ReadFile(doc), "[Replace]"), tavtest::Crlf(GetParam().section));
}

INSTANTIATE_TEST_SUITE_P(
    Cases, ReplacementListTest,
    testing::Values(
        ListCase{"append",
                 {"Replace.r3", "x\\044y,z"},
                 "[Replace]\nr0=Dept\\044 Sales,Sales department\nr1=FO,Front office\n"
                 "r2=Tel.,Telephone, direct line\nr3=x\\044y,z\nr4="},
        ListCase{"deleteFirst",
                 {"Replace.r0", ""},
                 "[Replace]\nr0=FO,Front office\nr1=Tel.,Telephone, direct line\nr2=\nr3="},
        ListCase{"replaceAndEditTexts",
                 {"Replace.r1", "a,b", "Replace.r1.from", "F,O", "Replace.r2.to", ""},
                 "[Replace]\nr0=Dept\\044 Sales,Sales department\nr1=F\\044O,b\nr2=Tel.,\nr3="},
        ListCase{"deleteThenAppend",
                 {"Replace.r2", "", "Replace.r2", "p,q"},
                 "[Replace]\nr0=Dept\\044 Sales,Sales department\nr1=FO,Front office\n"
                 "r2=p,q\nr3="}),
    [](const auto& info) { return std::string(info.param.name); });

struct RefusalCase {
    const char* name;
    std::vector<std::string> pairs;
    std::string message;
};

class SetRefusalTest : public testing::TestWithParam<RefusalCase> {};

TEST_P(SetRefusalTest, RefusesAndWritesNothing) {
    CliFolder folder;
    const std::string doc = folder.File("front-office.tac");
    const std::string before = ReadFile(doc);
    std::vector<std::string> words{"set", doc};
    words.insert(words.end(), GetParam().pairs.begin(), GetParam().pairs.end());
    const auto run = RunCli(words);
    EXPECT_EQ(run.exit, 2);
    EXPECT_NE(run.err.find(GetParam().message), std::string::npos) << run.err;
    EXPECT_EQ(ReadFile(doc), before);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, SetRefusalTest,
    testing::Values(
        RefusalCase{"notABoolean",
                    {"General.Title", "ok", "General.Beep", "true"},
                    "\"General.Beep\": the True/False field Beep takes True or False, not "
                    "\"true\"; nothing was written"},
        RefusalCase{
            "undescribedKey", {"General.Station", "FRONT-02"}, "describes no key \"Station\""},
        RefusalCase{"orderIsNoField", {"Columns.Order", "ShowDate"}, "describes no key \"Order\""},
        RefusalCase{"lineBreak", {"General.Title", "a\nb"}, "holds a line break"},
        RefusalCase{"characterTheEncodingCannotHold",
                    {"General.Title", "ok", "Printing.Header", "\xCE\xA9"},
                    "\"Printing.Header\": the character \"\xCE\xA9\" (U+03A9) cannot be stored "
                    "in a Windows-1252 document; nothing was written"},
        RefusalCase{"notUtf8", {"General.Title", "Caf\xE9"}, "the text is not valid UTF-8"},
        RefusalCase{"gap", {"Replace.r4", "a,b"}, "r4 would leave a gap; the next entry is r3"},
        RefusalCase{"noComma", {"Replace.r1", "plain"}, "an entry takes FROM,TO"},
        RefusalCase{"deleteMissing", {"Replace.r3", ""}, "there is no entry r3 to delete"},
        RefusalCase{"editMissing", {"Replace.r3.to", "x"}, "there is no entry r3"},
        RefusalCase{"pastTheList", {"Replace.r>", "a,b"}, "at most 13 entries"},
        RefusalCase{"pastTheListDecimal", {"Replace.r13", "a,b"}, "at most 13 entries"},
        RefusalCase{"decimalWithLeadingZero", {"Replace.r01", "a,b"}, "describes no key \"r01\""},
        RefusalCase{"decimalPastTwoDigits", {"Replace.r100", "a,b"}, "describes no key \"r100\""},
        RefusalCase{"valueMissing",
                    {"General.Beep", "True", "General.Title"},
                    "set: \"General.Title\" has no VALUE"}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(SetTest, FilesAreChangedEachAllOrNothingWithOneSummary) {
    CliFolder folder;
    const std::string front = folder.File("front-office.tac");
    const std::string warehouse = folder.File("warehouse.tac");
    const std::string missing = folder.File("none.tac");
    const std::string warehouseBefore = ReadFile(warehouse);
    struct Case {
        const char* name;
        std::vector<std::string> words;
        std::string input;  // standard input
        int exit;
        std::string summary;
        std::vector<std::string> errors;  // each found in the error output
    };
    const std::vector<Case> cases = {
        // warehouse.tac has no entry r2: its Title is not changed either.
        {"one_refused_one_missing",
         {"set", "--files", front, warehouse, missing, "--", "General.Title", "T", "Replace.r2.to",
          "x"},
         "",
         2,
         "1 changed, 0 unchanged, 2 failed\n",
         {warehouse + ": \"Replace.r2.to\": there is no entry r2", missing + ": No such file"}},
        {"list_on_standard_input",
         {"set", "--files", "-", "--", "General.Title", "T"},
         front + "\r\n\n" + warehouse + "\n",
         0,
         "1 changed, 1 unchanged, 0 failed\n",
         {}},
        {"nothing_to_do",
         {"set", "--files", "-", "--", "General.Title", "T"},
         "",
         0,
         "0 changed, 0 unchanged, 0 failed\n",
         {}},
    };
    for (const Case& c : cases) {
        const auto run = tavtest::RunCliWithInput(c.words, c.input);
        EXPECT_EQ(run.exit, c.exit) << c.name << run.err;
        EXPECT_EQ(run.out, c.summary) << c.name;
        for (const std::string& error : c.errors) {
            EXPECT_NE(run.err.find(error), std::string::npos) << c.name << ": " << run.err;
        }
        if (c.errors.empty()) {
            EXPECT_EQ(run.err, "") << c.name;
        }
    }
    EXPECT_NE(ReadFile(front).find("\r\nTitle=T\r\n"), std::string::npos);
    EXPECT_EQ(ReadFile(warehouse), Replaced(warehouseBefore, "Title=Warehouse scanner", "Title=T"));
}

TEST(SetTest, RefusesAppendsTheTableHasNoRoomFor) {
    std::string fields;
    for (int i = 0; i < 126; ++i) {
        fields += "L,K" + std::to_string(i) + ",C,N,1\n";
    }
    CliFolder folder("1,Main,N,Main,SN,1\n2,Replace,N,Replacements,SR,2\n", fields);
    const std::string doc = folder.File("r.tac");
    tavtest::WriteFile(doc, "[Replace]\nr0=a,b\n");
    EXPECT_EQ(RunCli({"set", doc, "Replace.r1", "c,d"}, folder.Path()).exit, 0);
    const auto full = RunCli({"set", doc, "Replace.r2", "e,f"}, folder.Path());
    EXPECT_EQ(full.exit, 2);
    EXPECT_NE(full.err.find("\"Replace.r2\": the list of string replacements is full: it holds at "
                            "most 2 entries; nothing was written"),
              std::string::npos)
        << full.err;
    EXPECT_EQ(ReadFile(doc), "[Replace]\nr0=a,b\nr1=c,d\nr2=\n");
}

TEST(SetTest, ListNotReadWholeRefusesEntryEditsButNotFieldEdits) {
    std::string fields;
    for (int i = 0; i < 126; ++i) {
        fields += "L,K" + std::to_string(i) + ",C,N,1\n";
    }
    CliFolder folder("1,Main,N,Main,SN,1\n2,Replace,N,Replacements,SR,2\n", fields);
    const std::string doc = folder.File("r.tac");
    const std::string before = "[Main]\nK0=x\n[Replace]\nr0=a,b\nr1=c,d\nr2=e,f\n";
    tavtest::WriteFile(doc, before);
    const std::string warning = "tacconf: warning: " + doc +
                                ": The replacement entries from \"r2\" on in section [Replace] "
                                "were not loaded: the field table holds at most 128 rows.\n";

    const auto entry = RunCli({"set", doc, "Main.K0", "y", "Replace.r0.to", "z"}, folder.Path());
    EXPECT_EQ(entry.exit, 2);
    EXPECT_EQ(entry.err, warning + "tacconf: " + doc +
                             ": \"Replace.r0.to\": the replacement list could not be read whole, "
                             "so it is not changed; nothing was written\n");
    EXPECT_EQ(ReadFile(doc), before);

    const auto field = RunCli({"set", doc, "Main.K0", "y"}, folder.Path());
    EXPECT_EQ(field.exit, 0);
    EXPECT_EQ(field.err, warning);
    EXPECT_EQ(ReadFile(doc), Replaced(before, "K0=x", "K0=y")) << "the list stays as it was";
}

TEST(SetTest, SameValuesLeaveTheFileUntouched) {
    CliFolder folder;
    const std::string doc = folder.File("front-office.tac");
    struct stat before {};
    ASSERT_EQ(::stat(doc.c_str(), &before), 0);
    EXPECT_EQ(RunCli({"set", doc, "General.Beep", "True", "Replace.r1.to", "Front office"}).exit,
              0);
    struct stat after {};
    ASSERT_EQ(::stat(doc.c_str(), &after), 0);
    EXPECT_EQ(after.st_ino, before.st_ino) << "an atomic write would have replaced the file";
}

TEST(SetTest, FailedWriteIsReportedWithFileAndReason) {
    CliFolder folder;
    const std::string doc = folder.File("front-office.tac");
    const std::string before = ReadFile(doc);
    tav::SetSaveFaultHookForTesting(
        [](tav::SaveStep step, std::size_t) { return step == tav::SaveStep::Rename ? EACCES : 0; });
    const auto run = RunCli({"set", doc, "General.Beep", "False"});
    tav::SetSaveFaultHookForTesting({});
    EXPECT_EQ(run.exit, 2);
    EXPECT_EQ(run.err.rfind("tacconf: " + doc + ": ", 0), 0u) << run.err;
    EXPECT_NE(run.err.find("Permission denied"), std::string::npos) << run.err;
    EXPECT_EQ(ReadFile(doc), before);
}

struct KilledSetCase {
    const char* name;
    tav::SaveStep step;  // where the earlier save was killed
    bool hardLinked;     // that save wrote in place
    const char* finding;
    bool refused;  // set refuses without --recover
    bool pairs;    // --recover is given pairs to apply too
};

TEST(SetTest, WhatAKilledSaveLeftIsReportedByCheckAndDealtWithBySet) {
    const char* unfinished =
        ": an earlier save of this file did not finish: the file may be incomplete; the "
        "complete content of that save is in ";
    const KilledSetCase cases[] = {
        {"unfinishedInPlace", tav::SaveStep::SyncFolder, true, unfinished, true, true},
        {"unfinishedRecoveredAlone", tav::SaveStep::Overwrite, true, unfinished, true, false},
        {"finishedInPlace", tav::SaveStep::RemoveCopy, true, ": a finished save left its copy ",
         false, true},
        {"killedRename", tav::SaveStep::Rename, false,
         ": a save that was stopped left its temporary file ", false, true},
    };
    for (const KilledSetCase& c : cases) {
        CliFolder folder;
        const std::string doc = folder.File("front-office.tac");
        const std::string before = ReadFile(doc);
        const std::string fresh = Replaced(before, "Beep=1\r\n", "Beep=0\r\n");
        if (c.hardLinked) {
            ASSERT_EQ(::link(doc.c_str(), folder.File("link.tac").c_str()), 0);
        }
        ASSERT_TRUE(tavtest::KillSaveAt(doc, fresh, c.step)) << c.name;
        const tav::Expected<tav::Leftovers> left = tav::FindLeftovers(doc);
        ASSERT_TRUE(left) << c.name;
        const std::string leftover = c.hardLinked ? left->copy : left->temps.at(0);
        const std::string kept = ReadFile(doc);

        const auto check = RunCli({"check", doc});
        EXPECT_EQ(check.exit, 1) << c.name;
        EXPECT_TRUE(tavtest::Holds(check.out, doc + c.finding + leftover + " (")) << c.name << ":\n"
                                                                                  << check.out;

        const auto set = RunCli({"set", doc, "General.Title", "x"});
        EXPECT_EQ(set.exit, c.refused ? 2 : 0) << c.name << ": " << set.err;
        if (c.refused) {
            EXPECT_TRUE(tavtest::Holds(set.err, "did not finish")) << set.err;
            EXPECT_TRUE(tavtest::Holds(set.err, leftover + " (restore it with tacconf set "
                                                           "--recover"))
                << set.err;
            EXPECT_TRUE(tavtest::Holds(set.err, "; nothing was written")) << set.err;
            EXPECT_EQ(ReadFile(doc), kept) << c.name;
            std::vector<std::string> words{"set", "--recover", doc};
            if (c.pairs) {
                words.insert(words.end(), {"General.Title", "x"});
            }
            const auto recovered = RunCli(words);
            EXPECT_EQ(recovered.exit, 0) << c.name << ": " << recovered.err;
            EXPECT_EQ(ReadFile(doc),
                      c.pairs ? Replaced(fresh, "Title=Front office capture", "Title=x") : fresh)
                << c.name;
        }
        EXPECT_FALSE(std::filesystem::exists(leftover)) << c.name << ": " << leftover;
        if (c.hardLinked) {
            EXPECT_EQ(ReadFile(folder.File("link.tac")), ReadFile(doc)) << c.name;
        }
        const auto after = RunCli({"check", doc});
        EXPECT_FALSE(tavtest::Holds(after.out, " save ")) << c.name << ":\n" << after.out;
    }
}

}  // namespace
