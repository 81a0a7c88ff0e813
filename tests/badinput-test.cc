// Documents and catalogues as they come in the wild: each gets a defined reading, a save that
// keeps every byte it does not describe, and nothing crashes or hangs.
#include <gtest/gtest.h>

#include <sys/stat.h>

#include <string>

#include "document/configdocument.h"
#include "document/documentio.h"
#include "document/documentstorage.h"
#include "testutil.h"

namespace {

using namespace std::string_literals;
using tav::DocumentTable;
using tav::ProfileText;
using tav::SectionCatalog;

const char* kSections = "1,General,N,General,SN,2\n2,Replace,N,Replace,SR,9\n";
const char* kFields = "Beep,Beep,B,N,1\nTitle,Title,C,N,1\n";

struct BadDocument {
    const char* name;
    std::string bytes;
    std::string title;     // the value read for General.Title
    int replacements;      // entries read
    std::string mustKeep;  // bytes that must survive a save unchanged
};

std::string Big(std::size_t size, char c) {
    return std::string(size, c);
}

class BadDocumentTest : public testing::TestWithParam<BadDocument> {};

TEST_P(BadDocumentTest, ReadsDefinedValuesAndSavesWithoutLoss) {
    const BadDocument& c = GetParam();
    SectionCatalog sections;
    sections.LoadText(kSections);
    DocumentTable fields = tavtest::TableOf(kFields);
    tav::ReadDocumentValues(sections, fields, ProfileText(c.bytes));
    EXPECT_EQ(fields[1].value, c.title);
    EXPECT_EQ(fields.ReplacementCount(), c.replacements);

    ProfileText document(c.bytes);
    ASSERT_TRUE(tav::ApplySave(sections, fields, tav::CatalogDisplayOrder(sections, fields), "t",
                               document));
    const std::string saved = document.Bytes();
    EXPECT_NE(saved.find(c.mustKeep), std::string::npos) << "lost: " << c.mustKeep.substr(0, 80);

    DocumentTable reread = tavtest::TableOf(kFields);
    tav::ReadDocumentValues(sections, reread, ProfileText(saved));
    for (std::uint16_t i = 0; i < fields.Count(); ++i) {
        EXPECT_EQ(reread[i].value, fields[i].value) << i;
        EXPECT_EQ(reread[i].label, fields[i].label) << i;
    }
    ProfileText again(saved);
    ASSERT_TRUE(
        tav::ApplySave(sections, reread, tav::CatalogDisplayOrder(sections, reread), "t", again));
    EXPECT_TRUE(again.Bytes() == saved) << "a second save changes nothing";
}

INSTANTIATE_TEST_SUITE_P(
    Cases, BadDocumentTest,
    testing::Values(
        // Readers stop at the NUL; a save that leaves the value keeps the bytes after it.
        BadDocument{"nulBytes", "[General]\nTitle=a\0b\n;\0note\n"s, "a", 0,
                    "Title=a\0b\n;\0note\n"s},
        BadDocument{"binaryNoise", "\x01\x02\xff\xfe[General]\x80\nTitle=x\n\xc3\x28=\xa0\n", "", 0,
                    "\xc3\x28=\xa0\n"},
        BadDocument{"invalidUtf8Value", "[General]\nTitle=caf\xe9 \xc3\xa9\xff\n",
                    "caf\xe9 \xc3\xa9\xff", 0, "Title=caf\xe9 \xc3\xa9\xff\n"},
        BadDocument{"utf8Bom", "\xEF\xBB\xBF[General]\r\nTitle=x\r\n", "x", 0,
                    "\xEF\xBB\xBF[General]\r\n"},
        BadDocument{"crOnly", "[General]\rTitle=cr\r[Other]\rk=v\r", "cr", 0, "[Other]\rk=v\r"},
        BadDocument{"lfOnly", "[General]\nTitle=lf\n", "lf", 0, "[General]\n"},
        BadDocument{"mixedEndings", "[General]\r\nTitle=m\n[Other]\rk=v\r\n", "m", 0,
                    "[Other]\rk=v\r\n"},
        BadDocument{"hugeLine", "[General]\nTitle=t\n;" + Big(3 << 20, 'x') + "\n", "t", 0,
                    ";" + Big(3 << 20, 'x') + "\n"},
        BadDocument{"hugeValue", "[General]\nTitle=" + Big(3 << 20, 'v') + "\n", Big(3 << 20, 'v'),
                    0, "Title=" + Big(3 << 20, 'v') + "\n"},
        BadDocument{"duplicateSections", "[General]\nTitle=1\n[general]\nTitle=2\n", "1", 0,
                    "[general]\nTitle=2\n"},
        BadDocument{"duplicateKeys", "[General]\nTitle=1\nTITLE=2\n", "1", 0, "TITLE=2\n"},
        BadDocument{"specialCharacters", "[General]\nTitle=a=b [c] ;d \"e\" 'f\n",
                    "a=b [c] ;d \"e\" 'f", 0, "[General]\n"},
        BadDocument{"quotedValue", "[General]\nTitle=\"  spaced  \"\n", "  spaced  ", 0,
                    "Title=\"  spaced  \"\n"},
        BadDocument{"fourteenEntries",
                    "[Replace]\nr0=a,0\nr1=a,1\nr2=a,2\nr3=a,3\nr4=a,4\nr5=a,5\nr6=a,6\nr7=a,7\n"
                    "r8=a,8\nr9=a,9\nr:=a,10\nr;=a,11\nr<=a,12\nr==a,13\nr>=a,14\n",
                    "", 13, "r==a,13\nr>=a,14\n"},
        BadDocument{"entryWithEscapes", "[Replace]\nr0=x\\044y\\\\044z,w\n", "", 1,
                    "r0=x\\044y\\\\044z,w\n"},
        // Lines full of brackets are looked at once, not once per bracket.
        BadDocument{"bracketFloodLines",
                    "[General]\nTitle=b\n" + Big(2 << 20, '[') + "\nx" + Big(2 << 20, '[') + "\n",
                    "b", 0, "\nx" + Big(2 << 20, '[') + "\n"},
        BadDocument{"sectionWithoutClose", "[General\nTitle=x\n[General]\nTitle=y\n", "y", 0,
                    "[General\nTitle=x\n"}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(BadCatalogueTest, OverfullAndBinaryCataloguesLoadWhatFits) {
    std::string sections;
    for (int i = 1; i <= 70; ++i) {
        sections += std::to_string(i) + ",S" + std::to_string(i) + ",N,L,SN,2\r\n";
    }
    SectionCatalog sectionCatalog;
    EXPECT_EQ(sectionCatalog.LoadText(sections), 6u);
    EXPECT_EQ(sectionCatalog.Count(), 64);

    std::string fields;
    for (int i = 0; i < 140; ++i) {
        fields += "L,K" + std::to_string(i) + ",C,N,1\n";
    }
    tav::FieldCatalog fieldCatalog;
    EXPECT_EQ(fieldCatalog.LoadText(fields), 12u);
    EXPECT_EQ(fieldCatalog.Count(), 128);
    DocumentTable full(fieldCatalog);
    EXPECT_FALSE(full.AppendReplacement("a", "b", 1)) << "no row is left for an entry";

    DocumentTable binary = tavtest::TableOf("\0\x01,\xff\xfe,B,Y,\x80\n,,,,\n\n\r\n"s);
    EXPECT_EQ(binary.Count(), 2) << "the empty line and the lone CR LF add no rows";
    EXPECT_EQ(binary[0].type, tav::FieldType::Boolean);
    EXPECT_EQ(binary[0].value, "False");
    DocumentTable huge = tavtest::TableOf("L," + Big(1 << 20, 'k') + ",C,N,1\n");
    EXPECT_EQ(huge[0].key.size(), 1u << 20);
}

TEST(BadFileTest, FoldersDevicesAndPipesAreRefusedWithoutBlocking) {
    tavtest::TempDir dir;
    const std::string fifo = dir.File("pipe.tac");
    ASSERT_EQ(::mkfifo(fifo.c_str(), 0600), 0);
    const std::pair<std::string, const char*> cases[] = {
        {dir.Path(), "is a folder, not a file"},
        {"/dev/zero", "is not a regular file"},
        {fifo, "is not a regular file"},
    };
    tav::ConfigDocument document(tav::CataloguesFromText(dir.Path(), kSections, kFields));
    tav::DocumentStorage storage(document, tavtest::FixedClock("t"));
    for (const auto& [path, reason] : cases) {
        const auto loaded = storage.Open(path, "doc.tac");
        ASSERT_FALSE(loaded) << path;
        EXPECT_EQ(loaded.Error().file, path);
        EXPECT_EQ(loaded.Error().reason, reason) << path;
    }
    const tav::Status save = tavtest::AsStatus(
        storage.Save(tavtest::SaveOf(tav::SaveRequest::Scope::WholeDocument, "/dev/zero", "z")));
    ASSERT_FALSE(save);
    EXPECT_EQ(save.Error().reason, "is not a regular file");
}

TEST(BadFileTest, DocumentChangedOnDiskBetweenOpenAndSaveIsMergedKeyByKey) {
    tavtest::TempDir dir;
    const std::string path = dir.File("shared.tac");
    tavtest::WriteFile(path, "[General]\nBeep=0\nTitle=old\n");
    tav::ConfigDocument document(tav::CataloguesFromText(dir.Path(), kSections, kFields));
    tav::DocumentStorage storage(document, tavtest::FixedClock("t"));
    ASSERT_TRUE(storage.Open(path, "shared.tac"));
    ASSERT_TRUE(document.SetValue(0, "True"));
    // Another program changes the file meanwhile.
    tavtest::WriteFile(path, "; added elsewhere\n[General]\nTitle=old\nStation=7\n[Net]\nPort=1\n");
    ASSERT_TRUE(tavtest::AsStatus(storage.Save(tavtest::SaveOf())));
    EXPECT_EQ(tavtest::ReadFile(path),
              "; added elsewhere\n[General]\nTitle=old\nStation=7\nBeep=1\n[Net]\nPort=1\n"
              "[Replace]\nr0=\n");
}

}  // namespace
