#include "profile/profilelookup.h"

#include <algorithm>
#include <cstdlib>
#include <cstring>
#include <new>
#include <utility>

#include "base/names.h"
#include "profile/profilelines.h"

namespace tav {

namespace {

// The bytes that end a line (see ProfileLines).
bool IsLineBreak(char c) {
    return c == '\n' || c == '\r';
}

// Where the blanks right before `at` begin, looking back no further than `floor`.
std::size_t BlanksBefore(const char* data, std::size_t floor, std::size_t at) {
    while (at > floor && IsProfileBlank(data[at - 1])) {
        --at;
    }
    return at;
}

// The buffer `buffer` (null: none yet) resized to `size` bytes, keeping its bytes up to that size.
char* Resized(char* buffer, std::size_t size) {
    void* resized = std::realloc(buffer, size);
    if (resized == nullptr) {
        throw std::bad_alloc();  // as any other allocation that fails
    }
    return static_cast<char*>(resized);
}

}  // namespace

// The keys asked for and what the lines read so far settle about them.
class ProfileLookup::Keys final {
public:
    explicit Keys(const std::vector<ProfileKey>& keys) : m_values(keys.size()) {
        m_unsettled = keys.size();
        for (std::size_t k = 0; k < keys.size(); ++k) {
            const std::string_view section = TrimBlanks(keys[k].section);
            const std::string_view key = TrimBlanks(keys[k].key);
            m_keys.push_back(Name{std::string(key), NameHash(key)});
            const auto same = [&](const Section& s) { return SameName(s.name.name, section); };
            auto found = std::find_if(m_sections.begin(), m_sections.end(), same);
            if (found == m_sections.end()) {
                found = m_sections.emplace(m_sections.end());
                found->name = Name{std::string(section), NameHash(section)};
            }
            found->keys.push_back(k);
        }
        m_unseen = m_sections.size();
    }

    bool Settled() const { return m_unsettled == 0; }

    // True while the lines read belong to the first section of a name asked for, and some of its
    // keys are still looked for.
    bool InWantedSection() const { return m_current != nullptr && !m_current->keys.empty(); }

    // A header line named `name`: the section before it ends.
    void EnterSection(std::string_view name) {
        EndSection();
        if (m_unseen == 0) {
            return;
        }
        const std::size_t hash = NameHash(name);
        for (Section& section : m_sections) {
            if (!section.seen && section.name.hash == hash && SameName(section.name.name, name)) {
                section.seen = true;  // later sections of the name do not count
                --m_unseen;
                m_current = &section;
                return;
            }
        }
    }

    // A key line of the current section: the first of a name settles the keys of that name.
    void ReadKeyLine(const ProfileKeyLine& line) {
        if (!InWantedSection()) {
            return;
        }
        const std::size_t hash = NameHash(line.key);
        std::erase_if(m_current->keys, [&](std::size_t k) {
            if (m_keys[k].hash != hash || !SameName(m_keys[k].name, line.key)) {
                return false;
            }
            m_values[k] = std::string(ProfileValueOf(line.storedText));
            --m_unsettled;
            return true;
        });
    }

    // The document ends: every key not found is missing.
    void EndDocument() {
        EndSection();
        m_unsettled = 0;
    }

    std::vector<std::optional<std::string>> TakeValues() { return std::move(m_values); }

private:
    struct Name {
        std::string name;  // trimmed
        std::size_t hash = 0;
    };
    struct Section {
        Name name;
        bool seen = false;
        std::vector<std::size_t> keys;  // the keys of the section not settled yet
    };

    // The keys still looked for in the current section are missing.
    void EndSection() {
        if (m_current != nullptr) {
            m_unsettled -= m_current->keys.size();
            m_current->keys.clear();
            m_current = nullptr;
        }
    }

