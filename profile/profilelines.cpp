#include "profile/profilelines.h"

#include <cstdint>
#include <cstring>

namespace tav {

namespace {

constexpr std::string_view kUtf8Bom = "\xEF\xBB\xBF";

bool IsLineBreak(char c) {
    return c == '\n' || c == '\r';
}

}  // namespace

ProfileLines::ProfileLines(std::string_view bytes)
    : m_bytes(bytes),
      m_bomSize(bytes.substr(0, kUtf8Bom.size()) == kUtf8Bom ? kUtf8Bom.size() : 0) {}

std::size_t ProfileLines::BomSize() const {
    return m_bomSize;
}

ProfileLine ProfileLines::At(std::size_t begin) const {
    const std::size_t textEnd = TextEnd(begin);
    return ProfileLine{begin, textEnd, Next(textEnd)};
}

std::size_t ProfileLines::TextEnd(std::size_t from) const {
    // Eight bytes at a time while none of them is below 0x0E (no CR or LF can be among them),
    // then byte by byte: most bytes of a line go by without a comparison of their own.
    const char* const data = m_bytes.data();
    constexpr std::uint64_t kOnes = 0x0101010101010101ULL;
    constexpr std::uint64_t kHighBits = 0x8080808080808080ULL;
    std::size_t i = from;
    for (; i + 8 <= m_bytes.size(); i += 8) {
        std::uint64_t word = 0;
        std::memcpy(&word, data + i, sizeof word);
        if (((word - kOnes * 0x0E) & ~word & kHighBits) != 0) {
            break;  // a byte below 0x0E: look at these bytes one by one
        }
    }
    for (; i < m_bytes.size(); ++i) {
        if (static_cast<unsigned char>(data[i]) <= '\r' && IsLineBreak(data[i])) {
            return i;
        }
    }
    return m_bytes.size();
}

std::size_t ProfileLines::Next(std::size_t textEnd) const {
    if (textEnd >= m_bytes.size()) {
        return m_bytes.size();
    }
    const bool crlf =
        m_bytes[textEnd] == '\r' && textEnd + 1 < m_bytes.size() && m_bytes[textEnd + 1] == '\n';
    return textEnd + (crlf ? 2 : 1);
}

bool ProfileLines::IsLineStart(std::size_t at) const {
    if (at <= m_bomSize) {
        return at == m_bomSize;
    }
    const char before = m_bytes[at - 1];
    const bool insideCrLf = before == '\r' && at < m_bytes.size() && m_bytes[at] == '\n';
    return IsLineBreak(before) && !insideCrLf;
}

std::string_view ProfileLines::Text(const ProfileLine& line) const {
    return m_bytes.substr(line.begin, line.textEnd - line.begin);
}

std::optional<std::string_view> ProfileHeaderName(std::string_view text) {
    const std::string_view trimmed = TrimBlanks(text);
    if (trimmed.empty() || trimmed.front() != '[') {
        return std::nullopt;
    }
    const std::size_t close = trimmed.rfind(']');
    if (close == std::string_view::npos) {
        return std::nullopt;
    }
    return TrimBlanks(trimmed.substr(1, close - 1));
}

std::optional<ProfileKeyLine> ProfileKeyLineParts(std::string_view text) {
    const std::size_t eq = text.find('=');
    if (eq == std::string_view::npos) {
        return std::nullopt;
    }
    return ProfileKeyLine{TrimBlanks(text.substr(0, eq)), text.substr(eq + 1)};
}

std::string_view ProfileValueOf(std::string_view storedText) {
    const std::string_view trimmed = TrimBlanks(storedText);
    const std::string_view value =
        EnclosedInQuotes(trimmed) ? trimmed.substr(1, trimmed.size() - 2) : trimmed;
    // Cut last: blanks or a quote before the NUL stay, as in the C string readers get.
    return value.substr(0, value.find('\0'));
}

bool EnclosedInQuotes(std::string_view value) {
    return value.size() >= 2 && (value.front() == '"' || value.front() == '\'') &&
           value.back() == value.front();
}

bool IsProfileBlank(char c) {
    return c == ' ' || c == '\t' || c == '\v' || c == '\f' || c == '\x1A';
}

std::string_view TrimBlanks(std::string_view text) {
    while (!text.empty() && IsProfileBlank(text.front())) {
        text.remove_prefix(1);
    }
    while (!text.empty() && IsProfileBlank(text.back())) {
        text.remove_suffix(1);
    }
    return text;
}

std::size_t EndOfRepeats(std::string_view bytes, std::size_t from, std::string_view line) {
    if (line.empty() || line.back() != '\n' || bytes.compare(from, line.size(), line) != 0) {
        return from;
    }
    // [from, end) holds whole copies: compare the bytes after it with as many copies as it holds,
    // then with half as many, down to one.
    std::size_t end = from + line.size();
    std::size_t span = line.size();
    while (bytes.compare(end, span, bytes.substr(from, span)) == 0) {
        end += span;
        span *= 2;
    }
    for (span /= 2; span >= line.size(); span /= 2) {
        if (bytes.compare(end, span, bytes.substr(from, span)) == 0) {
            end += span;
        }
    }
    return end;
}

}  // namespace tav
