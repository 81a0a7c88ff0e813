#include "profile/profiletext.h"

#include "base/names.h"
#include "base/translation.h"

#include <algorithm>
#include <cstring>
#include <utility>

namespace tav {

namespace {

// The bits of a name hash kept beside its slot: high ones, since the low ones pick the slot.
std::uint8_t SlotTag(std::uint32_t hash) {
    return static_cast<std::uint8_t>(hash >> 24);
}

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
    const bool blankAtEnd =
        !value.empty() && (IsProfileBlank(value.front()) || IsProfileBlank(value.back()));
    if (blankAtEnd || EnclosedInQuotes(value)) {
        std::string enclosed;
        enclosed.reserve(value.size() + 2);
        enclosed.append(1, '"').append(value).append(1, '"');
        return enclosed;
    }
    return std::string(value);
}

ProfileText::ProfileText(std::string bytes) : m_owned(std::move(bytes)), m_bytes(m_owned) {
    Parse();
}

ProfileText::ProfileText(std::string_view bytes, InPlace) : m_bytes(bytes) {
    Parse();
}

void ProfileText::SectionMarks::Add(std::size_t headerAt, std::uint32_t hash) {
    if (m_count % kBlock == 0) {
        m_blocks.emplace_back(new Entry[kBlock]);  // filled as sections are found
    }
    const auto at = static_cast<std::uint64_t>(headerAt);
    m_blocks.back()[m_count % kBlock] =
        Entry{static_cast<std::uint32_t>(at), static_cast<std::uint32_t>(at >> 32), hash};
    ++m_count;
}

std::size_t ProfileText::SectionMarks::HeaderAt(std::size_t n) const {
    const Entry& entry = Mark(n);
    return static_cast<std::size_t>((static_cast<std::uint64_t>(entry.atHigh) << 32) | entry.atLow);
}

std::optional<ProfileText::Header> ProfileText::NextHeader(std::size_t from) const {
    const ProfileLines lines(m_bytes);
    const char* data = m_bytes.data();
    const std::size_t size = m_bytes.size();
    // A header starts with "[" after nothing but blanks on its line: find each "[" and look back.
    for (std::size_t pos = from; pos < size;) {
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
        if (lineBegin >= from && lines.IsLineStart(lineBegin)) {
            const ProfileLine line{lineBegin, pos, lines.Next(pos)};
            if (const auto name = ProfileHeaderName(lines.Text(line))) {
                return Header{lineBegin, *name};
            }
        }
    }
    return std::nullopt;
}

void ProfileText::Parse() {
    const ProfileLines lines(m_bytes);
    m_bomSize = lines.BomSize();
    if (const std::size_t at = lines.TextEnd(0); at < m_bytes.size()) {
        m_eol = std::string(m_bytes.substr(at, lines.Next(at) - at));  // the first line ending
    }
    m_firstSection.assign(16, 0);
    m_slotTags.assign(16, 0);
    // Only the first section of each name is kept: readers see no other, and a document of
    // millions of sections of a few names costs nothing per repeated one. Lines that repeat the
    // header line before them byte for byte, ending included, are passed over unread.
    for (std::optional<Header> header = NextHeader(0); header;) {
        const std::size_t next = lines.Next(lines.TextEnd(header->at));
        const auto hash = static_cast<std::uint32_t>(NameHash(header->name));
        if (!Lookup(header->name, hash)) {
            m_marks.Add(header->at, hash);
            IndexSection(static_cast<SectionNumber>(m_marks.Count() - 1));
        }
        header =
            NextHeader(EndOfRepeats(m_bytes, next, m_bytes.substr(header->at, next - header->at)));
    }
}

std::string_view ProfileText::NameOf(SectionNumber n) const {
    if (!IsFileSection(n)) {
        return m_newSections[n - m_marks.Count()].name;
    }
    const ProfileLines lines(m_bytes);
    const std::size_t begin = m_marks.HeaderAt(n);
    const std::size_t textEnd = lines.TextEnd(begin);
    return ProfileHeaderName(lines.Text(ProfileLine{begin, textEnd, textEnd})).value_or("");
}

std::uint32_t ProfileText::HashOf(SectionNumber n) const {
    return IsFileSection(n) ? m_marks.Hash(n) : m_newSections[n - m_marks.Count()].hash;
}

std::size_t ProfileText::BodyBegin(SectionNumber n) const {
    const ProfileLines lines(m_bytes);
    return lines.Next(lines.TextEnd(m_marks.HeaderAt(n)));
}

std::size_t ProfileText::BodyEnd(SectionNumber n) const {
    // The body ends where the next header line starts (a repeated section's too), so its last
    // line ends inside it. Found when first asked: only the sections looked at are read.
    FileSectionState& state = m_state[n];
    if (state.bodyEnd == std::string_view::npos) {
        const std::optional<Header> next = NextHeader(BodyBegin(n));
        state.bodyEnd = next ? next->at : m_bytes.size();
    }
    return state.bodyEnd;
}

const std::vector<std::string>& ProfileText::Added(SectionNumber n) const {
    if (!IsFileSection(n)) {
        return m_newSections[n - m_marks.Count()].added;
    }
    static const std::vector<std::string> kNone;
    const auto state = m_state.find(n);
    return state == m_state.end() ? kNone : state->second.added;
}

std::vector<std::string>& ProfileText::AddedToChange(SectionNumber n) {
    return IsFileSection(n) ? m_state[n].added : m_newSections[n - m_marks.Count()].added;
}

void ProfileText::IndexSection(SectionNumber n) {
    // At most two thirds of the slots in use keeps probes short; when more would be, the table
    // doubles and indexes every section again.
    if ((m_indexed + 1) * 3 > m_firstSection.size() * 2) {
        m_firstSection.assign(m_firstSection.size() * 2, 0);
        m_slotTags.assign(m_firstSection.size(), 0);
        m_indexed = 0;
        for (SectionNumber k = 0; k < n; ++k) {
            IndexSection(k);
        }
    }
    const std::size_t mask = m_firstSection.size() - 1;
    std::size_t slot = HashOf(n) & mask;
    while (m_firstSection[slot] != 0) {
        slot = (slot + 1) & mask;
    }
    m_firstSection[slot] = n + 1;
    m_slotTags[slot] = SlotTag(HashOf(n));
    ++m_indexed;
}

std::optional<ProfileText::SectionNumber> ProfileText::Lookup(std::string_view name,
                                                              std::uint32_t hash) const {
    const std::size_t mask = m_firstSection.size() - 1;
    const std::uint8_t tag = SlotTag(hash);
    for (std::size_t slot = hash & mask; m_firstSection[slot] != 0; slot = (slot + 1) & mask) {
        if (m_slotTags[slot] != tag) {
            continue;  // another name: its hash need not be fetched from the section's mark
        }
        const SectionNumber n = m_firstSection[slot] - 1;
        if (HashOf(n) == hash && SameName(NameOf(n), name)) {
            return n;
        }
    }
    return std::nullopt;
}

std::optional<ProfileText::SectionNumber> ProfileText::FindSection(std::string_view name) const {
    const std::string_view wanted = TrimBlanks(name);
    return Lookup(wanted, static_cast<std::uint32_t>(NameHash(wanted)));
}

std::optional<std::size_t> ProfileText::FirstSectionAt(std::string_view section) const {
    const std::optional<SectionNumber> found = FindSection(section);
    if (!found || !IsFileSection(*found)) {
        return std::nullopt;
    }
    return m_marks.HeaderAt(*found);
}

std::string_view ProfileText::KeyLineText(SectionNumber n, const KeyRef& ref) const {
    if (ref.added) {
        return Added(n)[ref.at];
    }
    if (const auto replaced = m_replaced.find(ref.at); replaced != m_replaced.end()) {
        return replaced->second.text;
    }
    const ProfileLines lines(m_bytes);
    return lines.Text(lines.At(ref.at));
}

const ProfileText::FileSectionState& ProfileText::ListKeys(SectionNumber n) const {
    FileSectionState& state = m_state[n];
    if (state.keysListed) {
        return state;
    }
    state.keysListed = true;
    const ProfileLines lines(m_bytes);
    const std::size_t end = BodyEnd(n);
    for (std::size_t at = BodyBegin(n); at < end;) {
        const ProfileLine line = lines.At(at);
        if (const auto keyLine = ProfileKeyLineParts(lines.Text(line))) {
            state.keyLines.emplace_back(static_cast<std::uint32_t>(NameHash(keyLine->key)), at);
        }
        at = line.next;
    }
    return state;
}

std::optional<ProfileText::KeyRef> ProfileText::FindKey(SectionNumber n,
                                                        std::string_view key) const {
    const std::string_view wanted = TrimBlanks(key);
    auto matches = [&](std::string_view text) {
        const auto keyLine = ProfileKeyLineParts(text);
        return keyLine && SameName(keyLine->key, wanted);
    };
    if (IsFileSection(n)) {
        // Each section is read once; later look-ups compare hashes (a rewritten line keeps its
        // key, so the list stays right).
        const auto hash = static_cast<std::uint32_t>(NameHash(wanted));
        for (const auto& [keyHash, line] : ListKeys(n).keyLines) {
            if (keyHash == hash && matches(KeyLineText(n, KeyRef{line, false}))) {
                return KeyRef{line, false};
            }
        }
    }
    const std::vector<std::string>& added = Added(n);
    for (std::size_t i = 0; i < added.size(); ++i) {
        if (matches(added[i])) {
            return KeyRef{i, true};
        }
    }
    return std::nullopt;
}

std::optional<std::string> ProfileText::Get(std::string_view section, std::string_view key) const {
    const std::optional<SectionNumber> found = FindSection(section);
    if (!found) {
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
    const auto refused = [&](const char* message) {
        return Refusal(FillIn(Translate("Profile", message), {key, section}));
    };
    if (HoldsLineBreak(section) || HoldsLineBreak(key)) {
        return refused(TAV_TRANSLATE_NOOP("Profile",
                                          "the key \"%1\" of section [%2] holds a line "
                                          "break"));
    }
    if (HoldsLineBreak(value)) {
        return refused(TAV_TRANSLATE_NOOP("Profile",
                                          "the value of the key \"%1\" of section [%2] "
                                          "holds a line break"));
    }
    if (value.find('\0') != std::string_view::npos) {
        return refused(TAV_TRANSLATE_NOOP("Profile",
                                          "the value of the key \"%1\" of section [%2] "
                                          "holds a NUL byte: readers would take only "
                                          "the text before it"));
    }
    if (keyName.empty() || keyName.find('=') != std::string_view::npos || keyName.front() == '[') {
        return refused(TAV_TRANSLATE_NOOP("Profile",
                                          "the key \"%1\" of section [%2] cannot be "
                                          "stored: a key must not be empty, hold \"=\" "
                                          "or start with \"[\""));
    }

    const std::string encoded = EncodeProfileValue(value);
    std::optional<SectionNumber> target = FindSection(name);
    if (!target) {
        NewSection& fresh = m_newSections.emplace_back();
        fresh.name = std::string(name);
        fresh.hash = static_cast<std::uint32_t>(NameHash(fresh.name));
        target = static_cast<SectionNumber>(m_marks.Count() + m_newSections.size() - 1);
        IndexSection(*target);
    }
    const auto ref = FindKey(*target, keyName);
    if (!ref) {
        AddedToChange(*target).push_back(std::string(keyName) + "=" + encoded);
        return {};
    }
    const ProfileKeyLine current = PartsOfKeyLine(KeyLineText(*target, *ref));
    if (ProfileValueOf(current.storedText) == value) {
        return {};
    }
    std::string rewritten = std::string(current.key) + "=" + encoded;
    if (ref->added) {
        AddedToChange(*target)[ref->at] = std::move(rewritten);
    } else {
        const std::size_t textEnd = ProfileLines(m_bytes).TextEnd(ref->at);
        m_replaced[ref->at] = Replacement{textEnd, std::move(rewritten)};
    }
    return {};
}

bool ProfileText::Unchanged() const {
    const auto hasLines = [](const auto& entry) { return !entry.second.added.empty(); };
    return m_replaced.empty() && std::none_of(m_state.begin(), m_state.end(), hasLines) &&
           m_newSections.empty();
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

std::size_t ProfileText::InsertionPoint(SectionNumber n) const {
    // After the section's last non-blank line (the header when every other line is blank).
    const std::size_t begin = BodyBegin(n);
    std::size_t last = BodyEnd(n);
    while (last > begin) {
        const char c = m_bytes[last - 1];
        if (!IsProfileBlank(c) && c != '\r' && c != '\n') {
            break;
        }
        --last;
    }
    if (last == begin) {
        return begin;  // the header line's end
    }
    const ProfileLines lines(m_bytes);
    return lines.Next(lines.TextEnd(last - 1));
}

SplicedBytes ProfileText::Pieces() const {
    // Every change is a replacement of an original line's text or an insertion of lines at a
    // position; everything between them is the original bytes as they are.
    struct Edit {
        std::size_t at;
        std::size_t end;  // equal to `at` for an insertion
        const Replacement* replacement;
        const std::vector<std::string>* insertion;
    };
    std::vector<Edit> edits;
    for (const auto& [at, replacement] : m_replaced) {
        const std::size_t begin = at == 0 ? m_bomSize : at;
        edits.push_back(Edit{begin, replacement.textEnd, &replacement, nullptr});
    }
    for (const auto& [n, state] : m_state) {
        if (!state.added.empty()) {
            const std::size_t at = InsertionPoint(n);
            edits.push_back(Edit{at, at, nullptr, &state.added});
        }
    }
    std::sort(edits.begin(), edits.end(), [](const Edit& a, const Edit& b) { return a.at < b.at; });

    const std::string_view eol = m_eol;
    const auto endsWithLineEnd = [this] {
        return m_bytes.empty() || m_bytes.back() == '\n' || m_bytes.back() == '\r';
    };
    SplicedBytes out;
    std::size_t copied = 0;
    for (const Edit& edit : edits) {
        out.Append(m_bytes.substr(copied, edit.at - copied));
        if (edit.replacement != nullptr) {
            out.Append(edit.replacement->text);
        } else {
            // The section's last line may be the file's last line, without a line ending.
            if (edit.at == m_bytes.size() && !endsWithLineEnd()) {
                out.Append(eol);
            }
            const std::string_view ending = EndingAt(edit.at);
            for (const std::string& text : *edit.insertion) {
                out.Append(text);
                out.Append(ending);
            }
        }
        copied = edit.end;
    }
    out.Append(m_bytes.substr(copied));

    for (std::size_t i = 0; i < m_newSections.size(); ++i) {
        const NewSection& section = m_newSections[i];
        const bool lastEndsLine = out.Size() == 0 || out.Pieces().back().back() == '\n' ||
                                  out.Pieces().back().back() == '\r';
        if (i == 0 && !lastEndsLine) {
            out.Append(eol);  // the file's last line had no line ending
        }
        out.Append("[");
        out.Append(section.name);
        out.Append("]");
        out.Append(eol);
        for (const std::string& text : section.added) {
            out.Append(text);
            out.Append(eol);
        }
    }
    return out;
}

std::string ProfileText::Bytes() const {
    return Pieces().Join();
}

}  // namespace tav
