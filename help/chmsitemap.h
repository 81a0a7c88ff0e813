// The sitemaps of a compiled HTML help file: the contents file (.hhc) and the keyword index
// (.hhk). Both are HTML: nested <UL> lists whose <LI> hold <OBJECT type="text/sitemap"> with
// <param name="Name" value="..."> and <param name="Local" value="page.html">.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

namespace tav {

struct SitemapEntry {
    // The first "Name" and "Local" parameters, entities decoded; `local` is empty for a heading
    // that opens no page. Longer texts are cut at kMaxSitemapText bytes.
    std::string name;
    std::string local;
    // The entries of the <UL> that follows this entry.
    std::vector<SitemapEntry> children;
};

inline constexpr std::size_t kMaxSitemapEntries = 20000;
inline constexpr std::size_t kMaxSitemapDepth = 32;
inline constexpr std::size_t kMaxSitemapText = 1024;

// The entries of `html` in document order. A <UL> nests its entries under the entry before it
// (at the top, or with no entry before it, they stay at the level of the list around it); a
// </UL> without its <UL> is ignored, and so is a <UL> deeper than kMaxSitemapDepth (its entries
// stay at the deepest level). Objects of any other type ("text/site properties") and entries
// with neither name nor page are left out; after kMaxSitemapEntries entries the rest is too.
// Never fails: text that is no sitemap yields no entries.
std::vector<SitemapEntry> ParseSitemap(std::string_view html);

// The number of entries in `entries` and all their descendants.
std::size_t CountEntries(const std::vector<SitemapEntry>& entries);

}  // namespace tav
