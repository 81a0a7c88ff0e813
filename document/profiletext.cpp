#include "profiletext.h"

#include <algorithm>
#include <cstring>
#include <utility>

namespace tav {

namespace {

bool IsBlank(char c) {
    return c == ' ' || c == '\t' || c == '\v' || c == '\f';
}

char AsciiLower(char c) {
    return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c;
}

bool EqualsIgnoreCase(std::string_view a, std::string_view b) {
    return a.size() == b.size() &&
           std::equal(a.begin(), a.end(), b.begin(),
                      [](char x, char y) { return AsciiLower(x) == AsciiLower(y); });
}

bool HoldsLineBreak(std::string_view text) {
    return text.find_first_of("\r\n") != std::string_view::npos;
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
        std::string enclosed;
        enclosed.reserve(value.size() + 2);
        enclosed.append(1, '"').append(value).append(1, '"');
        return enclosed;
    }
    return std::string(value);
}

ProfileText::ProfileText(std::string bytes) : m_bytes(std::move(bytes)) {
    if (std::string_view(m_bytes).substr(0, kUtf8Bom.size()) == kUtf8Bom) {
        m_bomSize = kUtf8Bom.size();
    }
    Parse();
}

std::size_t ProfileText::TextEnd(std::size_t from, std::size_t limit) const {
    for (std::size_t i = from; i < limit; ++i) {
        if (m_bytes[i] == '\n' || m_bytes[i] == '\r') {
            return i;
        }
    }
    return limit;
}

std::size_t ProfileText::LineEnd(std::size_t textEnd) const {
    if (textEnd >= m_bytes.size()) {
        return m_bytes.size();
    }
    const bool crlf = m_bytes[textEnd] == '\r' && textEnd + 1 < m_bytes.size() &&
                      m_bytes[textEnd + 1] == '\n';
    return textEnd + (crlf ? 2 : 1);
}

void ProfileText::Parse() {
    const char* data = m_bytes.data();
    const std::size_t size = m_bytes.size();
    if (const std::size_t at = TextEnd(0, size); at < size) {
        m_eol = m_bytes.substr(at, LineEnd(at) - at);  // the first line ending
    }
    // A header starts with "[" after nothing but blanks on its line: find each "[" and look back.
    // Room for a section per kilobyte avoids rehashing in large files shared with other programs.
    m_sections.reserve(size / 1024 + 8);
    std::size_t slots = 16;
    while (slots < 2 * (size / 1024 + 8)) {
        slots *= 2;
    }
    m_firstSection.assign(slots, 0);
    std::size_t pos = 0;
    while (pos < size) {
        const void* hit = std::memchr(data + pos, '[', size - pos);
        if (hit == nullptr) {
            break;
        }
        const std::size_t bracket = static_cast<std::size_t>(static_cast<const char*>(hit) - data);
        std::size_t lineBegin = bracket;
        while (lineBegin > m_bomSize && IsBlank(data[lineBegin - 1])) {
            --lineBegin;
        }
        const bool atLineStart = lineBegin == m_bomSize || data[lineBegin - 1] == '\n' ||
                                 data[lineBegin - 1] == '\r';
        // No other "[" of this line can start a header: go on after the line either way, so that
        // a line full of brackets is looked at once.
        const std::size_t textEnd = TextEnd(bracket, size);
        const std::optional<std::string_view> name =
            atLineStart ? HeaderName(std::string_view(data + lineBegin, textEnd - lineBegin))
                        : std::nullopt;
        if (!name) {
            pos = textEnd;
            continue;
        }
        if (!m_sections.empty()) {
            m_sections.back().bodyEnd = lineBegin;
        }
        Section section;
        section.name = *name;
        section.hash = NameHash(*name);
        section.bodyBegin = LineEnd(textEnd);
        m_sections.push_back(std::move(section));
        IndexSection(m_sections.size() - 1);
        pos = textEnd;
    }
    if (!m_sections.empty()) {
        m_sections.back().bodyEnd = size;
    }
}

std::size_t ProfileText::NameHash(std::string_view name) {
    std::size_t hash = 14695981039346656037ull;  // FNV-1a over the lower-cased bytes
    for (const char c : name) {
        hash = (hash ^ static_cast<unsigned char>(AsciiLower(c))) * 1099511628211ull;
    }
    return hash;
}

void ProfileText::GrowIndex(std::size_t slots) {
    m_firstSection.assign(slots, 0);
    m_indexed = 0;
    for (std::size_t i = 0; i < m_sections.size(); ++i) {
        IndexSection(i);
    }
}

void ProfileText::IndexSection(std::size_t index) {
    if ((m_indexed + 1) * 2 > m_firstSection.size()) {
        GrowIndex(std::max<std::size_t>(16, m_firstSection.size() * 2));  // indexes them all
        return;
    }
    const Section& section = m_sections[index];
    const std::size_t mask = m_firstSection.size() - 1;
    for (std::size_t slot = section.hash & mask;; slot = (slot + 1) & mask) {
        const std::uint32_t entry = m_firstSection[slot];
        if (entry == 0) {
            m_firstSection[slot] = static_cast<std::uint32_t>(index + 1);
            ++m_indexed;
            return;
        }
        const Section& other = m_sections[entry - 1];
        if (other.hash == section.hash && EqualsIgnoreCase(other.name, section.name)) {
            return;  // the first section of a name is the section
        }
    }
}

const ProfileText::Section* ProfileText::FindSection(std::string_view name) const {
    if (m_firstSection.empty()) {
        return nullptr;
    }
    const std::string_view wanted = TrimBlanks(name);
    const std::size_t hash = NameHash(wanted);
    const std::size_t mask = m_firstSection.size() - 1;
    for (std::size_t slot = hash & mask; m_firstSection[slot] != 0; slot = (slot + 1) & mask) {
        const Section& section = m_sections[m_firstSection[slot] - 1];
        if (section.hash == hash && EqualsIgnoreCase(section.name, wanted)) {
            return &section;
        }
    }
    return nullptr;
}

ProfileText::Section* ProfileText::FindSection(std::string_view name) {
    return const_cast<Section*>(std::as_const(*this).FindSection(name));
}

std::string_view ProfileText::KeyLineText(const Section& section, const KeyRef& ref) const {
    if (ref.added) {
        return section.added[ref.at];
    }
    if (const auto replaced = m_replaced.find(ref.at); replaced != m_replaced.end()) {
        return replaced->second.text;
    }
    return std::string_view(m_bytes).substr(ref.at, TextEnd(ref.at, m_bytes.size()) - ref.at);
}

void ProfileText::ListKeys(const Section& section) const {
    section.keysListed = true;
    for (std::size_t line = section.bodyBegin; line < section.bodyEnd;) {
        const std::size_t textEnd = TextEnd(line, section.bodyEnd);
        const std::string_view text(m_bytes.data() + line, textEnd - line);
        if (const std::size_t eq = text.find('='); eq != std::string_view::npos) {
            section.keyLines.emplace_back(NameHash(TrimBlanks(text.substr(0, eq))), line);
        }
        line = LineEnd(textEnd);
    }
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
        // Each section is read once; later look-ups compare hashes (a rewritten line keeps its
        // key, so the list stays right).
        if (!section.keysListed) {
            ListKeys(section);
        }
        const std::size_t hash = NameHash(wanted);
        for (const auto& [keyHash, line] : section.keyLines) {
            if (keyHash == hash && matches(KeyLineText(section, KeyRef{line, false}))) {
                return KeyRef{line, false};
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
        fresh.name = m_newNames.emplace_back(name);
        fresh.hash = NameHash(fresh.name);
        fresh.isNew = true;
        m_sections.push_back(std::move(fresh));
        IndexSection(m_sections.size() - 1);
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
        target->added[ref->at] = std::move(rewritten);
    } else {
        m_replaced[ref->at] = Replacement{TextEnd(ref->at, m_bytes.size()), std::move(rewritten)};
    }
    return std::nullopt;
}

bool ProfileText::Unchanged() const {
    return m_replaced.empty() &&
           std::none_of(m_sections.begin(), m_sections.end(),
                        [](const Section& s) { return !s.added.empty(); });
}

std::size_t ProfileText::InsertionPoint(const Section& section) const {
    // After the section's last non-blank line (the header when every other line is blank).
    std::size_t last = section.bodyEnd;
    while (last > section.bodyBegin) {
        const char c = m_bytes[last - 1];
        if (!IsBlank(c) && c != '\r' && c != '\n') {
            break;
        }
        --last;
    }
    if (last == section.bodyBegin) {
        return section.bodyBegin;  // the header line's end
    }
    return LineEnd(TextEnd(last - 1, m_bytes.size()));
}

std::string ProfileText::Bytes() const {
    // Every change is a replacement of an original line's text or an insertion of lines at a
    // position; everything between them is copied as it is.
    struct Edit {
        std::size_t at;
        std::size_t end;           // equal to `at` for an insertion
        const Replacement* replacement;
        const Section* insertion;
    };
    std::vector<Edit> edits;
    for (const auto& [at, replacement] : m_replaced) {
        const std::size_t begin = at == 0 ? m_bomSize : at;
        edits.push_back(Edit{begin, replacement.textEnd, &replacement, nullptr});
    }
    std::size_t extra = 0;
    for (const Section& section : m_sections) {
        for (const std::string& text : section.added) {
            extra += text.size() + m_eol.size();
        }
        if (!section.isNew && !section.added.empty()) {
            const std::size_t at = InsertionPoint(section);
            edits.push_back(Edit{at, at, nullptr, &section});
        }
        extra += section.isNew ? section.name.size() + 2 + m_eol.size() : 0;
    }
    std::sort(edits.begin(), edits.end(),
              [](const Edit& a, const Edit& b) { return a.at < b.at; });

    std::string out;
    out.reserve(m_bytes.size() + extra + m_eol.size());
    const std::string_view bytes(m_bytes);
    std::size_t copied = 0;
    for (const Edit& edit : edits) {
        out += bytes.substr(copied, edit.at - copied);
        if (edit.replacement != nullptr) {
            out += edit.replacement->text;
        } else {
            // The section's last line may be the file's last line, without a line ending.
            if (edit.at == m_bytes.size() && !m_bytes.empty() && m_bytes.back() != '\n' &&
                m_bytes.back() != '\r') {
                out += m_eol;
            }
            for (const std::string& text : edit.insertion->added) {
                out += text;
                out += m_eol;
            }
        }
        copied = edit.end;
    }
    out += bytes.substr(copied);

    bool first = true;
    for (const Section& section : m_sections) {
        if (!section.isNew) {
            continue;
        }
        if (first && !out.empty() && out.back() != '\n' && out.back() != '\r') {
            out += m_eol;  // the file's last line had no line ending
        }
        first = false;
        out.append(1, '[').append(section.name).append(1, ']');
        out += m_eol;
        for (const std::string& text : section.added) {
            out += text;
            out += m_eol;
        }
    }
    return out;
}

}  // namespace tav
