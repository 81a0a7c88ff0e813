// Full-text search over the pages of a help file: the words of every page are counted once, when
// the file is opened, and a query finds the pages that hold all of its words.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

namespace tav {

class ChmFile;

struct SearchHit {
    std::string page;       // the object name ("/tree.html")
    std::string title;      // the page's <title>, else its object name
    std::size_t score = 0;  // how often the query's words occur on the page, all together
};

// The words of `text`: runs of ASCII letters and digits and of non-ASCII bytes (the letters of
// UTF-8 text), ASCII letters folded to lower case, runs of fewer than 2 bytes left out and runs
// longer than kMaxWordLength cut there.
std::vector<std::string> SearchWords(std::string_view text);

// The text a reader sees on the HTML page `html`: tags removed (each one separates words),
// <script>, <style> and <title> content dropped, entities decoded.
std::string PageText(std::string_view html);

// The text of the first <title> of `html`, entities decoded and blanks collapsed; empty if none.
std::string PageTitle(std::string_view html);

class ChmSearchIndex final {
public:
    static constexpr std::size_t kMaxWordLength = 64;
    // Pages after this many are not indexed.
    static constexpr std::size_t kMaxPages = 10000;

    // Indexes the HTML page `html` under the object name `page`. A page added twice counts twice;
    // pages after kMaxPages are ignored.
    void AddPage(const std::string& page, std::string_view html);

    // The pages that hold every word of `query` (SearchWords), the highest score first, equal
    // scores by object name. Empty when the query has no words or a word occurs nowhere.
    std::vector<SearchHit> Find(std::string_view query) const;

    std::size_t PageCount() const { return m_pages.size(); }

private:
    struct Page {
        std::string name;
        std::string title;
    };
    struct Posting {
        std::size_t page = 0;
        std::size_t count = 0;
    };

    std::vector<Page> m_pages;
    // Every word with the pages it occurs on, in the order they were added.
    std::unordered_map<std::string, std::vector<Posting>> m_postings;
};

// An index of every page (*.htm, *.html) of `file`; pages that cannot be read are left out.
ChmSearchIndex BuildSearchIndex(const ChmFile& file);

}  // namespace tav
