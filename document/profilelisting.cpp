#include "profilelisting.h"

#include "profilelines.h"

namespace tav {

namespace {

// Adds the line `text`, numbered `number`, to what `listing` holds so far.
void ListLine(ProfileListing& listing, std::string_view text, std::size_t number) {
    if (const auto name = ProfileHeaderName(text)) {
        listing.sections.push_back(ListedSection{*name, number, {}});
        return;
    }
    const bool inSection = !listing.sections.empty();
    if (const auto keyLine = ProfileKeyLineParts(text); keyLine && inSection) {
        listing.sections.back().keys.push_back(
            ListedKey{keyLine->key, keyLine->storedText, number});
    } else if (!TrimBlanks(text).empty()) {
        listing.skipped.push_back(SkippedLine{text, number, !inSection});
    }
}

}  // namespace

ProfileListing ListProfile(std::string_view bytes) {
    const ProfileLines lines(bytes);
    ProfileListing listing;
    std::size_t number = 1;
    for (std::size_t at = lines.BomSize(); at < bytes.size(); ++number) {
        const ProfileLine line = lines.At(at);
        ListLine(listing, lines.Text(line), number);
        at = line.next;
    }
    return listing;
}

}  // namespace tav
