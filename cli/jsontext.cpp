#include "cli/jsontext.h"

#include <cstdio>

#include "base/textencoding.h"

namespace tav::cli {

namespace {

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

}  // namespace

std::string JsonString(std::string_view text) {
    std::string out = "\"";
    // After decoding, every byte from 0x80 on belongs to a valid UTF-8 sequence.
    for (const char c : DecodeText(text, TextEncoding::Utf8)) {
        const auto byte = static_cast<unsigned char>(c);
        if (const char* escape = ShortEscape(byte)) {
            out += escape;
        } else if (byte < 0x20 || byte == 0x7F) {
            char code[8];
            std::snprintf(code, sizeof code, "\\u%04x", byte);
            out += code;
        } else {
            out += c;
        }
    }
    return out + "\"";
}

const char* JsonBoolean(std::string_view shown) {
    return shown == "True" ? "true" : "false";
}

std::string TabField(std::string_view text) {
    const auto escape = [](char c) -> const char* {
        switch (c) {
            case '\t':
                return "\\t";
            case '\r':
                return "\\r";
            case '\n':
                return "\\n";
            case '\\':
                return "\\\\";
            default:
                return nullptr;
        }
    };
    std::string out;
    out.reserve(text.size());
    // Runs of bytes that need no escape are copied whole: a value can be a line of many megabytes.
    for (std::size_t at = 0; at < text.size();) {
        std::size_t plain = at;
        while (plain < text.size() && escape(text[plain]) == nullptr) {
            ++plain;
        }
        out.append(text.substr(at, plain - at));
        if (plain < text.size()) {
            out += escape(text[plain]);
        }
        at = plain + 1;
    }
    return out;
}

}  // namespace tav::cli
