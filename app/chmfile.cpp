#include "chmfile.h"

#include <chm_lib.h>

#include <algorithm>
#include <cctype>
#include <filesystem>
#include <string_view>
#include <utility>
#include <vector>

namespace tav {

namespace {

// --- Container layout (all integers little-endian) ---

constexpr std::uint64_t kItsfV2Length = 0x58;
constexpr std::uint64_t kItsfV3Length = 0x60;  // chmlib always reads this much
constexpr std::uint64_t kItspLength = 0x54;
constexpr std::uint64_t kListingHeaderLength = 0x14;  // "PMGL" page
constexpr std::uint64_t kIndexHeaderLength = 0x08;    // "PMGI" page
constexpr std::uint32_t kMinDirectoryBlock = 0x40;
constexpr std::uint32_t kMaxDirectoryBlock = 0x10000;
constexpr std::uint64_t kMaxNameLength = CHM_MAX_PATHLEN;
constexpr int kMaxEncodedIntegerBytes = 9;  // 63 bits, so no value wraps
constexpr std::int32_t kNoPage = -1;

constexpr std::uint64_t kResetTableLength = 0x28;
constexpr std::uint64_t kMinControlDataLength = 0x18;
constexpr std::uint64_t kMaxControlDataLength = 256;  // chmlib's buffer
constexpr std::uint32_t kMinLzxWindow = 1u << 15;
constexpr std::uint32_t kMaxLzxWindow = 1u << 21;
constexpr std::uint64_t kLzxSlack = 6144;  // chmlib's room for one compressed block's overrun

constexpr std::string_view kResetTableName =
    "::DataSpace/Storage/MSCompressed/Transform/{7FC28940-9D31-11D0-9B27-00A0C91E9C7C}/"
    "InstanceData/ResetTable";
constexpr std::string_view kContentName = "::DataSpace/Storage/MSCompressed/Content";
constexpr std::string_view kControlDataName = "::DataSpace/Storage/MSCompressed/ControlData";

// --- Help-file metadata ---

constexpr std::uint16_t kSystemContentsFile = 0;
constexpr std::uint16_t kSystemDefaultTopic = 2;
constexpr std::uint16_t kSystemTitle = 3;
constexpr std::uint64_t kWindowsDefaultPage = 0x68;
constexpr std::uint64_t kWindowsHomePage = 0x6C;
constexpr std::uint64_t kMinWindowsEntry = 0x70;

// A byte string read with bounds: every accessor checks the range first.
class Bytes {
public:
    explicit Bytes(std::string_view data) : m_data(data) {}

