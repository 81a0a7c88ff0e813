// The cross-check with Windows' own profile functions: documents written by the core (through
// ProfileText, as every save writes them) must read back through GetPrivateProfileStringA as the
// core and tacconf.exe read them. Documents are random within the domain both readers agree on
// (see docs/WINDOWS.md for the differences by design); the seed is printed on a failure.
#include <windows.h>

#include <gtest/gtest.h>

#include <random>

#include "base/win32/widepath.h"
#include "profile/profiletext.h"
#include "testutil.h"
#include "win32/winprocess.h"

namespace {

struct Setting {
    std::string section;
    std::string key;
    std::string value;
};

// Characters values are drawn from: letters, blanks, "=" and the other punctuation of real
// settings; a quote only inside a value (a value enclosed in quotes is read differently by
// design).
std::string RandomValue(std::mt19937& random) {
    const std::string characters = "abcXYZ019 =.,;:-_/\\()[]#%&'\"";
    std::string value;
    const int length = std::uniform_int_distribution<int>(0, 12)(random);
    for (int i = 0; i < length; ++i) {
        value += characters[std::uniform_int_distribution<std::size_t>(
            0, characters.size() - 1)(random)];
    }
    return value;
}

std::string RandomName(std::mt19937& random, const char* stem) {
    return stem + std::to_string(std::uniform_int_distribution<int>(0, 5)(random));
}

// What GetPrivateProfileStringA gives for `section`/`key` of `file`, or "<missing>".
std::string ProfileApiValue(const std::string& file, const std::string& section,
                            const std::string& key) {
    std::string buffer(4096, '\0');
    const DWORD size =
        ::GetPrivateProfileStringA(section.c_str(), key.c_str(), "<missing>", buffer.data(),
                                   static_cast<DWORD>(buffer.size()), file.c_str());
    buffer.resize(size);
    return buffer;
}

TEST(ProfileApiTest, WindowsReadsWhatTheCoreWrites) {
    const unsigned seed = std::random_device{}();
    std::mt19937 random(seed);
    const tavtest::TempDir dir;
    const std::string file = tavtest::Backslashed(dir.File("random.tac"));
    for (int round = 0; round < 40; ++round) {
        SCOPED_TRACE("seed " + std::to_string(seed) + ", document " + std::to_string(round));
        tav::ProfileText text(round % 2 == 0 ? std::string("; notes\r\n[S0]\r\nK0=first\r\n")
                                             : std::string());
        std::vector<Setting> settings;
        const int count = std::uniform_int_distribution<int>(1, 20)(random);
        for (int i = 0; i < count; ++i) {
            Setting s{RandomName(random, "S"), RandomName(random, "K"), RandomValue(random)};
            ASSERT_TRUE(text.Set(s.section, s.key, s.value));
            settings.push_back(std::move(s));
        }
        const std::string bytes = text.Bytes();
        tavtest::WriteFile(dir.File("random.tac"), bytes);
        const tav::ProfileText reread(bytes);
        for (const Setting& s : settings) {
            const std::optional<std::string> core = reread.Get(s.section, s.key);
            ASSERT_TRUE(core.has_value()) << s.section << "." << s.key;
            EXPECT_EQ(ProfileApiValue(file, s.section, s.key), *core)
                << "[" << s.section << "] " << s.key << " in\n"
                << bytes;
        }
    }
}

TEST(ProfileApiTest, HandWrittenLinesReadAlike) {
    struct Row {
        const char* name;
        std::string bytes;
        const char* section;
        const char* key;
    };
    const Row rows[] = {
        {"double quotes", "[S]\r\nK=\"a b\"\r\n", "S", "K"},
        {"single quotes", "[S]\r\nK='a b'\r\n", "S", "K"},
        {"quotes inside blanks", "[S]\r\nK=  \"a b\"  \r\n", "S", "K"},
        {"one quote", "[S]\r\nK=\"ab\r\n", "S", "K"},
        {"unequal quotes", "[S]\r\nK=\"ab'\r\n", "S", "K"},
        {"tabs and vertical tabs", "[S]\r\nK=\t\va b\t\r\n", "S", "K"},
        {"blanks around the key", "[S]\r\n  K  =v\r\n", "S", "K"},
        {"blank inside the key", "[S]\r\nA B=v\r\n", "S", "A B"},
        {"blanks in the header", "  [ S ] x\r\nK=v\r\n", "S", "K"},
        {"two closing brackets", "[S]x]\r\nK=v\r\n", "S]x", "K"},
        {"first of two keys", "[S]\r\nK=1\r\nK=2\r\n", "S", "K"},
        {"first of two sections", "[S]\r\nK=1\r\n[S]\r\nK=2\r\n", "S", "K"},
        {"only the first section", "[S]\r\nA=1\r\n[S]\r\nK=2\r\n", "S", "K"},
        {"any case", "[s]\r\nk=v\r\n", "S", "K"},
        {"semicolon in a value", "[S]\r\nK=v ; c\r\n", "S", "K"},
        {"LF and lone CR", "[S]\nA=1\rK=v", "S", "K"},
        {"no equals sign", "[S]\r\nK\r\n", "S", "K"},
        {"end-of-file bytes", "[S]\r\nK=\x1Av\x1A\r\n", "S", "K"},
        {"NUL", std::string("[S]\r\nK=a\0b\r\n", 12), "S", "K"},
        {"byte-order mark", "\xEF\xBB\xBF[S]\r\nK=v\r\n", "S", "K"},
        {"Windows-1252", "[S]\r\nK=\xE4\xF6\r\n", "S", "K"},
        {"a long value", "[S]\r\nK=" + std::string(3000, 'x') + "\r\n", "S", "K"},
    };
    const tavtest::TempDir dir;
    const std::string file = tavtest::Backslashed(dir.File("lines.tac"));
    for (const Row& row : rows) {
        tavtest::WriteFile(dir.File("lines.tac"), row.bytes);
        const std::optional<std::string> core =
            tav::ProfileText(row.bytes).Get(row.section, row.key);
        EXPECT_EQ(ProfileApiValue(file, row.section, row.key), core.value_or("<missing>"))
            << row.name;
    }
}

TEST(ProfileApiTest, TacconfExeGetsWhatWindowsReads) {
    const tavtest::TempDir dir;
    const std::string file = tavtest::Backslashed(dir.File("site.tac"));
    // clang-format off
    const std::vector<std::pair<std::string, std::string>> writes = {
        {"General.Title", "a = b = c"},
        {"General.Language", ""},
        {"Columns.FontName", "  Courier New  "},
        {"Capture.SourceFolder", "C:\\Daten\\Eingang"},
        {"Printing.Header", "say \"hi\" twice"},
        {"Printing.Printer", "*.tac"},  // set in the folder of site.tac: no wildcard expansion
    };
    // clang-format on
    tavtest::ExeOptions inFolder;
    inFolder.folder = tavtest::Backslashed(dir.Path());
    tavtest::WriteFile(dir.File("site.tac"), "[General]\r\nTitle=old\r\n");
    for (const auto& [address, value] : writes) {
        const tavtest::ExeRun set = tavtest::RunExe(
            tavtest::TestProgramFolder() + "\\tacconf.exe",
            {"--catalogues", tavtest::TestProgramFolder(), "set", file, address, value}, inFolder);
        ASSERT_EQ(set.exit, 0u) << set.err;
    }
    for (const auto& [address, value] : writes) {
        SCOPED_TRACE(address);
        const tavtest::ExeRun get =
            tavtest::RunExe(tavtest::TestProgramFolder() + "\\tacconf.exe",
                            {"--catalogues", tavtest::TestProgramFolder(), "get", file, address});
        const std::size_t dot = address.find('.');
        EXPECT_EQ(get.out, value + "\n");
        EXPECT_EQ(ProfileApiValue(file, address.substr(0, dot), address.substr(dot + 1)), value);
    }
}

}  // namespace
