#include "document/documenttable.h"

#include <gtest/gtest.h>

#include <string>
#include <string_view>

#include "testutil.h"

namespace {

using tav::DocumentTable;

using tavtest::TableOf;

TEST(DocumentTableTest, StartsWithTheCatalogueRowsAndTheirDefaults) {
    const DocumentTable table =
        TableOf("Font size,FontSize,C,N,2\r\nBeep,Beep,B,Y,1\r\nOdd,Odd,X,N,1\r\n");
    ASSERT_EQ(table.Count(), 3);
    EXPECT_EQ(table.ReplacementCount(), 0);
    EXPECT_EQ(table[0].label, "Font size");
    EXPECT_EQ(table[0].key, "FontSize");
    EXPECT_EQ(table[0].typeCode, "C");
    EXPECT_EQ(table[0].sectionId, 2);
    EXPECT_EQ(table[0].value, "");
    EXPECT_EQ(table[0].orderPos, 0);
    EXPECT_EQ(table[1].value, "False");
    EXPECT_EQ(table[1].orderPos, 1);
    EXPECT_EQ(table[2].type, tav::FieldType::Other);
    EXPECT_EQ(table[2].value, "");
}

TEST(DocumentTableTest, AppendReplacementNumbersKeysAndCounts) {
    DocumentTable fields = TableOf("a,a,C,N,1\r\nb,b,C,N,1\r\nc,c,C,N,1\r\n");
    const auto first = fields.AppendReplacement("x,y", "z", 7);
    ASSERT_TRUE(first.has_value());
    EXPECT_EQ(*first, 0);
    EXPECT_EQ(fields.Count(), 4);
    EXPECT_EQ(fields.ReplacementCount(), 1);
    const tav::DocumentRow& row = fields[3];
    EXPECT_EQ(row.label, "x,y");
    EXPECT_EQ(row.value, "z");
    EXPECT_EQ(row.key, "1");
    EXPECT_EQ(row.type, tav::FieldType::Replacement);
    EXPECT_EQ(row.typeCode, "RFS");
    EXPECT_EQ(row.sectionId, 7);
    EXPECT_EQ(row.orderPos, 0);
    std::vector<std::string> keys;
    for (int i = 1; i < 10; ++i) {
        fields.AppendReplacement("f", "t", 7);
    }
    EXPECT_EQ(fields[12].key, ":");  // the tenth entry
    fields = TableOf("a,a,C,N,1\r\n");
    EXPECT_EQ(fields.Count(), 1);
    EXPECT_EQ(fields.ReplacementCount(), 0);
}

TEST(DocumentTableTest, AppendReplacementRefusesPastItsLimits) {
    DocumentTable fields;
    for (int i = 0; i < DocumentTable::kMaxReplacements; ++i) {
        ASSERT_TRUE(fields.AppendReplacement("f", "t", 1));
    }
    EXPECT_FALSE(fields.AppendReplacement("f", "t", 1)) << "a 14th entry could not be read back";
    EXPECT_EQ(fields.Count(), DocumentTable::kMaxReplacements);

    std::string text;
    for (int i = 0; i < 127; ++i) {
        text += "L,K" + std::to_string(i) + ",C,N,1\n";
    }
    DocumentTable nearlyFull = TableOf(text);
    EXPECT_TRUE(nearlyFull.AppendReplacement("f", "t", 1));
    EXPECT_FALSE(nearlyFull.AppendReplacement("f", "t", 1));
    EXPECT_EQ(nearlyFull.Count(), 128);
}

TEST(DocumentTableTest, InsertReplacementMakesRoomAndRenumbers) {
    DocumentTable fields = TableOf("a,a,C,N,1\r\n");
    fields.AppendReplacement("p", "P", 2);
    fields.AppendReplacement("r", "R", 2);
    EXPECT_FALSE(fields.InsertReplacement(0, "x", "X", 2)) << "before the first entry";
    EXPECT_FALSE(fields.InsertReplacement(4, "x", "X", 2)) << "past the row count";
    ASSERT_TRUE(fields.InsertReplacement(2, "q", "Q", 2));
    const std::pair<const char*, const char*> rows[] = {{"p", "1"}, {"q", "2"}, {"r", "3"}};
    for (std::uint16_t i = 0; i < 3; ++i) {
        EXPECT_EQ(fields[i + 1].label, rows[i].first);
        EXPECT_EQ(fields[i + 1].key, rows[i].second) << rows[i].first;
    }
    EXPECT_EQ(fields.ReplacementCount(), 3);
    ASSERT_TRUE(fields.RemoveReplacement(2));
    EXPECT_EQ(fields[2].label, "r");
    EXPECT_EQ(fields[2].key, "2") << "insert and remove are inverse";
}

TEST(DocumentTableTest, RemoveReplacementClosesTheGapAndRenumbers) {
    DocumentTable fields = TableOf("a,a,C,N,1\r\n");
    fields.AppendReplacement("p", "P", 2);
    fields.AppendReplacement("q", "Q", 2);
    fields.AppendReplacement("r", "R", 2);
    EXPECT_FALSE(fields.RemoveReplacement(0)) << "a catalogue row is not a replacement";
    EXPECT_FALSE(fields.RemoveReplacement(4)) << "past the valid rows";
    ASSERT_TRUE(fields.RemoveReplacement(2));
    EXPECT_EQ(fields.Count(), 3);
    EXPECT_EQ(fields.ReplacementCount(), 2);
    EXPECT_EQ(fields[1].label, "p");
    EXPECT_EQ(fields[1].key, "1");
    EXPECT_EQ(fields[2].label, "r");
    EXPECT_EQ(fields[2].value, "R");
    EXPECT_EQ(fields[2].key, "2");
    const auto next = fields.AppendReplacement("s", "S", 2);
    EXPECT_EQ(*next, 2);
    EXPECT_EQ(fields[3].label, "s") << "appended right after the remaining rows";
    ASSERT_TRUE(fields.RemoveReplacement(1));
    ASSERT_TRUE(fields.RemoveReplacement(1));
    ASSERT_TRUE(fields.RemoveReplacement(1));
    EXPECT_EQ(fields.Count(), 1);
    EXPECT_EQ(fields.ReplacementCount(), 0);
}

}  // namespace
