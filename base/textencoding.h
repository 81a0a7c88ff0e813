// The text encoding of a document (or a catalogue file), decided once from its bytes, and the
// conversion of its texts to and from the UTF-8 that people type and read.
#pragma once

#include <array>
#include <cstddef>
#include <optional>
#include <string>
#include <string_view>

#include "base/expected.h"

namespace tav {

enum class TextEncoding {
    Utf8,
    Windows1252,  // the Windows code page the other application's 8-bit profile readers use
};

// The encoding of `bytes`: a UTF-8 byte-order mark means UTF-8; without one, bytes that hold
// non-ASCII bytes all forming valid UTF-8 sequences are UTF-8; anything else, plain ASCII
// included, is Windows-1252 (the other application reads documents in the Windows code page).
TextEncoding DecideEncoding(std::string_view bytes);

// DecideEncoding for a document whose bytes come piece by piece (a file read in chunks): after any
// pieces, Result() is what DecideEncoding gives for all of them put together, wherever they were
// cut (a sequence or the byte-order mark may be split between pieces).
class EncodingScanner final {
public:
    // Takes the next bytes of the document.
    void Scan(std::string_view bytes);

    // True when no further bytes can change Result(): the bytes start with a UTF-8 byte-order mark
    // or hold a byte that is not part of a valid UTF-8 sequence. Scan then does nothing.
    bool Settled() const { return m_bom || m_invalid; }

    // DecideEncoding of every byte scanned so far (an incomplete sequence at the end is invalid).
    TextEncoding Result() const;

private:
    void ScanStart(std::string_view bytes);

    std::array<char, 3> m_start{};  // the first bytes scanned, to tell a byte-order mark
    std::size_t m_startSize = 0;
    bool m_bom = false;
    bool m_invalid = false;
    bool m_multiByte = false;         // a valid sequence of more than one byte was seen
    std::array<char, 4> m_partial{};  // a sequence the last piece ended inside of
    std::size_t m_partialSize = 0;
};

// True when `bytes` is valid UTF-8 (no overlong forms, no surrogates, nothing past U+10FFFF).
bool IsValidUtf8(std::string_view bytes);

// True when `bytes` holds both valid multi-byte UTF-8 sequences and non-ASCII bytes that are not
// part of one: a document edited in both encodings, whose texts cannot all show right.
bool MixesEncodings(std::string_view bytes);

// `bytes` of `encoding` as UTF-8. Windows-1252 decodes every byte (the five bytes the code page
// leaves undefined, 0x81, 0x8D, 0x8F, 0x90 and 0x9D, become U+0081 and so on), so encoding the
// result gives the bytes back. In UTF-8, each byte that is not part of a valid sequence becomes
// U+FFFD.
std::string DecodeText(std::string_view bytes, TextEncoding encoding);

// True when DecodeText gives `bytes` back unchanged: valid UTF-8, or ASCII in Windows-1252.
bool DecodesToItself(std::string_view bytes, TextEncoding encoding);

// The UTF-8 text `text` in `encoding`. Fails, naming the first character, when the encoding cannot
// hold it (or when `text` is not valid UTF-8); nothing is ever replaced. The error's file is empty.
Expected<std::string> EncodeText(std::string_view text, TextEncoding encoding);

// Appends the UTF-8 form of the code point `c` (which must not exceed U+10FFFF) to `out`.
void AppendUtf8(char32_t c, std::string& out);

// "utf-8" or "windows-1252".
const char* EncodingName(TextEncoding encoding);

// The encoding named `name` ("utf-8", "utf8", "windows-1252", "cp1252", case ignored), or nothing.
std::optional<TextEncoding> EncodingNamed(std::string_view name);

}  // namespace tav
