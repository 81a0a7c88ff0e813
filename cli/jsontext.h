// JSON string literals for the 8-bit texts of documents and catalogues.
#pragma once

#include <string>
#include <string_view>

namespace tav::cli {

// `text` as a JSON string literal, quotes included. Valid UTF-8 sequences are copied as they are;
// any other byte is taken as a character of ISO 8859-1 and written as \u00XX, so the result is
// always valid JSON and plain ASCII texts come out unchanged.
std::string JsonString(std::string_view text);

}  // namespace tav::cli
