#include <gtest/gtest.h>

#include "cli-testutil.h"
#include "document/configdocument.h"
#include "document/documentio.h"
#include "document/documentstorage.h"
#include "testutil.h"

namespace {

using tavtest::CliFolder;
using tavtest::ReadFile;
using tavtest::RunCli;

TEST(DiffTest, ShowsTheStampASaveChangesLineEndingsIncluded) {
    CliFolder folder;
    const std::string doc = folder.File("front-office.tac");
    const auto run = RunCli({"diff", doc});
    EXPECT_EQ(run.exit, 1) << run.err;
    EXPECT_EQ(run.out, "--- " + doc + "\tas read\n+++ " + doc + "\tas saved\n" +
                           "@@ -3,7 +3,7 @@\n"
                           " \r\n"
                           " [TACInfo]\r\n"
                           " Version=1.0\r\n"
                           "-Updated=03/11/2026 (09:15:42)\r\n"
                           "+Updated=01/02/2026 (03:04:05)\r\n"
                           " Author=Front office\r\n"
                           " \r\n"
                           " [General]\r\n");
}

TEST(DiffTest, ShowsWhatASaveAddsAndRewritesWithoutWriting) {
    CliFolder folder;
    const std::string doc = folder.File("warehouse.tac");
    const std::string before = ReadFile(doc);
    const auto run = RunCli({"diff", doc});
    EXPECT_EQ(run.exit, 1) << run.err;
    for (const char* line : {"\n+StartMinimised=0\n", "\n-Order=ShowDate,ShowTime\n",
                             "\n+Order=ShowDate,ShowSender,ShowSubject,ShowSize,ShowTime\n",
                             "\n+[TACInfo]\n+Version=1.0\n+Updated=01/02/2026 (03:04:05)\n"}) {
        EXPECT_NE(run.out.find(line), std::string::npos) << line << run.out;
    }
    EXPECT_EQ(ReadFile(doc), before);
}

TEST(DiffTest, DocumentTheEditorJustSavedShowsNoChange) {
    CliFolder folder;
    const std::string doc = folder.File("warehouse.tac");
    tav::ConfigDocument document(tav::LoadCatalogues(TAV_EXAMPLES_DIR, {}));
    tav::DocumentStorage storage(document, tavtest::FixedClock(tavtest::kCliTime));
    ASSERT_TRUE(storage.Open(doc, "warehouse.tac"));
    ASSERT_TRUE(tavtest::AsStatus(storage.Save(tavtest::SaveOf())));
    const auto run = RunCli({"diff", doc});
    EXPECT_EQ(run.exit, 0) << run.out << run.err;
    EXPECT_EQ(run.out, "");
}

TEST(DiffTest, IgnoreStampsLeavesOutVersionAndUpdatedOnly) {
    struct Case {
        const char* name;
        std::string document;  // empty: the example front-office.tac
        int exit;
        std::vector<std::string> shown;  // each found in the diff
    };
    const std::vector<Case> cases = {
        {"only_the_stamp_differs", "", 0, {}},
        {"stamps_spelt_otherwise_and_other_changes",
         "[tacinfo]\r\nversion = 7\r\nUPDATED=\"yesterday\"\r\nAuthor=me\r\n"
         "[General]\r\nBeep=yes\r\n[TACInfo]\r\nVersion=9\r\n",
         1,
         {" UPDATED=\"yesterday\"\r\n Author=me\r\n", "-Beep=yes\r\n+Beep=0\r\n"}},
        {"stamps_the_file_lacks", "[General]\nTitle=x\n", 1, {"+[TACInfo]\n+Author=\n"}},
    };
    for (const Case& c : cases) {
        CliFolder folder;
        const std::string doc = folder.File("front-office.tac");
        if (!c.document.empty()) {
            tavtest::WriteFile(doc, c.document);
        }
        const auto run = RunCli({"diff", "--ignore-stamps", doc});
        EXPECT_EQ(run.exit, c.exit) << c.name << run.err;
        for (const std::string& part : c.shown) {
            EXPECT_NE(run.out.find(part), std::string::npos) << c.name << ": " << run.out;
        }
        for (const char* stamp :
             {"\n+Version", "\n-Version", "\n+Updated", "\n-Updated", "\n+version", "\n-UPDATED"}) {
            EXPECT_EQ(run.out.find(stamp), std::string::npos) << c.name << ": " << run.out;
        }
    }
}

TEST(DiffTest, SaveTheEditorCannotMakeIsAnError) {
    CliFolder folder("1,Main,N,Main,SN,1\n", "Bad,a=b,C,N,1\n");
    const auto run = RunCli({"diff", folder.File("warehouse.tac")}, folder.Path());
    EXPECT_EQ(run.exit, 2);
    EXPECT_NE(run.err.find(folder.File("warehouse.tac") + ": a save would fail: the key \"a=b\""),
              std::string::npos)
        << run.err;
    EXPECT_EQ(run.out, "");
}

}  // namespace
