// Bounded reading of the HTML inside a help file (pages and sitemaps), shared by the sitemap
// parser and the search index. Whatever the bytes are, every step moves forward and nothing
// reads outside the text given; malformed markup yields odd tokens, never an error.
#pragma once

#include <string>
#include <string_view>

namespace tav {

struct HtmlToken {
    enum class Kind { Text, Tag };
    Kind kind = Kind::Text;
    // Text: the raw text between tags, entities not decoded. Tag: what lies between '<' and '>'.
    std::string_view text;
    // Tag: its name in lower case ("ul", "param"), without the '/' of a closing tag.
    std::string name;
    bool closing = false;
};

// Splits HTML into text and tags. Comments, <!DOCTYPE ...> and <?...?> are skipped; a tag that
// is never closed runs to the end of the text; a '<' that starts no tag is text.
class HtmlScanner final {
public:
    // `html` must outlive the scanner and its tokens.
    explicit HtmlScanner(std::string_view html);

    // Fills `token` with the next token and returns true; false at the end.
    bool Next(HtmlToken& token);

private:
    std::string_view m_html;
    std::size_t m_pos = 0;
};

// The value of attribute `key` (any case) in a tag's text ("param name=\"Local\" value=\"x\""),
// quoted or not, entities not decoded; empty when the tag has no such attribute.
std::string HtmlAttribute(std::string_view tag, std::string_view key);

// `text` with the character references &amp; &lt; &gt; &quot; &apos; &nbsp; and &#N; / &#xN;
// replaced (numeric ones as UTF-8; &nbsp; as a plain space). Unknown or malformed references
// stay as they are.
std::string DecodeEntities(std::string_view text);

}  // namespace tav
