#include "profile/profiletext.h"

#include <gtest/gtest.h>

#include <optional>
#include <random>
#include <string>
#include <vector>

#include "profile/profilelookup.h"
#include "testutil.h"

namespace {

using namespace std::string_literals;
using namespace std::string_view_literals;
using tav::ProfileText;

struct ReadCase {
    const char* name;
    std::string file;
    const char* section;
    const char* key;
    std::optional<std::string> value;
};

class ProfileReadTest : public testing::TestWithParam<ReadCase> {};

TEST_P(ProfileReadTest, ReadsAsTheProfileServicesDo) {
    const ReadCase& c = GetParam();
    EXPECT_EQ(ProfileText(c.file).Get(c.section, c.key), c.value);
    // The look-up that reads a file in pieces reads alike, also a byte at a time.
    std::mt19937 random(1);
    for (const std::size_t chunkSize : {1, 4096}) {
        tav::ProfileLookup lookup(tavtest::RandomPieces(c.file, random), nullptr, chunkSize);
        const auto found = lookup.Find({tav::ProfileKey{c.section, c.key}});
        ASSERT_TRUE(found);
        EXPECT_EQ(*found, std::vector{c.value}) << chunkSize << " bytes at a time";
    }
}

INSTANTIATE_TEST_SUITE_P(
    Cases, ProfileReadTest,
    testing::Values(
        ReadCase{"plain", "[S]\r\nk=v\r\n", "S", "k", "v"},
        ReadCase{"missingSection", "[S]\r\nk=v\r\n", "T", "k", std::nullopt},
        ReadCase{"missingKey", "[S]\r\nk=v\r\n", "S", "x", std::nullopt},
        ReadCase{"emptyValue", "[S]\r\nk=\r\n", "S", "k", ""},
        ReadCase{"caseInsensitiveNames", "[General]\nBeep=1\n", "GENERAL", "beep", "1"},
        ReadCase{"trimmed", "[ S ]\n \t k \t=\t v w \n", "S", "k", "v w"},
        ReadCase{"doubleQuotesRemoved", "[S]\nk=\" v \"\n", "S", "k", " v "},
        ReadCase{"singleQuotesRemoved", "[S]\nk='v'\n", "S", "k", "v"},
        ReadCase{"unequalQuotesKept", "[S]\nk=\"v'\n", "S", "k", "\"v'"},
        ReadCase{"onlyOnePairRemoved", "[S]\nk=\"\"v\"\"\n", "S", "k", "\"v\""},
        ReadCase{"valueAfterFirstEquals", "[S]\nk=a=b\n", "S", "k", "a=b"},
        ReadCase{"lfOnly", "[S]\nk=v", "S", "k", "v"},
        ReadCase{"crOnly", "[S]\rk=v\rj=w\r", "S", "j", "w"},
        ReadCase{"textAfterBracketIgnored", "[S] ; note\nk=v\n", "S", "k", "v"},
        ReadCase{"nameToLastBracket", "[a]b]\nk=v\n", "a]b", "k", "v"},
        ReadCase{"bracketWithoutCloseIsKeyLine", "[S]\n[x=1\n", "S", "[x", "1"},
        ReadCase{"linesBeforeHeaderBelongNowhere", "k=v\n[S]\n", "", "k", std::nullopt},
        ReadCase{"firstDuplicateSectionWins", "[S]\nk=1\n[s]\nk=2\nj=3\n", "S", "j", std::nullopt},
        ReadCase{"firstDuplicateKeyWins", "[S]\nk=1\nK=2\n", "S", "k", "1"},
        ReadCase{"commentLineWithoutEquals", "[S]\n; k\nk=v\n", "S", "k", "v"},
        ReadCase{"bomIgnoredForHeader", "\xEF\xBB\xBF[S]\r\nk=v\r\n", "S", "k", "v"},
        ReadCase{"indentedHeader", "  [S]\nk=v\n", "S", "k", "v"},
        ReadCase{"nulEndsValue", "[S]\nTitle=Shop\0old\n"s, "S", "Title", "Shop"},
        ReadCase{"nulCutAfterQuotesGo", "[S]\nk=\"a\0b\"\n"s, "S", "k", "a"},
        ReadCase{"blankBeforeNulStays", "[S]\nk= a \0b\n"s, "S", "k", "a "},
        ReadCase{"ctrlZAroundValueIsBlank", "[S]\nTitle=\x1AShop\x1A\n", "S", "Title", "Shop"},
        ReadCase{"ctrlZInsideValueKept", "[S]\nk=a\x1A-\n", "S", "k", "a\x1A-"},
        ReadCase{"ctrlZAfterKeyIsBlank", "[S]\nTitle\x1A=v\n", "S", "Title", "v"},
        ReadCase{"ctrlZAroundSectionNameIsBlank", "[\x1AInfo\x1A]\nk=v\n", "Info", "k", "v"},
        ReadCase{"ctrlZBeforeHeaderIsBlank", "[T]\n\x1A[S]\nk=v\n", "S", "k", "v"}),
    [](const auto& info) { return std::string(info.param.name); });

struct WriteCase {
    const char* name;
    std::string before;
    const char* section;
    const char* key;
    const char* value;
    std::string after;
};

class ProfileWriteTest : public testing::TestWithParam<WriteCase> {};

TEST_P(ProfileWriteTest, WritesKeyByKeyKeepingOtherBytes) {
    const WriteCase& c = GetParam();
    ProfileText text(c.before);
    ASSERT_TRUE(text.Set(c.section, c.key, c.value));
    EXPECT_EQ(text.Bytes(), c.after);
    EXPECT_EQ(ProfileText(text.Bytes()).Get(c.section, c.key), c.value);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, ProfileWriteTest,
    testing::Values(
        WriteCase{"newFile", "", "S", "k", "v", "[S]\r\nk=v\r\n"},
        WriteCase{"existingKeyKeepsItsLineAndEnding", "[S]\r\n  Key = old ; x\nz=1\r\n", "s", "KEY",
                  "new", "[S]\r\nKey=new\nz=1\r\n"},
        WriteCase{"sameValueChangesNothing", "[S]\r\n  k =  v  \r\n", "S", "k", "v",
                  "[S]\r\n  k =  v  \r\n"},
        WriteCase{"newKeyAfterLastNonBlankLine", "[S]\r\na=1\r\n\r\n[T]\r\n", "S", "b", "2",
                  "[S]\r\na=1\r\nb=2\r\n\r\n[T]\r\n"},
        WriteCase{"newKeyInLastSectionWithoutEnding", "[S]\na=1", "S", "b", "2", "[S]\na=1\nb=2\n"},
        WriteCase{"newSectionAtEndAddsMissingEnding", "[S]\na=1", "T", "b", "2",
                  "[S]\na=1\n[T]\nb=2\n"},
        WriteCase{"newSectionAfterComments", "; top\r\n", "S", "k", "", "; top\r\n[S]\r\nk=\r\n"},
        WriteCase{"crOnlyFileKeepsCr", "[S]\ra=1\r", "S", "b", "2", "[S]\ra=1\rb=2\r"},
        WriteCase{"bomKept", "\xEF\xBB\xBF[S]\r\nk=1\r\n", "S", "k", "2",
                  "\xEF\xBB\xBF[S]\r\nk=2\r\n"},
        WriteCase{"leadingBlankQuoted", "", "S", "k", " v", "[S]\r\nk=\" v\"\r\n"},
        WriteCase{"enclosingQuotesQuoted", "", "S", "k", "'v'", "[S]\r\nk=\"'v'\"\r\n"},
        WriteCase{"loneQuoteNotQuoted", "", "S", "k", "\"v", "[S]\r\nk=\"v\r\n"},
        WriteCase{"secondDuplicateSectionUntouched", "[S]\nk=1\n[S]\nk=2\n", "S", "k", "3",
                  "[S]\nk=3\n[S]\nk=2\n"},
        // A lone CR written before an LF would join it into one ending, and a line would vanish.
        WriteCase{"crFileNewKeyBeforeEmptyLfLine", "[S]\rk=1\n\n", "S", "n", "2",
                  "[S]\rk=1\nn=2\n\n"},
        WriteCase{"crFileNewKeyBeforeLfAfterCrLf", "[S]\rk=1\r\n\n[T]\r", "S", "n", "2",
                  "[S]\rk=1\r\nn=2\r\n\n[T]\r"},
        WriteCase{"ctrlZAtEitherEndQuoted", "", "S", "k",
                  "\x1A"
                  "v\x1A",
                  "[S]\r\nk=\"\x1A"
                  "v\x1A\"\r\n"},
        WriteCase{"keyWithCtrlZKeepsItsLine", "[S]\r\nTitle\x1A=old\r\n", "S", "Title", "new",
                  "[S]\r\nTitle=new\r\n"},
        WriteCase{"valueReadBeforeNulChangesNothing", "[S]\nk=v\0old\n"s, "S", "k", "v",
                  "[S]\nk=v\0old\n"s}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(ProfileWriteRefusalTest, UnreadableKeysAndValuesAreRefusedAndNothingChanges) {
    const std::string before = "[S]\r\nk=v\r\n";
    struct Refused {
        const char* section;
        const char* key;
        std::string_view value;
        const char* because;
    };
    const Refused cases[] = {
        {"S", "k", "a\r\n[Evil]\r\nx=1", "value of the key \"k\" of section [S] holds a line"},
        {"S", "k", "a\nb", "holds a line break"},
        {"S", "k\n", "v", "holds a line break"},
        {"S\r", "k", "v", "holds a line break"},
        {"S", "", "v", "cannot be stored"},
        {"S", "  ", "v", "cannot be stored"},
        {"S", "\x1A", "v", "cannot be stored"},
        {"S", "a=b", "v", "cannot be stored"},
        {"S", "[x]", "v", "cannot be stored"},
        {"S", "k", "a\0b"sv, "holds a NUL byte: readers would take only the text before it"},
    };
    for (const auto& c : cases) {
        ProfileText text(before);
        const tav::Status refused = text.Set(c.section, c.key, c.value);
        ASSERT_FALSE(refused) << c.key;
        EXPECT_NE(refused.Error().reason.find(c.because), std::string::npos)
            << refused.Error().reason;
        // The store knows no file: the message is the reason alone, for the caller to place.
        EXPECT_EQ(refused.Error().file, "") << c.key;
        EXPECT_EQ(refused.Error().Message(), refused.Error().reason) << c.key;
        EXPECT_EQ(text.Bytes(), before);
        EXPECT_TRUE(text.Unchanged());
    }
}

TEST(ProfileWriteTest, LaterWritesFindKeysAndSectionsAddedEarlier) {
    ProfileText text("[S]\r\n");
    ASSERT_TRUE(text.Set("S", "a", "1"));
    ASSERT_TRUE(text.Set("T", "b", "2"));
    ASSERT_TRUE(text.Set("s", "A", "3"));
    ASSERT_TRUE(text.Set("t", "B", "4"));
    ASSERT_TRUE(text.Set("T", "c", "5"));
    EXPECT_EQ(text.Bytes(), "[S]\r\na=3\r\n[T]\r\nb=4\r\nc=5\r\n");
}

// A section of a name seen before is not the section (readers see the first only): reads and
// writes go to the first, and a key added there lands before the repeated one, however many
// repeats follow and however they are spelt.
TEST(ProfileWriteTest, RepeatedSectionsLeaveReadsAndWritesToTheFirst) {
    struct Case {
        const char* name;
        std::string bytes;
        std::string expected;  // after Set(S, a, 9) and Set(S, new, 1)
    };
    const Case cases[] = {
        {"runOfRepeats", "[S]\na=1\n[S]\na=2\n[S]\n[S]\nb=3\n",
         "[S]\na=9\nnew=1\n[S]\na=2\n[S]\n[S]\nb=3\n"},
        {"otherSpelling", "[S]\na=1\n\n[ s ]\na=2\n[T]\n", "[S]\na=9\nnew=1\n\n[ s ]\na=2\n[T]\n"},
        {"repeatBetween", "[S]\na=1\n[T]\n[S]\na=2\n[T]\nt=1\n",
         "[S]\na=9\nnew=1\n[T]\n[S]\na=2\n[T]\nt=1\n"},
        {"firstIsEmpty", "[S]\n[S]\na=2\n", "[S]\na=9\nnew=1\n[S]\na=2\n"},
    };
    for (const Case& c : cases) {
        ProfileText text(c.bytes);
        EXPECT_EQ(text.Get("s", "a"), c.name == std::string("firstIsEmpty")
                                          ? std::nullopt
                                          : std::optional<std::string>("1"))
            << c.name;
        ASSERT_TRUE(text.Set("S", "a", "9")) << c.name;
        ASSERT_TRUE(text.Set("S", "new", "1")) << c.name;
        EXPECT_EQ(text.Bytes(), c.expected) << c.name;
        EXPECT_EQ(text.FirstSectionAt("S"), 0u) << c.name;
    }
}

// Many sections, with duplicate names and names added by writes, stay findable: the first section
// of a name counts, also after the index has grown for the added ones.
TEST(ProfileWriteTest, ManySectionsAndAddedOnesAreFoundByName) {
    std::string bytes;
    for (int s = 0; s < 3000; ++s) {
        bytes += "[S" + std::to_string(s % 2000) + "]\nk=" + std::to_string(s) + "\n";
    }
    ProfileText text(bytes);
    ASSERT_EQ(text.FileSectionCount(), 2000u) << "only the first section of a name counts";
    for (std::size_t s = 0; s < 3000; s += 37) {
        const std::string header = "[S" + std::to_string(s % 2000) + "]";
        const std::size_t first = bytes.find(header + "\n");
        EXPECT_EQ(text.FirstSectionAt(header.substr(1, header.size() - 2)), first) << s;
        if (s < 2000) {
            EXPECT_EQ(text.SectionHeaderAt(s), first) << s;
        }
    }
    for (int s = 0; s < 500; ++s) {
        ASSERT_TRUE(text.Set("New" + std::to_string(s), "k", std::to_string(s)));
    }
    for (int s = 0; s < 2000; s += 7) {
        EXPECT_EQ(text.Get("s" + std::to_string(s), "K"), std::to_string(s)) << s;
    }
    for (int s = 0; s < 500; s += 7) {
        EXPECT_EQ(text.Get("new" + std::to_string(s), "k"), std::to_string(s)) << s;
    }
    EXPECT_EQ(text.Get("S2000", "k"), std::nullopt);
    const ProfileText reread(text.Bytes());
    EXPECT_EQ(reread.Get("New499", "k"), "499");
    EXPECT_EQ(reread.Get("S1999", "k"), "1999");
}

// Random values (bytes other than CR, LF and NUL; blanks, 0x1A and quotes at the ends included)
// written into a random mix of existing and new keys read back exactly, and every untouched line
// stays put.
TEST(ProfileRoundTripTest, RandomValuesReadBackExactly) {
    std::mt19937 random(20261207);
    const std::string alphabet =
        std::string(" \t\v\f\"'=[];,\\#x") + "\x01\x7f\x80\xff\x1A" + "abcXYZ";
    auto randomText = [&](std::size_t maxLength) {
        std::string text;
        const std::size_t length = random() % (maxLength + 1);
        for (std::size_t i = 0; i < length; ++i) {
            text += alphabet[random() % alphabet.size()];
        }
        return text;
    };
    const std::string base =
        "; header comment\r\n[One]\r\nkeep=this line\r\nk0=old\r\n\r\n[Two]\r\n; note\r\nk1=x\r\n";
    for (int round = 0; round < 300; ++round) {
        ProfileText text(base);
        std::vector<std::tuple<std::string, std::string, std::string>> written;
        for (int w = 0; w < 6; ++w) {
            const std::string section =
                std::vector<std::string>{"One", "Two", "Three"}[random() % 3];
            const std::string key = "k" + std::to_string(random() % 4);
            const std::string value = randomText(12);
            ASSERT_TRUE(text.Set(section, key, value));
            std::erase_if(written, [&](const auto& t) {
                return std::get<0>(t) == section && std::get<1>(t) == key;
            });
            written.emplace_back(section, key, value);
        }
        const ProfileText reread(text.Bytes());
        for (const auto& [section, key, value] : written) {
            EXPECT_EQ(reread.Get(section, key), value) << section << "." << key;
        }
        const std::string bytes = text.Bytes();
        EXPECT_EQ(bytes.rfind("; header comment\r\n[One]\r\nkeep=this line\r\n", 0), 0u);
        EXPECT_NE(bytes.find("\r\n[Two]\r\n; note\r\n"), std::string::npos);
        EXPECT_EQ(reread.Get("One", "keep"), "this line");
    }
}

}  // namespace
