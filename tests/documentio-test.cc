#include "document/documentio.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "testutil.h"

namespace {

using tav::DisplayOrder;
using tav::DocumentTable;
using tav::ProfileText;
using tav::SectionCatalog;
using tavtest::Crlf;

// A small catalogue pair with every kind of section and field.
const char* kSections =
    "1,TACInfo,N,Information,SN,2\n"
    "2,General,N,General,XX,3\n"
    "3,Fonts,Y,Fonts,XX,4\n"
    "4,Replace,N,Replacements,SR,9\n";
const char* kFields =
    "Version,Version,C,N,1\n"
    "Updated,Updated,C,N,1\n"
    "Beep,Beep,B,N,2\n"
    "Title,Title,C,N,2\n"
    "Size,Size,C,Y,3\n"
    "Font,Font,C,N,3\n"
    "Colour,Colour,B,Y,3\n"
    "Orphan,Orphan,C,N,9\n";

struct Catalogues {
    SectionCatalog sections;
    DocumentTable fields;
    Catalogues(const std::string& sectionText = kSections, const std::string& fieldText = kFields) {
        sections.LoadText(sectionText);
        fields = tavtest::TableOf(fieldText);
    }
    std::vector<std::string> Read(const std::string& file) {
        return tav::ReadDocumentValues(sections, fields, ProfileText(file));
    }
    const tav::DocumentRow& Field(const std::string& key) const {
        for (std::uint16_t i = 0; i < fields.Count(); ++i) {
            if (fields[i].key == key) {
                return fields[i];
            }
        }
        throw std::runtime_error("no field " + key);
    }
    std::string Save(const std::string& before, const std::string& time = "01/02/2026 (03:04:05)") {
        ProfileText text(before);
        const tav::Status applied = tav::ApplySave(
            sections, fields, tav::CatalogDisplayOrder(sections, fields), time, text);
        EXPECT_TRUE(applied) << applied.Error().Message();
        return text.Bytes();
    }
};

TEST(ReadDocumentTest, BooleansAreTrueOnlyWhenStoredTextStartsWithOne) {
    const std::pair<const char*, const char*> cases[] = {
        {"1", "True"},    {"10", "True"}, {"0", "False"}, {"True", "False"},
        {"yes", "False"}, {"", "False"},  {" 1", "True"}, {"\"1\"", "True"},
    };
    for (const auto& [stored, shown] : cases) {
        Catalogues c;
        c.Read(std::string("[General]\nBeep=") + stored + "\n");
        EXPECT_EQ(c.Field("Beep").value, shown) << '"' << stored << '"';
    }
    Catalogues missing;
    missing.Read("");
    EXPECT_EQ(missing.Field("Beep").value, "False");
    EXPECT_EQ(missing.Field("Title").value, "");
}

TEST(ReadDocumentTest, OrderPositionsComeFromWholeItemsOfTheList) {
    struct Case {
        const char* list;
        std::uint16_t size;
        std::uint16_t colour;
    };
    const Case cases[] = {
        {"Size,Colour", 1, 2},
        {"Colour,Size", 2, 1},
        {"Colour", 1, 1},  // missing key keeps position 1
        {"", 1, 1},
        {"FontSize,Size,Colour", 2, 3},  // a longer key containing "Size" does not count
        {"XColour,Size,Colour", 2, 3},
        {"Size,,Colour", 1, 3},
    };
    for (const auto& test : cases) {
        Catalogues c;
        c.Read(std::string("[Fonts]\nOrder=") + test.list + "\n");
        EXPECT_EQ(c.Field("Size").orderPos, test.size) << test.list;
        EXPECT_EQ(c.Field("Colour").orderPos, test.colour) << test.list;
        EXPECT_EQ(c.Field("Font").orderPos, 0) << "unordered fields stay unordered";
    }
}

TEST(ReadDocumentTest, ReplacementEntriesUpToTheFirstWithoutComma) {
    Catalogues c;
    c.Read("[Replace]\nr0=a,b,c\nr1=,x\nr2=x\\044y\\044z,w\nr3=abc\nr4=not,reached\n");
    ASSERT_EQ(c.fields.ReplacementCount(), 3);
    const std::uint16_t first = c.fields.Count() - 3;
    EXPECT_EQ(c.fields[first].label, "a");
    EXPECT_EQ(c.fields[first].value, "b,c");
    EXPECT_EQ(c.fields[first + 1].label, "");
    EXPECT_EQ(c.fields[first + 1].value, "x");
    EXPECT_EQ(c.fields[first + 2].label, "x,y,z") << "the comma escape is undone on read";
    EXPECT_EQ(c.fields[first + 2].type, tav::FieldType::Replacement);
    EXPECT_EQ(c.fields[first + 2].sectionId, 4);

    Catalogues gap;
    gap.Read("[Replace]\nr0=a,b\nr1=c,d\nr3=e,f\n");
    EXPECT_EQ(gap.fields.ReplacementCount(), 2);
}

TEST(ReadDocumentTest, ValuesAreReadWholeAndOrphansAreNotRead) {
    Catalogues c;
    const std::string longValue(600, 'v');
    c.fields[7].value = "untouched";
    c.Read("[General]\nTitle=" + longValue + "\n[]\nOrphan=x\n");
    EXPECT_EQ(c.Field("Title").value, longValue);
    EXPECT_EQ(c.Field("Orphan").value, "untouched");
}

TEST(ReadDocumentTest, ReplacementsBeyondTheTableAreReported) {
    std::string fields;
    for (int i = 0; i < 126; ++i) {
        fields += "L,K" + std::to_string(i) + ",C,N,2\n";
    }
    Catalogues c(kSections, fields);
    const auto warnings = c.Read("[Replace]\nr0=a,b\nr1=c,d\nr2=e,f\nr3=g,h\n");
    EXPECT_EQ(c.fields.Count(), 128);
    ASSERT_EQ(warnings.size(), 1u);
    EXPECT_NE(warnings[0].find("\"r2\""), std::string::npos) << warnings[0];
}

TEST(DisplayOrderTest, OrderedFieldsGoBeforeTheFirstGreaterPosition) {
    struct Case {
        std::vector<std::uint16_t> positions;  // catalogue order
        std::vector<std::uint16_t> display;    // field indexes in display order
    };
    const Case cases[] = {
        {{0, 3, 0, 1, 2}, {0, 3, 4, 1, 2}},  // P, Q, R, S, T give P, S, T, Q, R
        {{2, 2, 1}, {2, 0, 1}},              // ties keep catalogue order
        {{0, 0}, {0, 1}},
        {{1, 0, 1}, {0, 1, 2}},
        {{3, 2, 1}, {2, 1, 0}},
    };
    for (const auto& test : cases) {
        SectionCatalog sections;
        sections.LoadText("1,S,Y,S,SN,2\n2,Other,N,Other,SN,2\n");
        DocumentTable fields;
        std::string text = "Elsewhere,E,C,N,2\n";
        for (std::size_t i = 0; i < test.positions.size(); ++i) {
            text += "F,F" + std::to_string(i) + ",C,Y,1\n";
        }
        fields = tavtest::TableOf(text);
        std::vector<std::uint16_t> expected;
        for (std::size_t i = 0; i < test.positions.size(); ++i) {
            fields[i + 1].orderPos = test.positions[i];
            expected.push_back(static_cast<std::uint16_t>(test.display[i] + 1));
        }
        EXPECT_EQ(tav::PlaceFields(sections, fields, 0), expected);
        EXPECT_EQ(tav::PlaceFields(sections, fields, 1), std::vector<std::uint16_t>{0});
    }
}

TEST(SaveDocumentTest, FileWrittenFromScratchHasTheFormatsLineOrder) {
    Catalogues c;
    c.fields[2].value = "True";      // Beep
    c.fields[3].value = " padded ";  // Title
    c.fields[4].value = "12";        // Size
    c.fields[5].value = "Sans";      // Font
    c.fields.AppendReplacement("a,b", "c,d", 4);
    c.fields.AppendReplacement("x", "y", 4);
    const std::string written = c.Save("");
    EXPECT_EQ(written, Crlf("[TACInfo]\n"
                            "Version=1.0\n"
                            "Updated=01/02/2026 (03:04:05)\n"
                            "[General]\n"
                            "Beep=1\n"
                            "Title=\" padded \"\n"
                            "[Fonts]\n"
                            "Order=Size,Colour\n"
                            "Size=12\n"
                            "Font=Sans\n"
                            "Colour=0\n"
                            "[Replace]\n"
                            "r0=a\\044b,c,d\n"
                            "r1=x,y\n"
                            "r2=\n"));
    // The in-memory rows: the info values and the file keys change; the from-text keeps its comma.
    EXPECT_EQ(c.Field("Version").value, "1.0");
    EXPECT_EQ(c.Field("Updated").value, "01/02/2026 (03:04:05)");
    EXPECT_EQ(c.fields[8].key, "r0");
    EXPECT_EQ(c.fields[8].label, "a,b");

    Catalogues reread;
    reread.Read(written);
    EXPECT_EQ(reread.Field("Title").value, " padded ");
    EXPECT_EQ(reread.Field("Beep").value, "True");
    EXPECT_EQ(reread.fields[8].label, "a,b");
    EXPECT_EQ(reread.fields[8].value, "c,d");
    EXPECT_EQ(reread.fields[9].label, "x");
}

TEST(SaveDocumentTest, UnrelatedLinesSurviveByteForByte) {
    const std::string before = Crlf(
        "; top comment\n"
        "[Other]\n"
        "Anything = goes ; here\n"
        "\n"
        "[General]\n"
        "; a note about Beep\n"
        "Beep=0\n"
        "Unknown=kept\n"
        "\n"
        "[Replace]\n"
        "r0=a,b\n"
        "r1=c,d\n"
        "r2=e,f\n"
        "r3=g,h\n"
        "r4=i,j\n"
        "[Tail]\n"
        "x=1");
    Catalogues c;
    c.Read(before);
    c.fields.RemoveReplacement(c.fields.Count() - 1);
    c.fields.RemoveReplacement(c.fields.Count() - 1);
    c.fields.RemoveReplacement(c.fields.Count() - 1);
    c.fields[2].value = "True";
    const std::string after = c.Save(before);
    EXPECT_EQ(after, Crlf("; top comment\n"
                          "[Other]\n"
                          "Anything = goes ; here\n"
                          "\n"
                          "[General]\n"
                          "; a note about Beep\n"
                          "Beep=1\n"
                          "Unknown=kept\n"
                          "Title=\n"
                          "\n"
                          "[Replace]\n"
                          "r0=a,b\n"
                          "r1=c,d\n"
                          "r2=\n"
                          "r3=g,h\n"
                          "r4=i,j\n"
                          "[Tail]\n"
                          "x=1\n"
                          "[TACInfo]\n"
                          "Version=1.0\n"
                          "Updated=01/02/2026 (03:04:05)\n"
                          "[Fonts]\n"
                          "Order=Size,Colour\n"
                          "Size=\n"
                          "Font=\n"
                          "Colour=0\n"));
    Catalogues reread;
    reread.Read(after);
    EXPECT_EQ(reread.fields.ReplacementCount(), 2) << "entries after the end key are not read";
}

TEST(SaveDocumentTest, OrderListFollowsDisplayOrderAndSkipsUnorderedFields) {
    Catalogues c;
    DisplayOrder order = tav::CatalogDisplayOrder(c.sections, c.fields);
    order[2] = {6, 5, 4};  // Colour, Font, Size
    ProfileText text("");
    ASSERT_TRUE(tav::ApplySave(c.sections, c.fields, order, "t", text));
    EXPECT_NE(text.Bytes().find(Crlf("[Fonts]\nOrder=Colour,Size\nColour=0\nFont=\nSize=\n")),
              std::string::npos)
        << text.Bytes();

    order[2] = {5};  // only the unordered field
    ProfileText onlyUnordered("");
    ASSERT_TRUE(tav::ApplySave(c.sections, c.fields, order, "t", onlyUnordered));
    EXPECT_NE(onlyUnordered.Bytes().find(Crlf("[Fonts]\nOrder=\nFont=\n")), std::string::npos);
}

TEST(SaveDocumentTest, SavingTwiceWritesTheSameReplacementTexts) {
    Catalogues c;
    c.fields.AppendReplacement("a,b", "c", 4);
    const std::string once = c.Save("", "first");
    const std::string twice = c.Save(once, "second");
    EXPECT_NE(twice.find("r0=a\\044b,c\r\n"), std::string::npos);
    EXPECT_EQ(twice.find("\\\\044"), std::string::npos) << "the escape is not escaped again";
    EXPECT_NE(twice.find("Updated=second"), std::string::npos);
}

TEST(SaveDocumentTest, ThirteenEntriesGetNoUnreadableEndKey) {
    Catalogues c;
    for (int i = 0; i < DocumentTable::kMaxReplacements; ++i) {
        ASSERT_TRUE(c.fields.AppendReplacement("f" + std::to_string(i), "t", 4));
    }
    const std::string written = c.Save("[Replace]\nr==stale\n");
    EXPECT_NE(written.find("r<=f12,t"), std::string::npos);
    EXPECT_NE(written.find("r==stale"), std::string::npos) << "nothing is removed or rewritten";
    Catalogues reread;
    reread.Read(written);
    EXPECT_EQ(reread.fields.ReplacementCount(), DocumentTable::kMaxReplacements);
}

// Only the first section of kind SR holds the list; a later one gets the end key that follows the
// entries written before it, as it always has.
TEST(SaveDocumentTest, ALaterReplacementSectionGetsTheEndKeyAfterTheEntries) {
    Catalogues c(std::string(kSections) + "5,Spare,N,Spare,SR,9\n");
    ASSERT_TRUE(c.fields.AppendReplacement("a", "b", 4));
    ASSERT_TRUE(c.fields.AppendReplacement("c", "d", 4));
    EXPECT_EQ(c.Save(""), Crlf("[TACInfo]\nVersion=1.0\nUpdated=01/02/2026 (03:04:05)\n"
                               "[General]\nBeep=0\nTitle=\n"
                               "[Fonts]\nOrder=Size,Colour\nSize=\nFont=\nColour=0\n"
                               "[Replace]\nr0=a,b\nr1=c,d\nr2=\n"
                               "[Spare]\nr2=\n"));
}

TEST(SaveDocumentTest, WithoutInfoSectionNoVersionIsWritten) {
    Catalogues c("1,Info,N,Info,SN,2\n", "Version,Version,C,N,1\nUpdated,Updated,C,N,1\n");
    c.fields[0].value = "7";
    const std::string written = c.Save("");
    EXPECT_EQ(written, Crlf("[Info]\nVersion=7\nUpdated=\n"));
}

TEST(SaveDocumentTest, RefusedWriteChangesNothingInMemory) {
    Catalogues c;
    c.fields[3].value = "two\nlines";
    c.fields.AppendReplacement("a", "b", 4);
    const DocumentTable before = c.fields;
    ProfileText text("");
    const tav::Status refused = tav::ApplySave(
        c.sections, c.fields, tav::CatalogDisplayOrder(c.sections, c.fields), "t", text);
    ASSERT_FALSE(refused);
    EXPECT_NE(refused.Error().reason.find("Title"), std::string::npos) << refused.Error().reason;
    EXPECT_EQ(c.Field("Version").value, before[0].value);
    EXPECT_EQ(c.fields[8].key, "1");
}

TEST(TimeTextTest, FormatsDayMonthYearAndTime) {
    std::tm time{};
    time.tm_mday = 6;
    time.tm_mon = 11;
    time.tm_year = 126;
    time.tm_hour = 21;
    time.tm_min = 4;
    time.tm_sec = 0;
    EXPECT_EQ(tav::FormatTimeText(time), "06/12/2026 (21:04:00)");
    EXPECT_EQ(tav::CurrentTimeText().size(), std::string("06/12/2026 (21:04:00)").size());
}

TEST(ExampleDocumentTest, ReadSaveReadKeepsEveryValue) {
    SectionCatalog sections;
    DocumentTable fields;
    sections.LoadText(tavtest::ReadFile(TAV_EXAMPLES_DIR "/Sections.txt"));
    fields = tavtest::TableOf(tavtest::ReadFile(TAV_EXAMPLES_DIR "/Fields.txt"));
    for (const char* name : {"front-office.tac", "warehouse.tac"}) {
        const std::string original = tavtest::ReadFile(std::string(TAV_EXAMPLES_DIR "/") + name);
        DocumentTable first = fields;
        EXPECT_TRUE(tav::ReadDocumentValues(sections, first, ProfileText(original)).empty());
        ProfileText text(original);
        const std::string time = "07/12/2026 (10:00:00)";
        ASSERT_TRUE(
            tav::ApplySave(sections, first, tav::CatalogDisplayOrder(sections, first), time, text));
        DocumentTable second = fields;
        tav::ReadDocumentValues(sections, second, ProfileText(text.Bytes()));
        ASSERT_EQ(first.Count(), second.Count()) << name;
        for (std::uint16_t i = 0; i < first.Count(); ++i) {
            EXPECT_EQ(first[i].value, second[i].value) << name << " " << first[i].key;
            if (first[i].type == tav::FieldType::Replacement) {
                EXPECT_EQ(first[i].label, second[i].label) << name;
            }
        }
        // Positions may be renumbered (keys missing from a list get named), the order may not.
        EXPECT_EQ(tav::CatalogDisplayOrder(sections, first),
                  tav::CatalogDisplayOrder(sections, second))
            << name;
        // A second save of what was read back changes nothing but what it must.
        ProfileText again(text.Bytes());
        ASSERT_TRUE(tav::ApplySave(sections, second, tav::CatalogDisplayOrder(sections, second),
                                   time, again));
        EXPECT_EQ(again.Bytes(), text.Bytes()) << name;
    }
}

}  // namespace
