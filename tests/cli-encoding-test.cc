// tacconf and the document's encoding: UTF-8 on the command line and in the output, the
// document's own encoding in the file, --encoding to override the decision.
#include <gtest/gtest.h>

#include "cli-testutil.h"

namespace {

using tavtest::CliFolder;
using tavtest::ReadFile;
using tavtest::RunCli;

// Catalogues in Windows-1252: the section "Büro", the field "Größe".
const std::string kSections = "1,Office,N,B\xFCro,SN,1\n2,Replace,N,Replacements,SR,2\n";
const std::string kFields = "Title,Title,C,N,1\nGr\xF6\xDF\x65,Size,C,N,1\n";

// "Café Büro", "€5" and the entry "é" -> "è", once in each encoding.
const std::string kCodePageDocument =
    "; Gr\xFC\xDF\n[Office]\nTitle=Caf\xE9 B\xFCro\nSize=\x80\x35\n[Replace]\nr0=\xE9,\xE8\nr1=\n";
const std::string kUtf8Document =
    "; Gr\xC3\xBC\xC3\x9F\n[Office]\nTitle=Caf\xC3\xA9 B\xC3\xBCro\nSize=\xE2\x82\xAC\x35\n"
    "[Replace]\nr0=\xC3\xA9,\xC3\xA8\nr1=\n";

struct Document {
    CliFolder folder{kSections, kFields};
    std::string path = folder.File("doc.tac");
    explicit Document(const std::string& bytes) { tavtest::WriteFile(path, bytes); }
    tavtest::CliRun Run(std::vector<std::string> words) const {
        words.insert(words.begin() + 1, path);
        return RunCli(words, folder.Path());
    }
};

TEST(EncodingCliTest, GetAndDumpPrintUtf8WhateverTheDocumentsEncoding) {
    for (const std::string& bytes : {kCodePageDocument, kUtf8Document}) {
        const Document doc(bytes);
        const auto get = doc.Run({"get", "Office.Title", "Office.Size", "Replace.r0"});
        EXPECT_EQ(get.out, "Caf\xC3\xA9 B\xC3\xBCro\n\xE2\x82\xAC\x35\n\xC3\xA9,\xC3\xA8\n")
            << get.err;
        const auto dump = doc.Run({"dump"});
        EXPECT_EQ(dump.out,
                  "[Office]\tSN\tN\tB\xC3\xBCro\n"
                  "Title\tC\t-\tTitle\tCaf\xC3\xA9 B\xC3\xBCro\n"
                  "Size\tC\t-\tGr\xC3\xB6\xC3\x9F\x65\t\xE2\x82\xAC\x35\n"
                  "[Replace]\tSR\tN\tReplacements\n"
                  "r0\tRFS\t-\t\xC3\xA9\t\xC3\xA8\n")
            << dump.err;
        const auto json = doc.Run({"dump", "--json"});
        for (const char* text :
             {"\"label\": \"B\xC3\xBCro\"", "\"value\": \"Caf\xC3\xA9 B\xC3\xBCro\"",
              "\"label\": \"Gr\xC3\xB6\xC3\x9F\x65\"",
              "\"from\": \"\xC3\xA9\", \"to\": \"\xC3\xA8\""}) {
            EXPECT_NE(json.out.find(text), std::string::npos) << text << " in " << json.out;
        }
    }
}

TEST(EncodingCliTest, EncodingOptionOverridesTheDecision) {
    const Document codePage(kCodePageDocument);
    EXPECT_EQ(codePage.Run({"get", "Office.Title", "--encoding", "utf-8"}).out,
              "Caf\xEF\xBF\xBD B\xEF\xBF\xBDro\n");
    const Document utf8(kUtf8Document);
    EXPECT_EQ(
        RunCli({"--encoding=windows-1252", "get", utf8.path, "Office.Title"}, utf8.folder.Path())
            .out,
        "Caf\xC3\x83\xC2\xA9 B\xC3\x83\xC2\xBCro\n");
    // Set in the encoding given: the same characters, other bytes.
    ASSERT_EQ(utf8.Run({"set", "Office.Size", "\xC3\xA9", "--encoding", "windows-1252"}).exit, 0);
    EXPECT_NE(ReadFile(utf8.path).find("\nSize=\xE9\n"), std::string::npos);
    const auto unknown = utf8.Run({"get", "Office.Title", "--encoding", "latin1"});
    EXPECT_EQ(unknown.exit, 2);
    EXPECT_NE(unknown.err.find("--encoding takes utf-8 or windows-1252, not \"latin1\""),
              std::string::npos)
        << unknown.err;
}

TEST(EncodingCliTest, SetStoresUtf8ArgumentsInTheDocumentsEncoding) {
    struct Case {
        const char* name;
        std::string bytes;
        std::string title;  // the Title line set writes for "Zürich €"
        std::string entry;  // the entry line for "à" -> "ß"
    };
    const Case cases[] = {
        {"windows1252", kCodePageDocument, "Title=Z\xFCrich \x80\n", "r0=\xE0,\xDF\n"},
        {"utf8", kUtf8Document, "Title=Z\xC3\xBCrich \xE2\x82\xAC\n", "r0=\xC3\xA0,\xC3\x9F\n"},
    };
    for (const Case& c : cases) {
        const Document doc(c.bytes);
        const auto run = doc.Run({"set", "Office.Title", "Z\xC3\xBCrich \xE2\x82\xAC", "Replace.r0",
                                  "\xC3\xA0,\xC3\x9F"});
        ASSERT_EQ(run.exit, 0) << c.name << ": " << run.err;
        std::string expected = c.bytes;
        const std::size_t title = expected.find("Title=");
        expected.replace(title, expected.find('\n', title) + 1 - title, c.title);
        const std::size_t entry = expected.find("r0=");
        expected.replace(entry, expected.find('\n', entry) + 1 - entry, c.entry);
        EXPECT_EQ(ReadFile(doc.path), expected) << c.name << ": every other byte stays";
    }
}

TEST(EncodingCliTest, CheckReportsADocumentThatMixesEncodings) {
    struct Case {
        const char* name;
        std::string bytes;
        std::vector<std::string> words;
        std::string finding;  // "LINE: start of the message"; empty: none
    };
    const Case cases[] = {
        {"codePage", kCodePageDocument, {}, ""},
        {"utf8", kUtf8Document, {}, ""},
        {"mixed",
         "[Office]\nTitle=Caf\xE9\nSize=\xE2\x82\xAC\x35\n",
         {},
         "3: the line holds UTF-8 text, but line 2 holds bytes that are not UTF-8: the document "
         "is read as windows-1252"},
        {"mixedReadAsUtf8",
         "[Office]\nTitle=Caf\xE9\nSize=\xE2\x82\xAC\x35\n",
         {"--encoding", "utf-8"},
         "2: the line holds bytes that are not UTF-8, but line 3 holds UTF-8 text: the document "
         "is read as utf-8, so those bytes show as U+FFFD"},
        {"markThenCodePage",
         "\xEF\xBB\xBF[Office]\nTitle=Caf\xE9\n",
         {},
         "2: the line holds bytes that are not UTF-8, but the file starts with a UTF-8 "
         "byte-order mark"},
    };
    for (const Case& c : cases) {
        const Document doc(c.bytes);
        std::vector<std::string> words{"check"};
        words.insert(words.end(), c.words.begin(), c.words.end());
        const auto run = doc.Run(words);
        EXPECT_EQ(run.exit, c.finding.empty() ? 0 : 1) << c.name << ": " << run.out;
        if (!c.finding.empty()) {
            EXPECT_EQ(run.out.rfind(doc.path + ":" + c.finding, 0), 0u)
                << c.name << ": " << run.out;
            EXPECT_EQ(std::count(run.out.begin(), run.out.end(), '\n'), 1) << c.name << run.out;
        }
    }
}

}  // namespace