    std::uint64_t Size() const { return m_data.size(); }
    bool Has(std::uint64_t offset, std::uint64_t length) const {
        return offset <= m_data.size() && length <= m_data.size() - offset;
    }
    std::uint64_t Uint(std::uint64_t offset, int width) const {
        std::uint64_t value = 0;
        for (int i = width - 1; i >= 0; --i) {
            value = value << 8 | static_cast<unsigned char>(m_data[offset + i]);
        }
        return value;
    }
    std::uint16_t U16(std::uint64_t offset) const {
        return static_cast<std::uint16_t>(Uint(offset, 2));
    }
    std::uint32_t U32(std::uint64_t offset) const {
        return static_cast<std::uint32_t>(Uint(offset, 4));
    }
    std::int32_t I32(std::uint64_t offset) const { return static_cast<std::int32_t>(U32(offset)); }
    std::uint64_t U64(std::uint64_t offset) const { return Uint(offset, 8); }
    std::string_view View(std::uint64_t offset, std::uint64_t length) const {
        return m_data.substr(offset, length);
    }

private:
    std::string_view m_data;
};

struct Entry {
    std::string name;
    std::uint64_t space = 0;
    std::uint64_t start = 0;
    std::uint64_t length = 0;
};

bool EqualNoCase(std::string_view a, std::string_view b) {
    return a.size() == b.size() && std::equal(a.begin(), a.end(), b.begin(), [](char x, char y) {
               return std::tolower(static_cast<unsigned char>(x)) ==
                      std::tolower(static_cast<unsigned char>(y));
           });
}

// Reads one of the directory's variable-length integers at `pos`, which must end before `end`.
bool ReadEncoded(const Bytes& page, std::uint64_t& pos, std::uint64_t end, std::uint64_t& value) {
    value = 0;
    for (int i = 0; i < kMaxEncodedIntegerBytes && pos < end; ++i) {
        const auto byte = static_cast<std::uint8_t>(page.Uint(pos++, 1));
        value = value << 7 | (byte & 0x7F);
        if (byte < 0x80) {
            return true;
        }
    }
    return false;
}

bool ReadName(const Bytes& page, std::uint64_t& pos, std::uint64_t end, std::string& name) {
    std::uint64_t length = 0;
    if (!ReadEncoded(page, pos, end, length) || length == 0 || length > kMaxNameLength ||
        length > end - pos) {
        return false;
    }
    name.assign(page.View(pos, length));
    pos += length;
    return name.find('\0') == std::string::npos;
}

// The range of a directory page's entries, after its header and before its free space.
std::optional<std::uint64_t> EntriesEnd(const Bytes& page, std::uint64_t header) {
    const std::uint64_t freeSpace = page.U32(4);
    if (freeSpace > page.Size() - header) {
        return std::nullopt;
    }
    return page.Size() - freeSpace;
}

// Parses a listing page ("PMGL"): every entry must lie wholly inside the page.
bool ReadListingPage(const Bytes& page, std::vector<Entry>& entries) {
    const auto end = EntriesEnd(page, kListingHeaderLength);
    if (page.View(0, 4) != "PMGL" || !end) {
        return false;
    }
    for (std::uint64_t pos = kListingHeaderLength; pos < *end;) {
        Entry entry;
        if (!ReadName(page, pos, *end, entry.name) || !ReadEncoded(page, pos, *end, entry.space) ||
            !ReadEncoded(page, pos, *end, entry.start) ||
            !ReadEncoded(page, pos, *end, entry.length) || entry.space > 1) {
            return false;
        }
        entries.push_back(std::move(entry));
    }
    return true;
}

// Parses an index page ("PMGI"): names, each followed by the page it leads to.
bool ReadIndexPage(const Bytes& page, std::uint32_t pageCount, std::vector<std::uint32_t>& next) {
    const auto end = EntriesEnd(page, kIndexHeaderLength);
    if (page.View(0, 4) != "PMGI" || !end) {
        return false;
    }
    for (std::uint64_t pos = kIndexHeaderLength; pos < *end;) {
        std::string name;
        std::uint64_t child = 0;
        if (!ReadName(page, pos, *end, name) || !ReadEncoded(page, pos, *end, child) ||
            child >= pageCount) {
            return false;
        }
        next.push_back(static_cast<std::uint32_t>(child));
    }
    return true;
}

struct Directory {
    std::uint64_t firstPage = 0;  // file offset of page 0
    std::uint32_t pageLength = 0;
    std::uint32_t pageCount = 0;
    std::int32_t root = kNoPage;
    std::int32_t head = kNoPage;
    std::uint64_t dataOffset = 0;
};

// Checks the two headers; on success `dir` describes the directory.
std::optional<std::string> CheckHeaders(const Bytes& file, Directory& dir) {
    if (!file.Has(0, kItsfV3Length) || file.View(0, 4) != "ITSF") {
        return "it is not a compiled help file (no ITSF signature)";
    }
    const std::int32_t version = file.I32(4);
    const std::int32_t headerLength = file.I32(8);
    if ((version != 2 && version != 3) ||
        headerLength < static_cast<std::int32_t>(version == 2 ? kItsfV2Length : kItsfV3Length)) {
        return "its header has an unknown version";
    }
    const std::uint64_t dirOffset = file.U64(0x48);
    const std::uint64_t dirLength = file.U64(0x50);
    if (!file.Has(dirOffset, dirLength) || dirLength < kItspLength) {
        return "its directory lies outside the file";
    }
    dir.dataOffset = version == 3 ? file.U64(0x58) : dirOffset + dirLength;
    if (dir.dataOffset > file.Size()) {
        return "its content lies outside the file";
    }
    if (file.View(dirOffset, 4) != "ITSP" || file.I32(dirOffset + 4) != 1 ||
        file.I32(dirOffset + 8) != static_cast<std::int32_t>(kItspLength)) {
        return "its directory header is damaged";
    }
    dir.pageLength = file.U32(dirOffset + 0x10);
    dir.root = file.I32(dirOffset + 0x1C);
    dir.head = file.I32(dirOffset + 0x20);
    dir.pageCount = file.U32(dirOffset + 0x2C);
    dir.firstPage = dirOffset + kItspLength;
    if (dir.pageLength < kMinDirectoryBlock || dir.pageLength > kMaxDirectoryBlock ||
        dir.pageCount == 0 ||
        std::uint64_t{dir.pageCount} * dir.pageLength > dirLength - kItspLength) {
        return "its directory pages do not fit the directory";
    }
    const auto inRange = [&dir](std::int32_t page) {
        return page >= 0 && static_cast<std::uint32_t>(page) < dir.pageCount;
    };
    if (dir.root < 0) {
        dir.root = dir.head;  // no index pages: the single listing page is the root, as chmlib does
    }
    if (!inRange(dir.head) || !inRange(dir.root)) {
        return "its directory has no valid first page";
    }
    return std::nullopt;
}

Bytes Page(const Bytes& file, const Directory& dir, std::uint32_t index) {
    return Bytes(file.View(dir.firstPage + std::uint64_t{index} * dir.pageLength, dir.pageLength));
}

// The entries of every listing page checked so far, each page read once.
struct Listing {
    std::vector<Entry> entries;
    std::vector<bool> read;
};

bool ReadListingOnce(const Bytes& file, const Directory& dir, std::uint32_t index,
                     Listing& listing) {
    if (listing.read[index]) {
        return true;
    }
    listing.read[index] = true;
    return ReadListingPage(Page(file, dir, index), listing.entries);
}

// Walks the chain of listing pages from the head, as enumeration does.
std::optional<std::string> CheckListingChain(const Bytes& file, const Directory& dir,
                                             Listing& listing) {
    std::vector<bool> seen(dir.pageCount, false);
    for (std::int32_t page = dir.head; page != kNoPage;) {
        if (page < 0 || static_cast<std::uint32_t>(page) >= dir.pageCount) {
            return "a directory page points outside the directory";
        }
        if (seen[page]) {
            return "its directory pages form a loop";
        }
        seen[page] = true;
        if (!ReadListingOnce(file, dir, page, listing)) {
            return "a directory page is damaged";
        }
        page = Page(file, dir, page).I32(0x10);
    }
    return std::nullopt;
}

// Walks the index tree from the root, as every look-up does: depth first, without recursion,
// refusing any page that leads back to a page on the current path.
std::optional<std::string> CheckIndexTree(const Bytes& file, const Directory& dir,
                                          Listing& listing) {
    enum class State : std::uint8_t { New, Open, Done };
    struct Frame {
        std::vector<std::uint32_t> next;
        std::size_t done = 0;
        std::uint32_t page = 0;
    };
    std::vector<State> state(dir.pageCount, State::New);
    std::vector<Frame> path;
    const auto enter = [&](std::uint32_t index) -> std::optional<std::string> {
        const Bytes page = Page(file, dir, index);
        if (page.View(0, 4) == "PMGL") {
            state[index] = State::Done;
            if (!ReadListingOnce(file, dir, index, listing)) {
                return "a directory page is damaged";
            }
            return std::nullopt;
        }
        Frame frame;
        frame.page = index;
        if (!ReadIndexPage(page, dir.pageCount, frame.next)) {
            return "a directory index page is damaged";
        }
        state[index] = State::Open;
        path.push_back(std::move(frame));
        return std::nullopt;
    };
    if (auto error = enter(static_cast<std::uint32_t>(dir.root))) {
        return error;
    }
    while (!path.empty()) {
        Frame& top = path.back();
        if (top.done == top.next.size()) {
            state[top.page] = State::Done;
            path.pop_back();
            continue;
        }
        const std::uint32_t child = top.next[top.done++];
        if (state[child] == State::Open) {
            return "its directory index forms a loop";
        }
        if (state[child] == State::New) {
            if (auto error = enter(child)) {
                return error;
            }
        }
    }
    return std::nullopt;
}

// The one entry called `name`; null when there is none, and when there are several.
const Entry* FindEntry(const std::vector<Entry>& entries, std::string_view name, bool& twice) {
    const Entry* found = nullptr;
    for (const Entry& e : entries) {
        if (EqualNoCase(e.name, name)) {
            twice = twice || found != nullptr;
            found = &e;
        }
    }
    return twice ? nullptr : found;
}

// Checks the LZX parameters exactly as chmlib will compute them (32-bit arithmetic included);
// returns the window size.
std::optional<std::uint32_t> CheckControlData(const Bytes& data) {
    if (data.Size() < kMinControlDataLength || data.Size() > kMaxControlDataLength ||
        data.View(4, 4) != "LZXC") {
        return std::nullopt;
    }
    std::uint32_t resetInterval = data.U32(0x0C);
    std::uint32_t windowSize = data.U32(0x10);
    const std::uint32_t windowsPerReset = data.U32(0x14);
    if (data.U32(0x08) == 2) {
        resetInterval *= 0x8000u;
        windowSize *= 0x8000u;
    }
    const bool powerOfTwo = (windowSize & (windowSize - 1)) == 0;
    if (!powerOfTwo || windowSize < kMinLzxWindow || windowSize > kMaxLzxWindow ||
        resetInterval == 0 || resetInterval % (windowSize / 2) != 0) {
        return std::nullopt;
    }
    const std::uint32_t resetBlocks = resetInterval / (windowSize / 2) * windowsPerReset;
    if (resetBlocks == 0) {
        return std::nullopt;  // chmlib divides by it
    }
    return windowSize;
}

// Checks the reset table against the compressed stream and the LZX window; returns the
// uncompressed length.
std::optional<std::uint64_t> CheckResetTable(const Bytes& table, std::uint64_t contentLength,
                                             std::uint32_t windowSize) {
    if (table.Size() < kResetTableLength || table.U32(0) != 2) {
        return std::nullopt;
    }
    const std::uint64_t blockCount = table.U32(4);
    const std::uint64_t tableOffset = table.U32(0x0C);
    const std::uint64_t uncompressed = table.U64(0x10);
    const std::uint64_t compressed = table.U64(0x18);
    const std::uint64_t blockLength = table.U64(0x20);
    if (blockCount == 0 || blockLength == 0 || blockLength > windowSize ||
        !table.Has(tableOffset, blockCount * 8) || compressed > contentLength ||
        uncompressed > blockCount * blockLength) {
        return std::nullopt;
    }
    // chmlib reads a block as the bytes up to the next block's start into a buffer of
    // blockLength + kLzxSlack bytes: every block must fit.
    std::uint64_t previous = 0;
    for (std::uint64_t i = 0; i <= blockCount; ++i) {
        const std::uint64_t start = i < blockCount ? table.U64(tableOffset + i * 8) : compressed;
        if (start > compressed ||
            (i > 0 && (start < previous || start - previous > blockLength + kLzxSlack))) {
            return std::nullopt;
        }
        previous = start;
    }
    return uncompressed;
}

// Checks that every object lies inside its section, and the compression tables.
std::optional<std::string> CheckObjects(const Bytes& file, const Directory& dir,
                                        const std::vector<Entry>& entries) {
    const std::uint64_t dataLength = file.Size() - dir.dataOffset;
    const auto inData = [dataLength](const Entry* e) {
        return e != nullptr && e->space == CHM_UNCOMPRESSED && e->start <= dataLength &&
               e->length <= dataLength - e->start;
    };
    for (const Entry& e : entries) {
        if (e.space == CHM_UNCOMPRESSED && !inData(&e)) {
            return "an object lies outside the file";
        }
    }
    bool twice = false;
    const Entry* table = FindEntry(entries, kResetTableName, twice);
    const Entry* content = FindEntry(entries, kContentName, twice);
    const Entry* control = FindEntry(entries, kControlDataName, twice);
    if (twice) {
        return "its directory lists a compression table twice";
    }
    const bool anyCompressed = std::any_of(
        entries.begin(), entries.end(), [](const Entry& e) { return e.space != CHM_UNCOMPRESSED; });
    // chmlib reads the tables whenever all three lie in the uncompressed section, and divides
    // by their values: they must be sound even when no object needs them.
    if (!inData(table) || !inData(content) || !inData(control)) {
        return anyCompressed ? std::optional<std::string>("its compressed section is missing")
                             : std::nullopt;
    }
    const auto object = [&file, &dir](const Entry* e) {
        return Bytes(file.View(dir.dataOffset + e->start, e->length));
    };
    const auto windowSize = CheckControlData(object(control));
    const auto uncompressed =
        windowSize ? CheckResetTable(object(table), content->length, *windowSize) : std::nullopt;
    if (!uncompressed) {
        return "its compression tables are damaged";
    }
    for (const Entry& e : entries) {
        if (e.space != CHM_UNCOMPRESSED &&
            (e.start > *uncompressed || e.length > *uncompressed - e.start)) {
            return "a compressed object lies outside the compressed section";
        }
    }
    return std::nullopt;
}

// Everything chmlib will rely on when it opens `bytes` and looks objects up in it.
std::optional<std::string> CheckContainer(std::string_view bytes) {
    const Bytes file(bytes);
    Directory dir;
    if (auto error = CheckHeaders(file, dir)) {
        return error;
    }
    Listing listing;
    listing.read.assign(dir.pageCount, false);
    if (auto error = CheckListingChain(file, dir, listing)) {
        return error;
    }
    if (auto error = CheckIndexTree(file, dir, listing)) {
        return error;
    }
    return CheckObjects(file, dir, listing.entries);
}

ChmOpenResult Failure(const std::string& path, std::string reason) {
    ChmOpenResult result;
    result.error = FileError{path, std::move(reason)};
    return result;
}

// Object names start with '/' ("index.html" is "/index.html").
std::string ObjectName(std::string_view name) {
    std::string object(name);
    if (!object.empty() && object.front() != '/') {
        object.insert(object.begin(), '/');
    }
    return object;
}

// The object a topic reference names: "index.html#part" is "/index.html", "other.chm::/a\b.htm"
// is "/a/b.htm".
std::string TopicObject(std::string_view topic) {
    if (const auto file = topic.rfind("::"); file != std::string_view::npos) {
        topic.remove_prefix(file + 2);
    }
    std::string name(topic.substr(0, topic.find('#')));
    std::replace(name.begin(), name.end(), '\\', '/');
    return ObjectName(name);
}

// The text of a NUL-terminated string stored at `offset`, or up to the end of `data`.
std::string TextAt(std::string_view data, std::uint64_t offset) {
    if (offset >= data.size()) {
        return {};
    }
    const std::string_view rest = data.substr(offset);
    return std::string(rest.substr(0, std::min(rest.find('\0'), std::size_t{kMaxNameLength})));
}

// The data of the first /#SYSTEM record with `code`.
std::string SystemRecord(std::string_view system, std::uint16_t code) {
    const Bytes data(system);
    for (std::uint64_t pos = 4; data.Has(pos, 4);) {
        const std::uint16_t recordCode = data.U16(pos);
        const std::uint16_t length = data.U16(pos + 2);
        if (!data.Has(pos + 4, length)) {
            break;
        }
        if (recordCode == code) {
            return TextAt(data.View(pos + 4, length), 0);
        }
        pos += 4 + std::uint64_t{length};
    }
    return {};
}

// The value of attribute `key` in the tag text `tag` ("<param name="Local" value="x.html">").
std::string Attribute(std::string_view tag, std::string_view key) {
    for (std::size_t pos = 0; pos + key.size() < tag.size(); ++pos) {
        if (!std::isspace(static_cast<unsigned char>(tag[pos])) ||
            !EqualNoCase(tag.substr(pos + 1, key.size()), key)) {
            continue;
        }
        std::size_t at = pos + 1 + key.size();
        while (at < tag.size() && std::isspace(static_cast<unsigned char>(tag[at]))) {
            ++at;
        }
        if (at >= tag.size() || tag[at] != '=') {
            continue;
        }
        do {
            ++at;
        } while (at < tag.size() && std::isspace(static_cast<unsigned char>(tag[at])));
        if (at < tag.size() && (tag[at] == '"' || tag[at] == '\'')) {
            const std::size_t close = tag.find(tag[at], at + 1);
            return std::string(tag.substr(at + 1, close - (at + 1)));
        }
        return std::string(tag.substr(at, tag.find_first_of(" \t\r\n>", at) - at));
    }
    return {};
}

// The first page a sitemap (contents file) links to.
std::string FirstLocalParam(std::string_view html) {
    static constexpr std::string_view kParam = "<param";
    for (std::size_t pos = 0; pos + kParam.size() <= html.size(); ++pos) {
        if (!EqualNoCase(html.substr(pos, kParam.size()), kParam)) {
            continue;
        }
        const std::string_view tag = html.substr(pos, html.find('>', pos) - pos);
        if (EqualNoCase(Attribute(tag, "name"), "Local")) {
            return Attribute(tag, "value");
        }
    }
    return {};
}

}  // namespace

ChmFile::ChmFile(chmFile* handle) : m_handle(handle) {}

ChmFile::~ChmFile() {
    chm_close(m_handle);
}

ChmOpenResult ChmFile::Open(const std::string& path) {
    std::error_code ignored;
    const auto status = std::filesystem::status(path, ignored);
    if (std::filesystem::is_regular_file(status) &&
        std::filesystem::file_size(path, ignored) > kMaxFileSize) {
        return Failure(path, "it is too large for a help file");
    }
    FileBytes read = ReadFileBytes(path);
    if (read.error) {
        return Failure(path, read.error->reason);
    }
    if (read.bytes.size() > kMaxFileSize) {
        return Failure(path, "it is too large for a help file");
    }
    if (auto problem = CheckContainer(read.bytes)) {
        return Failure(path, "it is damaged: " + *problem);
    }
    chmFile* handle = chm_open(path.c_str());
    if (handle == nullptr) {
        return Failure(path, "it could not be opened as a help file");
    }
    ChmOpenResult result;
    result.file.reset(new ChmFile(handle));
    return result;
}

std::optional<std::string> ChmFile::Retrieve(const std::string& name) const {
    const std::string object = ObjectName(name);
    chmUnitInfo unit{};
    if (object.empty() ||
        chm_resolve_object(m_handle, object.c_str(), &unit) != CHM_RESOLVE_SUCCESS ||
        unit.length > kMaxObjectSize) {
        return std::nullopt;
    }
    std::string bytes(unit.length, '\0');
    if (unit.length == 0) {
        return bytes;
    }
    const LONGINT64 wanted = static_cast<LONGINT64>(unit.length);
    const LONGINT64 got = chm_retrieve_object(
        m_handle, &unit, reinterpret_cast<unsigned char*>(bytes.data()), 0, wanted);
    if (got != wanted) {
        return std::nullopt;
    }
    return bytes;
}

bool ChmFile::Exists(const std::string& name) const {
    const std::string object = ObjectName(name);
    chmUnitInfo unit{};
    return !object.empty() && object.back() != '/' &&
           chm_resolve_object(m_handle, object.c_str(), &unit) == CHM_RESOLVE_SUCCESS;
}

std::string ChmFile::DefaultTopic() const {
    const auto system = Retrieve("/#SYSTEM");
    std::vector<std::string> candidates;
    if (system) {
        candidates.push_back(SystemRecord(*system, kSystemDefaultTopic));
    }
    candidates.push_back(WindowsTopic());
    candidates.push_back(ContentsTopic());
    for (const char* name : {"/index.htm", "/index.html", "/default.htm", "/default.html"}) {
        candidates.emplace_back(name);
    }
    for (const std::string& candidate : candidates) {
        if (const std::string object = TopicObject(candidate); Exists(object)) {
            return object;
        }
    }
    return {};
}

std::string ChmFile::Title() const {
    const auto system = Retrieve("/#SYSTEM");
    return system ? SystemRecord(*system, kSystemTitle) : std::string();
}

std::string ChmFile::WindowsTopic() const {
    const auto windows = Retrieve("/#WINDOWS");
    const auto strings = Retrieve("/#STRINGS");
    if (!windows || !strings) {
        return {};
    }
    const Bytes data(*windows);
    if (!data.Has(0, 8)) {
        return {};
    }
    const std::uint64_t count = data.U32(0);
    const std::uint64_t entryLength = data.U32(4);
    if (entryLength < kMinWindowsEntry) {
        return {};
    }
    for (std::uint64_t i = 0; i < count && data.Has(8 + i * entryLength, entryLength); ++i) {
        const std::uint64_t entry = 8 + i * entryLength;
        for (const std::uint64_t field : {kWindowsDefaultPage, kWindowsHomePage}) {
            const std::string page = TextAt(*strings, data.U32(entry + field));
            if (Exists(TopicObject(page))) {
                return page;
            }
        }
    }
    return {};
}

std::string ChmFile::ContentsFileName() const {
    if (const auto system = Retrieve("/#SYSTEM")) {
        if (std::string name = SystemRecord(*system, kSystemContentsFile); !name.empty()) {
            return name;
        }
    }
    // No name recorded: the first contents file (*.hhc) in the directory.
    std::string found;
    const auto firstContents = [](chmFile*, chmUnitInfo* unit, void* context) -> int {
        const std::string_view name(unit->path);
        if (name.size() > 4 && EqualNoCase(name.substr(name.size() - 4), ".hhc")) {
            *static_cast<std::string*>(context) = std::string(name);
            return CHM_ENUMERATOR_SUCCESS;
        }
        return CHM_ENUMERATOR_CONTINUE;
    };
    chm_enumerate(m_handle, CHM_ENUMERATE_NORMAL | CHM_ENUMERATE_FILES, firstContents, &found);
    return found;
}

std::string ChmFile::ContentsTopic() const {
    const std::string name = ContentsFileName();
    if (name.empty()) {
        return {};
    }
    const auto contents = Retrieve(name);
    return contents ? FirstLocalParam(*contents) : std::string();
}

}  // namespace tav
