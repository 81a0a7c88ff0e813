#include "catalog/catalogtext.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

using tav::CatalogLines;
using tav::LeadingNumber16;

std::vector<std::string> Lines(std::string_view text) {
    std::vector<std::string> out;
    for (const auto line : CatalogLines(text)) {
        out.emplace_back(line);
    }
    return out;
}

struct LinesCase {
    const char* name;
    std::string text;
    std::vector<std::string> lines;
};

class CatalogLinesTest : public testing::TestWithParam<LinesCase> {};

TEST_P(CatalogLinesTest, CutsIntoNonEmptyLines) {
    EXPECT_EQ(Lines(GetParam().text), GetParam().lines);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, CatalogLinesTest,
    testing::Values(
        LinesCase{"empty", "", {}},
        LinesCase{"crlf", "a,b\r\nc,d\r\n", {"a,b", "c,d"}},
        LinesCase{"lastLineWithoutEnding", "a\r\nb", {"a", "b"}},
        LinesCase{"lfOnly", "a\nb\nc\n", {"a", "b", "c"}},
        LinesCase{"mixed", "a\r\nb\nc", {"a", "b", "c"}},
        LinesCase{"blankLinesSkipped", "1\r\n\r\n2\r\n\r\n\r\n3", {"1", "2", "3"}},
        LinesCase{"oneCharacterLineKept", "x\r\n1,a\r\n", {"x", "1,a"}},
        LinesCase{"trailingEmptyLineAddsNoRow", "a\r\n\r\n", {"a"}},
        // Only the CR directly before LF belongs to the line ending.
        LinesCase{"loneCrStaysInLine", "a\rb\r\n", {"a\rb"}},
        LinesCase{"doubleCrKeepsOne", "a\r\r\n", {"a\r"}}),
    [](const auto& info) { return std::string(info.param.name); });

struct NumberCase {
    const char* text;
    std::uint16_t value;
};

TEST(LeadingNumber16Test, ConvertsLeadingDecimalAndKeepsLow16Bits) {
    const NumberCase cases[] = {
        {"12", 12},           {"  7abc", 7},   {"+5", 5},         {"-1", 65535},
        {"70000", 4464},      {"65536", 0},    {"", 0},           {"abc", 0},
        {"\r\n3", 3},         {"3 4", 3},      {"-", 0},          {"99999999999999999999", 65535},
        {"0012", 12},         {"1.5", 1},      {"\t-70000", 61072},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(LeadingNumber16(c.text), c.value) << '"' << c.text << '"';
    }
}

TEST(ColumnsTest, MissingCommaTakesTheRestAndLeavesNothing) {
    std::string_view rest = "12";
    EXPECT_EQ(tav::TakeColumn(rest), "12");
    EXPECT_EQ(rest, "");
    EXPECT_EQ(tav::TakeColumn(rest), "");
}

TEST(ColumnsTest, FlagColumnSwallowsTheNextCharacterUnseen) {
    std::string_view rest = "Yes,label";
    EXPECT_EQ(tav::TakeFlagColumn(rest), 'Y');
    EXPECT_EQ(rest, "s,label");
    std::string_view one = "Y";
    EXPECT_EQ(tav::TakeFlagColumn(one), 'Y');
    EXPECT_EQ(one, "");
    std::string_view none;
    EXPECT_EQ(tav::TakeFlagColumn(none), '\0');
}

}  // namespace