    std::vector<Name> m_keys;
    std::vector<Section> m_sections;  // each name once
    std::vector<std::optional<std::string>> m_values;
    std::size_t m_unsettled = 0;
    std::size_t m_unseen = 0;  // sections whose first header has not been read
    Section* m_current = nullptr;
};

void ProfileLookup::Free::operator()(char* buffer) const {
    std::free(buffer);
}

ProfileLookup::ProfileLookup(ByteSource source, EncodingScanner* scanner, std::size_t chunkSize)
    : m_source(std::move(source)),
      m_scanner(scanner),
      m_chunkSize(std::max<std::size_t>(chunkSize, 1)),
      m_buffer(Resized(nullptr, m_chunkSize)),
      m_capacity(m_chunkSize) {}

Expected<std::vector<std::optional<std::string>>> ProfileLookup::Find(
    const std::vector<ProfileKey>& keys) {
    Keys wanted(keys);
    if (!wanted.Settled()) {
        if (Status skipped = SkipByteOrderMark(); !skipped) {
            return skipped.Error();
        }
    }
    while (!wanted.Settled()) {
        // Outside the sections asked for only header lines matter: skip to the next one.
        if (!wanted.InWantedSection()) {
            const Expected<bool> header = SkipToHeader();
            if (!header) {
                return header.Error();
            }
            if (!*header) {
                break;
            }
        }
        const Expected<std::optional<std::string_view>> line = NextLine();
        if (!line) {
            return line.Error();
        }
        if (!*line) {
            break;
        }
        if (const auto name = ProfileHeaderName(**line)) {
            wanted.EnterSection(*name);
            // A run of one header (millions of empty sections of one name) is passed over
            // without reading each line again.
            if (SkipRepeats(**line)) {
                wanted.EnterSection(*name);
            }
        } else if (const auto parts = ProfileKeyLineParts(**line)) {
            wanted.ReadKeyLine(*parts);
        }
    }
    wanted.EndDocument();
    return wanted.TakeValues();
}

Status ProfileLookup::ScanRest() {
    while (m_scanner != nullptr && !m_scanner->Settled() && !m_atEnd) {
        m_begin = m_end;  // nothing more is looked at
        if (Status read = Refill(); !read) {
            return read;
        }
    }
    return {};
}

Status ProfileLookup::SkipByteOrderMark() {
    constexpr std::size_t kMarkSize = 3;
    while (m_end - m_begin < kMarkSize && !m_atEnd) {
        if (Status read = Refill(); !read) {
            return read;
        }
    }
    m_begin += ProfileLines(std::string_view(m_buffer.get() + m_begin, m_end - m_begin)).BomSize();
    return {};
}

Expected<bool> ProfileLookup::SkipToHeader() {
    // A header's "[" follows nothing but blanks on its line (m_begin is a line start on entry);
    // across refills, `blankLine` tells whether the line the last bytes end in is blank so far.
    bool blankLine = true;
    for (;;) {
        const char* data = m_buffer.get();
        for (std::size_t pos = m_begin; pos < m_end;) {
            const void* hit = std::memchr(data + pos, '[', m_end - pos);
            if (hit == nullptr) {
                break;
            }
            const auto bracket = static_cast<std::size_t>(static_cast<const char*>(hit) - data);
            const std::size_t lineBegin = BlanksBefore(data, m_begin, bracket);
            if (lineBegin == m_begin ? blankLine : IsLineBreak(data[lineBegin - 1])) {
                m_begin = bracket;  // a header's name is read from its trimmed text
                return true;
            }
            pos = bracket + 1;
        }
        const std::size_t lastBlanks = BlanksBefore(data, m_begin, m_end);
        blankLine = lastBlanks == m_begin ? blankLine : IsLineBreak(data[lastBlanks - 1]);
        m_begin = m_end;
        if (m_atEnd) {
            return false;
        }
        if (Status read = Refill(); !read) {
            return read.Error();
        }
    }
}

Expected<std::optional<std::string_view>> ProfileLookup::NextLine() {
    std::size_t scanned = 0;  // the bytes from m_begin up to here hold no line break
    for (;;) {
        const std::string_view window(m_buffer.get() + m_begin, m_end - m_begin);
        const ProfileLines lines(window);  // only its line cutting: the window is not the file
        const std::size_t textEnd = lines.TextEnd(scanned);
        // A CR that ends the bytes read may be the first half of a CR LF.
        const bool complete = textEnd + 1 < window.size() || m_atEnd ||
                              (textEnd < window.size() && window[textEnd] == '\n');
        if (complete) {
            if (window.empty()) {
                return std::optional<std::string_view>();
            }
            m_begin += lines.Next(textEnd);
            return std::optional<std::string_view>(window.substr(0, textEnd));
        }
        scanned = textEnd;
        if (Status read = Refill(); !read) {
            return read.Error();
        }
    }
}

bool ProfileLookup::SkipRepeats(std::string_view text) {
    const char* data = m_buffer.get();
    const auto size = static_cast<std::size_t>(data + m_begin - text.data());
    // Only a line that ends in LF: a lone CR could be the first half of the next line's CR LF.
    if (size == 0 || text.data()[size - 1] != '\n') {
        return false;
    }
    bool skipped = false;
    while (m_end - m_begin >= size && std::memcmp(data + m_begin, text.data(), size) == 0) {
        m_begin += size;
        skipped = true;
    }
    return skipped;
}

Status ProfileLookup::Refill() {
    // The bytes not looked at yet move to the front; the buffer grows only when they fill it.
    const std::size_t kept = m_end - m_begin;
    if (kept > 0 && m_begin > 0) {
        std::memmove(m_buffer.get(), m_buffer.get() + m_begin, kept);
    }
    if (kept == m_capacity) {
        char* grown = Resized(m_buffer.get(), m_capacity * 2);
        static_cast<void>(m_buffer.release());  // realloc freed or kept it as `grown`
        m_buffer.reset(grown);
        m_capacity *= 2;
    }
    m_begin = 0;
    m_end = kept;
    const std::size_t room = std::min(m_chunkSize, m_capacity - m_end);
    const Expected<std::size_t> got = m_source(m_buffer.get() + m_end, room);
    if (!got) {
        return got.Error();
    }
    if (*got == 0) {
        m_atEnd = true;
        return {};
    }
    if (m_scanner != nullptr) {
        m_scanner->Scan(std::string_view(m_buffer.get() + m_end, *got));
    }
    m_end += *got;
    m_bytesRead += *got;
    return {};
}

}  // namespace tav
