// HelpContentsPage: the contents and the keyword index as nested lists of links, escaped.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "help/helpcontentspage.h"

namespace {

using tav::SitemapEntry;

TEST(HelpContentsPage, ListsTheContentsAndTheIndexAsNestedLinks) {
    const std::vector<SitemapEntry> contents = {
        {"Welcome", "index.html", {}},
        {"Using <it> & more",
         "",
         {{"", "tree.html", {}}, {"Files \"here\"", "files.html#disk", {}}}},
    };
    const std::vector<SitemapEntry> keywords = {
        {"drag", "reorder.html", {{"drop", "a&b.html", {}}}}};
    const std::string page = tav::HelpContentsPage(contents, keywords, "Help & more");
    EXPECT_NE(page.find("<title>Help &amp; more</title>"), std::string::npos);
    EXPECT_NE(page.find("<link rel=\"stylesheet\" type=\"text/css\" href=\"help.css\">"),
              std::string::npos);
    const std::string lists =
        "<h2 id=\"contents\">Contents</h2>\n"
        "<ul>\n"
        "<li><a href=\"index.html\">Welcome</a></li>\n"
        "<li>Using &lt;it&gt; &amp; more\n"
        "  <ul>\n"
        "  <li><a href=\"tree.html\">tree.html</a></li>\n"
        "  <li><a href=\"files.html#disk\">Files &quot;here&quot;</a></li>\n"
        "  </ul>\n"
        "</li>\n"
        "</ul>\n"
        "\n<h2 id=\"index\">Index</h2>\n"
        "<ul>\n"
        "<li><a href=\"reorder.html\">drag</a>\n"
        "  <ul>\n"
        "  <li><a href=\"a&amp;b.html\">drop</a></li>\n"
        "  </ul>\n"
        "</li>\n"
        "</ul>\n"
        "</body>\n</html>\n";
    ASSERT_GE(page.size(), lists.size());
    EXPECT_EQ(page.substr(page.size() - lists.size()), lists);
    // Empty sitemaps leave the headings without lists.
    const std::string empty = tav::HelpContentsPage({}, {}, "T");
    EXPECT_NE(empty.find("Contents</h2>\n\n<h2 id=\"index\">Index</h2>\n</body>"),
              std::string::npos);
}

}  // namespace
