#include "base/textencoding.h"
#include "base/translation.h"

#include <algorithm>
#include <array>
#include <cstdint>
#include <cstdio>
#include <cstring>

namespace tav {

namespace {

constexpr std::string_view kUtf8Bom = "\xEF\xBB\xBF";
constexpr char32_t kReplacement = 0xFFFD;

// Windows-1252 bytes 0x80 to 0x9F; the five the code page leaves undefined map to the C1 control
// of the same number, so that every byte has a character and back.
constexpr std::array<char32_t, 32> kHighControls = {
    0x20AC, 0x0081, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021, 0x02C6, 0x2030, 0x0160,
    0x2039, 0x0152, 0x008D, 0x017D, 0x008F, 0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022,
    0x2013, 0x2014, 0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x009D, 0x017E, 0x0178};

struct CodePoint {
    char32_t value = 0;
    std::size_t length = 0;  // bytes of the sequence
};

// The length of the UTF-8 sequence that `lead` starts: 1 for ASCII, 2 to 4, or 0 for a byte that
// starts none.
std::size_t SequenceLength(char lead) {
    const auto byte = static_cast<unsigned char>(lead);
    if (byte < 0x80) {
        return 1;
    }
    if ((byte & 0xE0) == 0xC0) {
        return 2;
    }
    if ((byte & 0xF0) == 0xE0) {
        return 3;
    }
    return (byte & 0xF8) == 0xF0 ? 4 : 0;
}

// True when the bytes of `start` after its first are continuation bytes: the start of a sequence
// that may still turn out valid.
bool ContinuesSoFar(std::string_view start) {
    return std::all_of(start.begin() + 1, start.end(),
                       [](char c) { return (static_cast<unsigned char>(c) & 0xC0) == 0x80; });
}

// The valid UTF-8 sequence at `at`, or nothing.
std::optional<CodePoint> Utf8At(std::string_view bytes, std::size_t at) {
    const auto lead = static_cast<unsigned char>(bytes[at]);
    const std::size_t length = SequenceLength(bytes[at]);
    if (length == 1) {
        return CodePoint{lead, 1};
    }
    constexpr std::array<char32_t, 5> kLeast = {0, 0, 0x80, 0x800, 0x10000};
    constexpr std::array<unsigned char, 5> kLeadBits = {0, 0, 0x1F, 0x0F, 0x07};
    if (length == 0 || at + length > bytes.size()) {
        return std::nullopt;
    }
    char32_t value = lead & kLeadBits[length];
    const char32_t least = kLeast[length];
    for (std::size_t i = 1; i < length; ++i) {
        const auto next = static_cast<unsigned char>(bytes[at + i]);
        if ((next & 0xC0) != 0x80) {
            return std::nullopt;
        }
        value = (value << 6) | (next & 0x3F);
    }
    if (value < least || value > 0x10FFFF || (value >= 0xD800 && value <= 0xDFFF)) {
        return std::nullopt;  // overlong, past Unicode, or a surrogate
    }
    return CodePoint{value, length};
}

// The first byte from `at` on that is not ASCII, or the size: 32 bytes at a time (four words
// whose top bits are looked at together), then eight, then one.
std::size_t SkipAscii(std::string_view bytes, std::size_t at) {
    constexpr std::uint64_t kHighBits = 0x8080808080808080ull;
    for (std::uint64_t words[4] = {}; at + sizeof words <= bytes.size(); at += sizeof words) {
        std::memcpy(words, bytes.data() + at, sizeof words);
        if (((words[0] | words[1] | words[2] | words[3]) & kHighBits) != 0) {
            break;
        }
    }
    for (std::uint64_t word = 0; at + sizeof word <= bytes.size(); at += sizeof word) {
        std::memcpy(&word, bytes.data() + at, sizeof word);
        if ((word & kHighBits) != 0) {
            break;
        }
    }
    while (at < bytes.size() && static_cast<unsigned char>(bytes[at]) < 0x80) {
        ++at;
    }
    return at;
}

char32_t Windows1252Char(unsigned char byte) {
    return byte >= 0x80 && byte < 0xA0 ? kHighControls[byte - 0x80] : byte;
}

std::optional<unsigned char> Windows1252Byte(char32_t c) {
    if (c < 0x80 || (c >= 0xA0 && c <= 0xFF)) {
        return static_cast<unsigned char>(c);
    }
    for (std::size_t i = 0; i < kHighControls.size(); ++i) {
        if (kHighControls[i] == c) {
            return static_cast<unsigned char>(0x80 + i);
        }
    }
    return std::nullopt;
}

// "“é” (U+00E9)" for the messages that name a character.
std::string CharacterName(std::string_view sequence, char32_t c) {
    char code[16];
    std::snprintf(code, sizeof code, "U+%04X", static_cast<unsigned>(c));
    const bool printable = c >= 0x20 && c != 0x7F && !(c >= 0x80 && c < 0xA0);
    return printable ? "\"" + std::string(sequence) + "\" (" + code + ")" : std::string(code);
}

}  // namespace

bool IsValidUtf8(std::string_view bytes) {
    for (std::size_t at = SkipAscii(bytes, 0); at < bytes.size(); at = SkipAscii(bytes, at)) {
        const std::optional<CodePoint> c = Utf8At(bytes, at);
        if (!c) {
            return false;
        }
        at += c->length;
    }
    return true;
}

TextEncoding DecideEncoding(std::string_view bytes) {
    if (bytes.substr(0, kUtf8Bom.size()) == kUtf8Bom) {
        return TextEncoding::Utf8;
    }
    bool nonAscii = false;
    for (std::size_t at = 0; at < bytes.size();) {
        at = SkipAscii(bytes, at);  // most bytes of a document: no sequence to decode
        if (at == bytes.size()) {
            break;
        }
        const std::optional<CodePoint> c = Utf8At(bytes, at);
        if (!c) {
            return TextEncoding::Windows1252;
        }
        nonAscii = nonAscii || c->length > 1;
        at += c->length;
    }
    return nonAscii ? TextEncoding::Utf8 : TextEncoding::Windows1252;
}

void EncodingScanner::ScanStart(std::string_view bytes) {
    for (std::size_t i = 0; i < bytes.size() && m_startSize < m_start.size(); ++i) {
        m_start[m_startSize++] = bytes[i];
        m_bom = m_startSize == kUtf8Bom.size() &&
                std::string_view(m_start.data(), m_startSize) == kUtf8Bom;
    }
}

void EncodingScanner::Scan(std::string_view bytes) {
    if (Settled()) {
        return;
    }
    ScanStart(bytes);
    if (m_bom) {
        return;
    }
    std::size_t at = 0;
    if (m_partialSize > 0) {
        // Complete the sequence the last piece ended inside of, then judge it as a whole.
        const std::size_t length = SequenceLength(m_partial[0]);
        while (m_partialSize < length && at < bytes.size()) {
            m_partial[m_partialSize++] = bytes[at++];
        }
        if (m_partialSize < length) {
            m_invalid = !ContinuesSoFar(std::string_view(m_partial.data(), m_partialSize));
            return;
        }
        m_partialSize = 0;
        m_invalid = !Utf8At(std::string_view(m_partial.data(), length), 0);
        m_multiByte = true;
    }
    while (!m_invalid && at < bytes.size()) {
        at = SkipAscii(bytes, at);
        if (at == bytes.size()) {
            break;
        }
        if (const std::optional<CodePoint> c = Utf8At(bytes, at)) {
            m_multiByte = true;
            at += c->length;
            continue;
        }
        // A sequence cut by the end of the piece is judged when the next piece completes it,
        // unless a byte that cannot continue it says so already.
        const std::size_t length = SequenceLength(bytes[at]);
        m_invalid = length == 0 || at + length <= bytes.size() || !ContinuesSoFar(bytes.substr(at));
        if (!m_invalid) {
            m_partialSize = bytes.size() - at;
            std::memcpy(m_partial.data(), bytes.data() + at, m_partialSize);
        }
        break;
    }
}

TextEncoding EncodingScanner::Result() const {
    if (m_bom) {
        return TextEncoding::Utf8;
    }
    const bool valid = !m_invalid && m_partialSize == 0;
    return valid && m_multiByte ? TextEncoding::Utf8 : TextEncoding::Windows1252;
}

bool MixesEncodings(std::string_view bytes) {
    bool valid = false;
    bool invalid = false;
    for (std::size_t at = 0; at < bytes.size() && !(valid && invalid);) {
        at = SkipAscii(bytes, at);
        if (at == bytes.size()) {
            break;
        }
        const std::optional<CodePoint> c = Utf8At(bytes, at);
        valid = valid || (c && c->length > 1);
        invalid = invalid || !c;
        at += c ? c->length : 1;
    }
    return valid && invalid;
}

std::string DecodeText(std::string_view bytes, TextEncoding encoding) {
    std::string out;
    out.reserve(bytes.size());
    for (std::size_t at = 0; at < bytes.size();) {
        // ASCII is the same in both encodings and in UTF-8: runs of it are copied as they are.
        const std::size_t ascii = SkipAscii(bytes, at);
        out.append(bytes.substr(at, ascii - at));
        at = ascii;
        if (at == bytes.size()) {
            break;
        }
        if (encoding == TextEncoding::Windows1252) {
            AppendUtf8(Windows1252Char(static_cast<unsigned char>(bytes[at++])), out);
            continue;
        }
        if (const std::optional<CodePoint> c = Utf8At(bytes, at)) {
            out.append(bytes.substr(at, c->length));
            at += c->length;
        } else {
            AppendUtf8(kReplacement, out);
            ++at;
        }
    }
    return out;
}

bool DecodesToItself(std::string_view bytes, TextEncoding encoding) {
    return encoding == TextEncoding::Utf8 ? IsValidUtf8(bytes)
                                          : SkipAscii(bytes, 0) == bytes.size();
}

Expected<std::string> EncodeText(std::string_view text, TextEncoding encoding) {
    std::string out;
    out.reserve(text.size());
    for (std::size_t at = 0; at < text.size();) {
        const std::size_t ascii = SkipAscii(text, at);
        out.append(text.substr(at, ascii - at));
        at = ascii;
        if (at == text.size()) {
            break;
        }
        const std::optional<CodePoint> c = Utf8At(text, at);
        if (!c) {
            return FileError{{}, Translate("FileError", "the text is not valid UTF-8")};
        }
        const std::string_view sequence = text.substr(at, c->length);
        at += c->length;
        if (encoding == TextEncoding::Utf8) {
            out.append(sequence);
        } else if (const std::optional<unsigned char> byte = Windows1252Byte(c->value)) {
            out += static_cast<char>(*byte);
        } else {
            return FileError{{},
                             FillIn(Translate("FileError",
                                              "the character %1 cannot be stored in "
                                              "a Windows-1252 document"),
                                    {CharacterName(sequence, c->value)})};
        }
    }
    return out;
}

void AppendUtf8(char32_t c, std::string& out) {
    if (c < 0x80) {
        out += static_cast<char>(c);
    } else if (c < 0x800) {
        out += static_cast<char>(0xC0 | (c >> 6));
        out += static_cast<char>(0x80 | (c & 0x3F));
    } else if (c < 0x10000) {
        out += static_cast<char>(0xE0 | (c >> 12));
        out += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (c & 0x3F));
    } else {
        out += static_cast<char>(0xF0 | (c >> 18));
        out += static_cast<char>(0x80 | ((c >> 12) & 0x3F));
        out += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (c & 0x3F));
    }
}

const char* EncodingName(TextEncoding encoding) {
    return encoding == TextEncoding::Utf8 ? "utf-8" : "windows-1252";
}

std::optional<TextEncoding> EncodingNamed(std::string_view name) {
    std::string folded;
    for (const char c : name) {
        folded += static_cast<char>(c >= 'A' && c <= 'Z' ? c - 'A' + 'a' : c);
    }
    if (folded == "utf-8" || folded == "utf8") {
        return TextEncoding::Utf8;
    }
    if (folded == "windows-1252" || folded == "cp1252") {
        return TextEncoding::Windows1252;
    }
    return std::nullopt;
}

}  // namespace tav
