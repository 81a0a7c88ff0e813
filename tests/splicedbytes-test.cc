// New content made of pieces: joined, compared and hashed as the bytes they stand for.
#include <gtest/gtest.h>

#include <random>
#include <string>

#include "base/splicedbytes.h"
#include "profile/profiletext.h"

namespace {

using tav::ContentHash;
using tav::SplicedBytes;

// The same bytes cut at random places, into pieces of every length around the hash's blocks of
// 32, hash alike; changing, adding or dropping one byte anywhere changes the hash.
TEST(ContentHashTest, DependsOnTheBytesNotOnHowTheyAreCut) {
    std::mt19937 random(20261208);
    for (int round = 0; round < 200; ++round) {
        std::string bytes(random() % 300, '\0');
        for (char& c : bytes) {
            c = static_cast<char>(random());
        }
        const std::uint64_t whole = ContentHash::Of(bytes);
        ContentHash cut;
        for (std::size_t at = 0; at < bytes.size();) {
            const std::size_t length = std::min<std::size_t>(random() % 70, bytes.size() - at);
            cut.Add(std::string_view(bytes).substr(at, length));
            at += length;
        }
        EXPECT_EQ(cut.Value(), whole) << bytes.size();
        if (bytes.empty()) {
            continue;
        }
        std::string changed = bytes;
        changed[random() % changed.size()] ^= static_cast<char>(1 + random() % 255);
        EXPECT_NE(ContentHash::Of(changed), whole);
        EXPECT_NE(ContentHash::Of(bytes + '\0'), whole);
        EXPECT_NE(ContentHash::Of(std::string_view(bytes).substr(1)), whole);
    }
}

TEST(SplicedBytesTest, EqualsComparesTheBytesWhereverThePiecesLive) {
    const std::string original = "[S]\r\nkey=old\r\nrest\r\n";
    const std::string_view view = original;
    const std::string copy = original;
    struct Case {
        const char* name;
        std::vector<std::string_view> pieces;
        bool equal;
    };
    const std::vector<Case> cases = {
        {"the same range", {view}, true},
        {"a copy", {copy}, true},
        {"cut in three, the middle a copy",
         {view.substr(0, 5), std::string_view(copy).substr(5, 7), view.substr(12)},
         true},
        {"one byte changed", {view.substr(0, 9), "new", view.substr(12)}, false},
        {"shorter", {view.substr(0, 10)}, false},
        {"longer", {view, "x"}, false},
    };
    for (const Case& c : cases) {
        SplicedBytes bytes;
        for (const std::string_view piece : c.pieces) {
            bytes.Append(piece);
        }
        EXPECT_EQ(bytes.Equals(original), c.equal) << c.name;
        EXPECT_EQ(bytes.Join() == original, c.equal) << c.name;
        EXPECT_EQ(ContentHash::Of(bytes) == ContentHash::Of(original), c.equal) << c.name;
    }
}

// A store reading bytes in place gives the pieces of an edit without copying what it keeps.
TEST(SplicedBytesTest, AnEditKeepsTheUnchangedRangesOfTheOriginal) {
    const std::string original = "[A]\r\nk=1\r\n" + std::string(4096, ';') + "\r\n[B]\r\nk=2\r\n";
    tav::ProfileText text(original, tav::ProfileText::InPlace{});
    ASSERT_TRUE(text.Set("B", "k", "3"));
    const SplicedBytes pieces = text.Pieces();
    EXPECT_EQ(pieces.Join(), "[A]\r\nk=1\r\n" + std::string(4096, ';') + "\r\n[B]\r\nk=3\r\n");
    ASSERT_FALSE(pieces.Pieces().empty());
    EXPECT_EQ(pieces.Pieces().front().data(), original.data());
    EXPECT_GT(pieces.Pieces().front().size(), 4096u);
}

}  // namespace
