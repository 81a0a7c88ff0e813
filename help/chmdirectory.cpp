#include "help/chmdirectory.h"

#include <chm_lib.h>

#include <utility>

#include "base/translation.h"
#include "help/chmbytes.h"

namespace tav {

namespace {

using Entry = ChmDirectory::Entry;

// --- Directory layout (all integers little-endian) ---

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

// Reads one of the directory's variable-length integers at `pos`, which must end before `end`.
bool ReadEncoded(const ChmBytes& page, std::uint64_t& pos, std::uint64_t end,
                 std::uint64_t& value) {
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

bool ReadName(const ChmBytes& page, std::uint64_t& pos, std::uint64_t end, std::string& name) {
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
std::optional<std::uint64_t> EntriesEnd(const ChmBytes& page, std::uint64_t header) {
    const std::uint64_t freeSpace = page.U32(4);
    if (freeSpace > page.Size() - header) {
        return std::nullopt;
    }
    return page.Size() - freeSpace;
}

// Parses a listing page ("PMGL"): every entry must lie wholly inside the page.
bool ReadListingPage(const ChmBytes& page, std::vector<Entry>& entries) {
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
bool ReadIndexPage(const ChmBytes& page, std::uint32_t pageCount,
                   std::vector<std::uint32_t>& next) {
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

// Where the directory's pages lie, as the headers give it.
struct Directory {
    std::uint64_t firstPage = 0;  // file offset of page 0
    std::uint32_t pageLength = 0;
    std::uint32_t pageCount = 0;
    std::int32_t root = kNoPage;
    std::int32_t head = kNoPage;
    std::uint64_t dataOffset = 0;
};

// Checks the two headers; on success `dir` describes the directory.
std::optional<std::string> CheckHeaders(const ChmBytes& file, Directory& dir) {
    if (!file.Has(0, kItsfV3Length) || file.View(0, 4) != "ITSF") {
        return Translate("Help", "it is not a compiled help file (no ITSF signature)");
    }
    const std::int32_t version = file.I32(4);
    const std::int32_t headerLength = file.I32(8);
    if ((version != 2 && version != 3) ||
        headerLength < static_cast<std::int32_t>(version == 2 ? kItsfV2Length : kItsfV3Length)) {
        return Translate("Help", "its header has an unknown version");
    }
    const std::uint64_t dirOffset = file.U64(0x48);
    const std::uint64_t dirLength = file.U64(0x50);
    if (!file.Has(dirOffset, dirLength) || dirLength < kItspLength) {
        return Translate("Help", "its directory lies outside the file");
    }
    dir.dataOffset = version == 3 ? file.U64(0x58) : dirOffset + dirLength;
    if (dir.dataOffset > file.Size()) {
        return Translate("Help", "its content lies outside the file");
    }
    if (file.View(dirOffset, 4) != "ITSP" || file.I32(dirOffset + 4) != 1 ||
        file.I32(dirOffset + 8) != static_cast<std::int32_t>(kItspLength)) {
        return Translate("Help", "its directory header is damaged");
    }
    dir.pageLength = file.U32(dirOffset + 0x10);
    dir.root = file.I32(dirOffset + 0x1C);
    dir.head = file.I32(dirOffset + 0x20);
    dir.pageCount = file.U32(dirOffset + 0x2C);
    dir.firstPage = dirOffset + kItspLength;
    if (dir.pageLength < kMinDirectoryBlock || dir.pageLength > kMaxDirectoryBlock ||
        dir.pageCount == 0 ||
        std::uint64_t{dir.pageCount} * dir.pageLength > dirLength - kItspLength) {
        return Translate("Help", "its directory pages do not fit the directory");
    }
    const auto inRange = [&dir](std::int32_t page) {
        return page >= 0 && static_cast<std::uint32_t>(page) < dir.pageCount;
    };
    if (dir.root < 0) {
        dir.root = dir.head;  // no index pages: the single listing page is the root, as chmlib does
    }
    if (!inRange(dir.head) || !inRange(dir.root)) {
        return Translate("Help", "its directory has no valid first page");
    }
    return std::nullopt;
}

ChmBytes Page(const ChmBytes& file, const Directory& dir, std::uint32_t index) {
    return ChmBytes(
        file.View(dir.firstPage + std::uint64_t{index} * dir.pageLength, dir.pageLength));
}

// The entries of every listing page checked so far, each page read once.
struct Listing {
    std::vector<Entry> entries;
    std::vector<bool> read;
};

bool ReadListingOnce(const ChmBytes& file, const Directory& dir, std::uint32_t index,
                     Listing& listing) {
    if (listing.read[index]) {
        return true;
    }
    listing.read[index] = true;
    return ReadListingPage(Page(file, dir, index), listing.entries);
}

// Walks the chain of listing pages from the head, as enumeration does.
std::optional<std::string> CheckListingChain(const ChmBytes& file, const Directory& dir,
                                             Listing& listing) {
    std::vector<bool> seen(dir.pageCount, false);
    for (std::int32_t page = dir.head; page != kNoPage;) {
        if (page < 0 || static_cast<std::uint32_t>(page) >= dir.pageCount) {
            return Translate("Help", "a directory page points outside the directory");
        }
        if (seen[page]) {
            return Translate("Help", "its directory pages form a loop");
        }
        seen[page] = true;
        if (!ReadListingOnce(file, dir, page, listing)) {
            return Translate("Help", "a directory page is damaged");
        }
        page = Page(file, dir, page).I32(0x10);
    }
    return std::nullopt;
}

// Walks the index tree from the root, as every look-up does: depth first, without recursion,
// refusing any page that leads back to a page on the current path.
std::optional<std::string> CheckIndexTree(const ChmBytes& file, const Directory& dir,
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
        const ChmBytes page = Page(file, dir, index);
        if (page.View(0, 4) == "PMGL") {
            state[index] = State::Done;
            if (!ReadListingOnce(file, dir, index, listing)) {
                return Translate("Help", "a directory page is damaged");
            }
            return std::nullopt;
        }
        Frame frame;
        frame.page = index;
        if (!ReadIndexPage(page, dir.pageCount, frame.next)) {
            return Translate("Help", "a directory index page is damaged");
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
            return Translate("Help", "its directory index forms a loop");
        }
        if (state[child] == State::New) {
            if (auto error = enter(child)) {
                return error;
            }
        }
    }
    return std::nullopt;
}

}  // namespace

std::optional<std::string> ReadChmDirectory(std::string_view bytes, ChmDirectory& directory) {
    const ChmBytes file(bytes);
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
    directory.dataOffset = dir.dataOffset;
    directory.entries = std::move(listing.entries);
    return std::nullopt;
}

}  // namespace tav
