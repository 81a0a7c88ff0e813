#include "base/splicedbytes.h"

#include <cstring>
#include <system_error>

namespace tav {

namespace {

constexpr std::uint64_t kPrime1 = 0x9E3779B185EBCA87ULL;
constexpr std::uint64_t kPrime2 = 0xC2B2AE3D27D4EB4FULL;

std::uint64_t Rotate(std::uint64_t value, int bits) {
    return (value << bits) | (value >> (64 - bits));
}

std::uint64_t Word(const unsigned char* at) {
    std::uint64_t word = 0;
    std::memcpy(&word, at, sizeof word);
    return word;
}

std::uint64_t Mix(std::uint64_t lane, std::uint64_t word) {
    return Rotate(lane + word * kPrime2, 31) * kPrime1;
}

}  // namespace

void SplicedBytes::Append(std::string_view piece) {
    if (piece.empty()) {
        return;
    }
    // A piece that continues the one before it in memory joins it (unchanged ranges cut by an
    // edit that changed nothing).
    if (!m_pieces.empty() && m_pieces.back().data() + m_pieces.back().size() == piece.data()) {
        m_pieces.back() =
            std::string_view(m_pieces.back().data(), m_pieces.back().size() + piece.size());
    } else {
        m_pieces.push_back(piece);
    }
    m_size += piece.size();
}

std::string SplicedBytes::Join() const {
    std::string joined;
    joined.reserve(m_size);
    for (const std::string_view piece : m_pieces) {
        joined += piece;
    }
    return joined;
}

bool SplicedBytes::Equals(std::string_view bytes) const {
    if (bytes.size() != m_size) {
        return false;
    }
    std::size_t at = 0;
    for (const std::string_view piece : m_pieces) {
        if (piece.data() != bytes.data() + at && piece != bytes.substr(at, piece.size())) {
            return false;
        }
        at += piece.size();
    }
    return true;
}

void ContentHash::Block(const unsigned char* block) {
    for (int lane = 0; lane < 4; ++lane) {
        m_lanes[lane] = Mix(m_lanes[lane], Word(block + 8 * lane));
    }
}

void ContentHash::Add(std::string_view bytes) {
    if (bytes.empty()) {
        return;  // its data may be null, which memcpy must not get even for no bytes
    }
    const auto* data = reinterpret_cast<const unsigned char*>(bytes.data());
    std::size_t size = bytes.size();
    m_total += size;
    if (m_pendingSize > 0) {
        const std::size_t take = std::min(size, sizeof m_pending - m_pendingSize);
        std::memcpy(m_pending + m_pendingSize, data, take);
        m_pendingSize += take;
        data += take;
        size -= take;
        if (m_pendingSize < sizeof m_pending) {
            return;
        }
        Block(m_pending);
        m_pendingSize = 0;
    }
    for (; size >= sizeof m_pending; data += sizeof m_pending, size -= sizeof m_pending) {
        Block(data);
    }
    std::memcpy(m_pending, data, size);
    m_pendingSize = size;
}

std::uint64_t ContentHash::Value() const {
    std::uint64_t hash = Rotate(m_lanes[0], 1) + Rotate(m_lanes[1], 7) + Rotate(m_lanes[2], 12) +
                         Rotate(m_lanes[3], 18);
    for (const std::uint64_t lane : m_lanes) {
        hash = (hash ^ Mix(0, lane)) * kPrime1 + kPrime2;
    }
    hash += m_total;
    for (std::size_t i = 0; i < m_pendingSize; ++i) {
        hash = Rotate(hash ^ (m_pending[i] * kPrime2), 11) * kPrime1;
    }
    hash ^= hash >> 33;
    hash *= kPrime2;
    hash ^= hash >> 29;
    return hash;
}

std::uint64_t ContentHash::Of(std::string_view bytes) {
    ContentHash hash;
    hash.Add(bytes);
    return hash.Value();
}

std::uint64_t ContentHash::Of(const SplicedBytes& bytes) {
    ContentHash hash;
    for (const std::string_view piece : bytes.Pieces()) {
        hash.Add(piece);
    }
    return hash.Value();
}

HashBeside::HashBeside(std::string_view bytes) {
    Start(bytes.size(), [bytes] { return ContentHash::Of(bytes); });
}

HashBeside::HashBeside(const SplicedBytes& bytes) {
    Start(bytes.Size(), [&bytes] { return ContentHash::Of(bytes); });
}

void HashBeside::Start(std::size_t size, const std::function<std::uint64_t()>& hash) {
    if (size >= kFrom) {
        try {
            m_pending = std::async(std::launch::async, hash);
            return;
        } catch (const std::system_error&) {
            // No thread to be had: hashed here.
        }
    }
    m_value = hash();
}

std::uint64_t HashBeside::Value() {
    if (m_pending.valid()) {
        m_value = m_pending.get();
    }
    return m_value;
}

}  // namespace tav
