// Single values of a document as the editor shows them, looked up in its file without opening the
// whole document: for `tacconf get`, which reads a few values of what may be a large file.
#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "base/expected.h"
#include "base/textencoding.h"
#include "catalog/catalogues.h"
#include "document/configdocument.h"
#include "profile/profilelookup.h"

namespace tav {

// The values asked for.
struct ValueQuery {
    std::vector<std::uint16_t> fields;  // catalogue rows (< the catalogue's field count)
    std::vector<std::size_t> entries;   // replacement entries (< DocumentTable::kMaxReplacements)
};

// The values of a ValueQuery, as a ConfigDocument that opened the whole document gives them.
struct QueriedValues {
    std::vector<std::string> fields;  // Value() of each field row asked for, UTF-8
    // Entry() of each entry asked for, UTF-8; nothing for an entry at or past EntryCount().
    std::vector<std::optional<ReplacementEntry>> entries;
    // How many entries were read, from r0 on: EntryCount() whenever an entry asked for is missing.
    std::size_t entriesRead = 0;
    std::vector<std::string> warnings;  // the warnings Open gives for the document
};

// The values of `query` in the document whose bytes `source` gives, as ConfigDocument gives them
// after opening the whole document with `catalogues` and `encoding` (when given). Reads only as
// far as the answer needs (see ProfileLookup::Find; with fewer than 13 entries of room in the field
// table, as far as the entry past that room, which Open warns about). The rest of the document is
// read only to decide its encoding, and only when a text to give is not ASCII and neither
// `encoding` nor a byte-order mark decide it. A failure of the source is the error.
Expected<QueriedValues> LookUpValues(const Catalogues& catalogues, const ValueQuery& query,
                                     ByteSource source, std::optional<TextEncoding> encoding,
                                     std::size_t chunkSize = ProfileLookup::kChunkSize);

}  // namespace tav
