// Full-text search over the pages of a help file: the words of every page and of the keywords of
// its index are counted once, when the file is opened, and a query finds the pages that hold all
// of its words, a word of the synonym table (searchsynonyms.h) standing for each of its group.
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

    // Each word of a page's title and of an index keyword counts this often on the page: both
    // name what the page is about, which outranks pages that only mention it.
    static constexpr std::size_t kKeywordWeight = 10;

    // Indexes the HTML page `html` under the object name `page`: the words of its text, and those
    // of its title kKeywordWeight times. A page added twice counts twice; pages after kMaxPages
    // are ignored.
    void AddPage(const std::string& page, std::string_view html);

    // Counts the words of the index keyword `keyword` kKeywordWeight times on the page the topic
    // `topic` names ("files.html#disk" is "/files.html", compared without regard to case).
    // Returns false, changing nothing, when no page of that name was added.
    bool AddKeyword(std::string_view topic, std::string_view keyword);

    // The pages that hold every term of `query`, the highest score first, equal scores by object
    // name. The query's terms are its words (SearchWords), except that a word or phrase of the
    // synonym table is one term, held by a page that holds any term of its group (each word of a
    // phrase). A page's score adds up, for each term, how often it holds its words (for a group,
    // the words of all the group's terms it holds, each word once). Empty when the query has no
    // words or a term occurs nowhere.
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

    void AddWords(std::size_t page, const std::vector<std::string>& words, std::size_t weight);
    // The pages that hold every word of `term`.
    std::vector<std::size_t> PagesHolding(const std::vector<std::string>& term) const;
    // How often page `page` holds `word`.
    std::size_t CountOn(std::size_t page, const std::string& word) const;

    std::vector<Page> m_pages;
    // Object names in lower case, for AddKeyword.
    std::unordered_map<std::string, std::size_t> m_pageByName;
    // Every word with the pages it occurs on, in the order they were added.
    std::unordered_map<std::string, std::vector<Posting>> m_postings;
};

// An index of every page (*.htm, *.html) of `file` and of the keywords of its index (a
// sub-keyword with its keyword's words); pages that cannot be read are left out, and so is the
// contents page (kHelpContentsPage), which repeats every title and keyword.
ChmSearchIndex BuildSearchIndex(const ChmFile& file);

}  // namespace tav
