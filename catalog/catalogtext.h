// The text rules both catalogue files follow: how a file is cut into lines and columns, and how
// a number column is converted.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace tav {

// Cuts a catalogue file into its non-empty lines. A line ends at LF; one CR directly before the
// LF is dropped. Empty lines (including a trailing one) are skipped, so blank lines and LF-only
// files neither lose nor invent rows. The last line needs no line ending.
std::vector<std::string_view> CatalogLines(std::string_view text);

// Takes the next comma-separated column off the front of `rest`: returns the text before the
// first comma and leaves the text after it in `rest`. Without a comma the column is the whole
// of `rest`, which becomes empty.
std::string_view TakeColumn(std::string_view& rest);

// Takes a one-character flag column: returns the first character of `rest` (0 when empty) and
// drops the first two characters, whatever they are: the character after the flag is taken to be
// the separating comma without being looked at.
char TakeFlagColumn(std::string_view& rest);

// Leading decimal number of `text`: optional white space, an optional sign, then digits up to the
// first other character; no digits gives 0. Returns the low 16 bits of the value
// (70000 gives 4464, -1 gives 65535).
std::uint16_t LeadingNumber16(std::string_view text);

}  // namespace tav
