#include "profile/profilelookup.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <random>
#include <string>
#include <vector>

#include "profile/profiletext.h"
#include "profileoracle.h"
#include "testutil.h"

namespace {

using tav::ProfileKey;
using tav::ProfileLookup;

const char* const kSections[] = {"S", "s", " S ", "T", "a]b", "", "U", "x", "\x1AT"};
const char* const kKeys[] = {"k", "K ", "j", "", "[k", "\"a\"", "x", "r0", "k\x1A"};

// Documents made of the lines that matter to the reading rules, a few more that matter to the
// look-up (non-ASCII values, an entry, a line longer than the smallest reads) and random bytes.
std::string RandomDocument(std::mt19937& random) {
    static const std::vector<std::string> fragments = [] {
        std::vector<std::string> all = tavtest::kProfileFragments;
        all.insert(all.end(),
                   {"x=\xC3\xA9", "x=\xE9", "r0=a,b",
                    "j=a long value that is longer than the buffers the smallest reads use"});
        return all;
    }();
    return tavtest::RandomProfileDocument(random, fragments, 14, 5);
}

// Every pair of section and key names, or a random few of them (so that reading stops early).
std::vector<ProfileKey> RandomKeys(std::mt19937& random) {
    std::vector<ProfileKey> keys;
    const bool all = random() % 3 == 0;
    for (const char* section : kSections) {
        for (const char* key : kKeys) {
            if (all || random() % 16 == 0) {
                keys.push_back(ProfileKey{section, key});
            }
        }
    }
    return keys;
}

// The look-up gives what ProfileText gives for the whole document, for every key, whatever the
// buffer's size and however the source cuts the bytes; its scanner, read to the end, decides the
// encoding as DecideEncoding does.
TEST(ProfileLookupTest, FindsWhatTheStoreReadsWhereverTheBytesAreCut) {
    std::mt19937 random(20261210);
    const std::size_t chunkSizes[] = {1, 2, 3, 5, 8, 13, 64, 4096};
    for (int round = 0; round < 6000; ++round) {
        const std::string bytes = RandomDocument(random);
        const std::vector<ProfileKey> keys = RandomKeys(random);
        const std::size_t chunkSize = chunkSizes[random() % std::size(chunkSizes)];
        SCOPED_TRACE(testing::PrintToString(bytes) + " read " + std::to_string(chunkSize) +
                     " bytes at a time");
        tav::EncodingScanner scanner;
        ProfileLookup lookup(tavtest::RandomPieces(bytes, random), &scanner, chunkSize);
        const auto found = lookup.Find(keys);
        ASSERT_TRUE(found);
        const tav::ProfileText store(bytes);
        for (std::size_t k = 0; k < keys.size(); ++k) {
            EXPECT_EQ((*found)[k], store.Get(keys[k].section, keys[k].key))
                << "[" << keys[k].section << "] " << keys[k].key;
        }
        ASSERT_TRUE(lookup.ScanRest());
        EXPECT_EQ(scanner.Result(), tav::DecideEncoding(bytes));
        if (HasFailure()) {
            break;
        }
    }
}

// Reading stops once the answer is settled: a document whose bytes after `head` cannot be read
// gives the values that do not depend on them, and the read's error for those that do.
TEST(ProfileLookupTest, StopsReadingOnceEveryKeyIsSettled) {
    const std::string head = "; c\r\n[First]\r\nkey=value\r\nother=1\r\n[Second]\r\nk=2\r\n";
    const std::string bytes = head + "[Third]\r\nx=3\r\n[First]\r\nlate=4\r\n";
    struct Case {
        const char* name;
        std::vector<ProfileKey> keys;
        std::vector<std::optional<std::string>> values;  // empty: the read fails
    };
    const Case cases[] = {
        {"keyInFirstSection", {{"first", "KEY"}}, {"value"}},
        {"missingKeyEndsWithItsSection", {{"First", "late"}}, {std::nullopt}},
        {"twoSections", {{"Second", "k"}, {"First", "other"}}, {"2", "1"}},
        {"nothingAskedReadsNothing", {}, {}},
        {"sectionOnlyInTheTail", {{"Third", "x"}}, {}},
        {"sectionNowhere", {{"First", "key"}, {"Fourth", "x"}}, {}},
    };
    std::mt19937 random(7);
    for (const Case& c : cases) {
        for (const std::size_t chunkSize : {1, 4, 4096}) {
            ProfileLookup lookup(tavtest::RandomPieces(bytes, random, head.size()), nullptr,
                                 chunkSize);
            const auto found = lookup.Find(c.keys);
            if (c.values.empty() && !c.keys.empty()) {
                ASSERT_FALSE(found) << c.name;
                EXPECT_EQ(found.Error().Message(), "doc.tac: Input/output error") << c.name;
                continue;
            }
            ASSERT_TRUE(found) << c.name << ": " << found.Error().Message();
            EXPECT_EQ(*found, c.values) << c.name;
        }
    }
}

}  // namespace
