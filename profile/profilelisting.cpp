#include "profile/profilelisting.h"

#include "profile/profilelines.h"

namespace tav {

std::string_view ListedKey::Value() const {
    return ProfileValueOf(storedText);
}

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
            // A run of copies of this line: all but the last are sections without keys; the walk
            // goes on at the last, whose key lines follow.
            const std::string_view whole = bytes.substr(line.begin, line.next - line.begin);
            const std::size_t copies = (EndOfRepeats(bytes, at, whole) - at) / whole.size();
            if (copies > 1) {
                current.emptyCopies = copies - 1;
                section(current);
                current.line += copies;
                current.at += copies * whole.size();
                current.emptyCopies = 0;
                number += copies;
                at += copies * whole.size();
            }
        } else if (const auto keyLine = ProfileKeyLineParts(text); keyLine && inSection) {
            current.keys.push_back(ListedKey{keyLine->key, keyLine->storedText, number});
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
    const ProfileLines lines(bytes);
    WalkProfile(
        bytes,
        [&](const ListedSection& section) {
            listing.sections.push_back(section);
            listing.sections.back().emptyCopies = 0;
            const std::size_t length = lines.At(section.at).next - section.at;
            for (std::size_t c = 1; c <= section.emptyCopies; ++c) {
                ListedSection copy{section.name, section.line + c, section.at + c * length, {}};
                listing.sections.push_back(copy);
            }
        },
        [&](const SkippedLine& line) { listing.skipped.push_back(line); });
    return listing;
}

}  // namespace tav
