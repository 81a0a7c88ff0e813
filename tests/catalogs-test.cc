#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "catalog/catalogues.h"
#include "catalog/sectioncatalog.h"
#include "testutil.h"

namespace {

using tav::FileError;
using tav::SectionCatalog;

// Only the exact codes count; anything else falls to the kind every reader treats alike.
TEST(CatalogueCodesTest, OnlyTheExactCodesCount) {
    struct Row {
        const char* code;
        tav::FieldType type;
        tav::SectionKind kind;
    };
    const Row rows[] = {
        {"B", tav::FieldType::Boolean, tav::SectionKind::Parameters},
        {"C", tav::FieldType::Text, tav::SectionKind::Parameters},
        {"RFS", tav::FieldType::Replacement, tav::SectionKind::Parameters},
        {"SN", tav::FieldType::Other, tav::SectionKind::Root},
        {"SR", tav::FieldType::Other, tav::SectionKind::Replacements},
        {"b", tav::FieldType::Other, tav::SectionKind::Parameters},
        {"B ", tav::FieldType::Other, tav::SectionKind::Parameters},
        {"RF", tav::FieldType::Other, tav::SectionKind::Parameters},
        {"sr", tav::FieldType::Other, tav::SectionKind::Parameters},
        {"SRX", tav::FieldType::Other, tav::SectionKind::Parameters},
        {"", tav::FieldType::Other, tav::SectionKind::Parameters},
    };
    for (const Row& row : rows) {
        EXPECT_EQ(tav::ParseFieldType(row.code), row.type) << '"' << row.code << '"';
        EXPECT_EQ(tav::ParseSectionKind(row.code), row.kind) << '"' << row.code << '"';
    }
    EXPECT_TRUE(tav::IsOrderedFlag('Y'));
    for (const char flag : {'y', 'N', '\0', '1'}) {
        EXPECT_FALSE(tav::IsOrderedFlag(flag)) << int(flag);
    }
}

TEST(SectionCatalogTest, ReadsTheSixColumns) {
    SectionCatalog sections;
    sections.LoadText("1,General,N,General settings,SN,3\r\n");
    ASSERT_EQ(sections.Count(), 1);
    EXPECT_EQ(sections[0].id, 1);
    EXPECT_EQ(sections[0].iniName, "General");
    EXPECT_FALSE(sections[0].ordered);
    EXPECT_EQ(sections[0].label, "General settings");
    EXPECT_EQ(sections[0].kind, tav::SectionKind::Root);
    EXPECT_EQ(sections[0].kindCode, "SN");
    EXPECT_EQ(sections[0].icon, 3);
}

TEST(SectionCatalogTest, MalformedLinesAreTakenAsTheyCome) {
    SectionCatalog sections;
    sections.LoadText("12\r\n2,Fonts,Yes,Fonts,XX,4\r\n3,Lower,y,Lower,SN,70000\r\n");
    ASSERT_EQ(sections.Count(), 3);
    // No comma: the id, every other column empty.
    EXPECT_EQ(sections[0].id, 12);
    EXPECT_EQ(sections[0].iniName, "");
    EXPECT_FALSE(sections[0].ordered);
    EXPECT_EQ(sections[0].icon, 0);
    // "Yes": two characters are skipped, so the columns shift by one.
    EXPECT_TRUE(sections[1].ordered);
    EXPECT_EQ(sections[1].label, "s");
    EXPECT_EQ(sections[1].kindCode, "Fonts");
    EXPECT_EQ(sections[1].kind, tav::SectionKind::Parameters);
    EXPECT_EQ(sections[1].icon, 0);
    // Lower-case y is not Y; the icon keeps the low 16 bits.
    EXPECT_FALSE(sections[2].ordered);
    EXPECT_EQ(sections[2].icon, 4464);
}

TEST(SectionCatalogTest, BlankLinesNoLongerDropLaterRows) {
    std::string text;
    for (int i = 1; i <= 10; ++i) {
        text += std::to_string(i) + ",S" + std::to_string(i) + ",N,L,SN,2\r\n";
        if (i == 3) {
            text += "\r\n";
        }
    }
    SectionCatalog sections;
    sections.LoadText(text);
    ASSERT_EQ(sections.Count(), 10);
    EXPECT_EQ(sections[9].iniName, "S10");
}

TEST(SectionCatalogTest, LinesPastCapacityAreReportedNotWritten) {
    tavtest::TempDir dir;
    std::string text;
    for (int i = 1; i <= 70; ++i) {
        text +=
            std::to_string(i) + ",S" + std::to_string(i) + ",N,L" + std::to_string(i) + ",SN,2\n";
    }
    tavtest::WriteFile(dir.File("Sections.txt"), text);
    tavtest::WriteFile(dir.File("Fields.txt"), "");
    std::vector<FileError> problems;
    const auto catalogues =
        tav::LoadCatalogues(dir.Path(), [&](const FileError& e) { problems.push_back(e); });
    const SectionCatalog& sections = catalogues->sections;
    EXPECT_EQ(sections.Count(), 64);
    EXPECT_EQ(sections[63].iniName, "S64");
    ASSERT_EQ(problems.size(), 1u);
    EXPECT_EQ(problems[0].file, dir.File("Sections.txt"));
    EXPECT_NE(problems[0].reason.find("6 line(s)"), std::string::npos) << problems[0].reason;
    EXPECT_NE(problems[0].reason.find("64"), std::string::npos);
}

TEST(SectionCatalogTest, MissingFileIsReportedWithNameAndReason) {
    tavtest::TempDir dir;
    tavtest::WriteFile(dir.File("Fields.txt"), "");
    std::vector<FileError> problems;
    const auto catalogues =
        tav::LoadCatalogues(dir.Path(), [&](const FileError& e) { problems.push_back(e); });
    EXPECT_EQ(catalogues->sections.Count(), 0);
    ASSERT_EQ(problems.size(), 1u);
    EXPECT_EQ(problems[0].file, dir.File("Sections.txt"));
    EXPECT_EQ(problems[0].reason, "No such file or directory");
}

TEST(SectionCatalogTest, LookupsByKindAndId) {
    SectionCatalog sections;
    sections.LoadText("1,A,N,A,SN,2\r\n2,B,N,B,SR,2\r\n3,C,N,C,SR,2\r\n");
    EXPECT_EQ(sections.ReplacementSectionIndex(), 1);
    EXPECT_EQ(sections.RowForId(3)->iniName, "C");
    EXPECT_EQ(sections.RowForId(0), nullptr);
    EXPECT_EQ(sections.RowForId(4), nullptr);
    SectionCatalog lower;
    lower.LoadText("1,A,N,A,sr,2\r\n");
    EXPECT_EQ(lower.ReplacementSectionIndex(), -1);
}

TEST(FieldCatalogTest, ReadsTheFiveColumns) {
    tav::FieldCatalog fields;
    fields.LoadText(
        "Font size,FontSize,C,N,2\r\nBeep,Beep,B,Y,1\r\nOdd,Odd,B,y,1\r\n"
        "Shifted,Key,C,Yes,2\r\n");
    ASSERT_EQ(fields.Count(), 4);
    EXPECT_EQ(fields[0].label, "Font size");
    EXPECT_EQ(fields[0].key, "FontSize");
    EXPECT_EQ(fields[0].type, tav::FieldType::Text);
    EXPECT_EQ(fields[0].typeCode, "C");
    EXPECT_FALSE(fields[0].ordered);
    EXPECT_EQ(fields[0].sectionId, 2);
    EXPECT_TRUE(fields[1].ordered);
    EXPECT_FALSE(fields[2].ordered) << "lower-case y is not Y";
    EXPECT_TRUE(fields[3].ordered) << "the flag is the column's first character";
    EXPECT_EQ(fields[3].sectionId, 0);
}

// A document's table starts from the catalogue: its rows with the values of a document that does
// not have the keys, and the ordered fields at the first place.
TEST(CataloguesTest, EachProblemIsReportedOncePerLoad) {
    tavtest::TempDir dir;
    std::string text;
    for (int i = 0; i < 130; ++i) {
        text += "L,K" + std::to_string(i) + ",C,N,1\r\n";
    }
    tavtest::WriteFile(dir.File("Fields.txt"), text);
    std::vector<FileError> problems;
    const auto report = [&](const FileError& e) { problems.push_back(e); };
    const auto catalogues = tav::LoadCatalogues(dir.Path(), report);
    EXPECT_EQ(catalogues->fields.Count(), 128);
    ASSERT_EQ(problems.size(), 2u);
    EXPECT_EQ(problems[0].file, dir.File("Sections.txt")) << "the missing file comes first";
    EXPECT_NE(problems[1].reason.find("2 line(s) past the limit of 128 fields"), std::string::npos);
    EXPECT_EQ(catalogues->ReadError()->file, dir.File("Sections.txt"));
    EXPECT_EQ(catalogues->fieldFile.bytes, text) << "the bytes are kept for the checks";
    tav::LoadCatalogues(dir.Path(), report);
    EXPECT_EQ(problems.size(), 4u) << "reported again at the next load";
}

TEST(CataloguesTest, EachFileIsDecodedInItsOwnEncoding) {
    using tav::TextEncoding;
    struct Case {
        const char* name;
        std::string sections;
        std::string fields;
        TextEncoding sectionEncoding;
        TextEncoding fieldEncoding;
    };
    // The section label is "Büro", the field label "Größe", whatever the bytes.
    const Case cases[] = {
        {"bothCodePage", "1,Office,N,B\xFCro,SN,2\n", "Gr\xF6\xDF\x65,Size,C,N,1\n",
         TextEncoding::Windows1252, TextEncoding::Windows1252},
        {"bothUtf8", "1,Office,N,B\xC3\xBCro,SN,2\n", "Gr\xC3\xB6\xC3\x9F\x65,Size,C,N,1\n",
         TextEncoding::Utf8, TextEncoding::Utf8},
        {"utf8SectionsCodePageFields", "\xEF\xBB\xBF\x31,Office,N,B\xC3\xBCro,SN,2\n",
         "Gr\xF6\xDF\x65,Size,C,N,1\n", TextEncoding::Utf8, TextEncoding::Windows1252},
    };
    for (const Case& c : cases) {
        const auto catalogues = tav::CataloguesFromText("folder", c.sections, c.fields);
        EXPECT_EQ(catalogues->sectionEncoding, c.sectionEncoding) << c.name;
        EXPECT_EQ(catalogues->fieldEncoding, c.fieldEncoding) << c.name;
        ASSERT_EQ(catalogues->sections.Count(), 1) << c.name;
        EXPECT_EQ(catalogues->SectionLabel(0), "B\xC3\xBCro") << c.name;
        EXPECT_EQ(catalogues->FieldLabel(0), "Gr\xC3\xB6\xC3\x9F\x65") << c.name;
        EXPECT_EQ(catalogues->FindSection("Office"), 0u) << c.name << ": names match as bytes";
    }
}

}  // namespace
