#include "catalog/catalogtext.h"

namespace tav {

std::vector<std::string_view> CatalogLines(std::string_view text) {
    std::vector<std::string_view> lines;
    while (!text.empty()) {
        const size_t lf = text.find('\n');
        std::string_view line = text.substr(0, lf);
        text = lf == std::string_view::npos ? std::string_view{} : text.substr(lf + 1);
        if (lf != std::string_view::npos && !line.empty() && line.back() == '\r') {
            line.remove_suffix(1);
        }
        if (!line.empty()) {
            lines.push_back(line);
        }
    }
    return lines;
}

std::string_view TakeColumn(std::string_view& rest) {
    const size_t comma = rest.find(',');
    const std::string_view column = rest.substr(0, comma);
    rest = comma == std::string_view::npos ? std::string_view{} : rest.substr(comma + 1);
    return column;
}

char TakeFlagColumn(std::string_view& rest) {
    const char flag = rest.empty() ? '\0' : rest.front();
    rest.remove_prefix(rest.size() < 2 ? rest.size() : 2);
    return flag;
}

std::uint16_t LeadingNumber16(std::string_view text) {
    size_t pos = 0;
    auto isSpace = [](char c) {
        return c == ' ' || c == '\t' || c == '\n' || c == '\v' || c == '\f' || c == '\r';
    };
    while (pos < text.size() && isSpace(text[pos])) {
        ++pos;
    }
    bool negative = false;
    if (pos < text.size() && (text[pos] == '+' || text[pos] == '-')) {
        negative = text[pos] == '-';
        ++pos;
    }
    // Only the low 16 bits are kept, so the digits can be accumulated modulo 65536 without any
    // risk of overflow, however long the number.
    std::uint32_t value = 0;
    for (; pos < text.size() && text[pos] >= '0' && text[pos] <= '9'; ++pos) {
        value = (value * 10 + static_cast<std::uint32_t>(text[pos] - '0')) & 0xFFFFu;
    }
    if (negative) {
        value = (0x10000u - value) & 0xFFFFu;
    }
    return static_cast<std::uint16_t>(value);
}

}  // namespace tav
