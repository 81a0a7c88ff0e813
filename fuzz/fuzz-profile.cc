// Fuzzes the profile store: reads a document, applies random writes, reads it again. Every written
// value must read back exactly, a refused write must change nothing, and every line of the
// original that no write touched must still be there, in order. Before and after the writes, the
// store must read what ListProfile lists, and find no section the listing lacks.
#include <fuzzer/FuzzedDataProvider.h>

#include <algorithm>
#include <cstdint>
#include <cstdlib>
#include <iterator>
#include <map>
#include <set>
#include <string>
#include <vector>

#include "base/textencoding.h"
#include "fuzzinput.h"
#include "profile/profilelisting.h"
#include "profile/profilelookup.h"
#include "profile/profiletext.h"
#include "tests/profileoracle.h"

namespace {

using tavfuzz::Check;

// Lines with their endings (LF, CR LF or a lone CR).
std::vector<std::string> Lines(const std::string& text) {
    std::vector<std::string> lines;
    std::size_t pos = 0;
    while (pos < text.size()) {
        std::size_t end = text.find_first_of("\r\n", pos);
        if (end == std::string::npos) {
            end = text.size();
        } else {
            end += text[end] == '\r' && end + 1 < text.size() && text[end + 1] == '\n' ? 2 : 1;
        }
        lines.push_back(text.substr(pos, end - pos));
        pos = end;
    }
    return lines;
}

const char* const kSections[] = {"S", "s", " S ", "T", "New", "[x]", ""};
const char* const kKeys[] = {"k", "K", " k", "Order", "r0", "a b", "=", "[k", "x\n"};

// The first section of each name that ListProfile lists, and the first key of each name in it,
// are read by ProfileText with the listed value; a few names not listed, with some listed keys,
// are found nowhere.
void CheckStoreAgreesWithListing(const std::string& bytes) {
    const tav::ProfileText text(bytes);
    std::set<std::string> sections;
    std::vector<std::string> probes(std::begin(kSections), std::end(kSections));
    std::vector<std::string> keyNames;
    for (const tav::ListedSection& section : tav::ListProfile(bytes).sections) {
        if (!sections.insert(tavtest::OracleName(section.name)).second) {
            continue;
        }
        probes.push_back(std::string(section.name) + "x");
        std::set<std::string> keys;
        for (const tav::ListedKey& key : section.keys) {
            Check(key.Value() == tavtest::ReaderValue(key.storedText));
            if (keys.insert(tavtest::OracleName(key.name)).second) {
                Check(text.Get(section.name, key.name) == tavtest::ReaderValue(key.storedText));
                keyNames.emplace_back(key.name);
            }
        }
    }
    keyNames.resize(std::min<std::size_t>(keyNames.size(), 8));
    for (const std::string& probe : probes) {
        if (sections.count(tavtest::OracleName(probe)) == 0) {
            for (const std::string& key : keyNames) {
                Check(!text.Get(probe, key));
            }
        }
    }
}

// ProfileLookup, reading `bytes` through a buffer of `chunk` bytes from a source that gives at most
// `piece` bytes at a time, finds for every probed key and listed key (up to 256 in all) what the
// store reads from the whole document.
void CheckLookupAgreesWithStore(const std::string& bytes, std::size_t chunk, std::size_t piece) {
    std::vector<tav::ProfileKey> keys;
    for (const char* section : kSections) {
        for (const char* key : kKeys) {
            keys.push_back(tav::ProfileKey{section, key});
        }
    }
    for (const tav::ListedSection& section : tav::ListProfile(bytes).sections) {
        for (const tav::ListedKey& key : section.keys) {
            if (keys.size() < 256) {
                keys.push_back(tav::ProfileKey{std::string(section.name), std::string(key.name)});
            }
        }
    }
    std::size_t at = 0;
    const auto source = [&](char* into, std::size_t room) -> tav::Expected<std::size_t> {
        const std::size_t size = std::min({room, piece, bytes.size() - at});
        std::copy_n(bytes.data() + at, size, into);
        at += size;
        return size;
    };
    tav::EncodingScanner scanner;
    tav::ProfileLookup lookup(source, &scanner, chunk);
    const auto found = lookup.Find(keys);
    Check(found.HasValue());
    const tav::ProfileText text(bytes);
    for (std::size_t k = 0; k < keys.size(); ++k) {
        Check((*found)[k] == text.Get(keys[k].section, keys[k].key));
    }
    Check(lookup.ScanRest().HasValue());
    Check(scanner.Result() == tav::DecideEncoding(bytes));
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    FuzzedDataProvider input(data, size);
    const std::string original = input.ConsumeRandomLengthString(2048);
    CheckStoreAgreesWithListing(original);
    CheckLookupAgreesWithStore(original, input.ConsumeIntegralInRange<std::size_t>(1, 300),
                               input.ConsumeIntegralInRange<std::size_t>(1, 300));
    tav::ProfileText text(original);
    std::map<std::pair<std::string, std::string>, std::string> written;
    std::map<std::pair<std::string, std::string>, std::pair<std::string, std::string>> spelled;
    while (input.remaining_bytes() > 0 && written.size() < 16) {
        const std::string section = kSections[input.ConsumeIntegralInRange<std::size_t>(0, 6)];
        const std::string key = input.ConsumeBool()
                                    ? kKeys[input.ConsumeIntegralInRange<std::size_t>(0, 8)]
                                    : input.ConsumeRandomLengthString(8);
        const std::string value = input.ConsumeRandomLengthString(32);
        const std::string before = text.Bytes();
        if (!text.Set(section, key, value)) {
            Check(text.Bytes() == before);
            continue;
        }
        const auto id = std::make_pair(tavtest::OracleName(section), tavtest::OracleName(key));
        written[id] = value;
        spelled.emplace(id, std::make_pair(section, key));
    }
    const std::string after = text.Bytes();
    CheckStoreAgreesWithListing(after);
    const tav::ProfileText reread(after);
    for (const auto& [id, value] : written) {
        const auto& [section, key] = spelled.at(id);
        Check(reread.Get(section, key) == value);
    }
    // Untouched lines survive in order: the longest common subsequence of the old and new lines
    // misses at most one old line per written key (its line was rewritten), and the last old line
    // may have gained a line ending.
    std::vector<std::string> oldLines = Lines(original);
    const std::vector<std::string> newLines = Lines(after);
    if (!oldLines.empty() && oldLines.back().find_first_of("\r\n") == std::string::npos &&
        std::find(newLines.begin(), newLines.end(), oldLines.back()) == newLines.end()) {
        oldLines.pop_back();  // compared below through its prefix rule instead
        Check(std::any_of(newLines.begin(), newLines.end(),
                          [&](const std::string& line) {
                              return line.rfind(Lines(original).back(), 0) == 0;
                          }) ||
              !written.empty());
    }
    std::vector<std::size_t> row(newLines.size() + 1, 0);
    for (const std::string& oldLine : oldLines) {
        std::size_t diagonal = 0;
        for (std::size_t k = 1; k <= newLines.size(); ++k) {
            const std::size_t above = row[k];
            row[k] = oldLine == newLines[k - 1] ? diagonal + 1 : std::max(row[k], row[k - 1]);
            diagonal = above;
        }
    }
    const std::size_t matched = row.back();
    Check(matched + written.size() >= oldLines.size());
    return 0;
}
