#include "jsontext.h"

#include <cstdio>

namespace tav::cli {

namespace {

bool IsContinuation(unsigned c) {
    return (c & 0xC0) == 0x80;
}

// What a lead byte of a UTF-8 sequence of two or more bytes allows.
struct Lead {
    std::size_t length = 0;  // 0: not such a lead byte
    unsigned low = 0x80;
    unsigned high = 0xBF;  // the range of the second byte
};

Lead LeadOf(unsigned c) {
    if (c >= 0xC2 && c <= 0xDF) {
        return {2};
    }
    if (c >= 0xE0 && c <= 0xEF) {
        // No overlong forms after E0, no surrogates after ED.
        return {3, c == 0xE0 ? 0xA0u : 0x80u, c == 0xED ? 0x9Fu : 0xBFu};
    }
    if (c >= 0xF0 && c <= 0xF4) {
        // No overlong forms after F0, nothing past U+10FFFF after F4.
        return {4, c == 0xF0 ? 0x90u : 0x80u, c == 0xF4 ? 0x8Fu : 0xBFu};
    }
    return {};
}

// Length of the valid UTF-8 sequence of two or more bytes at `pos`, or 0.
std::size_t MultiByteLength(std::string_view text, std::size_t pos) {
    const auto at = [&](std::size_t i) -> unsigned {
        return pos + i < text.size() ? static_cast<unsigned char>(text[pos + i]) : 0u;
    };
    const Lead lead = LeadOf(at(0));
    if (lead.length == 0 || at(1) < lead.low || at(1) > lead.high) {
        return 0;
    }
    for (std::size_t i = 2; i < lead.length; ++i) {
        if (!IsContinuation(at(i))) {
            return 0;
        }
    }
    return lead.length;
}

// The short escape of `c` ("\\n" for LF), or nullptr when it has none.
const char* ShortEscape(unsigned char c) {
    switch (c) {
        case '"':
            return "\\\"";
        case '\\':
            return "\\\\";
        case '\n':
            return "\\n";
        case '\r':
            return "\\r";
        case '\t':
            return "\\t";
        default:
            return nullptr;
    }
}

// Appends the single byte `c`, which starts no valid multi-byte sequence.
void AppendByte(std::string& out, unsigned char c) {
    if (const char* escape = ShortEscape(c)) {
        out += escape;
    } else if (c < 0x20 || c >= 0x7F) {
        char code[8];
        std::snprintf(code, sizeof code, "\\u%04x", c);
        out += code;
    } else {
        out += static_cast<char>(c);
    }
}

}  // namespace

std::string JsonString(std::string_view text) {
    std::string out = "\"";
    for (std::size_t pos = 0; pos < text.size();) {
        const std::size_t length = MultiByteLength(text, pos);
        if (length > 0) {
            out += text.substr(pos, length);
            pos += length;
        } else {
            AppendByte(out, static_cast<unsigned char>(text[pos++]));
        }
    }
    return out + "\"";
}

}  // namespace tav::cli
