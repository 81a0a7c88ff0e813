#include "cli/linediff.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <sstream>
#include <stdexcept>

namespace {

using tav::cli::UnifiedDiff;

// The lines of `text`, each with its LF.
std::vector<std::string> LinesOf(const std::string& text) {
    std::vector<std::string> lines;
    std::istringstream in(text);
    for (std::string line; std::getline(in, line);) {
        lines.push_back(line + (in.eof() ? "" : "\n"));
    }
    return lines;
}

// Applies a unified diff the way patch does, checking every context and removed line.
std::string Apply(const std::string& before, const std::string& diff) {
    const std::vector<std::string> old = LinesOf(before);
    const std::vector<std::string> patch = LinesOf(diff);
    std::string out;
    std::size_t next = 0;  // the next line of `old`
    for (std::size_t i = 2; i < patch.size(); ++i) {
        std::size_t start = 0;
        std::size_t count = 0;
        if (std::sscanf(patch[i].c_str(), "@@ -%zu,%zu", &start, &count) == 2) {
            for (const std::size_t copied = count == 0 ? start : start - 1; next < copied; ++next) {
                out += old.at(next);
            }
            continue;
        }
        const char kind = patch[i][0];
        std::string text = patch[i].substr(1);
        if (i + 1 < patch.size() && patch[i + 1].rfind("\\ No newline", 0) == 0) {
            text.pop_back();
            ++i;
        }
        if (kind != '+' && old.at(next++) != text) {
            throw std::runtime_error("context or removed line does not match: " + text);
        }
        out += kind == '-' ? "" : text;
    }
    for (; next < old.size(); ++next) {
        out += old[next];
    }
    return out;
}

struct DiffCase {
    const char* name;
    std::string before;
    std::string after;
};

class UnifiedDiffTest : public testing::TestWithParam<DiffCase> {};

TEST_P(UnifiedDiffTest, DiffTurnsBeforeIntoAfter) {
    const DiffCase& test = GetParam();
    const std::string diff = UnifiedDiff(test.before, test.after, "a", "b");
    ASSERT_EQ(diff.rfind("--- a\n+++ b\n@@ ", 0), 0u) << diff;
    EXPECT_EQ(Apply(test.before, diff), test.after) << diff;
    EXPECT_EQ(UnifiedDiff(test.after, test.after, "a", "b"), "");
}

std::string Numbered(int count, int changeEvery) {
    std::string text;
    for (int i = 0; i < count; ++i) {
        text += (changeEvery > 0 && i % changeEvery == 0 ? "changed " : "line ") +
                std::to_string(i) + "\n";
    }
    return text;
}

INSTANTIATE_TEST_SUITE_P(
    Cases, UnifiedDiffTest,
    testing::Values(DiffCase{"fromEmpty", "", "a\nb\n"}, DiffCase{"toEmpty", "a\nb\n", ""},
                    DiffCase{"insertInMiddle", "a\nb\nc\n", "a\nb\nx\nc\n"},
                    DiffCase{"lastLineGetsEnding", "a\nb", "a\nb\nc\n"},
                    DiffCase{"lastLineLosesEnding", "a\nb\n", "a\nc"},
                    DiffCase{"crlfLines", "[S]\r\nk=1\r\nm=2\r\n", "[S]\r\nk=2\r\nm=2\r\nn=3\r\n"},
                    DiffCase{"onlyEndingChanged", "a\r\nb\n", "a\nb\n"},
                    DiffCase{"repeatedLines", "a\na\na\nb\n", "a\nb\na\n"},
                    DiffCase{"twoHunks", Numbered(40, 0), Numbered(40, 19)},
                    DiffCase{"manyChanges", Numbered(500, 0), Numbered(480, 7)},
                    DiffCase{"beyondShortestSearch", Numbered(2500, 0), Numbered(2500, 1)},
                    // The common head and tail are found in bytes, then cut at a line start of
                    // both texts.
                    DiffCase{"tailStartsMidLineInOne", "x\nend\n", "xyend\n"},
                    DiffCase{"headEndsMidLine", "abc\nd\n", "abX\nd\n"},
                    DiffCase{"oneIsThePrefix", "a\nb", "a\nbc\n"},
                    DiffCase{"bothEndsOfALongText", "first\n" + Numbered(3000, 0) + "last\n",
                             "FIRST\n" + Numbered(3000, 0) + "LAST\n"},
                    // Long runs of common lines are passed over in their bytes: a change at the
                    // end of a line far into a run, and a run up to a last line without LF.
                    DiffCase{"changeAtALineEndFarIntoARun", "first\n" + Numbered(300, 0) + "x",
                             "FIRST\n" + Numbered(150, 0) + "line 150 and more\n" +
                                 Numbered(300, 0).substr(Numbered(151, 0).size()) + "y"}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(UnifiedDiffFormatTest, HunksCountLinesAndMarkMissingEndings) {
    EXPECT_EQ(UnifiedDiff("1\n2\n3\n4\n5\n6\n7\n8\n9\n", "1\n2\n3\n4\n5\n6\n7\n8\nnine", "x", "y"),
              "--- x\n+++ y\n@@ -6,4 +6,4 @@\n 6\n 7\n 8\n-9\n+nine\n"
              "\\ No newline at end of file\n");
    EXPECT_EQ(UnifiedDiff("", "a\n", "x", "y"), "--- x\n+++ y\n@@ -0,0 +1,1 @@\n+a\n");
    // Changes six kept lines apart share a hunk; seven apart do not.
    const std::string base = "0\n1\n2\n3\n4\n5\n6\n7\n8\n9\n10\n11\n";
    std::string near = "x" + base.substr(1);
    near.replace(near.find("7\n"), 1, "y");
    std::string far = "x" + base.substr(1);
    far.replace(far.find("8\n"), 1, "y");
    const std::string nearDiff = UnifiedDiff(base, near, "x", "y");
    const std::string farDiff = UnifiedDiff(base, far, "x", "y");
    EXPECT_EQ(std::count(nearDiff.begin(), nearDiff.end(), '@'), 4) << nearDiff;
    EXPECT_EQ(std::count(farDiff.begin(), farDiff.end(), '@'), 8) << farDiff;
}

TEST(UnifiedDiffFormatTest, ChangesAtBothEndsOfALongTextAreTwoHunksAtTheirLines) {
    const std::string middle = Numbered(100000, 0);
    const std::string diff = UnifiedDiff("a\n" + middle + "z\n", "A\n" + middle + "Z\n", "x", "y");
    EXPECT_EQ(diff,
              "--- x\n+++ y\n@@ -1,4 +1,4 @@\n-a\n+A\n line 0\n line 1\n line 2\n"
              "@@ -99999,4 +99999,4 @@\n line 99997\n line 99998\n line 99999\n-z\n+Z\n");
}

TEST(UnifiedDiffFormatTest, ShortestDiffKeepsTheCommonLines) {
    const std::string diff = UnifiedDiff("a\nb\nc\nd\ne\n", "a\nc\nd\nx\ne\n", "x", "y");
    EXPECT_EQ(diff, "--- x\n+++ y\n@@ -1,5 +1,5 @@\n a\n-b\n c\n d\n+x\n e\n");
}

}  // namespace
