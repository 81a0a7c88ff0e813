#include "profile/profilelines.h"

#include <gtest/gtest.h>

#include <optional>
#include <random>
#include <set>
#include <string>
#include <vector>

#include "profile/profilelisting.h"
#include "profile/profiletext.h"

#include "profileoracle.h"

namespace {

using namespace std::string_literals;
using tav::ProfileLines;

const std::string kBom = "\xEF\xBB\xBF";

// "text|ending" for each line, and checks that lines start exactly where IsLineStart says.
std::vector<std::string> Cut(const std::string& bytes) {
    const ProfileLines lines(bytes);
    std::vector<std::string> out;
    std::set<std::size_t> starts;
    for (std::size_t at = lines.BomSize(); at < bytes.size();) {
        const tav::ProfileLine line = lines.At(at);
        out.push_back(std::string(lines.Text(line)) + "|" +
                      bytes.substr(line.textEnd, line.next - line.textEnd));
        starts.insert(at);
        at = line.next;
    }
    for (std::size_t at = 0; at < bytes.size(); ++at) {
        EXPECT_EQ(lines.IsLineStart(at), starts.count(at) == 1) << "at byte " << at;
    }
    return out;
}

struct CutCase {
    const char* name;
    std::string bytes;
    std::vector<std::string> lines;
};

class ProfileLinesCutTest : public testing::TestWithParam<CutCase> {};

TEST_P(ProfileLinesCutTest, CutsAtEveryLineEnding) {
    EXPECT_EQ(Cut(GetParam().bytes), GetParam().lines);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, ProfileLinesCutTest,
    testing::Values(CutCase{"empty", "", {}}, CutCase{"bomOnly", kBom, {}},
                    CutCase{"lf", "a\nb\n", {"a|\n", "b|\n"}},
                    CutCase{"crLfThenNoEnding", "a\r\nb", {"a|\r\n", "b|"}},
                    CutCase{"loneCr", "a\rb\r", {"a|\r", "b|\r"}},
                    CutCase{"crBeforeCrLf", "a\r\r\nb", {"a|\r", "|\r\n", "b|"}},
                    CutCase{"lfThenCrIsTwoEndings", "a\n\rb", {"a|\n", "|\r", "b|"}},
                    CutCase{"blankLines", "\n \n", {"|\n", " |\n"}},
                    CutCase{"bomBeforeFirstLine", kBom + "[S]\r\n", {"[S]|\r\n"}},
                    CutCase{"laterBomIsText", "a\n" + kBom, {"a|\n", kBom + "|"}},
                    CutCase{"partialBomIsText", "\xEF\xBBx", {"\xEF\xBBx|"}}),
    [](const auto& info) { return std::string(info.param.name); });

// "[name]" for a header, "key|stored|value" for a key line, "-" for any other line.
std::string Classify(std::string_view text) {
    if (const auto name = tav::ProfileHeaderName(text)) {
        return "[" + std::string(*name) + "]";
    }
    if (const auto keyLine = tav::ProfileKeyLineParts(text)) {
        return std::string(keyLine->key) + "|" + std::string(keyLine->storedText) + "|" +
               std::string(tav::ProfileValueOf(keyLine->storedText));
    }
    return "-";
}

TEST(ProfileLinesClassifyTest, HeadersKeyLinesAndValues) {
    const std::pair<std::string, std::string> cases[] = {
        {"[S]", "[S]"},
        {" \t[ S ] ; note", "[S]"},
        {"\f\v[S]\v", "[S]"},
        {"[a]b] x", "[a]b]"},
        {"[]", "[]"},
        {"[a=b]", "[a=b]"},
        {"[S", "-"},
        {"][", "-"},
        {"x[S]", "-"},
        {"x[S]=1", "x[S]|1|1"},
        {"[x=1", "[x|1|1"},
        {"; c=3", "; c|3|3"},
        {" \tk v \t= a b ", "k v| a b |a b"},
        {"=v", "|v|v"},
        {"k=a=b", "k|a=b|a=b"},
        {"k=\" v \"", "k|\" v \"| v "},
        {"k= 'v' ", "k| 'v' |v"},
        {"k=\"v'", "k|\"v'|\"v'"},
        {"k=\"", "k|\"|\""},
        {"k=''", "k|''|"},
        {"k=\"\"v\"\"", "k|\"\"v\"\"|\"v\""},
        {" \t", "-"},
        {"\x1A[\x1AS\x1A]", "[S]"},
        {"\x1Ak\x1A=\x1A'v'\x1A", "k|\x1A'v'\x1A|v"},
        {"k=\" a \0\"b\""s, "k|\" a \0\"b\"| a "s},
    };
    for (const auto& [text, expected] : cases) {
        EXPECT_EQ(Classify(text), expected) << testing::PrintToString(text);
    }
}

// The first section of each name in the listing, and the first key of each name in it, read
// through ProfileText with the same value; names the listing lacks hold no listed key there.
void ExpectStoreAgreesWithListing(const std::string& bytes) {
    const tav::ProfileText text(bytes);
    std::set<std::string> sections;
    std::set<std::string> keyNames;
    for (const tav::ListedSection& section : tav::ListProfile(bytes).sections) {
        std::set<std::string> keys;
        const bool first = sections.insert(tavtest::OracleName(section.name)).second;
        for (const tav::ListedKey& key : section.keys) {
            keyNames.emplace(key.name);
            EXPECT_EQ(key.Value(), tavtest::ReaderValue(key.storedText)) << key.name;
            if (first && keys.insert(tavtest::OracleName(key.name)).second) {
                EXPECT_EQ(text.Get(section.name, key.name), tavtest::ReaderValue(key.storedText))
                    << "[" << section.name << "] " << key.name;
            }
        }
    }
    for (const char* probe : {"S", "T", "U", "a]b", "", "x"}) {
        for (const std::string& key : keyNames) {
            if (sections.count(tavtest::OracleName(probe)) == 0) {
                EXPECT_EQ(text.Get(probe, key), std::nullopt) << "[" << probe << "] " << key;
            }
        }
    }
}

TEST(ProfileLinesAgreementTest, StoreReadsWhatTheListingLists) {
    std::mt19937 random(20240611);
    for (int round = 0; round < 3000; ++round) {
        const std::string bytes =
            tavtest::RandomProfileDocument(random, tavtest::kProfileFragments, 12, 4);
        SCOPED_TRACE(testing::PrintToString(bytes));
        ExpectStoreAgreesWithListing(bytes);
        if (HasFailure()) {
            break;
        }
    }
}

// The end of a run of copies of one line, for every run length around the doublings the search
// makes, with a partial copy, another line or nothing after it; no run for a line without LF.
TEST(ProfileRepeatsTest, EndOfRepeatsFindsEveryWholeCopyAndNoMore) {
    const std::string line = "[x]\r\n";
    for (const std::string& after : {std::string(), std::string("[x]\r"), std::string("[y]\r\n")}) {
        for (std::size_t copies = 0; copies <= 40; ++copies) {
            std::string bytes = "head\n" + line;
            for (std::size_t i = 0; i < copies; ++i) {
                bytes += line;
            }
            bytes += after;
            const std::size_t from = 5 + line.size();
            EXPECT_EQ(tav::EndOfRepeats(bytes, from, line), from + copies * line.size())
                << copies << " copies, then " << testing::PrintToString(after);
        }
    }
    EXPECT_EQ(tav::EndOfRepeats("[x]\r[x]\r\n", 4, "[x]\r"), 4u) << "a lone CR makes no run";
    EXPECT_EQ(tav::EndOfRepeats("[x][x]", 3, "[x]"), 3u) << "nor does a line without an ending";
}

}  // namespace
