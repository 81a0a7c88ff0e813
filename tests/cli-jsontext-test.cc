#include "cli/jsontext.h"

#include <gtest/gtest.h>

namespace {

TEST(JsonStringTest, EscapesWhatJsonRequiresAndKeepsValidUtf8) {
    const std::pair<std::string, std::string> cases[] = {
        {"", "\"\""},
        {"plain text", "\"plain text\""},
        {"say \"hi\" \\ there", "\"say \\\"hi\\\" \\\\ there\""},
        {"tab\there\r\n", "\"tab\\there\\r\\n\""},
        {std::string("nul\0x\x1f\x7f", 7), "\"nul\\u0000x\\u001f\\u007f\""},
        {"Gr\xC3\xBC\xC3\x9F\x65 \xE2\x82\xAC \xF0\x9F\x98\x80",
         "\"Gr\xC3\xBC\xC3\x9F\x65 \xE2\x82\xAC \xF0\x9F\x98\x80\""},
        // Bytes that start no valid UTF-8 sequence are taken as ISO 8859-1.
        {"Gr\xFC\xDF", "\"Gr\\u00fc\\u00df\""},
        {"\xC3", "\"\\u00c3\""},                                   // cut sequence
        {"\xC0\xAF", "\"\\u00c0\\u00af\""},                        // overlong
        {"\xED\xA0\x80", "\"\\u00ed\\u00a0\\u0080\""},             // surrogate
        {"\xF4\x90\x80\x80", "\"\\u00f4\\u0090\\u0080\\u0080\""},  // past U+10FFFF
    };
    for (const auto& [text, json] : cases) {
        EXPECT_EQ(tav::cli::JsonString(text), json) << text;
    }
}

}  // namespace
