// The names of a save's temporary files and copies: made from the document's name, cut without
// splitting a UTF-8 sequence, and told apart for documents whose names share their start, so that
// the leftovers of one document are never taken for another's.
#include "storage/posix/tempfile.h"

#include <gtest/gtest.h>

#include <fcntl.h>

#include <algorithm>
#include <string>

#include "storage/posix/leftovercopy.h"
#include "testutil.h"

namespace {

struct NameCase {
    const char* name;
    std::string document;
    std::string start;  // what of the name the prefix keeps
};

bool IsHexDigits(const std::string& text) {
    return text.size() == 8 && std::all_of(text.begin(), text.end(), [](char c) {
               return (c >= '0' && c <= '9') || (c >= 'a' && c <= 'f');
           });
}

TEST(TempNameTest, NamesKeepTheStartOfTheDocumentsNameAndTellNeighboursApart) {
    const std::string a28(28, 'a');
    const NameCase cases[] = {
        {"short", "doc.tac", "doc.tac"},
        {"exactly32", std::string(32, 'a'), std::string(32, 'a')},
        {"ascii40", std::string(40, 'a'), std::string(32, 'a')},
        {"twoBytesAcrossTheCut", std::string(31, 'a') + "\xC3\xA9x.tac", std::string(31, 'a')},
        {"threeBytesAcrossTheCut", std::string(30, 'a') + "\xE2\x82\xACx.tac",
         std::string(30, 'a')},
        {"fourBytesAcrossTheCut", std::string(29, 'a') + "\xF0\x9F\x98\x80x.tac",
         std::string(29, 'a')},
        {"fourBytesEndingAtTheCut", a28 + "\xF0\x9F\x98\x80x.tac", a28 + "\xF0\x9F\x98\x80"},
        {"longest", std::string(251, 'n') + ".tac", std::string(32, 'n')},
    };
    for (const NameCase& c : cases) {
        // A neighbour differs only in the last byte: past the cut for the long names.
        std::string neighbour = c.document;
        neighbour.back() = neighbour.back() == 'c' ? 'd' : 'c';
        const std::string prefix = tav::TempNamePrefix(c.document);
        ASSERT_EQ(prefix.size(), c.start.size() + 10) << c.name;
        EXPECT_EQ(prefix.substr(0, c.start.size() + 2), "." + c.start + ".") << c.name;
        EXPECT_TRUE(IsHexDigits(prefix.substr(c.start.size() + 2))) << c.name << ": " << prefix;
        EXPECT_NE(prefix, tav::TempNamePrefix(neighbour)) << c.name;
        EXPECT_NE(tav::CopyNameBeside(c.document), tav::CopyNameBeside(neighbour)) << c.name;
        EXPECT_EQ(tav::CopyNameBeside(c.document), prefix + ".new") << c.name;

        // What a save really makes is known as its document's, and only as that.
        tavtest::TempDir dir;
        const tav::UniqueFd fd(::open(dir.Path().c_str(), O_PATH | O_DIRECTORY | O_CLOEXEC));
        const tav::OpenFolderRef folder{fd.Get(), dir.Path()};
        tav::Expected<tav::TempFile> temp = tav::TempFile::Create(folder, c.document, c.document);
        ASSERT_TRUE(temp) << c.name << ": " << temp.Error().Message();
        temp->Keep();
        EXPECT_TRUE(tav::IsTempNameOf(temp->Name(), c.document)) << c.name << ": " << temp->Name();
        EXPECT_FALSE(tav::IsTempNameOf(temp->Name(), neighbour)) << c.name;
        EXPECT_FALSE(tav::IsTempNameOf(tav::CopyNameBeside(c.document), c.document)) << c.name;
        EXPECT_EQ(tav::FindTemps(folder, c.document), std::vector<std::string>{temp->Name()})
            << c.name;
        EXPECT_TRUE(tav::FindTemps(folder, neighbour).empty()) << c.name;
    }
}

TEST(TempNameTest, OnlyTheRandomTailOfAMadeNameIsAccepted) {
    const std::string document = "doc.tac";
    const std::string prefix = tav::TempNamePrefix(document);
    std::string otherDigits = prefix;  // the digits of another name
    otherDigits.back() = otherDigits.back() == '0' ? '1' : '0';
    const std::pair<std::string, bool> cases[] = {
        {prefix + "Ab12Cz", true},
        {prefix + "Ab12C", false},
        {prefix + "Ab12Cz9", false},
        {prefix + "Ab-2Cz", false},
        {prefix + "Ab 2Cz", false},
        {prefix + ".new", false},
        {"x" + prefix.substr(1) + "Ab12Cz", false},
        {"", false},
        {otherDigits + "Ab12Cz", false},
    };
    for (const auto& [entry, accepted] : cases) {
        EXPECT_EQ(tav::IsTempNameOf(entry, document), accepted) << entry;
    }
}

}  // namespace
