#include "help/chmsearch.h"

#include <algorithm>
#include <cctype>
#include <map>
#include <set>

#include "help/chmfile.h"
#include "help/chmhtml.h"
#include "help/helpcontentspage.h"
#include "help/searchsynonyms.h"

namespace tav {

namespace {

bool IsWordByte(char c) {
    const auto byte = static_cast<unsigned char>(c);
    return byte >= 0x80 || std::isalnum(byte) != 0;
}

// Content that is not read as part of the page.
bool IsHiddenElement(const std::string& name) {
    return name == "script" || name == "style" || name == "title";
}

std::string Lowered(std::string_view text) {
    std::string lowered(text);
    for (char& c : lowered) {
        c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    }
    return lowered;
}

// A term of a query: the alternatives a page may hold, each the words of one term.
using QueryTerm = std::vector<std::vector<std::string>>;

struct SynonymTerm {
    std::vector<std::string> words;
    std::size_t group = 0;
};

// Every term of the synonym table as words, longest first, so that a phrase wins over its first
// word; and each group as the alternatives of a query term.
struct SynonymTable {
    std::vector<SynonymTerm> terms;
    std::vector<QueryTerm> groups;
};

const SynonymTable& Synonyms() {
    static const SynonymTable table = [] {
        SynonymTable built;
        for (const SynonymGroup& group : SearchSynonyms()) {
            QueryTerm alternatives;
            for (const std::string_view term : group) {
                std::vector<std::string> words = SearchWords(term);
                if (!words.empty()) {
                    built.terms.push_back({words, built.groups.size()});
                    alternatives.push_back(std::move(words));
                }
            }
            built.groups.push_back(std::move(alternatives));
        }
        std::stable_sort(built.terms.begin(), built.terms.end(),
                         [](const SynonymTerm& a, const SynonymTerm& b) {
                             return a.words.size() > b.words.size();
                         });
        return built;
    }();
    return table;
}

// The terms of `query`, each once: at each word the longest phrase of the synonym table that
// starts there stands for its group, else the word for itself.
std::vector<QueryTerm> QueryTerms(std::string_view query) {
    const std::vector<std::string> words = SearchWords(query);
    const SynonymTable& table = Synonyms();
    std::vector<QueryTerm> terms;
    for (std::size_t pos = 0; pos < words.size();) {
        const auto synonym =
            std::find_if(table.terms.begin(), table.terms.end(), [&](const SynonymTerm& term) {
                return term.words.size() <= words.size() - pos &&
                       std::equal(term.words.begin(), term.words.end(), words.begin() + pos);
            });
        if (synonym != table.terms.end()) {
            terms.push_back(table.groups[synonym->group]);
            pos += synonym->words.size();
        } else {
            terms.push_back({{words[pos]}});
            ++pos;
        }
    }
    std::sort(terms.begin(), terms.end());
    terms.erase(std::unique(terms.begin(), terms.end()), terms.end());
    return terms;
}

void AddKeywordEntries(ChmSearchIndex& index, const std::vector<SitemapEntry>& entries,
                       const std::string& prefix) {
    for (const SitemapEntry& entry : entries) {
        const std::string keyword = prefix + entry.name;
        if (!entry.local.empty()) {
            index.AddKeyword(entry.local, keyword);
        }
        AddKeywordEntries(index, entry.children, keyword + ' ');
    }
}

}  // namespace

std::vector<std::string> SearchWords(std::string_view text) {
    std::vector<std::string> words;
    for (std::size_t pos = 0; pos < text.size();) {
        if (!IsWordByte(text[pos])) {
            ++pos;
            continue;
        }
        const std::size_t start = pos;
        while (pos < text.size() && IsWordByte(text[pos])) {
            ++pos;
        }
        if (pos - start < 2) {
            continue;
        }
        words.push_back(
            Lowered(text.substr(start, std::min(pos - start, ChmSearchIndex::kMaxWordLength))));
    }
    return words;
}

std::string PageText(std::string_view html) {
    std::string text;
    std::string hiddenBy;  // the element whose content is being dropped
    HtmlScanner scanner(html);
    for (HtmlToken token; scanner.Next(token);) {
        if (token.kind == HtmlToken::Kind::Tag) {
            if (hiddenBy.empty() && !token.closing && IsHiddenElement(token.name)) {
                hiddenBy = token.name;
            } else if (token.closing && token.name == hiddenBy) {
                hiddenBy.clear();
            }
            text += ' ';
        } else if (hiddenBy.empty()) {
            text += DecodeEntities(token.text);
        }
    }
    return text;
}

std::string PageTitle(std::string_view html) {
    std::string raw;
    bool inTitle = false;
    HtmlScanner scanner(html);
    for (HtmlToken token; scanner.Next(token);) {
        if (token.kind == HtmlToken::Kind::Tag && token.name == "title") {
            if (token.closing && inTitle) {
                break;
            }
            inTitle = !token.closing;
        } else if (inTitle && token.kind == HtmlToken::Kind::Text) {
            raw += token.text;
        }
    }
    std::string title;
    for (const char c : DecodeEntities(raw)) {
        if (!std::isspace(static_cast<unsigned char>(c))) {
            title += c;
        } else if (!title.empty() && title.back() != ' ') {
            title += ' ';
        }
    }
    if (!title.empty() && title.back() == ' ') {
        title.pop_back();
    }
    return title;
}

void ChmSearchIndex::AddPage(const std::string& page, std::string_view html) {
    if (m_pages.size() >= kMaxPages) {
        return;
    }
    const std::size_t index = m_pages.size();
    const std::string title = PageTitle(html);
    m_pages.push_back({page, title.empty() ? page : title});
    m_pageByName.emplace(Lowered(page), index);
    AddWords(index, SearchWords(PageText(html)), 1);
    AddWords(index, SearchWords(title), kKeywordWeight);
}

bool ChmSearchIndex::AddKeyword(std::string_view topic, std::string_view keyword) {
    const auto found = m_pageByName.find(Lowered(ChmTopicObject(topic)));
    if (found == m_pageByName.end()) {
        return false;
    }
    AddWords(found->second, SearchWords(keyword), kKeywordWeight);
    return true;
}

void ChmSearchIndex::AddWords(std::size_t page, const std::vector<std::string>& words,
                              std::size_t weight) {
    std::map<std::string, std::size_t> counts;
    for (const std::string& word : words) {
        counts[word] += weight;
    }
    for (auto& [word, count] : counts) {
        // One posting per page and word: a keyword adds to what its page already holds.
        std::vector<Posting>& postings = m_postings[word];
        const auto existing = std::find_if(postings.begin(), postings.end(),
                                           [page](const Posting& p) { return p.page == page; });
        if (existing != postings.end()) {
            existing->count += count;
        } else {
            postings.push_back({page, count});
        }
    }
}

std::vector<std::size_t> ChmSearchIndex::PagesHolding(const std::vector<std::string>& term) const {
    std::vector<std::size_t> pages;
    for (std::size_t i = 0; i < term.size(); ++i) {
        const auto found = m_postings.find(term[i]);
        if (found == m_postings.end()) {
            return {};
        }
        std::vector<std::size_t> next;
        for (const Posting& posting : found->second) {
            if (i == 0 || std::find(pages.begin(), pages.end(), posting.page) != pages.end()) {
                next.push_back(posting.page);
            }
        }
        pages = std::move(next);
    }
    return pages;
}

std::size_t ChmSearchIndex::CountOn(std::size_t page, const std::string& word) const {
    const auto found = m_postings.find(word);
    if (found == m_postings.end()) {
        return 0;
    }
    const auto posting = std::find_if(found->second.begin(), found->second.end(),
                                      [page](const Posting& p) { return p.page == page; });
    return posting == found->second.end() ? 0 : posting->count;
}

std::vector<SearchHit> ChmSearchIndex::Find(std::string_view query) const {
    const std::vector<QueryTerm> terms = QueryTerms(query);
    if (terms.empty()) {
        return {};
    }
    // Score per page, and how many of the query's terms the page holds.
    std::vector<std::size_t> score(m_pages.size(), 0);
    std::vector<std::size_t> matched(m_pages.size(), 0);
    for (const QueryTerm& term : terms) {
        // Each page that holds an alternative, with the words of the alternatives it holds.
        std::map<std::size_t, std::set<std::string>> held;
        for (const std::vector<std::string>& alternative : term) {
            for (const std::size_t page : PagesHolding(alternative)) {
                held[page].insert(alternative.begin(), alternative.end());
            }
        }
        if (held.empty()) {
            return {};
        }
        for (const auto& [page, words] : held) {
            for (const std::string& word : words) {
                score[page] += CountOn(page, word);
            }
            ++matched[page];
        }
    }
    std::vector<SearchHit> hits;
    for (std::size_t page = 0; page < m_pages.size(); ++page) {
        if (matched[page] == terms.size()) {
            hits.push_back({m_pages[page].name, m_pages[page].title, score[page]});
        }
    }
    std::sort(hits.begin(), hits.end(), [](const SearchHit& a, const SearchHit& b) {
        return a.score != b.score ? a.score > b.score : a.page < b.page;
    });
    return hits;
}

ChmSearchIndex BuildSearchIndex(const ChmFile& file) {
    ChmSearchIndex index;
    const std::string contentsPage = "/" + std::string(kHelpContentsPage);
    for (const std::string& page : file.Pages()) {
        if (Lowered(page) == contentsPage) {
            continue;
        }
        if (const auto html = file.Retrieve(page)) {
            index.AddPage(page, *html);
        }
    }
    AddKeywordEntries(index, file.Keywords(), {});
    return index;
}

}  // namespace tav
