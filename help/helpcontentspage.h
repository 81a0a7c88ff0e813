// The help's contents and keyword index as one HTML page (contents.html), for reading the help
// pages in a web browser, where the viewer's Contents and Index tabs are not there.
#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "help/chmsitemap.h"

namespace tav {

// The page's name beside the other pages.
inline constexpr std::string_view kHelpContentsPage = "contents.html";

// A complete HTML page titled `title` in the style of the other help pages (help.css): the
// entries of `contents` as nested lists, each with a page a link to it (anchors kept), a heading
// without one as plain text; then `keywords` the same way under "Index" (a sub-keyword nested
// under its keyword). Names and links are escaped, so any text gives well-formed HTML; a link
// is written as the sitemap has it, so it resolves against the folder of the page.
std::string HelpContentsPage(const std::vector<SitemapEntry>& contents,
                             const std::vector<SitemapEntry>& keywords, std::string_view title);

}  // namespace tav
