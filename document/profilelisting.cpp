#include "profilelisting.h"

#include "profiletext.h"

namespace tav {

namespace {

constexpr std::string_view kUtf8Bom = "\xEF\xBB\xBF";

// The lines of `bytes` without their line endings.
std::vector<std::string_view> ProfileLines(std::string_view bytes) {
    std::vector<std::string_view> lines;
    while (!bytes.empty()) {
        const std::size_t brk = bytes.find_first_of("\r\n");
        lines.push_back(bytes.substr(0, brk));
        if (brk == std::string_view::npos) {
            break;
        }
        const bool crlf = bytes[brk] == '\r' && brk + 1 < bytes.size() && bytes[brk + 1] == '\n';
        bytes.remove_prefix(brk + (crlf ? 2 : 1));
    }
    return lines;
}

bool IsBlankText(std::string_view text) {
    return TrimBlanks(text).empty();
}

bool IsHeader(std::string_view text) {
    const std::string_view trimmed = TrimBlanks(text);
    return !trimmed.empty() && trimmed.front() == '[' &&
           trimmed.find(']') != std::string_view::npos;
}

std::string HeaderName(std::string_view text) {
    const std::string_view trimmed = TrimBlanks(text);
    return std::string(TrimBlanks(trimmed.substr(1, trimmed.rfind(']') - 1)));
}

ListedKey KeyOfLine(std::string_view text, std::size_t line) {
    const std::size_t eq = text.find('=');
    return ListedKey{std::string(TrimBlanks(text.substr(0, eq))), std::string(text.substr(eq + 1)),
                     line};
}

}  // namespace

ProfileListing ListProfile(std::string_view bytes) {
    if (bytes.substr(0, kUtf8Bom.size()) == kUtf8Bom) {
        bytes.remove_prefix(kUtf8Bom.size());
    }
    ProfileListing listing;
    const std::vector<std::string_view> lines = ProfileLines(bytes);
    for (std::size_t i = 0; i < lines.size(); ++i) {
        const std::string_view text = lines[i];
        const std::size_t number = i + 1;
        if (IsHeader(text)) {
            listing.sections.push_back(ListedSection{HeaderName(text), number, {}});
        } else if (!listing.sections.empty() && text.find('=') != std::string_view::npos) {
            listing.sections.back().keys.push_back(KeyOfLine(text, number));
        } else if (!IsBlankText(text)) {
            listing.skipped.push_back(
                SkippedLine{std::string(text), number, listing.sections.empty()});
        }
    }
    return listing;
}

}  // namespace tav
