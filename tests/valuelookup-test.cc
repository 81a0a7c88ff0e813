#include "document/valuelookup.h"

#include <gtest/gtest.h>

#include <random>
#include <string>
#include <vector>

#include "document/documentrules.h"
#include "testutil.h"

namespace {

using tav::TextEncoding;
using tav::ValueQuery;

const char* const kSections =
    "1,Main,N,Main,SN,1\n2,Replace,N,Replacements,SR,2\n3,Other,Y,Other,SN,3\n";

// Booleans, texts, an ordered field, a field of no section and one keyed like an entry, then
// `filler` fields that leave the table less room for entries (123 rows: none).
std::shared_ptr<const tav::Catalogues> CataloguesWith(std::size_t filler) {
    std::string fields =
        "Beep,Beep,B,N,1\nTitle,Title,C,N,1\nSize,Size,C,Y,3\nOrphan,Orphan,C,N,9\nR,r0,C,N,1\n";
    for (std::size_t i = 0; i < filler; ++i) {
        fields += "F,F" + std::to_string(i) + ",C,N,3\n";
    }
    return tav::CataloguesFromText("/cat", kSections, fields);
}

const char* const kLines[] = {"[Main]",
                              "[main]",
                              "[Replace]",
                              " [REPLACE] ",
                              "[Other]",
                              "Beep=1",
                              "Beep = 0",
                              "Beep=yes",
                              "Title=Caf\xC3\xA9",
                              "Title=Caf\xE9",
                              "Title=\"plain\"",
                              "Size=12",
                              "r0=a,b",
                              "r0=x",
                              "r1=c\\044d,\xC3\xA8",
                              "r2=\xE9,e",
                              "r3=,",
                              "r4=y,z",
                              "F3=f",
                              "Order=Size",
                              "; B\xFCro",
                              ""};

// Random lines of the sections above; at times a whole list of entries r0 .. rN.
std::string RandomDocument(std::mt19937& random) {
    const std::string endings[] = {"\n", "\r\n", "\r"};
    std::string bytes = random() % 6 == 0 ? "\xEF\xBB\xBF" : "";
    for (std::size_t line = random() % 16; line > 0; --line) {
        if (random() % 6 == 0) {
            bytes += "[Replace]" + endings[random() % 3];
            for (std::size_t n = 0, count = random() % 14; n < count; ++n) {
                bytes += tav::ReplacementKey(n) + "=f" + std::to_string(n) + ",t" + endings[0];
            }
        }
        bytes += kLines[random() % std::size(kLines)] + endings[random() % 3];
    }
    return bytes;
}

// What a ConfigDocument that opened the whole document gives for the query, also read from it
// piece by piece by LookUpValues: the same texts, missing entries, entry count and warnings, for
// every encoding given or decided and however little room the table has for entries.
TEST(ValueLookupTest, GivesWhatTheOpenDocumentShows) {
    std::mt19937 random(20261211);
    const std::size_t fillers[] = {0, 118, 121, 123};
    const std::optional<TextEncoding> encodings[] = {std::nullopt, TextEncoding::Utf8,
                                                     TextEncoding::Windows1252};
    for (int round = 0; round < 1500; ++round) {
        const auto catalogues = CataloguesWith(fillers[random() % std::size(fillers)]);
        const std::string bytes = RandomDocument(random);
        const std::optional<TextEncoding> encoding = encodings[random() % std::size(encodings)];
        ValueQuery query;
        for (std::size_t n = random() % 4; n > 0; --n) {
            query.fields.push_back(
                static_cast<std::uint16_t>(random() % 6 % catalogues->fields.Count()));
        }
        for (std::size_t n = random() % 3; n > 0; --n) {
            query.entries.push_back(random() % tav::DocumentTable::kMaxReplacements);
        }
        SCOPED_TRACE(testing::PrintToString(bytes));
        const auto values = tav::LookUpValues(
            *catalogues, query, tavtest::RandomPieces(bytes, random), encoding, 1 + random() % 32);
        ASSERT_TRUE(values);

        tav::ConfigDocument document(catalogues);
        EXPECT_EQ(values->warnings, document.OpenBytes("doc.tac", "doc.tac", bytes, encoding));
        for (std::size_t i = 0; i < query.fields.size(); ++i) {
            EXPECT_EQ(values->fields[i], document.Value(query.fields[i]))
                << "row " << query.fields[i];
        }
        for (std::size_t i = 0; i < query.entries.size(); ++i) {
            const std::size_t n = query.entries[i];
            const bool present = n < document.EntryCount();
            ASSERT_EQ(values->entries[i].has_value(), present) << "entry " << n;
            if (present) {
                EXPECT_EQ(*values->entries[i], document.Entry(n)) << "entry " << n;
            } else {
                EXPECT_EQ(values->entriesRead, document.EntryCount());
            }
        }
        if (HasFailure()) {
            break;
        }
    }
}

// The rest of the document is read only to decide its encoding, and only when a text to give is
// not ASCII and neither a byte-order mark, nor bytes read already, nor the caller decide it: with
// the bytes after the replacement section unreadable, the read fails exactly then.
TEST(ValueLookupTest, ReadsOnForTheEncodingOnlyWhenItMatters) {
    struct Case {
        const char* name;
        std::string start;  // before "[Main]"
        std::uint16_t field;
        std::optional<TextEncoding> encoding;
        const char* value;  // nullptr: the read of the unreadable rest fails
    };
    const Case cases[] = {
        {"asciiValue", "", 0, std::nullopt, "True"},
        {"undecided", "", 1, std::nullopt, nullptr},
        {"encodingGiven", "", 1, TextEncoding::Utf8, "Caf\xC3\xA9"},
        {"byteOrderMark", "\xEF\xBB\xBF", 1, std::nullopt, "Caf\xC3\xA9"},
        {"codePageByteBefore", "; B\xFCro\n", 1, std::nullopt, "Caf\xC3\x83\xC2\xA9"},
    };
    const auto catalogues = CataloguesWith(0);
    std::mt19937 random(11);
    for (const Case& c : cases) {
        const std::string head = c.start + "[Main]\nBeep=1\nTitle=Caf\xC3\xA9\n[Replace]\n";
        const std::string bytes = head + "r0=a,b\n[Other]\nSize=1\n";
        const ValueQuery query{{c.field}, {}};
        const auto values = tav::LookUpValues(
            *catalogues, query, tavtest::RandomPieces(bytes, random, head.size()), c.encoding, 8);
        if (c.value == nullptr) {
            ASSERT_FALSE(values) << c.name;
            EXPECT_EQ(values.Error().Message(), "doc.tac: Input/output error") << c.name;
            continue;
        }
        ASSERT_TRUE(values) << c.name << ": " << values.Error().Message();
        EXPECT_EQ(values->fields, std::vector<std::string>{c.value}) << c.name;
    }
}

}  // namespace
