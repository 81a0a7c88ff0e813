#include "document/textencoding.h"

#include <gtest/gtest.h>

#include <string>

namespace {

using tav::TextEncoding;

TEST(TextEncodingTest, TheEncodingIsDecidedFromTheBytes) {
    struct Case {
        const char* name;
        std::string bytes;
        TextEncoding decided;
        bool mixed;
    };
    const Case cases[] = {
        {"empty", "", TextEncoding::Windows1252, false},
        {"ascii", "[S]\r\nk=v\r\n", TextEncoding::Windows1252, false},
        {"utf8", "k=Caf\xC3\xA9", TextEncoding::Utf8, false},
        {"codePage", "k=Caf\xE9 B\xFCro", TextEncoding::Windows1252, false},
        {"bomWins", "\xEF\xBB\xBFk=\xE9", TextEncoding::Utf8, true},
        {"both", "a=\xC3\xA9\nb=\xE9", TextEncoding::Windows1252, true},
        {"overlong", "k=\xC0\xAF", TextEncoding::Windows1252, false},
        {"surrogate", "k=\xED\xA0\x80", TextEncoding::Windows1252, false},
        {"pastUnicode", "k=\xF4\x90\x80\x80", TextEncoding::Windows1252, false},
        {"cutShort", "k=\xE2\x82", TextEncoding::Windows1252, false},
        {"fourBytes", "k=\xF0\x9F\x98\x80", TextEncoding::Utf8, false},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(tav::DecideEncoding(c.bytes), c.decided) << c.name;
        EXPECT_EQ(tav::MixesEncodings(c.bytes), c.mixed) << c.name;
    }
}

TEST(TextEncodingTest, EveryCodePageByteDecodesAndEncodesBack) {
    std::string all;
    for (int b = 0; b < 256; ++b) {
        all += static_cast<char>(b);
    }
    const std::string text = tav::DecodeText(all, TextEncoding::Windows1252);
    EXPECT_TRUE(tav::IsValidUtf8(text));
    const auto back = tav::EncodeText(text, TextEncoding::Windows1252);
    ASSERT_TRUE(back);
    EXPECT_EQ(*back, all);
    EXPECT_EQ(tav::DecodeText("\x80\x81\x9F\xE9", TextEncoding::Windows1252),
              "\xE2\x82\xAC\xC2\x81\xC5\xB8\xC3\xA9");  // €, U+0081, Ÿ, é
}

TEST(TextEncodingTest, WhatAnEncodingCannotHoldIsRefusedByName) {
    struct Case {
        const char* name;
        std::string text;
        TextEncoding encoding;
        const char* refusal;  // nullptr: stored
        std::string stored;
    };
    const Case cases[] = {
        {"euroInCodePage", "5 \xE2\x82\xAC", TextEncoding::Windows1252, nullptr, "5 \x80"},
        {"omegaInCodePage", "\xCE\xA9", TextEncoding::Windows1252,
         "\"\xCE\xA9\" (U+03A9) cannot be stored", ""},
        {"controlNamedByNumber", "\xC2\x85", TextEncoding::Windows1252, "U+0085 cannot", ""},
        {"omegaInUtf8", "\xCE\xA9", TextEncoding::Utf8, nullptr, "\xCE\xA9"},
        {"notUtf8", "\xE9", TextEncoding::Utf8, "not valid UTF-8", ""},
    };
    for (const Case& c : cases) {
        const auto encoded = tav::EncodeText(c.text, c.encoding);
        if (c.refusal == nullptr) {
            ASSERT_TRUE(encoded) << c.name << ": " << encoded.Error().reason;
            EXPECT_EQ(*encoded, c.stored) << c.name;
        } else {
            ASSERT_FALSE(encoded) << c.name;
            EXPECT_NE(encoded.Error().reason.find(c.refusal), std::string::npos)
                << c.name << ": " << encoded.Error().reason;
        }
    }
}

TEST(TextEncodingTest, BrokenUtf8ShowsReplacementCharactersAndNamesParse) {
    EXPECT_EQ(tav::DecodeText("a\xE9z", TextEncoding::Utf8), "a\xEF\xBF\xBDz");
    EXPECT_EQ(tav::EncodingNamed("UTF-8"), TextEncoding::Utf8);
    EXPECT_EQ(tav::EncodingNamed("cp1252"), TextEncoding::Windows1252);
    EXPECT_EQ(tav::EncodingNamed("latin1"), std::nullopt);
    EXPECT_STREQ(tav::EncodingName(TextEncoding::Windows1252), "windows-1252");
}

}  // namespace
