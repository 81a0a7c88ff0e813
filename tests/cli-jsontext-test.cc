#include "cli/jsontext.h"

#include <gtest/gtest.h>

namespace {

TEST(JsonStringTest, EscapesWhatJsonRequiresAndKeepsValidUtf8) {
    const std::string kFffd = "\xEF\xBF\xBD";
    const std::pair<std::string, std::string> cases[] = {
        {"", "\"\""},
        {"plain text", "\"plain text\""},
        {"say \"hi\" \\ there", "\"say \\\"hi\\\" \\\\ there\""},
        {"tab\there\r\n", "\"tab\\there\\r\\n\""},
        {std::string("nul\0x\x1f\x7f", 7), "\"nul\\u0000x\\u001f\\u007f\""},
        {"Gr\xC3\xBC\xC3\x9F\x65 \xE2\x82\xAC \xF0\x9F\x98\x80",
         "\"Gr\xC3\xBC\xC3\x9F\x65 \xE2\x82\xAC \xF0\x9F\x98\x80\""},
        // Each byte that is not part of a valid UTF-8 sequence becomes U+FFFD.
        {"Gr\xFC\xDF", "\"Gr" + kFffd + kFffd + "\""},
        {"\xC3", "\"" + kFffd + "\""},                                      // cut sequence
        {"\xC0\xAF", "\"" + kFffd + kFffd + "\""},                          // overlong
        {"\xED\xA0\x80", "\"" + kFffd + kFffd + kFffd + "\""},              // surrogate
        {"\xF4\x90\x80\x80", "\"" + kFffd + kFffd + kFffd + kFffd + "\""},  // past U+10FFFF
    };
    for (const auto& [text, json] : cases) {
        EXPECT_EQ(tav::cli::JsonString(text), json) << text;
    }
}

}  // namespace
