#include "profile/profilelisting.h"

#include <gtest/gtest.h>

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
