// The profile store: reads and writes single keys of an INI-layout document held in memory, the
// way the other application's profile-string services read and write them, and keeps every byte
// it is not asked to change.
#pragma once

#include <cstddef>
#include <cstdint>
#include <deque>
#include <map>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

#include "base/expected.h"
#include "base/splicedbytes.h"
#include "profile/profilelines.h"  // the line rules, and TrimBlanks for callers that read names alike

namespace tav {

// Reading rules (cut and classified by ProfileLines): lines end at LF, CR LF or a lone CR. A
// section header is a line whose first non-blank character is "[" and that holds a "]"; its name is
// the trimmed text between the "[" and the last "]". A key line is a line of a section that holds
// "="; key and value are the trimmed texts before and after the first "=", and one pair of equal
// quotes (" or ') enclosing the value is removed; a value ends at its first NUL byte, after that.
// Blanks are space, tab, vertical tab, form feed and the end-of-file byte 0x1A (as the other
// application's readers take them), before a header's "[" as around names and values. Names
// compare case-insensitively (ASCII letters) after trimming; with duplicates the first section,
// and the first key in it, count. A UTF-8 byte-order mark at the start of the file is kept and
// otherwise ignored.
//
// Writing rules: an existing key keeps its line, which becomes the key as the file spells it, "="
// and the new value, with the line's own line ending; a new key goes after the last non-blank
// line of its section; a new section goes at the end of the file. New lines take the file's line
// ending (CR LF for a file that has none), except that lines inserted right before an LF in a file
// whose first ending is a lone CR take the ending of the line before them (a CR there would join
// the LF, and a line would vanish). Writing the value a key already has changes nothing, nothing
// is ever removed, and every other byte stays as it was. A value that would not read back
// unchanged (blanks at either end, or enclosed in a pair of equal quotes) is written in double
// quotes, so every value written reads back exactly (0x1A counting as a blank here too).
class ProfileText final {
public:
    // Marks the constructor that reads bytes where they are instead of keeping a copy.
    struct InPlace {};

    explicit ProfileText(std::string bytes = {});
    // Reads `bytes` where they are: they must stay valid and unchanged while the store is used.
    ProfileText(std::string_view bytes, InPlace);
    // Not copied or moved: what it holds points into its own bytes.
    ProfileText(const ProfileText&) = delete;
    ProfileText& operator=(const ProfileText&) = delete;

    // The value of `key` in `section`, or nothing when the section or the key is missing.
    std::optional<std::string> Get(std::string_view section, std::string_view key) const;

    // Where the header line of the first section named `section` starts in the bytes, or nothing
    // when the bytes have no such section.
    std::optional<std::size_t> FirstSectionAt(std::string_view section) const;

    // The first section of each name in the bytes (readers see no other), in file order: how
    // many, and where the header line of the `n`th starts.
    std::size_t FileSectionCount() const { return m_marks.Count(); }
    std::size_t SectionHeaderAt(std::size_t n) const { return m_marks.HeaderAt(n); }

    // Sets `key` in `section` to `value` and succeeds. Refuses the write, changing nothing, when
    // a section, key or value holds CR or LF (it would inject new lines), the value holds a NUL
    // byte (it would read back cut there), or the key could not be read back (empty, holding "=",
    // or starting with "["): the error's reason says which, and its `file` is empty (the store
    // does not know its file).
    Status Set(std::string_view section, std::string_view key, std::string_view value);

    // The document's bytes with every write applied, as pieces of the original bytes and of the
    // written lines: valid while the store and its bytes are, until the next Set.
    SplicedBytes Pieces() const;

    // The same bytes joined into one string.
    std::string Bytes() const;

    // True when no write has changed anything.
    bool Unchanged() const;

private:
    // Sections are numbered: those of the file in file order, then those added by Set.
    using SectionNumber = std::uint32_t;

