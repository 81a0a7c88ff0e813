// How tacconf writes texts into its outputs: as JSON literals and as tab-separated fields.
#pragma once

#include <string>
#include <string_view>

namespace tav::cli {

// `text` (UTF-8: the decoded texts of documents and catalogues) as a JSON string literal, quotes
// included. Valid UTF-8 sequences are copied as they are; a byte that is not part of one (a key
// or a file name stored in another encoding) becomes U+FFFD, so the result is always valid JSON
// and plain ASCII texts come out unchanged.
std::string JsonString(std::string_view text);

// A True/False field's value as the editor shows it ("True" or "False") as the JSON true or false.
const char* JsonBoolean(std::string_view shown);

// `text` as a field of tacconf's tab-separated outputs: tab, CR, LF and backslash written as \t,
// \r, \n and \\, so that every line splits at its tabs unambiguously.
std::string TabField(std::string_view text);

// The format every JSON output of tacconf states as "format": raised by a change that is not a
// pure addition of fields.
inline constexpr int kJsonFormat = 1;

}  // namespace tav::cli
