#include "help/chmbytes.h"

#include <algorithm>
#include <cctype>

namespace tav {

ChmBytes::ChmBytes(std::string_view data) : m_data(data) {}

std::uint64_t ChmBytes::Size() const {
    return m_data.size();
}

bool ChmBytes::Has(std::uint64_t offset, std::uint64_t length) const {
    return offset <= m_data.size() && length <= m_data.size() - offset;
}

std::uint64_t ChmBytes::Uint(std::uint64_t offset, int width) const {
    std::uint64_t value = 0;
    for (int i = width - 1; i >= 0; --i) {
        value = value << 8 | static_cast<unsigned char>(m_data[offset + i]);
    }
    return value;
}

std::uint16_t ChmBytes::U16(std::uint64_t offset) const {
    return static_cast<std::uint16_t>(Uint(offset, 2));
}

std::uint32_t ChmBytes::U32(std::uint64_t offset) const {
    return static_cast<std::uint32_t>(Uint(offset, 4));
}

std::int32_t ChmBytes::I32(std::uint64_t offset) const {
    return static_cast<std::int32_t>(U32(offset));
}

std::uint64_t ChmBytes::U64(std::uint64_t offset) const {
    return Uint(offset, 8);
}

std::string_view ChmBytes::View(std::uint64_t offset, std::uint64_t length) const {
    return m_data.substr(offset, length);
}

bool EqualNoCase(std::string_view a, std::string_view b) {
    return a.size() == b.size() && std::equal(a.begin(), a.end(), b.begin(), [](char x, char y) {
               return std::tolower(static_cast<unsigned char>(x)) ==
                      std::tolower(static_cast<unsigned char>(y));
           });
}

}  // namespace tav
