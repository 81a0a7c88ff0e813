// ChmFile: the built help file read back, default-topic selection, and damaged or hostile files
// (made up here, or the built file cut short or altered) refused or read without harm.
#include <gtest/gtest.h>

#include <chm_lib.h>

#include <cstdint>
#include <filesystem>
#include <functional>
#include <map>
#include <random>
#include <string>
#include <vector>

#include "help/chmfile.h"
#include "testutil.h"

namespace {

using tav::ChmFile;

// --- A help file made up in memory: uncompressed objects, one listing page, one index page ---

constexpr std::uint32_t kPageLength = 0x200;
constexpr std::uint64_t kDirectory = 0x60;
constexpr std::uint64_t kListingPage = kDirectory + 0x54;
constexpr std::uint64_t kIndexPage = kListingPage + kPageLength;
constexpr std::uint64_t kData = kIndexPage + kPageLength;

const std::string kResetTable =
    "::DataSpace/Storage/MSCompressed/Transform/{7FC28940-9D31-11D0-9B27-00A0C91E9C7C}/"
    "InstanceData/ResetTable";
const std::string kContent = "::DataSpace/Storage/MSCompressed/Content";
const std::string kControlData = "::DataSpace/Storage/MSCompressed/ControlData";

void Put(std::string& bytes, std::uint64_t offset, std::uint64_t value, int width = 4) {
    for (int i = 0; i < width; ++i) {
        bytes.at(offset + i) = static_cast<char>(value >> (8 * i) & 0xFF);
    }
}

std::string Le(std::uint64_t value, int width = 4) {
    std::string bytes(width, '\0');
    Put(bytes, 0, value, width);
    return bytes;
}

// The directory's variable-length integer: 7 bits a byte, high bit on all but the last.
std::string Encoded(std::uint64_t value) {
    std::string bytes(1, static_cast<char>(value & 0x7F));
    while ((value >>= 7) != 0) {
        bytes.insert(bytes.begin(), static_cast<char>(0x80 | (value & 0x7F)));
    }
    return bytes;
}

struct Object {
    std::string name;
    std::string data;         // uncompressed objects: stored in the file
    std::uint64_t space = 0;  // 1: in the compressed section, at start/length
    std::uint64_t start = 0;
    std::uint64_t length = UINT64_MAX;  // UINT64_MAX: the size of data
};

struct Built {
    std::string bytes;
    std::map<std::string, std::uint64_t> at;  // file offset of each stored object
};

Built BuildChm(const std::vector<Object>& objects) {
    Built built;
    std::string entries;
    std::string data;
    for (const Object& o : objects) {
        const bool stored = o.space == 0;
        const std::uint64_t start = stored ? data.size() : o.start;
        const std::uint64_t length = o.length != UINT64_MAX ? o.length : o.data.size();
        entries +=
            Encoded(o.name.size()) + o.name + Encoded(o.space) + Encoded(start) + Encoded(length);
        if (stored) {
            built.at[o.name] = kData + data.size();
            data += o.data;
        }
    }
    std::string& f = built.bytes;
    f.assign(kData, '\0');
    f.replace(0, 4, "ITSF");
    Put(f, 4, 3);
    Put(f, 8, 0x60);
    Put(f, 0x48, kDirectory, 8);
    Put(f, 0x50, kData - kDirectory, 8);
    Put(f, 0x58, kData, 8);
    f.replace(kDirectory, 4, "ITSP");
    Put(f, kDirectory + 4, 1);
    Put(f, kDirectory + 8, 0x54);
    Put(f, kDirectory + 0x10, kPageLength);
    Put(f, kDirectory + 0x1C, 1);  // root: the index page
    Put(f, kDirectory + 0x20, 0);  // head: the listing page
    Put(f, kDirectory + 0x28, UINT32_MAX);
    Put(f, kDirectory + 0x2C, 2);
    f.replace(kListingPage, 4, "PMGL");
    Put(f, kListingPage + 4, kPageLength - 0x14 - entries.size());
    Put(f, kListingPage + 0x0C, UINT32_MAX);
    Put(f, kListingPage + 0x10, UINT32_MAX);
    f.replace(kListingPage + 0x14, entries.size(), entries);
    const std::string index = Encoded(1) + "/" + Encoded(0);
    f.replace(kIndexPage, 4, "PMGI");
    Put(f, kIndexPage + 4, kPageLength - 8 - index.size());
    f.replace(kIndexPage + 8, index.size(), index);
    f += data;
    return built;
}

std::string SystemRecord(std::uint16_t code, const std::string& text) {
    const std::string data = text + '\0';
    return Le(code, 2) + Le(data.size(), 2) + data;
}

// A compressed section that is consistent but whose stream is not LZX at all.
std::vector<Object> CompressedSection() {
    std::string table =
        Le(2) + Le(1) + Le(0) + Le(0x28) + Le(0x8000, 8) + Le(100, 8) + Le(0x8000, 8) + Le(0, 8);
    std::string control = Le(6) + "LZXC" + Le(2) + Le(1) + Le(1) + Le(1) + Le(0);
    return {{"/page.html", "", 1, 0, 100},
            {kContent, std::string(40000, '\x5A')},
            {kControlData, control},
            {kResetTable, table}};
}

Built ValidFile() {
    std::vector<Object> objects = {{"/", "", 0, 0, 0},
                                   {"/#SYSTEM", Le(3) + SystemRecord(2, "index.html")},
                                   {"/index.html", "<p>Start</p>"}};
    for (Object& o : CompressedSection()) {
        objects.push_back(std::move(o));
    }
    return BuildChm(objects);
}

std::string SaveTemp(const tavtest::TempDir& dir, const std::string& bytes) {
    const std::string path = dir.File("taca.chm");
    // A fresh file each time: rewriting one in place makes ext4 flush it to disk, slowly.
    std::filesystem::remove(path);
    tavtest::WriteFile(path, bytes);
    return path;
}

// --- The built help file ---

TEST(ChmFileBuilt, ShowsTheDefaultTopicTitleAndStoredBytes) {
    const auto opened = ChmFile::Open(TAV_HELP_FILE);
    ASSERT_TRUE(opened) << opened.Error().Message();
    const ChmFile& chm = **opened;
    EXPECT_EQ(chm.DefaultTopic(), "/index.html");
    EXPECT_EQ(chm.Title(), "TAV Configuration Manager Help");
    for (const char* name : {"help.css", "index.html", "tree.html"}) {
        const auto stored = chm.Retrieve(std::string("/") + name);
        ASSERT_TRUE(stored) << name;
        EXPECT_EQ(*stored, tavtest::ReadFile(std::string(TAV_HELP_SOURCES_DIR) + "/" + name));
    }
    const auto icon = chm.Retrieve("/images/appicon.svg");
    ASSERT_TRUE(icon);
    EXPECT_EQ(*icon,
              tavtest::ReadFile(std::string(TAV_HELP_SOURCES_DIR) + "/../images/appicon.svg"));
}

TEST(ChmFileBuilt, LooksUpNamesWithoutCaseOrLeadingSlash) {
    const auto opened = ChmFile::Open(TAV_HELP_FILE);
    ASSERT_TRUE(opened);
    const auto expected = (*opened)->Retrieve("/index.html");
    ASSERT_TRUE(expected);
    EXPECT_EQ((*opened)->Retrieve("/INDEX.HTML"), expected);
    EXPECT_EQ((*opened)->Retrieve("index.html"), expected);
    EXPECT_FALSE((*opened)->Retrieve("/missing.html"));
    EXPECT_FALSE((*opened)->Retrieve(""));
}

// --- Which page comes first ---

struct TopicCase {
    const char* name;
    std::vector<Object> objects;
    std::string expected;
};

std::string WindowsEntry(std::uint32_t defaultPage, std::uint32_t homePage) {
    std::string entry(0x70, '\0');
    Put(entry, 0x68, defaultPage);
    Put(entry, 0x6C, homePage);
    return Le(1) + Le(entry.size()) + entry;
}

const std::string kSitemap =
    "<UL><LI><OBJECT type=\"text/sitemap\"><param name=\"Name\" value=\"Intro\">"
    "<PARAM  NAME='local'  VALUE='intro.html#top'></OBJECT></UL>";

TEST(ChmFileTopic, FollowsTheWrittenOrderAndSkipsPagesThatDoNotExist) {
    const std::string strings = std::string("\0missing.html\0home.html\0", 24);
    const std::vector<TopicCase> cases = {
        {"system_default_topic",
         {{"/#SYSTEM", Le(3) + SystemRecord(2, "start.html")},
          {"/start.html", "s"},
          {"/index.html", "i"}},
         "/start.html"},
        {"system_topic_missing_windows_home",
         {{"/#SYSTEM", Le(3) + SystemRecord(2, "gone.html")},
          {"/#WINDOWS", WindowsEntry(1, 14)},
          {"/#STRINGS", strings},
          {"/home.html", "h"}},
         "/home.html"},
        {"contents_file_from_system",
         {{"/#SYSTEM", Le(3) + SystemRecord(0, "toc.hhc")},
          {"/toc.hhc", kSitemap},
          {"/intro.html", "i"},
          {"/index.html", "x"}},
         "/intro.html"},
        {"contents_file_found_by_listing",
         {{"/contents.HHC", kSitemap}, {"/intro.html", "i"}, {"/index.html", "x"}},
         "/intro.html"},
        {"index_page", {{"/default.htm", "d"}, {"/index.html", "i"}}, "/index.html"},
        {"default_page", {{"/default.htm", "d"}}, "/default.htm"},
        {"nothing_to_show", {{"/picture.png", "p"}}, ""},
        {"system_records_cut_short",
         {{"/#SYSTEM", Le(3) + Le(2, 2) + Le(0xFFFF, 2) + "start.html"}, {"/start.html", "s"}},
         ""},
        {"windows_offsets_outside_strings",
         {{"/#WINDOWS", WindowsEntry(0xFFFFFFF0, 0x7FFFFFFF)}, {"/#STRINGS", strings}},
         ""},
        {"windows_count_absurd",
         {{"/#WINDOWS", Le(0xFFFFFFFF) + Le(0x70) + std::string(0x70, '\0')},
          {"/#STRINGS", strings}},
         ""},
    };
    for (const TopicCase& c : cases) {
        tavtest::TempDir dir;
        const auto opened = ChmFile::Open(SaveTemp(dir, BuildChm(c.objects).bytes));
        ASSERT_TRUE(opened) << c.name << ": " << opened.Error().Message();
        EXPECT_EQ((*opened)->DefaultTopic(), c.expected) << c.name;
    }
}

// --- Files that must be refused, each with the reason the reader gives ---

struct Damage {
    const char* name;
    std::function<void(Built&)> apply;
    const char* reason;
};

void PutAt(Built& b, const std::string& object, std::uint64_t offset, std::uint64_t value) {
    Put(b.bytes, b.at.at(object) + offset, value);
}

TEST(ChmFileDamaged, RefusesEveryBrokenStructureWithItsReason) {
    const std::vector<Damage> cases = {
        {"empty", [](Built& b) { b.bytes.clear(); }, "no ITSF signature"},
        {"other_signature", [](Built& b) { b.bytes.replace(0, 4, "MZ\x90"); }, "no ITSF signature"},
        {"unknown_version", [](Built& b) { Put(b.bytes, 4, 9); }, "unknown version"},
        {"header_length_too_small", [](Built& b) { Put(b.bytes, 8, 0x10); }, "unknown version"},
        {"directory_beyond_file", [](Built& b) { Put(b.bytes, 0x48, 1ull << 62, 8); },
         "directory lies outside"},
        {"directory_length_absurd", [](Built& b) { Put(b.bytes, 0x50, UINT64_MAX, 8); },
         "directory lies outside"},
        {"content_beyond_file", [](Built& b) { Put(b.bytes, 0x58, 1ull << 40, 8); },
         "content lies outside"},
        {"directory_signature", [](Built& b) { b.bytes.replace(kDirectory, 4, "ITSQ"); },
         "directory header is damaged"},
        {"page_length_absurd", [](Built& b) { Put(b.bytes, kDirectory + 0x10, UINT32_MAX); },
         "pages do not fit"},
        {"page_count_absurd", [](Built& b) { Put(b.bytes, kDirectory + 0x2C, 0x7FFFFFFF); },
         "pages do not fit"},
        {"head_outside", [](Built& b) { Put(b.bytes, kDirectory + 0x20, 7); },
         "no valid first page"},
        {"root_outside", [](Built& b) { Put(b.bytes, kDirectory + 0x1C, 0x40000000); },
         "no valid first page"},
        {"free_space_absurd", [](Built& b) { Put(b.bytes, kListingPage + 4, UINT32_MAX); },
         "directory page is damaged"},
        {"name_length_absurd", [](Built& b) { Put(b.bytes, kListingPage + 0x14, 0x7FFFFFFF); },
         "directory page is damaged"},
        {"number_never_ends",
         [](Built& b) { b.bytes.replace(kListingPage + 0x14, 0x100, 0x100, '\x80'); },
         "directory page is damaged"},
        {"unknown_section", [](Built& b) { Put(b.bytes, kListingPage + 0x16, 5, 1); },
         "directory page is damaged"},
        {"listing_pages_loop", [](Built& b) { Put(b.bytes, kListingPage + 0x10, 0); },
         "form a loop"},
        {"listing_page_outside", [](Built& b) { Put(b.bytes, kListingPage + 0x10, 99); },
         "points outside"},
        {"index_leads_to_itself", [](Built& b) { Put(b.bytes, kIndexPage + 10, 1, 1); },
         "index forms a loop"},
        {"index_leads_outside", [](Built& b) { Put(b.bytes, kIndexPage + 10, 9, 1); },
         "index page is damaged"},
        {"object_beyond_file",
         [](Built& b) {
             b = BuildChm({{"/a.html", "x", 0, 0, 1ull << 40}});
         },
         "lies outside the file"},
        {"compressed_section_missing",
         [](Built& b) {
             b = BuildChm({{"/a.html", "", 1, 0, 10}});
         },
         "compressed section is missing"},
        {"compressed_object_beyond_section",
         [](Built& b) {
             auto objects = CompressedSection();
             objects[0].start = 0x7FFF;
             b = BuildChm(objects);
         },
         "outside the compressed section"},
        {"unused_tables_broken",
         [](Built& b) {
             auto objects = CompressedSection();
             objects.erase(objects.begin());  // nothing compressed is left to need them
             b = BuildChm(objects);
             PutAt(b, kControlData, 0x10, 0);
         },
         "compression tables"},
        {"compression_table_twice",
         [](Built& b) {
             auto objects = CompressedSection();
             objects.push_back(objects.back());
             b = BuildChm(objects);
         },
         "compression table twice"},
        {"reset_table_version", [](Built& b) { PutAt(b, kResetTable, 0, 3); },
         "compression tables"},
        {"reset_block_count_absurd", [](Built& b) { PutAt(b, kResetTable, 4, 0xFFFFFFFF); },
         "compression tables"},
        {"reset_table_offset_absurd", [](Built& b) { PutAt(b, kResetTable, 0x0C, 0xFFFFFF00); },
         "compression tables"},
        {"reset_block_length_zero", [](Built& b) { PutAt(b, kResetTable, 0x20, 0); },
         "compression tables"},
        {"reset_block_beyond_window", [](Built& b) { PutAt(b, kResetTable, 0x20, 0x10000); },
         "compression tables"},
        {"compressed_length_beyond_stream", [](Built& b) { PutAt(b, kResetTable, 0x18, 50000); },
         "compression tables"},
        {"compressed_block_too_long", [](Built& b) { PutAt(b, kResetTable, 0x18, 40000); },
         "compression tables"},
        {"block_start_beyond_stream", [](Built& b) { PutAt(b, kResetTable, 0x28, 101); },
         "compression tables"},
        {"control_signature",
         [](Built& b) { b.bytes.replace(b.at.at(kControlData) + 4, 4, "LZXD"); },
         "compression tables"},
        {"window_zero", [](Built& b) { PutAt(b, kControlData, 0x10, 0); }, "compression tables"},
        {"window_not_a_power_of_two", [](Built& b) { PutAt(b, kControlData, 0x10, 3); },
         "compression tables"},
        {"window_too_large", [](Built& b) { PutAt(b, kControlData, 0x10, 128); },
         "compression tables"},
        {"windows_per_reset_zero", [](Built& b) { PutAt(b, kControlData, 0x14, 0); },
         "compression tables"},
    };
    {
        tavtest::TempDir dir;
        const auto intact = ChmFile::Open(SaveTemp(dir, ValidFile().bytes));
        ASSERT_TRUE(intact) << intact.Error().Message();
        EXPECT_EQ((*intact)->DefaultTopic(), "/index.html");
        // The stream is not LZX at all: the page is absent, not garbage and not a crash.
        EXPECT_FALSE((*intact)->Retrieve("/page.html"));
    }
    for (const Damage& c : cases) {
        Built file = ValidFile();
        c.apply(file);
        tavtest::TempDir dir;
        const std::string path = SaveTemp(dir, file.bytes);
        const auto opened = ChmFile::Open(path);
        ASSERT_FALSE(opened) << c.name;
        EXPECT_FALSE(opened) << c.name;
        EXPECT_EQ(opened.Error().file, path) << c.name;
        EXPECT_NE(opened.Error().reason.find(c.reason), std::string::npos)
            << c.name << ": " << opened.Error().reason;
    }
}

TEST(ChmFileDamaged, ReportsFilesThatCannotBeRead) {
    tavtest::TempDir dir;
    const auto missing = ChmFile::Open(dir.File("taca.chm"));
    ASSERT_FALSE(missing);
    EXPECT_EQ(missing.Error().reason, "No such file or directory");

    std::filesystem::create_directory(dir.File("folder.chm"));
    const auto folder = ChmFile::Open(dir.File("folder.chm"));
    ASSERT_FALSE(folder);
    EXPECT_EQ(folder.Error().reason, "is a folder, not a file");

    const std::string huge = dir.File("huge.chm");
    tavtest::WriteFile(huge, "ITSF");
    std::filesystem::resize_file(huge, ChmFile::kMaxFileSize + 1);  // sparse: costs no disk
    const auto tooLarge = ChmFile::Open(huge);
    ASSERT_FALSE(tooLarge);
    EXPECT_EQ(tooLarge.Error().reason, "it is too large for a help file");
}

TEST(ChmFileDamaged, TreatsAnObjectLargerThanTheLimitAsAbsent) {
    tavtest::TempDir dir;
    const std::string big(ChmFile::kMaxObjectSize + 1, 'x');
    const auto opened = ChmFile::Open(SaveTemp(dir, BuildChm({{"/big.html", big}}).bytes));
    ASSERT_TRUE(opened) << opened.Error().Message();
    EXPECT_FALSE((*opened)->Retrieve("/big.html"));
}

// --- The built file cut short, altered or replaced by noise ---

// Every object name of the intact built file, listed by chmlib itself.
std::vector<std::string> BuiltObjectNames() {
    std::vector<std::string> names;
    chmFile* handle = chm_open(TAV_HELP_FILE);
    if (handle == nullptr) {
        return names;
    }
    const auto collect = [](chmFile*, chmUnitInfo* unit, void* context) -> int {
        static_cast<std::vector<std::string>*>(context)->push_back(unit->path);
        return CHM_ENUMERATOR_CONTINUE;
    };
    chm_enumerate(handle, CHM_ENUMERATE_ALL, collect, &names);
    chm_close(handle);
    return names;
}

// Opens `bytes` and, when that succeeds, reads everything the viewer could ask for. A refusal
// must name the file; nothing may crash or hang.
void OpenAndReadAll(const tavtest::TempDir& dir, const std::string& bytes,
                    const std::vector<std::string>& names, const std::string& label) {
    const std::string path = SaveTemp(dir, bytes);
    const auto opened = ChmFile::Open(path);
    if (!opened) {
        EXPECT_EQ(opened.Error().file, path) << label;
        EXPECT_FALSE(opened.Error().reason.empty()) << label;
        return;
    }
    ASSERT_TRUE(opened) << label;
    (*opened)->DefaultTopic();
    (*opened)->Title();
    for (const std::string& name : names) {
        if (const auto object = (*opened)->Retrieve(name)) {
            EXPECT_LE(object->size(), ChmFile::kMaxObjectSize) << label;
        }
    }
}

class ChmFileAltered : public testing::Test {
protected:
    void SetUp() override {
        m_intact = tavtest::ReadFile(TAV_HELP_FILE);
        m_names = BuiltObjectNames();
        ASSERT_GT(m_names.size(), 20u);
    }

