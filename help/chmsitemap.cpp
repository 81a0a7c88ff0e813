#include "help/chmsitemap.h"

#include <optional>

#include "help/chmbytes.h"
#include "help/chmhtml.h"

namespace tav {

namespace {

std::string Bounded(std::string_view text) {
    return DecodeEntities(text.substr(0, kMaxSitemapText)).substr(0, kMaxSitemapText);
}

// Builds the tree while the tags go by: `m_lists` holds, for every open <UL>, the list its entries
// go into.
class SitemapBuilder final {
public:
    void Tag(const HtmlToken& tag) {
        if (tag.name == "ul") {
            tag.closing ? CloseList() : OpenList();
        } else if (tag.name == "object") {
            tag.closing ? CloseObject() : OpenObject(tag.text);
        } else if (tag.name == "param" && !tag.closing && m_entry) {
            Param(tag.text);
        }
    }

    std::vector<SitemapEntry> Take() {
        CloseObject();
        return std::move(m_root);
    }

private:
    std::vector<SitemapEntry>& Current() { return m_lists.empty() ? m_root : *m_lists.back(); }

    void OpenList() {
        std::vector<SitemapEntry>& around = Current();
        // The first list of the file is the top level itself.
        const bool nests = !m_lists.empty() && !around.empty() && m_lists.size() < kMaxSitemapDepth;
        m_lists.push_back(nests ? &around.back().children : &around);
    }

    void CloseList() {
        if (!m_lists.empty()) {
            m_lists.pop_back();
        }
    }

    void OpenObject(std::string_view tag) {
        CloseObject();
        if (EqualNoCase(HtmlAttribute(tag, "type"), "text/sitemap")) {
            m_entry.emplace();
        }
    }

    void Param(std::string_view tag) {
        const std::string key = HtmlAttribute(tag, "name");
        std::string* field = EqualNoCase(key, "Name")    ? &m_entry->name
                             : EqualNoCase(key, "Local") ? &m_entry->local
                                                         : nullptr;
        // An index entry may list further pages; the first one counts.
        if (field != nullptr && field->empty()) {
            *field = Bounded(HtmlAttribute(tag, "value"));
        }
    }

    void CloseObject() {
        if (m_entry && (!m_entry->name.empty() || !m_entry->local.empty()) &&
            m_count < kMaxSitemapEntries) {
            // Pointers into `m_lists` stay valid: a list only grows while it is the innermost one.
            Current().push_back(std::move(*m_entry));
            ++m_count;
        }
        m_entry.reset();
    }

    std::vector<SitemapEntry> m_root;
    std::vector<std::vector<SitemapEntry>*> m_lists;
    std::optional<SitemapEntry> m_entry;
    std::size_t m_count = 0;
};

}  // namespace

std::vector<SitemapEntry> ParseSitemap(std::string_view html) {
    SitemapBuilder builder;
    HtmlScanner scanner(html);
    for (HtmlToken token; scanner.Next(token);) {
        if (token.kind == HtmlToken::Kind::Tag) {
            builder.Tag(token);
        }
    }
    return builder.Take();
}

std::size_t CountEntries(const std::vector<SitemapEntry>& entries) {
    std::size_t count = entries.size();
    for (const SitemapEntry& entry : entries) {
        count += CountEntries(entry.children);
    }
    return count;
}

}  // namespace tav
