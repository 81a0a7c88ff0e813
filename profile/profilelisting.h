// A listing of the section and key lines of an INI-layout document, cut and classified by the
// same rules (ProfileLines) as ProfileText. ProfileText answers for one key at a time; tools that
// must see everything a document holds (keys no catalogue describes, repeated sections and keys,
// lines every reader skips) use this listing instead, and still read values through ProfileText.
#pragma once

#include <cstddef>
#include <deque>
#include <functional>
#include <string>
#include <string_view>
#include <vector>

namespace tav {

// One key line: a line of a section that holds "=".
struct ListedKey {
    std::string_view name;        // trimmed text before the first "="
    std::string_view storedText;  // the line's text after the first "=", untrimmed
    std::size_t line = 0;         // 1-based line number

    // What readers take from the line: ProfileValueOf(storedText). Worked out when asked, so that
    // a section of a million keys holds 40 bytes a key.
    std::string_view Value() const;
};

// One section header line and the key lines up to the next header.
struct ListedSection {
    std::string_view name;        // trimmed text between the "[" and the last "]"
    std::size_t line = 0;         // 1-based line number of the header
    std::size_t at = 0;           // where the header line starts in the bytes
    // In file order, repeated keys included; a deque, so that a section of a million keys grows
    // without a copy of them all at twice the size.
    std::deque<ListedKey> keys;
    // How many byte-identical copies of the header line follow it at once as sections of their
    // own with no key lines (lines line + 1 ... line + emptyCopies), as a broken generator writes
    // millions of: WalkProfile hands such a run over in one call. ListProfile lists each copy.
    std::size_t emptyCopies = 0;
};

// A non-blank line that is neither a header nor a key line of a section; readers skip it.
struct SkippedLine {
    std::string_view text;
    std::size_t line = 0;
    bool beforeFirstSection = false;  // a line before any header (even one holding "=")
};

struct ProfileListing {
    std::vector<ListedSection> sections;  // in file order, repeated sections included
    std::vector<SkippedLine> skipped;     // comment lines included
};

// Walks the listing of `bytes` in file order without keeping it: `section` gets each section once
// its key lines are known (in an object that is reused: what must outlive the call is copied),
// `skipped` each skipped line. Views point into `bytes`. Memory stays that of one section.
void WalkProfile(std::string_view bytes, const std::function<void(const ListedSection&)>& section,
                 const std::function<void(const SkippedLine&)>& skipped);

// Lists `bytes`, in views into them (they must outlive the listing): lines end at LF, CR LF or a
// lone CR; a UTF-8 byte-order mark at the start is ignored; a header is a line whose first
// non-blank character is "[" and that holds a "]".
ProfileListing ListProfile(std::string_view bytes);

}  // namespace tav