    tavtest::TempDir m_dir;
    std::string m_intact;
    std::vector<std::string> m_names;
};

TEST_F(ChmFileAltered, RefusesTheFileCutShortAnywhere) {
    for (std::size_t length = 0; length < m_intact.size(); length += 23) {
        const std::string path = SaveTemp(m_dir, m_intact.substr(0, length));
        const auto opened = ChmFile::Open(path);
        ASSERT_FALSE(opened) << "cut at " << length;
        EXPECT_EQ(opened.Error().file, path);
    }
}

TEST_F(ChmFileAltered, SurvivesAlteredHeadersDirectoryAndTables) {
    // The headers, the directory page and the compression tables lie before the stream.
    const std::size_t tables = std::min<std::size_t>(m_intact.size(), 0x1300);
    for (std::size_t at = 0; at < tables; at += 3) {
        for (const unsigned char value : {0x00, 0xFF}) {
            std::string bytes = m_intact;
            bytes[at] = static_cast<char>(bytes[at] == static_cast<char>(value) ? 0x7F : value);
            OpenAndReadAll(m_dir, bytes, m_names, "byte " + std::to_string(at));
        }
    }
}

TEST_F(ChmFileAltered, SurvivesAnAlteredCompressedStream) {
    std::mt19937 random(20240607);
    for (int round = 0; round < 300; ++round) {
        std::string bytes = m_intact;
        std::uniform_int_distribution<std::size_t> where(0x1300, bytes.size() - 1);
        for (int change = 0; change < 1 + round % 8; ++change) {
            bytes[where(random)] = static_cast<char>(random());
        }
        OpenAndReadAll(m_dir, bytes, m_names, "round " + std::to_string(round));
    }
}

TEST_F(ChmFileAltered, RefusesNoise) {
    std::mt19937 random(7);
    for (int round = 0; round < 200; ++round) {
        std::string bytes(std::uniform_int_distribution<std::size_t>(0, 0x3000)(random), '\0');
        for (char& c : bytes) {
            c = static_cast<char>(random());
        }
        // Half of them start like a real file, so the checks behind the signature run too.
        if (round % 2 == 1 && bytes.size() >= 0x60) {
            bytes.replace(0, 12, m_intact.substr(0, 12));
        }
        const auto opened = ChmFile::Open(SaveTemp(m_dir, bytes));
        EXPECT_FALSE(opened) << "round " << round;
    }
}

}  // namespace
