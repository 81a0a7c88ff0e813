#include "base/names.h"

#include <algorithm>
#include <cstdint>
#include <cstring>

namespace tav {

bool SameName(std::string_view a, std::string_view b) {
    return a.size() == b.size() && std::equal(a.begin(), a.end(), b.begin(), [](char x, char y) {
               return FoldNameChar(x) == FoldNameChar(y);
           });
}

std::string FoldName(std::string_view name) {
    std::string folded(name);
    for (char& c : folded) {
        c = FoldNameChar(c);
    }
    return folded;
}

namespace {

// Eight bytes with their ASCII capitals made small, as FoldNameChar does one: a byte from 'A' to
// 'Z' (its top bit clear) gets 0x20 added.
std::uint64_t FoldWord(std::uint64_t word) {
    constexpr std::uint64_t kOnes = 0x0101010101010101ull;
    constexpr std::uint64_t kTopBits = kOnes * 0x80;
    const std::uint64_t low = word & ~kTopBits;  // no sum below carries into the next byte
    const std::uint64_t fromA = low + kOnes * (0x80 - 'A');
    const std::uint64_t pastZ = low + kOnes * (0x80 - 'Z' - 1);
    const std::uint64_t capitals = fromA & ~pastZ & ~word & kTopBits;
    return word | (capitals >> 2);
}

}  // namespace

std::size_t NameHash(std::string_view name) {
    // Eight folded bytes at a time (a key of a section of a million is hashed once or twice),
    // then the rest, each step a multiply; the end mixes the high bits into the low ones that
    // the tables use.
    constexpr std::uint64_t kPrime = 0x100000001B3ull;
    std::uint64_t hash = 0xCBF29CE484222325ull ^ name.size();
    std::size_t at = 0;
    for (; at + 8 <= name.size(); at += 8) {
        std::uint64_t word = 0;
        std::memcpy(&word, name.data() + at, sizeof word);
        hash = (hash ^ FoldWord(word)) * kPrime;
    }
    if (at < name.size()) {
        // Put together in a register: a copy of fewer than eight bytes into a word in memory
        // stalls the load that follows it.
        std::uint64_t word = 0;
        for (std::size_t i = at; i < name.size(); ++i) {
            word |= std::uint64_t{static_cast<unsigned char>(name[i])} << (8 * (i - at));
        }
        hash = (hash ^ FoldWord(word)) * kPrime;
    }
    hash ^= hash >> 33;
    hash *= 0xFF51AFD7ED558CCDull;
    hash ^= hash >> 33;
    return static_cast<std::size_t>(hash);
}

}  // namespace tav
