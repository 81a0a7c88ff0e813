// Bounded little-endian reading of the bytes of a compiled HTML help file (.chm), shared by the
// checks that run before chmlib opens a file and by the reader of its metadata.
#pragma once

#include <cstdint>
#include <string_view>

namespace tav {

// A view of bytes read as little-endian integers. Has() says whether a range lies inside; the
// readers require their range to lie inside, so callers check with Has() first. The bytes must
// outlive the view.
class ChmBytes final {
public:
    explicit ChmBytes(std::string_view data);

    std::uint64_t Size() const;
    // Whether `length` bytes from `offset` lie inside, without overflow.
    bool Has(std::uint64_t offset, std::uint64_t length) const;

    // The unsigned integer of `width` bytes (1 to 8) at `offset`.
    std::uint64_t Uint(std::uint64_t offset, int width) const;
    std::uint16_t U16(std::uint64_t offset) const;
    std::uint32_t U32(std::uint64_t offset) const;
    std::int32_t I32(std::uint64_t offset) const;
    std::uint64_t U64(std::uint64_t offset) const;

    // At most `length` bytes from `offset`, which must not lie past the end.
    std::string_view View(std::uint64_t offset, std::uint64_t length) const;

private:
    std::string_view m_data;
};

// Whether `a` and `b` are the same name with letters compared regardless of case, as chmlib
// compares object names.
bool EqualNoCase(std::string_view a, std::string_view b);

}  // namespace tav
