// The help file's sitemaps (contents and keyword index) and the HTML reading under them: named
// cases printed as an indented outline, hostile input bounded, and the built help file's own.
#include <gtest/gtest.h>

#include <random>
#include <string>
#include <vector>

#include "help/chmfile.h"
#include "help/chmhtml.h"
#include "help/chmsitemap.h"
#include "testutil.h"

namespace {

using tav::SitemapEntry;

// One line per entry: two spaces per level, then "name|local".
std::string Outline(const std::vector<SitemapEntry>& entries, int depth = 0) {
    std::string text;
    for (const SitemapEntry& entry : entries) {
        text += std::string(2 * depth, ' ') + entry.name + '|' + entry.local + '\n';
        text += Outline(entry.children, depth + 1);
    }
    return text;
}

std::string Entry(const std::string& name, const std::string& local = {}) {
    std::string text =
        "<LI><OBJECT type=\"text/sitemap\"><param name=\"Name\" value=\"" + name + "\">";
    if (!local.empty()) {
        text += "<param name=\"Local\" value=\"" + local + "\">";
    }
    return text + "</OBJECT>\n";
}

struct SitemapCase {
    const char* name;
    std::string html;
    std::string outline;
};

TEST(ChmSitemap, ParsesEntriesAndTheirNesting) {
    const std::vector<SitemapCase> cases = {
        {"nested",
         "<UL>" + Entry("Top", "a.html") + Entry("Heading") + "<UL>" + Entry("Inner", "b.html") +
             "<UL>" + Entry("Deeper", "c.html#x") + "</UL></UL>" + Entry("Last", "d.html") +
             "</UL>",
         "Top|a.html\nHeading|\n  Inner|b.html\n    Deeper|c.html#x\nLast|d.html\n"},
        {"site_properties_and_comments_ignored",
         "<OBJECT type=\"text/site properties\"><param name=\"Name\" value=\"no\"></OBJECT>"
         "<!-- " +
             Entry("hidden", "h.html") + " --><UL>" + Entry("Shown", "s.html") + "</UL>",
         "Shown|s.html\n"},
        {"entities_case_and_unquoted_values",
         "<ul><li><object TYPE=text/sitemap><PARAM NAME=name VALUE='A &amp; B &#228;'>"
         "<param name=local value=x.htm></object></ul>",
         "A & B \xc3\xa4|x.htm\n"},
        {"first_name_and_page_count",
         "<UL><LI><OBJECT type=\"text/sitemap\"><param name=\"Name\" value=\"key\">"
         "<param name=\"Local\" value=\"one.html\"><param name=\"Name\" value=\"other\">"
         "<param name=\"Local\" value=\"two.html\"></OBJECT></UL>",
         "key|one.html\n"},
        {"stray_close_and_orphan_lists",
         "</UL></UL><UL><UL>" + Entry("Orphan", "o.html") + "</UL>" + Entry("After", "a.html"),
         "Orphan|o.html\nAfter|a.html\n"},
        {"unclosed_object_at_the_end",
         "<UL>" + Entry("One", "1.html") +
             "<LI><OBJECT type=\"text/sitemap\"><param name=\"Name\" "
             "value=\"Two\"",
         "One|1.html\nTwo|\n"},
        {"nameless_and_empty_objects_left_out",
         "<UL><OBJECT type=\"text/sitemap\"></OBJECT>" + Entry("", "p.html") + "</UL>",
         "|p.html\n"},
        {"no_sitemap", "just text < and > and &amp;", ""},
    };
    for (const SitemapCase& c : cases) {
        EXPECT_EQ(Outline(tav::ParseSitemap(c.html)), c.outline) << c.name;
    }
}

TEST(ChmSitemap, BoundsDepthCountAndTextLength) {
    std::string deep;
    for (int i = 0; i < 100; ++i) {
        deep += "<UL>" + Entry("level" + std::to_string(i), "p.html");
    }
    std::vector<SitemapEntry> parsed = tav::ParseSitemap(deep);
    std::size_t depth = 0;
    for (const std::vector<SitemapEntry>* level = &parsed; !level->empty();
         level = &level->back().children) {
        ++depth;
    }
    EXPECT_EQ(depth, tav::kMaxSitemapDepth);
    EXPECT_EQ(tav::CountEntries(parsed), 100u);

    std::string many = "<UL>";
    for (std::size_t i = 0; i < tav::kMaxSitemapEntries + 5; ++i) {
        many += Entry("e", "e.html");
    }
    EXPECT_EQ(tav::CountEntries(tav::ParseSitemap(many)), tav::kMaxSitemapEntries);

    const auto longName = tav::ParseSitemap(Entry(std::string(5000, 'n'), "x.html"));
    ASSERT_EQ(longName.size(), 1u);
    EXPECT_EQ(longName[0].name.size(), tav::kMaxSitemapText);
}

TEST(ChmSitemap, RandomBytesAndCutFilesParseWithinBounds) {
    const std::string toc = tavtest::ReadFile(TAV_HELP_SOURCES_DIR "/toc.hhc");
    std::mt19937 random(11);
    for (int round = 0; round < 200; ++round) {
        std::string bytes = toc.substr(0, random() % toc.size());
        for (int flips = 0; flips < 20 && !bytes.empty(); ++flips) {
            bytes[random() % bytes.size()] = static_cast<char>(random());
        }
        EXPECT_LE(tav::CountEntries(tav::ParseSitemap(bytes)), tav::kMaxSitemapEntries);
    }
}

TEST(ChmHtml, DecodesReferencesAndLeavesTheRestAlone) {
    const std::vector<std::pair<std::string, std::string>> cases = {
        {"a &amp; b &LT;c&gt; &quot;&apos;&nbsp;", "a & b <c> \"' "},
        {"&#65;&#x42;&#x20AC;", "AB\xe2\x82\xac"},
        {"&unknown; &#xD800; &#99999999; & ;&amp", "&unknown; &#xD800; &#99999999; & ;&amp"},
    };
    for (const auto& [text, decoded] : cases) {
        EXPECT_EQ(tav::DecodeEntities(text), decoded) << text;
    }
}

TEST(ChmHtml, ScansTextTagsAndSkipsDeclarations) {
    tav::HtmlScanner scanner("<!DOCTYPE x>a<B class=\"c\">b</b><!-- c -->< d<");
    std::string seen;
    for (tav::HtmlToken token; scanner.Next(token);) {
        seen += token.kind == tav::HtmlToken::Kind::Tag
                    ? "[" + std::string(token.closing ? "/" : "") + token.name + "]"
                    : "'" + std::string(token.text) + "'";
    }
    EXPECT_EQ(seen, "'a'[b]'b'[/b]'<'' d''<'");
}

TEST(ChmSitemap, TheBuiltHelpFileHoldsItsContentsAndIndex) {
    auto opened = tav::ChmFile::Open(TAV_HELP_FILE);
    ASSERT_TRUE(opened) << opened.Error().reason;
    const auto contents = (*opened)->Contents();
    // The sources list one sitemap object per entry.
    const auto objects = [](const std::string& text) {
        std::size_t count = 0;
        for (auto at = text.find("text/sitemap"); at != std::string::npos;
             at = text.find("text/sitemap", at + 1)) {
            ++count;
        }
        return count;
    };
    EXPECT_EQ(tav::CountEntries(contents),
              objects(tavtest::ReadFile(TAV_HELP_SOURCES_DIR "/toc.hhc")));
    EXPECT_EQ(tav::CountEntries((*opened)->Keywords()),
              objects(tavtest::ReadFile(TAV_HELP_SOURCES_DIR "/index.hhk")));
    ASSERT_GE(contents.size(), 2u);
    EXPECT_EQ(contents[0].name + '|' + contents[0].local, "Welcome|index.html");
    EXPECT_EQ(contents[1].name, "Using the editor");
    EXPECT_EQ(contents[1].children.at(1).local, "tree.html");
}

}  // namespace
