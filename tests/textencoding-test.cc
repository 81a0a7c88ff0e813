#include "base/textencoding.h"

#include <gtest/gtest.h>

#include <random>
#include <string>
#include <vector>

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

// Runs of ASCII are copied in bulk: whatever ASCII stands around a sequence, and wherever it
// falls within a run of 32 or eight bytes, the sequence decodes and validates as it does alone.
TEST(TextEncodingTest, AsciiAroundASequenceChangesNothing) {
    const std::string sequences[] = {"\xC3\xA9", "\xE9", "\x80", "\xE2\x82", "a"};
    for (const TextEncoding encoding : {TextEncoding::Utf8, TextEncoding::Windows1252}) {
        for (const std::string& sequence : sequences) {
            for (std::size_t before = 0; before <= 41; before += 3) {
                const std::string head(before, 'h');
                const std::string tail(41 - before, 't');
                const std::string text = head + sequence + sequence + tail;
                const std::string alone = tav::DecodeText(sequence, encoding);
                const std::string decoded = tav::DecodeText(text, encoding);
                EXPECT_EQ(decoded, head + alone + alone + tail)
                    << testing::PrintToString(text) << " " << tav::EncodingName(encoding);
                EXPECT_EQ(tav::DecodesToItself(text, encoding), decoded == text)
                    << testing::PrintToString(text) << " " << tav::EncodingName(encoding);
                EXPECT_EQ(tav::IsValidUtf8(text), tav::IsValidUtf8(sequence))
                    << testing::PrintToString(text);
                if (encoding == TextEncoding::Windows1252) {
                    const auto back = tav::EncodeText(decoded, encoding);
                    ASSERT_TRUE(back) << testing::PrintToString(text);
                    EXPECT_EQ(*back, text);
                }
            }
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

// Settled when no later byte can change the result, fed one byte at a time.
TEST(EncodingScannerTest, SettlesOnAByteOrderMarkOrABrokenSequenceOnly) {
    struct Case {
        const char* name;
        std::string bytes;
        bool settled;
        TextEncoding result;
    };
    const Case cases[] = {
        {"byteOrderMark", "\xEF\xBB\xBF", true, TextEncoding::Utf8},
        {"brokenSequence", "k=\xE9z", true, TextEncoding::Windows1252},
        {"validSequences", "k=\xC3\xA9\xE2\x82\xAC", false, TextEncoding::Utf8},
        {"cutSequence", "k=\xE2\x82", false, TextEncoding::Windows1252},
        {"startOfAMarkOnly", "\xEF\xBB", false, TextEncoding::Windows1252},
        {"ascii", "[S]\nk=v", false, TextEncoding::Windows1252},
    };
    for (const Case& c : cases) {
        tav::EncodingScanner scanner;
        for (const char byte : c.bytes) {
            scanner.Scan(std::string_view(&byte, 1));
        }
        EXPECT_EQ(scanner.Settled(), c.settled) << c.name;
        EXPECT_EQ(scanner.Result(), c.result) << c.name;
    }
}

// The scanner's result after every piece is DecideEncoding of the bytes so far, wherever they are
// cut; once settled it is the result of the whole. Texts are made of pieces that decide (a
// byte-order mark, valid and broken sequences) cut at random, also inside a sequence.
TEST(EncodingScannerTest, AgreesWithDecideEncodingWhereverTheBytesAreCut) {
    const std::vector<std::string> pieces = {
        "[S]\r\nk=v\n",
        "\xEF\xBB\xBF",
        "\xEF\xBB",
        "\xC3\xA9",
        "\xE2\x82\xAC",
        "\xF0\x9F\x98\x80",
        "\xE9",
        "\x80",
        "\xC0\xAF",
        "\xED\xA0\x80",
        "\xF4\x90\x80\x80",
        "\xE2\x82",
        "\xC3",
        "\xF8",
        "abcdefghijklmnopqrstuvwxyz0123456789abcdefghijklmnopqrstuvwxyz"};
    std::mt19937 random(20261209);
    for (int round = 0; round < 4000; ++round) {
        std::string bytes;
        for (std::size_t n = random() % 7; n > 0; --n) {
            bytes += pieces[random() % pieces.size()];
        }
        SCOPED_TRACE(testing::PrintToString(bytes));
        tav::EncodingScanner scanner;
        std::optional<TextEncoding> settled;
        for (std::size_t at = 0; at < bytes.size();) {
            const std::size_t size = 1 + random() % (random() % 2 == 0 ? 3 : 80);
            scanner.Scan(std::string_view(bytes).substr(at, size));
            at = std::min(at + size, bytes.size());
            ASSERT_EQ(scanner.Result(), tav::DecideEncoding(bytes.substr(0, at))) << "at " << at;
            if (scanner.Settled() && !settled) {
                settled = scanner.Result();
            }
        }
        EXPECT_EQ(scanner.Result(), tav::DecideEncoding(bytes));
        if (settled) {
            EXPECT_EQ(*settled, scanner.Result()) << "a settled result stays";
        }
    }
}

}  // namespace
