#include "profiletext.h"

#include <algorithm>
#include <utility>

namespace tav {

namespace {

bool IsBlank(char c) {
    return c == ' ' || c == '\t' || c == '\v' || c == '\f';
}

char AsciiLower(char c) {
    return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c;
}

std::string AsciiLower(std::string_view text) {
    std::string lower(text);
    std::transform(lower.begin(), lower.end(), lower.begin(),
                   [](char c) { return AsciiLower(c); });
    return lower;
}

bool EqualsIgnoreCase(std::string_view a, std::string_view b) {
    return a.size() == b.size() &&
           std::equal(a.begin(), a.end(), b.begin(),
                      [](char x, char y) { return AsciiLower(x) == AsciiLower(y); });
}

bool HoldsLineBreak(std::string_view text) {
    return text.find_first_of("\r\n") != std::string_view::npos;
}

bool IsBlankLine(std::string_view text) {
    return std::all_of(text.begin(), text.end(), IsBlank);
}

// The name of a section header line, or nothing when the line is not a header.
std::optional<std::string_view> HeaderName(std::string_view text) {
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

// The value of a key line as a reader sees it: trimmed, then one pair of enclosing quotes removed.
std::string_view ValueOfKeyLine(std::string_view text) {
    std::string_view value = TrimBlanks(text.substr(text.find('=') + 1));
    if (value.size() >= 2 && (value.front() == '"' || value.front() == '\'') &&
        value.back() == value.front()) {
        value = value.substr(1, value.size() - 2);
    }
    return value;
}

constexpr std::string_view kUtf8Bom = "\xEF\xBB\xBF";

}  // namespace

std::string_view TrimBlanks(std::string_view text) {
    while (!text.empty() && IsBlank(text.front())) {
        text.remove_prefix(1);
    }
    while (!text.empty() && IsBlank(text.back())) {
        text.remove_suffix(1);
    }
    return text;
}

std::string EncodeProfileValue(std::string_view value) {
    const bool blankAtEnd = !value.empty() && (IsBlank(value.front()) || IsBlank(value.back()));
    const bool quoted = value.size() >= 2 && (value.front() == '"' || value.front() == '\'') &&
                        value.back() == value.front();
    if (blankAtEnd || quoted) {
        return "\"" + std::string(value) + "\"";
    }
    return std::string(value);
}

ProfileText::ProfileText(std::string bytes) : m_bytes(std::move(bytes)) {
    if (std::string_view(m_bytes).substr(0, kUtf8Bom.size()) == kUtf8Bom) {
        m_bomSize = kUtf8Bom.size();
    }
    Parse();
}

void ProfileText::Parse() {
    bool eolSeen = false;
    std::size_t pos = 0;
    while (pos < m_bytes.size()) {
        Line line;
        line.begin = pos;
        const std::size_t brk = m_bytes.find_first_of("\r\n", pos);
        line.textEnd = brk == std::string::npos ? m_bytes.size() : brk;
        line.end = line.textEnd;
        if (brk != std::string::npos) {
            const bool crlf = m_bytes[brk] == '\r' && brk + 1 < m_bytes.size() &&
                              m_bytes[brk + 1] == '\n';
            line.end = brk + (crlf ? 2 : 1);
            if (!eolSeen) {
                m_eol = m_bytes.substr(brk, line.end - brk);
                eolSeen = true;
            }
        }
        m_lines.push_back(line);
        pos = line.end;
    }

    for (std::size_t i = 0; i < m_lines.size(); ++i) {
        const std::string_view text = LineText(i);
        if (const auto name = HeaderName(text)) {
            if (!m_sections.empty()) {
                m_sections.back().endLine = i;
            }
            Section section;
            section.name = std::string(*name);
            section.headerLine = i;
            section.anchorLine = i;
            m_firstSection.emplace(AsciiLower(*name), m_sections.size());
            m_sections.push_back(std::move(section));
        } else if (!m_sections.empty() && !IsBlankLine(text)) {
            m_sections.back().anchorLine = i;
        }
    }
    if (!m_sections.empty()) {
        m_sections.back().endLine = m_lines.size();
    }
}

std::string_view ProfileText::LineText(std::size_t line) const {
    const Line& l = m_lines[line];
    const std::size_t begin = line == 0 ? l.begin + m_bomSize : l.begin;
    return std::string_view(m_bytes).substr(begin, l.textEnd - begin);
}

const ProfileText::Section* ProfileText::FindSection(std::string_view name) const {
    const auto found = m_firstSection.find(AsciiLower(TrimBlanks(name)));
    return found == m_firstSection.end() ? nullptr : &m_sections[found->second];
}

ProfileText::Section* ProfileText::FindSection(std::string_view name) {
    return const_cast<Section*>(std::as_const(*this).FindSection(name));
}

std::string_view ProfileText::KeyLineText(const Section& section, const KeyRef& ref) const {
    if (ref.added) {
        return section.added[ref.line];
    }
    if (const auto replaced = m_replaced.find(ref.line); replaced != m_replaced.end()) {
        return replaced->second;
    }
    return LineText(ref.line);
}

std::optional<ProfileText::KeyRef> ProfileText::FindKey(const Section& section,
                                                        std::string_view key) const {
    const std::string_view wanted = TrimBlanks(key);
    auto matches = [&](std::string_view text) {
        const std::size_t eq = text.find('=');
        return eq != std::string_view::npos &&
               EqualsIgnoreCase(TrimBlanks(text.substr(0, eq)), wanted);
    };
    if (!section.isNew) {
        for (std::size_t i = section.headerLine + 1; i < section.endLine; ++i) {
            if (matches(KeyLineText(section, KeyRef{i, false}))) {
                return KeyRef{i, false};
            }
        }
    }
    for (std::size_t i = 0; i < section.added.size(); ++i) {
        if (matches(section.added[i])) {
            return KeyRef{i, true};
        }
    }
    return std::nullopt;
}

std::optional<std::string> ProfileText::Get(std::string_view section, std::string_view key) const {
    const Section* found = FindSection(section);
    if (found == nullptr) {
        return std::nullopt;
    }
    const auto ref = FindKey(*found, key);
    if (!ref) {
        return std::nullopt;
    }
    return std::string(ValueOfKeyLine(KeyLineText(*found, *ref)));
}

std::optional<std::string> ProfileText::Set(std::string_view section, std::string_view key,
                                            std::string_view value) {
    const std::string_view name = TrimBlanks(section);
    const std::string_view keyName = TrimBlanks(key);
    const std::string where = "key \"" + std::string(key) + "\" of section [" +
                              std::string(section) + "]";
    if (HoldsLineBreak(section) || HoldsLineBreak(key)) {
        return "the " + where + " holds a line break";
    }
    if (HoldsLineBreak(value)) {
        return "the value of the " + where + " holds a line break";
    }
    if (keyName.empty() || keyName.find('=') != std::string_view::npos ||
        keyName.front() == '[') {
        return "the " + where + " cannot be stored: a key must not be empty, hold \"=\" or start "
               "with \"[\"";
    }

    const std::string encoded = EncodeProfileValue(value);
    Section* target = FindSection(name);
    if (target == nullptr) {
        Section fresh;
        fresh.name = std::string(name);
        fresh.isNew = true;
        m_firstSection.emplace(AsciiLower(name), m_sections.size());
        m_sections.push_back(std::move(fresh));
        target = &m_sections.back();
    }
    const auto ref = FindKey(*target, keyName);
    if (!ref) {
        target->added.push_back(std::string(keyName) + "=" + encoded);
        return std::nullopt;
    }
    const std::string_view current = KeyLineText(*target, *ref);
    if (ValueOfKeyLine(current) == value) {
        return std::nullopt;
    }
    const std::string_view spelled = TrimBlanks(current.substr(0, current.find('=')));
    std::string rewritten = std::string(spelled) + "=" + encoded;
    if (ref->added) {
        target->added[ref->line] = std::move(rewritten);
    } else {
        m_replaced[ref->line] = std::move(rewritten);
    }
    return std::nullopt;
}

bool ProfileText::Unchanged() const {
    return m_replaced.empty() &&
           std::none_of(m_sections.begin(), m_sections.end(),
                        [](const Section& s) { return !s.added.empty(); });
}

std::string ProfileText::Bytes() const {
    std::unordered_map<std::size_t, const Section*> anchored;
    std::size_t extra = 0;
    for (const Section& section : m_sections) {
        if (!section.isNew && !section.added.empty()) {
            anchored.emplace(section.anchorLine, &section);
        }
        for (const std::string& text : section.added) {
            extra += text.size() + m_eol.size();
        }
        extra += section.name.size() + 2 + m_eol.size();
    }
    for (const auto& [line, text] : m_replaced) {
        extra += text.size();
    }

    std::string out;
    out.reserve(m_bytes.size() + extra + m_eol.size());
    const std::string_view bytes(m_bytes);
    for (std::size_t i = 0; i < m_lines.size(); ++i) {
        const Line& line = m_lines[i];
        const std::string_view eol = bytes.substr(line.textEnd, line.end - line.textEnd);
        if (const auto replaced = m_replaced.find(i); replaced != m_replaced.end()) {
            out += bytes.substr(line.begin, LineText(i).data() - (m_bytes.data() + line.begin));
            out += replaced->second;
        } else {
            out += bytes.substr(line.begin, line.textEnd - line.begin);
        }
        const auto anchor = anchored.find(i);
        if (anchor == anchored.end()) {
            out += eol;
            continue;
        }
        // A section's last line may be the file's last line, without a line ending of its own.
        out += eol.empty() ? std::string_view(m_eol) : eol;
        for (const std::string& text : anchor->second->added) {
            out += text;
            out += m_eol;
        }
    }

    bool first = true;
    for (const Section& section : m_sections) {
        if (!section.isNew) {
            continue;
        }
        if (first && !m_lines.empty() && m_lines.back().textEnd == m_lines.back().end) {
            out += m_eol;  // the file's last line had no line ending
        }
        first = false;
        out += "[" + section.name + "]";
        out += m_eol;
        for (const std::string& text : section.added) {
            out += text;
            out += m_eol;
        }
    }
    return out;
}

}  // namespace tav
