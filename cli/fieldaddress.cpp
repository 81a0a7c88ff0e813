#include "cli/fieldaddress.h"

#include "document/documenttable.h"

#include <algorithm>

#include "base/translation.h"
#include "document/documentrules.h"

namespace tav::cli {

namespace {

constexpr std::string_view kFromSuffix = ".from";
constexpr std::string_view kToSuffix = ".to";

// Appended piece by piece: g++ 12 at -O3 warns (-Wrestrict, a known false positive) about
// "literal" + std::string.
std::string Quote(std::string_view text) {
    std::string quoted(1, '"');
    quoted.append(text);
    quoted += '"';
    return quoted;
}

bool EndsWith(std::string_view text, std::string_view suffix) {
    return text.size() >= suffix.size() && text.substr(text.size() - suffix.size()) == suffix;
}

std::optional<FieldAddress> EntryAddress(std::size_t section, std::string_view key) {
    FieldAddress address{section, std::nullopt, 0, FieldAddress::Part::kWhole};
    if (EndsWith(key, kFromSuffix)) {
        address.part = FieldAddress::Part::kFrom;
        key.remove_suffix(kFromSuffix.size());
    } else if (EndsWith(key, kToSuffix)) {
        address.part = FieldAddress::Part::kTo;
        key.remove_suffix(kToSuffix.size());
    }
    const std::optional<std::size_t> n = ReplacementEntryNumber(key);
    if (!n) {
        return std::nullopt;
    }
    // Keys past the list's capacity are marked by the capacity itself.
    address.entry = std::min<std::size_t>(*n, DocumentTable::kMaxReplacements);
    return address;
}

// The address at the split `dot`, or nothing.
std::optional<FieldAddress> AddressAt(const Catalogues& catalogues, std::string_view text,
                                      std::size_t dot) {
    const std::optional<std::size_t> section = catalogues.FindSection(text.substr(0, dot));
    if (!section) {
        return std::nullopt;
    }
    const std::string_view key = text.substr(dot + 1);
    if (const auto field = catalogues.FindField(*section, key)) {
        return FieldAddress{*section, field, 0, FieldAddress::Part::kWhole};
    }
    if (*section != catalogues.ReplacementSectionIndex()) {
        return std::nullopt;
    }
    return EntryAddress(*section, key);
}

std::string UnresolvedMessage(const Catalogues& catalogues, std::string_view text) {
    const std::size_t dot = text.find('.');
    if (dot == std::string_view::npos) {
        return FillIn(Translate("tacconf", "%1 is not of the form SECTION.KEY"), {Quote(text)});
    }
    const std::string_view name = text.substr(0, dot);
    if (!catalogues.FindSection(name)) {
        return FillIn(Translate("tacconf", "%1: the catalogue has no section %2"),
                      {Quote(text), Quote(name)});
    }
    return FillIn(Translate("tacconf", "%1: the catalogue describes no key %2 in section [%3]"),
                  {Quote(text), Quote(text.substr(dot + 1)), name});
}

}  // namespace

Expected<FieldAddress> ResolveAddress(const Catalogues& catalogues, std::string_view text) {
    for (std::size_t dot = text.find('.'); dot != std::string_view::npos;
         dot = text.find('.', dot + 1)) {
        const std::optional<FieldAddress> address = AddressAt(catalogues, text, dot);
        if (address && address->entry == DocumentTable::kMaxReplacements) {
            return FileError{
                {},
                FillIn(Translate("tacconf",
                                 "%1: the replacement list holds at most "
                                 "%2 entries, %3 to %4"),
                       {Quote(text), std::to_string(DocumentTable::kMaxReplacements),
                        ReplacementKey(0), ReplacementKey(DocumentTable::kMaxReplacements - 1)})};
        }
        if (address) {
            return *address;
        }
    }
    return FileError{{}, UnresolvedMessage(catalogues, text)};
}

std::string EntryPart(const ReplacementEntry& entry, FieldAddress::Part part) {
    switch (part) {
        case FieldAddress::Part::kFrom:
            return entry.from;
        case FieldAddress::Part::kTo:
            return entry.to;
        case FieldAddress::Part::kWhole:
            break;
    }
    return ReplacementEntryText(entry.from, entry.to);
}

}  // namespace tav::cli
