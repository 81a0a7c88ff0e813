// The rules of how a document stores what the editor shows: booleans, Order lists and the
// replacement list. Reading, saving, the command line and the checks all use these, so each rule
// is written once.
#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace tav {

// --- Booleans ("B" fields) ---

inline constexpr std::string_view kTrueText = "True";
inline constexpr std::string_view kFalseText = "False";

// How a stored boolean shows: "True" when the stored text starts with "1", else "False".
std::string ShownBoolean(std::string_view stored);

// How a shown boolean is stored: "1" for "True", "0" for anything else.
std::string StoredBoolean(std::string_view shown);

// True for exactly "True" or "False", the only values a boolean field takes.
bool IsBooleanText(std::string_view text);

// --- Order lists (the "Order" key of an ordered section) ---

inline constexpr std::string_view kOrderKey = "Order";

// The comma-separated items of an Order list; an empty list has none, empty items are kept.
std::vector<std::string> OrderListItems(std::string_view list);

// The place of `key` in `list` as the editor reads it: 1 + the index of the first item that
// equals `key` exactly, or 1 when no item does.
std::uint16_t PositionInOrderList(std::string_view list, std::string_view key);

// --- The replacement list (keys r0, r1, ... of the "SR" section) ---

// A replacement entry: commas in both texts as they are. ConfigDocument::Entry gives it as
// UTF-8, Entries as stored in the document's encoding.
struct ReplacementEntry {
    std::string from;
    std::string to;
    bool operator==(const ReplacementEntry&) const = default;
};

// The key of entry `n`: "r" followed by the character 48 + n ("r0" ... "r9", "r:", ... "r<").
std::string ReplacementKey(std::size_t n);

// The number n of an entry key: "r" (or "R", as names ignore case) followed by the character
// 48 + n, or by n in two decimal digits from 10 on ("r10" is "r:"); nothing for any other key.
// Numbers past the list's capacity are returned as they are.
std::optional<std::size_t> ReplacementEntryNumber(std::string_view key);

// The stored form of an entry: the from-text with every comma written as "\044", a comma, then
// the to-text as it is.
std::string ReplacementEntryText(std::string_view from, std::string_view to);

// The from-text and to-text of a stored entry ("\044" turned back into commas), or nothing for a
// text without a comma, which ends the list.
std::optional<std::pair<std::string, std::string>> ParseReplacementEntry(std::string_view text);

// Why `from` cannot be stored as a from-text, or nothing: the four characters \044 would read back
// as a comma, since that is how a stored from-text writes its commas.
std::optional<std::string> FromTextProblem(std::string_view from);

// The warning of a read that loaded the entries before `key` of section `section` only, the field
// table having no room for more.
std::string UnloadedEntriesWarning(std::string_view section, std::string_view key);

// How many entries a document can hold when its table has `catalogueRows` catalogue rows:
// the list's own limit of 13, or fewer when the table of 128 rows has less room.
std::size_t ReplacementRoom(std::size_t catalogueRows);

}  // namespace tav
