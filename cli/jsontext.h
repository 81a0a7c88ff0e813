// JSON string literals for the texts tacconf prints.
#pragma once

#include <string>
#include <string_view>

namespace tav::cli {

// `text` (UTF-8: the decoded texts of documents and catalogues) as a JSON string literal, quotes
// included. Valid UTF-8 sequences are copied as they are; a byte that is not part of one (a key
// or a file name stored in another encoding) becomes U+FFFD, so the result is always valid JSON
// and plain ASCII texts come out unchanged.
std::string JsonString(std::string_view text);

// The format every JSON output of tacconf states as "format": raised by a change that is not a
// pure addition of fields.
inline constexpr int kJsonFormat = 1;

}  // namespace tav::cli
