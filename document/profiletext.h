// The profile store: reads and writes single keys of an INI-layout document held in memory, the
// way the other application's profile-string services read and write them, and keeps every byte
// it is not asked to change.
#pragma once

#include <cstddef>
#include <cstdint>
#include <deque>
#include <map>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "../catalog/expected.h"
#include "profilelines.h"  // the line rules, and TrimBlanks for callers that read names alike

namespace tav {

// Reading rules (cut and classified by ProfileLines): lines end at LF, CR LF or a lone CR. A
// section header is a line whose first non-blank character is "[" and that holds a "]"; its name is
// the trimmed text between the "[" and the last "]". A key line is a line of a section that holds
// "="; key and value are the trimmed texts before and after the first "=", and one pair of equal
// quotes (" or ') enclosing the value is removed. Names compare case-insensitively (ASCII letters)
// after trimming; with duplicates the first section, and the first key in it, count. A UTF-8
// byte-order mark at the start of the file is kept and otherwise ignored.
//
// Writing rules: an existing key keeps its line, which becomes the key as the file spells it, "="
// and the new value, with the line's own line ending; a new key goes after the last non-blank
// line of its section; a new section goes at the end of the file. New lines take the file's line
// ending (CR LF for a file that has none), except that lines inserted right before an LF in a file
// whose first ending is a lone CR take the ending of the line before them (a CR there would join
// the LF, and a line would vanish). Writing the value a key already has changes nothing, nothing
// is ever removed, and every other byte stays as it was. A value that would not read back
// unchanged (blanks at either end, or enclosed in a pair of equal quotes) is written in double
// quotes, so every value written reads back exactly; the byte 0x1A at either end counts as a blank
// here, since the other application's readers take it for one.
class ProfileText final {
public:
    explicit ProfileText(std::string bytes = {});
    // Not copied or moved: the section names are views into the object's own bytes.
    ProfileText(const ProfileText&) = delete;
    ProfileText& operator=(const ProfileText&) = delete;

    // The value of `key` in `section`, or nothing when the section or the key is missing.
    std::optional<std::string> Get(std::string_view section, std::string_view key) const;

    // Sets `key` in `section` to `value` and succeeds. Refuses the write, changing nothing, when
    // a section, key or value holds CR or LF (it would inject new lines), or the key could not be
    // read back (empty, holding "=", or starting with "["): the error's reason says which, and
    // its `file` is empty (the store does not know its file).
    Status Set(std::string_view section, std::string_view key, std::string_view value);

    // The document's bytes with every write applied.
    std::string Bytes() const;

    // True when no write has changed anything.
    bool Unchanged() const;

private:
    // A section of the file, or one added by Set at the end of the file. Only section headers are
    // located when the text is parsed; the lines of a section are looked at when a key of it is
    // read or written, so that large files with many sections nobody asks for stay cheap.
    struct Section {
        std::string_view name;           // trimmed name: into the bytes, or into m_newNames
        std::size_t hash = 0;            // NameHash of the name
        std::size_t bodyBegin = 0;       // first byte after the header line
        std::size_t bodyEnd = 0;         // first byte of the next header line, or the file's end
        std::vector<std::string> added;  // lines added after the section's last non-blank line
        // The key lines of the original section (NameHash of the key, first byte of the line),
        // listed when a key of the section is first looked for.
        mutable std::vector<std::pair<std::size_t, std::size_t>> keyLines;
        mutable bool keysListed = false;
        bool isNew = false;  // created by Set at the end of the file
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

    void Parse();
    void ReserveSections();
    void AddSection(std::string_view name, const ProfileLine& header);
    Section* FindSection(std::string_view name);
    const Section* FindSection(std::string_view name) const;
    std::optional<KeyRef> FindKey(const Section& section, std::string_view key) const;
    std::string_view KeyLineText(const Section& section, const KeyRef& ref) const;
    std::size_t InsertionPoint(const Section& section) const;
    std::string_view EndingAt(std::size_t at) const;
    void ListKeys(const Section& section) const;

    std::string m_bytes;
    std::vector<Section> m_sections;  // file order, then new sections in order of creation
    // The first section of each name, found by a case-insensitive hash in an open-addressing
    // table of section indexes + 1 (0: empty); no allocation per section keeps files with many
    // sections cheap to open.
    void IndexSection(std::size_t index);
    void GrowIndex(std::size_t slots);
    std::vector<std::uint32_t> m_firstSection;
    std::size_t m_indexed = 0;
    std::deque<std::string> m_newNames;  // names of sections added by Set (stable addresses)
    std::map<std::size_t, Replacement> m_replaced;  // line start -> new text
    std::string m_eol = "\r\n";
    std::size_t m_bomSize = 0;
};

// The value text to put after "=" so that reading it back gives exactly `value`.
std::string EncodeProfileValue(std::string_view value);

}  // namespace tav
