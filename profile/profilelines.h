// The line rules of INI-layout documents, in one place: how the bytes are cut into lines and what
// a line is. ProfileText (what the editor and `tacconf set` read and write), ProfileLookup (the
// keys `tacconf get` looks up in a file read piece by piece) and ListProfile (every line, for
// `tacconf check`) all read through these, so that no two of them can disagree about
// what a document holds.
#pragma once

#include <cstddef>
#include <optional>
#include <string_view>

namespace tav {

// Where one line lies in the bytes it was cut from.
struct ProfileLine {
    std::size_t begin = 0;    // first byte of the text
    std::size_t textEnd = 0;  // first byte of the line ending, or the end of the bytes
    std::size_t next = 0;     // first byte of the next line, or the end of the bytes
};

// Cuts a document into lines: a line ends at LF, CR LF or a lone CR; a UTF-8 byte-order mark at
// the start belongs to no line. Holds a view: the bytes must outlive it. Cheap to make, so callers
// make one where they need it instead of keeping one next to the bytes.
class ProfileLines final {
public:
    explicit ProfileLines(std::string_view bytes);

    // 3 when the bytes start with a UTF-8 byte-order mark, else 0: where the first line starts.
    std::size_t BomSize() const;

    // The line starting at `begin`, which must be a line start (BomSize() or the `next` of a line)
    // before the end of the bytes. Every line is walked from BomSize() on, through each `next`,
    // while it is below the size of the bytes.
    ProfileLine At(std::size_t begin) const;

    // The text end of the line holding byte `from`: the first CR or LF at or after `from`, or the
    // end of the bytes.
    std::size_t TextEnd(std::size_t from) const;

    // Where the line whose text ends at `textEnd` is followed by the next: after its CR LF, CR or
    // LF; the end of the bytes when `textEnd` is there.
    std::size_t Next(std::size_t textEnd) const;

    // True when a line starts at byte `at` (`at` <= the size): right after the byte-order mark, or
    // after a line ending (not between the CR and the LF of a CR LF).
    bool IsLineStart(std::size_t at) const;

    // The text of `line`, without its ending.
    std::string_view Text(const ProfileLine& line) const;

private:
    std::string_view m_bytes;
    std::size_t m_bomSize = 0;
};

// The parts of a key line.
struct ProfileKeyLine {
    std::string_view key;         // trimmed text before the first "="
    std::string_view storedText;  // the text after the first "=", untrimmed
};

// The name of a header line, or nothing when `text` is not one. A header's first non-blank
// character is "[" and it holds a "]"; its name is the trimmed text between the "[" and the last
// "]" (a header's text after that "]" is ignored).
std::optional<std::string_view> ProfileHeaderName(std::string_view text);

// The parts of `text` read as a key line, or nothing when it holds no "=". Only the lines of a
// section that are not headers are key lines: the caller knows where the line stands.
std::optional<ProfileKeyLine> ProfileKeyLineParts(std::string_view text);

// The value a reader sees in a key line's stored text: trimmed, then one pair of equal quotes
// (" or ') enclosing it removed, then cut at its first NUL byte (the other application's readers
// hand values out as C strings, so nothing after a NUL reaches them).
std::string_view ProfileValueOf(std::string_view storedText);

// True when `value` is enclosed in a pair of equal quotes that a reader would remove.
bool EnclosedInQuotes(std::string_view value);

// True for the blanks that trimming removes: space, tab, vertical tab, form feed and the
// end-of-file byte 0x1A, which the other application's readers take for a blank. The same blanks
// count wherever blanks do: around names and values, and before the "[" of a header.
bool IsProfileBlank(char c);

// Trims blanks (see IsProfileBlank) from both ends.
std::string_view TrimBlanks(std::string_view text);

// Where the run of whole copies of the line `line` (its ending included) that starts at `from` in
// `bytes` ends (`from` itself when there is none): a run of one header line, as a broken generator
// writes millions of, is passed over in a few long comparisons. Only a line that ends in LF makes
// a run: a lone CR could be the first half of the next line's CR LF.
std::size_t EndOfRepeats(std::string_view bytes, std::size_t from, std::string_view line);

}  // namespace tav
