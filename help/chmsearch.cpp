#include "help/chmsearch.h"

#include <algorithm>
#include <cctype>
#include <map>

#include "help/chmfile.h"
#include "help/chmhtml.h"

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
        std::string word(text.substr(start, std::min(pos - start, ChmSearchIndex::kMaxWordLength)));
        for (char& c : word) {
            c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
        }
        words.push_back(std::move(word));
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
    std::map<std::string, std::size_t> counts;
    for (std::string& word : SearchWords(PageText(html))) {
        ++counts[std::move(word)];
    }
    for (auto& [word, count] : counts) {
        m_postings[word].push_back({index, count});
    }
}

std::vector<SearchHit> ChmSearchIndex::Find(std::string_view query) const {
    std::vector<std::string> words = SearchWords(query);
    std::sort(words.begin(), words.end());
    words.erase(std::unique(words.begin(), words.end()), words.end());
    if (words.empty()) {
        return {};
    }
    // Score per page, and how many of the query's words the page holds.
    std::vector<std::size_t> score(m_pages.size(), 0);
    std::vector<std::size_t> matched(m_pages.size(), 0);
    for (const std::string& word : words) {
        const auto found = m_postings.find(word);
        if (found == m_postings.end()) {
            return {};
        }
        for (const Posting& posting : found->second) {
            score[posting.page] += posting.count;
            ++matched[posting.page];
        }
    }
    std::vector<SearchHit> hits;
    for (std::size_t page = 0; page < m_pages.size(); ++page) {
        if (matched[page] == words.size()) {
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
    for (const std::string& page : file.Pages()) {
        if (const auto html = file.Retrieve(page)) {
            index.AddPage(page, *html);
        }
    }
    return index;
}

}  // namespace tav
