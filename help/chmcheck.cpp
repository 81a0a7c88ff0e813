#include "help/chmcheck.h"

#include <chm_lib.h>

#include <algorithm>
#include <cstdint>
#include <vector>

#include "base/translation.h"
#include "help/chmbytes.h"
#include "help/chmdirectory.h"

namespace tav {

namespace {

using Entry = ChmDirectory::Entry;

// --- Compressed section (all integers little-endian) ---

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
std::optional<std::uint32_t> CheckControlData(const ChmBytes& data) {
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
std::optional<std::uint64_t> CheckResetTable(const ChmBytes& table, std::uint64_t contentLength,
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
std::optional<std::string> CheckObjects(const ChmBytes& file, std::uint64_t dataOffset,
                                        const std::vector<Entry>& entries) {
    const std::uint64_t dataLength = file.Size() - dataOffset;
    const auto inData = [dataLength](const Entry* e) {
        return e != nullptr && e->space == CHM_UNCOMPRESSED && e->start <= dataLength &&
               e->length <= dataLength - e->start;
    };
    for (const Entry& e : entries) {
        if (e.space == CHM_UNCOMPRESSED && !inData(&e)) {
            return Translate("Help", "an object lies outside the file");
        }
    }
    bool twice = false;
    const Entry* table = FindEntry(entries, kResetTableName, twice);
    const Entry* content = FindEntry(entries, kContentName, twice);
    const Entry* control = FindEntry(entries, kControlDataName, twice);
    if (twice) {
        return Translate("Help", "its directory lists a compression table twice");
    }
    const bool anyCompressed = std::any_of(
        entries.begin(), entries.end(), [](const Entry& e) { return e.space != CHM_UNCOMPRESSED; });
    // chmlib reads the tables whenever all three lie in the uncompressed section, and divides
    // by their values: they must be sound even when no object needs them.
    if (!inData(table) || !inData(content) || !inData(control)) {
        return anyCompressed ? std::optional<std::string>(
                                   Translate("Help", "its compressed section is missing"))

                             : std::nullopt;
    }
    const auto object = [&file, dataOffset](const Entry* e) {
        return ChmBytes(file.View(dataOffset + e->start, e->length));
    };
    const auto windowSize = CheckControlData(object(control));
    const auto uncompressed =
        windowSize ? CheckResetTable(object(table), content->length, *windowSize) : std::nullopt;
    if (!uncompressed) {
        return Translate("Help", "its compression tables are damaged");
    }
    for (const Entry& e : entries) {
        if (e.space != CHM_UNCOMPRESSED &&
            (e.start > *uncompressed || e.length > *uncompressed - e.start)) {
            return Translate("Help", "a compressed object lies outside the compressed section");
        }
    }
    return std::nullopt;
}

}  // namespace

std::optional<std::string> CheckChmContainer(std::string_view bytes) {
    ChmDirectory directory;
    if (auto error = ReadChmDirectory(bytes, directory)) {
        return error;
    }
    return CheckObjects(ChmBytes(bytes), directory.dataOffset, directory.entries);
}

}  // namespace tav
