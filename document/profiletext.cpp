#include "profiletext.h"

#include "catalog/names.h"

#include <algorithm>
#include <cstring>
#include <utility>

namespace tav {

namespace {

bool HoldsLineBreak(std::string_view text) {
    return text.find_first_of("\r\n") != std::string_view::npos;
}

// A write the store will not make. The store does not know its file, so none is named.
FileError Refusal(std::string reason) {
    return FileError{{}, std::move(reason)};
}

// The parts of a line the store holds as a key line (every one holds "=").
ProfileKeyLine PartsOfKeyLine(std::string_view text) {
    return ProfileKeyLineParts(text).value_or(ProfileKeyLine{});
}

}  // namespace

std::string EncodeProfileValue(std::string_view value) {
    // The other application's readers also take the end-of-file byte 0x1A for a blank.
    const auto blank = [](char c) { return IsProfileBlank(c) || c == '\x1A'; };
    const bool blankAtEnd = !value.empty() && (blank(value.front()) || blank(value.back()));
    if (blankAtEnd || EnclosedInQuotes(value)) {
        std::string enclosed;
        enclosed.reserve(value.size() + 2);
        enclosed.append(1, '"').append(value).append(1, '"');
        return enclosed;
    }
    return std::string(value);
}

ProfileText::ProfileText(std::string bytes)
    : m_bytes(std::move(bytes)), m_bomSize(ProfileLines(m_bytes).BomSize()) {
    Parse();
}

void ProfileText::Parse() {
    const ProfileLines lines(m_bytes);
    const char* data = m_bytes.data();
    const std::size_t size = m_bytes.size();
    if (const std::size_t at = lines.TextEnd(0); at < size) {
        m_eol = m_bytes.substr(at, lines.Next(at) - at);  // the first line ending
    }
    ReserveSections();
    // A header starts with "[" after nothing but blanks on its line: find each "[" and look back.
    std::size_t pos = 0;
    while (pos < size) {
        const void* hit = std::memchr(data + pos, '[', size - pos);
        if (hit == nullptr) {
            break;
        }
        const std::size_t bracket = static_cast<std::size_t>(static_cast<const char*>(hit) - data);
        std::size_t lineBegin = bracket;
        while (lineBegin > m_bomSize && IsProfileBlank(data[lineBegin - 1])) {
            --lineBegin;
        }
        // No other "[" of this line can start a header: go on after the line either way, so that
        // a line full of brackets is looked at once.
        pos = lines.TextEnd(bracket);
        if (lines.IsLineStart(lineBegin)) {
            const ProfileLine line{lineBegin, pos, lines.Next(pos)};
            if (const auto name = ProfileHeaderName(lines.Text(line))) {
                AddSection(*name, line);
            }
        }
    }
    if (!m_sections.empty()) {
        m_sections.back().bodyEnd = size;
    }
}

void ProfileText::ReserveSections() {
    // Room for a section per kilobyte avoids rehashing in large files shared with other programs.
    const std::size_t expected = m_bytes.size() / 1024 + 8;
    m_sections.reserve(expected);
    std::size_t slots = 16;
    while (slots < 2 * expected) {
        slots *= 2;
    }
    m_firstSection.assign(slots, 0);
}

void ProfileText::AddSection(std::string_view name, const ProfileLine& header) {
    if (!m_sections.empty()) {
        m_sections.back().bodyEnd = header.begin;
    }
    Section section;
    section.name = name;
    section.hash = NameHash(name);
    section.bodyBegin = header.next;
    m_sections.push_back(std::move(section));
    IndexSection(m_sections.size() - 1);
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
        if (other.hash == section.hash && SameName(other.name, section.name)) {
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
        if (section.hash == hash && SameName(section.name, wanted)) {
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
    const ProfileLines lines(m_bytes);
    return lines.Text(lines.At(ref.at));
}

void ProfileText::ListKeys(const Section& section) const {
    section.keysListed = true;
    const ProfileLines lines(m_bytes);
    // The body ends where the next header line starts, so its last line ends inside it.
    for (std::size_t at = section.bodyBegin; at < section.bodyEnd;) {
        const ProfileLine line = lines.At(at);
        if (const auto keyLine = ProfileKeyLineParts(lines.Text(line))) {
            section.keyLines.emplace_back(NameHash(keyLine->key), at);
        }
        at = line.next;
    }
}

std::optional<ProfileText::KeyRef> ProfileText::FindKey(const Section& section,
                                                        std::string_view key) const {
    const std::string_view wanted = TrimBlanks(key);
    auto matches = [&](std::string_view text) {
        const auto keyLine = ProfileKeyLineParts(text);
        return keyLine && SameName(keyLine->key, wanted);
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
    return std::string(ProfileValueOf(PartsOfKeyLine(KeyLineText(*found, *ref)).storedText));
}

Status ProfileText::Set(std::string_view section, std::string_view key, std::string_view value) {
    const std::string_view name = TrimBlanks(section);
    const std::string_view keyName = TrimBlanks(key);
    const std::string where =
        "key \"" + std::string(key) + "\" of section [" + std::string(section) + "]";
    if (HoldsLineBreak(section) || HoldsLineBreak(key)) {
        return Refusal("the " + where + " holds a line break");
    }
    if (HoldsLineBreak(value)) {
        return Refusal("the value of the " + where + " holds a line break");
    }
    if (keyName.empty() || keyName.find('=') != std::string_view::npos || keyName.front() == '[') {
        return Refusal("the " + where +
                       " cannot be stored: a key must not be empty, hold \"=\" or start "
                       "with \"[\"");
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
        return {};
    }
    const ProfileKeyLine current = PartsOfKeyLine(KeyLineText(*target, *ref));
    if (ProfileValueOf(current.storedText) == value) {
        return {};
    }
    std::string rewritten = std::string(current.key) + "=" + encoded;
    if (ref->added) {
        target->added[ref->at] = std::move(rewritten);
    } else {
        const std::size_t textEnd = ProfileLines(m_bytes).TextEnd(ref->at);
        m_replaced[ref->at] = Replacement{textEnd, std::move(rewritten)};
    }
    return {};
}

bool ProfileText::Unchanged() const {
    return m_replaced.empty() && std::none_of(m_sections.begin(), m_sections.end(),
                                              [](const Section& s) { return !s.added.empty(); });
}

std::string_view ProfileText::EndingAt(std::size_t at) const {
    // A lone CR written right before an LF would join it into one CR LF ending and the line of
    // that LF would vanish: such lines take the ending of the line before them instead.
    if (m_eol != "\r" || at >= m_bytes.size() || m_bytes[at] != '\n') {
        return m_eol;
    }
    if (at >= 2 && m_bytes[at - 2] == '\r' && m_bytes[at - 1] == '\n') {
        return "\r\n";
    }
    return at >= 1 && m_bytes[at - 1] == '\n' ? "\n" : "\r\n";
}

std::size_t ProfileText::InsertionPoint(const Section& section) const {
    // After the section's last non-blank line (the header when every other line is blank).
    std::size_t last = section.bodyEnd;
    while (last > section.bodyBegin) {
        const char c = m_bytes[last - 1];
        if (!IsProfileBlank(c) && c != '\r' && c != '\n') {
            break;
        }
        --last;
    }
    if (last == section.bodyBegin) {
        return section.bodyBegin;  // the header line's end
    }
    const ProfileLines lines(m_bytes);
    return lines.Next(lines.TextEnd(last - 1));
}

std::string ProfileText::Bytes() const {
    // Every change is a replacement of an original line's text or an insertion of lines at a
    // position; everything between them is copied as it is.
    struct Edit {
        std::size_t at;
        std::size_t end;  // equal to `at` for an insertion
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
    std::sort(edits.begin(), edits.end(), [](const Edit& a, const Edit& b) { return a.at < b.at; });

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
            const std::string_view eol = EndingAt(edit.at);
            for (const std::string& text : edit.insertion->added) {
                out += text;
                out += eol;
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
