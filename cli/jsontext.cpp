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
    std::string out;
    out.reserve(text.size());
    for (const char c : text) {
        switch (c) {
            case '\t':
                out += "\\t";
                break;
            case '\r':
                out += "\\r";
                break;
            case '\n':
                out += "\\n";
                break;
            case '\\':
                out += "\\\\";
                break;
            default:
                out += c;
        }
    }
    return out;
}

}  // namespace tav::cli
