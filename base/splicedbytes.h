// New content of a document made of pieces that live elsewhere: ranges of the bytes as read and
// the few lines an edit wrote. A save writes the pieces one after the other and never joins them
// into a copy of the whole document.
#pragma once

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <functional>
#include <future>
#include <string>
#include <string_view>
#include <vector>

namespace tav {

class SplicedBytes final {
public:
    SplicedBytes() = default;
    explicit SplicedBytes(std::string_view whole) { Append(whole); }

    // Adds `piece` at the end; it must stay valid as long as these bytes are used.
    void Append(std::string_view piece);

    const std::vector<std::string_view>& Pieces() const { return m_pieces; }
    std::size_t Size() const { return m_size; }

    // Gives the bytes in order to `write(offset, chunk)`, in chunks of at most `limit` bytes;
    // `write` returns how many bytes of the chunk it took, or a negative number to stop, which is
    // returned. Returns the size when everything was taken.
    template <typename Write>
    long long WriteInChunks(std::size_t limit, Write write) const {
        std::size_t offset = 0;
        for (const std::string_view piece : m_pieces) {
            for (std::size_t at = 0; at < piece.size();) {
                const long long took = write(offset, piece.substr(at, limit));
                if (took < 0) {
                    return took;
                }
                at += static_cast<std::size_t>(took);
                offset += static_cast<std::size_t>(took);
            }
        }
        return static_cast<long long>(offset);
    }

    // The bytes joined into one string (for tests and small documents).
    std::string Join() const;

    // True when the bytes equal `bytes`. Pieces that are the very same range of `bytes` are not
    // compared again, so that telling an unchanged edit of a large document costs nothing.
    bool Equals(std::string_view bytes) const;

private:
    std::vector<std::string_view> m_pieces;
    std::size_t m_size = 0;
};

// A 64-bit hash of a byte stream that does not depend on how the stream is cut into pieces: the
// fingerprint that tells a document's own writes from someone else's. Fast (four independent
// lanes), not cryptographic.
class ContentHash final {
public:
    void Add(std::string_view bytes);
    std::uint64_t Value() const;

    static std::uint64_t Of(std::string_view bytes);
    static std::uint64_t Of(const SplicedBytes& bytes);

private:
    void Block(const unsigned char* block);

    std::uint64_t m_lanes[4] = {0x9E3779B97F4A7C15ULL, 0xC2B2AE3D27D4EB4FULL, 0x165667B19E3779F9ULL,
                                0x27D4EB2F165667C5ULL};
    unsigned char m_pending[32] = {};
    std::size_t m_pendingSize = 0;
    std::uint64_t m_total = 0;
};

// The ContentHash of bytes worked out on a thread of its own while the caller goes on (with a
// write that waits for the disk, or a parse); the bytes must stay as they are until Value has
// returned or this is destroyed, which waits. Fewer than kFrom bytes are hashed at once, which
// costs less than a thread, as does a thread that cannot be had.
class HashBeside final {
public:
    static constexpr std::size_t kFrom = 1 << 20;

    explicit HashBeside(std::string_view bytes);
    explicit HashBeside(const SplicedBytes& bytes);

    std::uint64_t Value();

private:
    void Start(std::size_t size, const std::function<std::uint64_t()>& hash);

    std::future<std::uint64_t> m_pending;
    std::uint64_t m_value = 0;
};

}  // namespace tav