    // Where the first section of a name starts in the file, and its name's hash; the name is read
    // again from the header line when needed. Only headers are located when the text is parsed,
    // so a file of many sections costs 12 bytes for each name here (nothing for a repeated one);
    // kept in blocks, so that growing never copies.
    class SectionMarks final {
    public:
        void Add(std::size_t headerAt, std::uint32_t hash);
        std::size_t Count() const { return m_count; }
        std::size_t HeaderAt(std::size_t n) const;
        std::uint32_t Hash(std::size_t n) const { return Mark(n).hash; }

    private:
        struct Entry {
            std::uint32_t atLow;
            std::uint32_t atHigh;
            std::uint32_t hash;
        };
        static constexpr std::size_t kBlock = 4096;
        const Entry& Mark(std::size_t n) const { return m_blocks[n / kBlock][n % kBlock]; }

        std::vector<std::unique_ptr<Entry[]>> m_blocks;
        std::size_t m_count = 0;
    };
    // What was looked at or written in a section of the file.
    struct FileSectionState {
        // The key lines (hash of the key, first byte of the line), listed when a key of the
        // section is first looked for.
        std::vector<std::pair<std::uint32_t, std::size_t>> keyLines;
        bool keysListed = false;
        std::vector<std::string> added;  // lines added after the section's last non-blank line
        std::size_t bodyEnd = std::string_view::npos;  // see BodyEnd; npos until asked
    };
    struct NewSection {
        std::string name;
        std::uint32_t hash = 0;
        std::vector<std::string> added;
    };
    // Where a key line is: an original line (its first byte) or a line added to the section.
    struct KeyRef {
        std::size_t at = 0;
        bool added = false;
    };
    struct Replacement {
        std::size_t textEnd = 0;  // the original line's text ends here (its ending stays)
        std::string text;
    };

    // A section header line of the bytes: where it starts and the section's name.
    struct Header {
        std::size_t at = 0;
        std::string_view name;
    };
    // The first header line that starts at or after `from`.
    std::optional<Header> NextHeader(std::size_t from) const;
    void Parse();
    std::string_view NameOf(SectionNumber n) const;
    std::uint32_t HashOf(SectionNumber n) const;
    bool IsFileSection(SectionNumber n) const { return n < m_marks.Count(); }
    std::size_t BodyBegin(SectionNumber n) const;
    std::size_t BodyEnd(SectionNumber n) const;
    const std::vector<std::string>& Added(SectionNumber n) const;
    std::vector<std::string>& AddedToChange(SectionNumber n);
    std::optional<SectionNumber> FindSection(std::string_view name) const;
    std::optional<KeyRef> FindKey(SectionNumber n, std::string_view key) const;
    std::string_view KeyLineText(SectionNumber n, const KeyRef& ref) const;
    std::size_t InsertionPoint(SectionNumber n) const;
    std::string_view EndingAt(std::size_t at) const;
    const FileSectionState& ListKeys(SectionNumber n) const;

    // The first section of each name, found by its hash in an open-addressing table of section
    // numbers + 1 (0: empty) that grows as sections are found or added.
    void IndexSection(SectionNumber n);
    std::optional<SectionNumber> Lookup(std::string_view name, std::uint32_t hash) const;

    std::string m_owned;
    std::string_view m_bytes;
    SectionMarks m_marks;
    std::vector<std::uint32_t> m_firstSection;
    // Beside each slot, eight high bits of its section's name hash: a probe passes other names
    // without fetching their hashes from the marks, which lie all over memory.
    std::vector<std::uint8_t> m_slotTags;
    std::size_t m_indexed = 0;
    mutable std::unordered_map<SectionNumber, FileSectionState> m_state;
    std::deque<NewSection> m_newSections;           // stable addresses: pieces point into them
    std::map<std::size_t, Replacement> m_replaced;  // line start -> new text
    std::string m_eol = "\r\n";
    std::size_t m_bomSize = 0;
};

// The value text to put after "=" so that reading it back gives exactly `value`.
std::string EncodeProfileValue(std::string_view value);

}  // namespace tav
