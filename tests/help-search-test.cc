// Full-text search of help pages: the words a page is made of, ranking by how often the query's
// words occur, index keywords and synonyms, and the built help file's pages.
#include <gtest/gtest.h>

#include <set>
#include <string>
#include <vector>

#include "help/chmfile.h"
#include "help/chmsearch.h"

namespace {

using tav::ChmSearchIndex;

std::vector<std::string> Pages(const std::vector<tav::SearchHit>& hits) {
    std::vector<std::string> pages;
    for (const tav::SearchHit& hit : hits) {
        pages.push_back(hit.page + ':' + std::to_string(hit.score));
    }
    return pages;
}

TEST(ChmSearch, SplitsTextIntoFoldedWordsOfTwoOrMoreLetters) {
    const std::vector<std::pair<std::string, std::vector<std::string>>> cases = {
        {"Hello, WORLD!", {"hello", "world"}},
        {"a b cd e-fg", {"cd", "fg"}},
        {"r10 and r:", {"r10", "and"}},
        {"Stra\xc3\x9f"
         "e \xc3\xa4",
         {"stra\xc3\x9f"
          "e",
          "\xc3\xa4"}},
        {std::string(100, 'x'), {std::string(ChmSearchIndex::kMaxWordLength, 'x')}},
        {"", {}},
    };
    for (const auto& [text, words] : cases) {
        EXPECT_EQ(tav::SearchWords(text), words) << text;
    }
}

TEST(ChmSearch, ReadsThePageTextAndTitle) {
    const std::string html =
        "<html><head><title> The\n  tree &amp; icons </title><style>p { x: y }</style>"
        "<script>var hidden;</script></head><body><p>Seen<b>text</b>&lt;tag&gt;</p></body>";
    EXPECT_EQ(tav::SearchWords(tav::PageText(html)),
              (std::vector<std::string>{"seen", "text", "tag"}));
    EXPECT_EQ(tav::PageTitle(html), "The tree & icons");
    EXPECT_EQ(tav::PageTitle("<p>no title"), "");
}

TEST(ChmSearch, FindsPagesHoldingEveryWordMostFrequentFirst) {
    ChmSearchIndex index;
    index.AddPage("/a.html", "<title>A</title>drag once, drop once");
    index.AddPage("/b.html", "drag drag drag <i>drop</i> DROP");
    index.AddPage("/c.html", "drag only, drag again, drag and drag");
    index.AddPage("/d.html", "<title>D</title>Drop drag");
    struct Case {
        const char* name;
        const char* query;
        std::vector<std::string> pages;
    };
    const std::vector<Case> cases = {
        {"two_words", "drop drag", {"/b.html:5", "/a.html:2", "/d.html:2"}},
        {"one_word", "DRAG", {"/c.html:4", "/b.html:3", "/a.html:1", "/d.html:1"}},
        {"repeated_word_counts_once", "drop drop", {"/b.html:2", "/a.html:1", "/d.html:1"}},
        {"a_missing_word_finds_nothing", "drag xyzzy", {}},
        {"no_words", "a - ?", {}},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(Pages(index.Find(c.query)), c.pages) << c.name;
    }
    const auto hits = index.Find("drop");
    ASSERT_FALSE(hits.empty());
    EXPECT_EQ(hits.front().title, "/b.html");  // no <title>: the page's name
    EXPECT_EQ(hits.back().title, "D");
}

TEST(ChmSearch, IndexesEveryPageOfTheBuiltHelpFile) {
    auto opened = tav::ChmFile::Open(TAV_HELP_FILE);
    ASSERT_TRUE(opened) << opened.Error().reason;
    const std::vector<std::string> pages = (*opened)->Pages();
    EXPECT_NE(std::find(pages.begin(), pages.end(), "/tree.html"), pages.end());
    const ChmSearchIndex index = tav::BuildSearchIndex(**opened);
    // All but the contents page, which lists every title and keyword.
    EXPECT_NE(std::find(pages.begin(), pages.end(), "/contents.html"), pages.end());
    EXPECT_EQ(index.PageCount(), pages.size() - 1);

    const auto hits = index.Find("drag drop");
    ASSERT_FALSE(hits.empty());
    EXPECT_EQ(hits.front().page, "/reorder.html");
    EXPECT_EQ(hits.front().title, "Reordering entries by drag and drop");
    EXPECT_TRUE(index.Find("qwxzyv").empty());
}

TEST(ChmSearch, KeywordsAndSynonymsLeadToTheirPages) {
    ChmSearchIndex index;
    index.AddPage("/a.html", "Stored in a code page; code page 1252.");
    index.AddPage("/b.html", "The charset, the charset, the charset.");
    index.AddPage("/c.html", "Nothing about it, but <b>merge</b> once.");
    index.AddPage("/d.html", "Code for a page.");
    EXPECT_TRUE(index.AddKeyword("C.HTML#part", "encoding of documents"));
    EXPECT_TRUE(index.AddKeyword("c.html", "merge"));
    EXPECT_FALSE(index.AddKeyword("missing.html", "merge"));
    struct Case {
        const char* name;
        const char* query;
        std::vector<std::string> pages;
    };
    const std::vector<Case> cases = {
        // A keyword counts kKeywordWeight times; a phrase counts all its words, wherever they are.
        {"word_of_a_group", "Encoding", {"/c.html:10", "/a.html:4", "/b.html:3", "/d.html:2"}},
        {"phrase_of_a_group", "code page", {"/c.html:10", "/a.html:4", "/b.html:3", "/d.html:2"}},
        {"part_of_a_phrase_is_a_plain_word", "code", {"/a.html:2", "/d.html:1"}},
        {"keyword_adds_to_the_page", "merge", {"/c.html:11"}},
        {"group_and_word", "charset documents", {"/c.html:20"}},
        {"group_holds_nowhere", "catalog", {}},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(Pages(index.Find(c.query)), c.pages) << c.name;
    }
}

// The pages `query` finds in `index`, by object name.
std::set<std::string> FoundPages(const ChmSearchIndex& index, const std::string& query) {
    std::set<std::string> pages;
    for (const tav::SearchHit& hit : index.Find(query)) {
        pages.insert(hit.page);
    }
    return pages;
}

TEST(ChmSearch, TheBuiltHelpIsFoundByItsKeywordsAndTheirSynonyms) {
    auto opened = tav::ChmFile::Open(TAV_HELP_FILE);
    ASSERT_TRUE(opened) << opened.Error().reason;
    const ChmSearchIndex index = tav::BuildSearchIndex(**opened);
    // Every keyword of the index finds the page it names.
    for (const tav::SitemapEntry& keyword : (*opened)->Keywords()) {
        EXPECT_EQ(FoundPages(index, keyword.name).count(tav::ChmTopicObject(keyword.local)), 1u)
            << keyword.name;
    }
    struct Case {
        const char* query;
        std::vector<std::string> pages;  // each of them found first, in any order
    };
    // clang-format off
    const std::vector<Case> cases = {
        {"encoding", {"/document.html"}},
        {"code page", {"/document.html"}},
        {"charset", {"/document.html"}},
        {"UTF-8", {"/document.html"}},
        {"sequence", {"/reorder.html"}},
        {"reorder", {"/reorder.html"}},
        {"substitution", {"/replacements.html"}},
        {"catalog limits", {"/limits.html"}},
        {"directory remembered", {"/files.html"}},
        {"encoding qwxzyv", {}},
    };
    // clang-format on
    for (const Case& c : cases) {
        const std::vector<tav::SearchHit> hits = index.Find(c.query);
        ASSERT_GE(hits.size(), c.pages.size()) << c.query;
        for (std::size_t i = 0; i < c.pages.size(); ++i) {
            EXPECT_EQ(std::count(c.pages.begin(), c.pages.end(), hits[i].page), 1)
                << c.query << ": " << hits[i].page;
        }
        if (c.pages.empty()) {
            EXPECT_TRUE(hits.empty()) << c.query;
        }
    }
}

}  // namespace
