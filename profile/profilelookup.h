// Looking up a few keys of a document read piece by piece, for commands that read some values of
// what may be a large file once: the bytes pass through one reused buffer (grown only for a line
// longer than it), and the reading stops as soon as no later byte can change the answer. The
// editor, which needs every value, opens the whole document into a ProfileText instead.
#pragma once

#include <cstddef>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "base/expected.h"
#include "base/textencoding.h"

namespace tav {

// Fills up to `room` (> 0) bytes at `into` with the next bytes of a document, from its start on,
// and gives how many it filled: 0 only at the end. A failure ends the reading; its error names the
// file and the reason.
using ByteSource = std::function<Expected<std::size_t>(char* into, std::size_t room)>;

// A key of a section, named as ProfileText::Get takes them.
struct ProfileKey {
    std::string section;
    std::string key;
};

class ProfileLookup final {
public:
    static constexpr std::size_t kChunkSize = 256 * 1024;

    // Reads from `source` at most `chunkSize` bytes (> 0) at a time, into a buffer of that size
    // that grows only while a line of a section asked for (or a line that may be a header) is
    // longer than it. `scanner`, when given, sees every byte read, once and in order, so that the
    // encoding is decided on the way; it must outlive the lookup.
    explicit ProfileLookup(ByteSource source, EncodingScanner* scanner = nullptr,
                           std::size_t chunkSize = kChunkSize);
    ProfileLookup(const ProfileLookup&) = delete;
    ProfileLookup& operator=(const ProfileLookup&) = delete;

    // For each of `keys`, what ProfileText::Get gives for the whole document (the reading rules of
    // profiletext.h, lines cut by ProfileLines). A key is settled once the first section of its
    // name has been seen and either the first key line of its name in that section is read or
    // that section ends (the key is missing); a key of a section never seen is missing at the end
    // of the document. Reading stops as soon as every key is settled, so nothing after that point
    // is read (nothing at all for no keys). Call once, before ScanRest; a failure of the source is
    // the error.
    Expected<std::vector<std::optional<std::string>>> Find(const std::vector<ProfileKey>& keys);

    // Reads the rest of the document for the scanner only, until the end or until the scanner is
    // settled; does nothing without a scanner. A failure of the source is the error.
    Status ScanRest();

    // How many bytes the source has given so far.
    std::size_t BytesRead() const { return m_bytesRead; }

private:
    class Keys;

    Status SkipByteOrderMark();
    Expected<bool> SkipToHeader();
    Expected<std::optional<std::string_view>> NextLine();
    // After the header line `text` (just read by NextLine, so its ending ends at m_begin): passes
    // over the lines that repeat it byte for byte, ending included, as far as the bytes read go.
    // True when there was one: the section of that name has ended again, with nothing in it.
    bool SkipRepeats(std::string_view text);
    Status Refill();

    struct Free {
        void operator()(char* buffer) const;
    };

    ByteSource m_source;
    EncodingScanner* m_scanner = nullptr;
    std::size_t m_chunkSize = 0;
    // Grown by realloc, which moves large buffers without copying them (so that a long line does
    // not need twice its size), and not zeroed: every byte looked at was read first.
    std::unique_ptr<char, Free> m_buffer;
    std::size_t m_capacity = 0;
    std::size_t m_begin = 0;  // the first byte of the buffer not yet looked at
    std::size_t m_end = 0;    // the end of the bytes in the buffer
    bool m_atEnd = false;     // the source has given its last byte
    std::size_t m_bytesRead = 0;
};

}  // namespace tav
