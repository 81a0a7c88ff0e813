#include "profile/profilelisting.h"

#include <gtest/gtest.h>

#include "profile/profilelines.h"
#include "profile/profiletext.h"

namespace {

using tav::ListProfile;

// "name@line" for each section and "key@line=storedText" for each key, in file order.
std::vector<std::string> Summary(const tav::ProfileListing& listing) {
    std::vector<std::string> out;
    for (const auto& section : listing.sections) {
        out.push_back("[" + std::string(section.name) + "]@" + std::to_string(section.line));
        for (const auto& key : section.keys) {
            out.push_back(std::string(key.name) + "@" + std::to_string(key.line) + "=" +
                          std::string(key.storedText));
        }
    }
    for (const auto& line : listing.skipped) {
        out.push_back("skip@" + std::to_string(line.line) + (line.beforeFirstSection ? "!" : ""));
    }
    return out;
}

TEST(ProfileListingTest, EveryLineEndingCountsOneLine) {
    const std::vector<std::string> expected{"[A]@2", "k@3= v ", "K@5=again", "skip@1!", "skip@4"};
    for (const std::string eol : {"\n", "\r\n", "\r"}) {
        const std::string text =
            "x=before" + eol + "[A]" + eol + " k = v " + eol + "; note" + eol + "K=again";
        EXPECT_EQ(Summary(ListProfile(text)), expected) << testing::PrintToString(eol);
    }
}

TEST(ProfileListingTest, HeadersRepeatsAndByteOrderMark) {
    const auto listing = ListProfile("\xEF\xBB\xBF[ One ]\n[Two] tail\nk=1\n[bad\n[one]\nk=2\n\n");
    EXPECT_EQ(Summary(listing), (std::vector<std::string>{"[One]@1", "[Two]@2", "k@3=1", "[one]@5",
                                                          "k@6=2", "skip@4"}));
}

// A run of byte-identical header lines is walked in one call but listed copy by copy, each where it
// stands; only whole LF-ended copies make a run.
TEST(ProfileListingTest, RunsOfOneHeaderLine) {
    struct Case {
        const char* text;
        std::vector<std::string> expected;
        std::vector<std::size_t> walked;  // emptyCopies of each section the walk hands over
    };
    const Case cases[] = {
        {"[x]\n[x]\n[x]\n[x]\nk=1\n[y]\n",
         {"[x]@1", "[x]@2", "[x]@3", "[x]@4", "k@5=1", "[y]@6"},
         {2, 0, 0}},
        {"[x]\n[x]\n", {"[x]@1", "[x]@2"}, {0, 0}},
        {"[x]\n[x]\n[x]", {"[x]@1", "[x]@2", "[x]@3"}, {0, 0, 0}},
        {"[x]\r\n[x]\r\n[x]\r\n[x]\r\n", {"[x]@1", "[x]@2", "[x]@3", "[x]@4"}, {2, 0}},
        {"[x]\r[x]\r[x]\r", {"[x]@1", "[x]@2", "[x]@3"}, {0, 0, 0}},
        {"[x]\n[x]\n[X]\n[x]\n", {"[x]@1", "[x]@2", "[X]@3", "[x]@4"}, {0, 0, 0, 0}},
    };
    for (const Case& c : cases) {
        const tav::ProfileListing listing = ListProfile(c.text);
        EXPECT_EQ(Summary(listing), c.expected) << testing::PrintToString(c.text);
        const tav::ProfileLines lines(c.text);
        for (const auto& section : listing.sections) {
            EXPECT_EQ(lines.Text(lines.At(section.at)).substr(1, 1), section.name)
                << testing::PrintToString(c.text) << " line " << section.line;
        }
        std::vector<std::size_t> walked;
        tav::WalkProfile(
            c.text, [&](const tav::ListedSection& s) { walked.push_back(s.emptyCopies); },
            [](const tav::SkippedLine&) {});
        EXPECT_EQ(walked, c.walked) << testing::PrintToString(c.text);
    }
}

TEST(ProfileListingTest, EveryFirstListedKeyIsOneTheProfileStoreReads) {
    const std::string text =
        "[S]\r\n a b = 1\r\n=empty\r\n[T]\rlast=x\r[S]\nlater=2\n;c=3\n[U]\n'q'='v'";
    const tav::ProfileText profile(text);
    for (const auto& section : ListProfile(text).sections) {
        for (const auto& key : section.keys) {
            const bool repeatedSection = section.name == "S" && section.line > 1;
            EXPECT_EQ(profile.Get(section.name, key.name).has_value(), !repeatedSection)
                << section.name << "/" << key.name;
        }
    }
}

}  // namespace
