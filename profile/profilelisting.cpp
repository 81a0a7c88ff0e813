#include "profile/profilelisting.h"

#include "profile/profilelines.h"

namespace tav {

void WalkProfile(std::string_view bytes, const std::function<void(const ListedSection&)>& section,
                 const std::function<void(const SkippedLine&)>& skipped) {
    const ProfileLines lines(bytes);
    ListedSection current;
    bool inSection = false;
    std::size_t number = 1;
    for (std::size_t at = lines.BomSize(); at < bytes.size(); ++number) {
        const ProfileLine line = lines.At(at);
        const std::string_view text = lines.Text(line);
        at = line.next;
        if (const auto name = ProfileHeaderName(text)) {
            if (inSection) {
                section(current);
            }
            current.name = *name;
            current.line = number;
            current.at = line.begin;
            current.keys.clear();
            inSection = true;
        } else if (const auto keyLine = ProfileKeyLineParts(text); keyLine && inSection) {
            current.keys.push_back(ListedKey{keyLine->key, keyLine->storedText,
                                             ProfileValueOf(keyLine->storedText), number});
        } else if (!TrimBlanks(text).empty()) {
            skipped(SkippedLine{text, number, !inSection});
        }
    }
    if (inSection) {
        section(current);
    }
}

ProfileListing ListProfile(std::string_view bytes) {
    ProfileListing listing;
    WalkProfile(
        bytes, [&](const ListedSection& section) { listing.sections.push_back(section); },
        [&](const SkippedLine& line) { listing.skipped.push_back(line); });
    return listing;
}

}  // namespace tav
