#include "help/chmhtml.h"

#include <algorithm>
#include <array>
#include <cctype>
#include <cstdint>
#include <utility>

#include "base/textencoding.h"
#include "help/chmbytes.h"

namespace tav {

namespace {

// Longer names are no HTML tag this reader cares about.
constexpr std::size_t kMaxTagName = 16;
// "&#x10FFFF;" is the longest reference worth reading.
constexpr std::size_t kMaxReference = 10;
constexpr std::uint32_t kMaxCodePoint = 0x10FFFF;

bool IsSpace(char c) {
    return std::isspace(static_cast<unsigned char>(c)) != 0;
}

bool IsAlnum(char c) {
    return std::isalnum(static_cast<unsigned char>(c)) != 0;
}

// The code point of a numeric reference's body ("#65", "#x41"); 0 when it is not one.
std::uint32_t NumericReference(std::string_view body) {
    if (body.size() < 2 || body[0] != '#') {
        return 0;
    }
    const bool hex = body[1] == 'x' || body[1] == 'X';
    const std::string_view digits = body.substr(hex ? 2 : 1);
    if (digits.empty()) {
        return 0;
    }
    std::uint32_t code = 0;
    for (const char c : digits) {
        const int digit = std::isdigit(static_cast<unsigned char>(c)) ? c - '0'
                          : hex && std::isxdigit(static_cast<unsigned char>(c))
                              ? std::tolower(static_cast<unsigned char>(c)) - 'a' + 10
                              : -1;
        if (digit < 0) {
            return 0;
        }
        code = code * (hex ? 16 : 10) + static_cast<std::uint32_t>(digit);
        if (code > kMaxCodePoint) {
            return 0;
        }
    }
    // Surrogates are no characters of their own.
    return code >= 0xD800 && code <= 0xDFFF ? 0 : code;
}

}  // namespace

HtmlScanner::HtmlScanner(std::string_view html) : m_html(html) {}

bool HtmlScanner::Next(HtmlToken& token) {
    while (m_pos < m_html.size()) {
        const std::string_view rest = m_html.substr(m_pos);
        if (rest.front() != '<') {
            token = HtmlToken{};
            token.text = rest.substr(0, rest.find('<', 1));
            m_pos += token.text.size();
            return true;
        }
        if (rest.substr(0, 4) == "<!--") {
            const std::size_t end = rest.find("-->", 4);
            m_pos = end == std::string_view::npos ? m_html.size() : m_pos + end + 3;
            continue;
        }
        const std::size_t end = std::min(rest.find('>'), rest.size());
        const std::string_view inside = rest.substr(1, end - 1);
        HtmlToken tag;
        tag.kind = HtmlToken::Kind::Tag;
        tag.text = inside;
        std::size_t at = 0;
        if (at < inside.size() && inside[at] == '/') {
            tag.closing = true;
            ++at;
        }
        while (at < inside.size() && IsAlnum(inside[at]) && tag.name.size() < kMaxTagName) {
            tag.name += static_cast<char>(std::tolower(static_cast<unsigned char>(inside[at])));
            ++at;
        }
        const bool declaration =
            !inside.empty() && (inside.front() == '!' || inside.front() == '?');
        if (tag.name.empty() && !declaration) {
            // "a < b": the '<' is text.
            token = HtmlToken{};
            token.text = rest.substr(0, 1);
            ++m_pos;
            return true;
        }
        m_pos += std::min(end + 1, rest.size());
        if (declaration) {
            continue;
        }
        token = std::move(tag);
        return true;
    }
    return false;
}

std::string HtmlAttribute(std::string_view tag, std::string_view key) {
    for (std::size_t pos = 0; pos + key.size() < tag.size(); ++pos) {
        if (!IsSpace(tag[pos]) || !EqualNoCase(tag.substr(pos + 1, key.size()), key)) {
            continue;
        }
        std::size_t at = pos + 1 + key.size();
        while (at < tag.size() && IsSpace(tag[at])) {
            ++at;
        }
        if (at >= tag.size() || tag[at] != '=') {
            continue;
        }
        do {
            ++at;
        } while (at < tag.size() && IsSpace(tag[at]));
        if (at < tag.size() && (tag[at] == '"' || tag[at] == '\'')) {
            const std::size_t close = tag.find(tag[at], at + 1);
            return std::string(tag.substr(at + 1, close - (at + 1)));
        }
        return std::string(tag.substr(at, tag.find_first_of(" \t\r\n>", at) - at));
    }
    return {};
}

std::string DecodeEntities(std::string_view text) {
    static constexpr std::array<std::pair<std::string_view, char>, 6> kNamed = {{
        {"amp", '&'},
        {"lt", '<'},
        {"gt", '>'},
        {"quot", '"'},
        {"apos", '\''},
        {"nbsp", ' '},
    }};
    std::string out;
    out.reserve(text.size());
    for (std::size_t pos = 0; pos < text.size();) {
        const std::size_t semicolon = text[pos] == '&' ? text.find(';', pos + 1) : 0;
        if (text[pos] != '&' || semicolon == std::string_view::npos ||
            semicolon - pos - 1 > kMaxReference) {
            out += text[pos++];
            continue;
        }
        const std::string_view body = text.substr(pos + 1, semicolon - pos - 1);
        bool decoded = false;
        for (const auto& [name, c] : kNamed) {
            if (EqualNoCase(body, name)) {
                out += c;
                decoded = true;
            }
        }
        if (const std::uint32_t code = decoded ? 0 : NumericReference(body); code != 0) {
            AppendUtf8(static_cast<char32_t>(code), out);
            decoded = true;
        }
        if (decoded) {
            pos = semicolon + 1;
        } else {
            out += text[pos++];
        }
    }
    return out;
}

}  // namespace tav
