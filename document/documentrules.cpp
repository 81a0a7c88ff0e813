#include "document/documentrules.h"

#include <algorithm>

#include "base/translation.h"
#include "document/documenttable.h"

namespace tav {

namespace {

constexpr std::string_view kCommaEscape = "\\044";

std::string ReplaceAll(std::string_view text, std::string_view from, std::string_view to) {
    std::string out;
    out.reserve(text.size());
    for (std::size_t pos = text.find(from); pos != std::string_view::npos; pos = text.find(from)) {
        out.append(text.substr(0, pos)).append(to);
        text.remove_prefix(pos + from.size());
    }
    out.append(text);
    return out;
}

}  // namespace

std::string ShownBoolean(std::string_view stored) {
    return std::string(!stored.empty() && stored.front() == '1' ? kTrueText : kFalseText);
}

std::string StoredBoolean(std::string_view shown) {
    return shown == kTrueText ? "1" : "0";
}

bool IsBooleanText(std::string_view text) {
    return text == kTrueText || text == kFalseText;
}

std::vector<std::string> OrderListItems(std::string_view list) {
    std::vector<std::string> items;
    while (!list.empty()) {
        const std::size_t comma = list.find(',');
        items.emplace_back(list.substr(0, comma));
        if (comma == std::string_view::npos) {
            break;
        }
        list.remove_prefix(comma + 1);
        if (list.empty()) {
            items.emplace_back();  // a trailing comma leaves an empty last item
        }
    }
    return items;
}

std::uint16_t PositionInOrderList(std::string_view list, std::string_view key) {
    std::uint16_t position = 1;
    for (;;) {
        const std::size_t comma = list.find(',');
        if (list.substr(0, comma) == key) {
            return position;
        }
        if (comma == std::string_view::npos) {
            return 1;
        }
        list.remove_prefix(comma + 1);
        ++position;
    }
}

std::string ReplacementKey(std::size_t n) {
    return std::string("r") + static_cast<char>(48 + n);
}

std::optional<std::size_t> ReplacementEntryNumber(std::string_view key) {
    if (key.size() < 2 || (key[0] != 'r' && key[0] != 'R') || key[1] < '0') {
        return std::nullopt;
    }
    if (key.size() == 2) {
        return static_cast<std::size_t>(key[1] - '0');
    }
    // "r10" to "r99": the decimal names of "r:", "r;", "r<" and the numbers past them.
    if (key.size() != 3 || key[1] < '1' || key[1] > '9' || key[2] < '0' || key[2] > '9') {
        return std::nullopt;
    }
    return static_cast<std::size_t>((key[1] - '0') * 10 + (key[2] - '0'));
}

std::string ReplacementEntryText(std::string_view from, std::string_view to) {
    std::string text = ReplaceAll(from, ",", kCommaEscape);
    text.append(1, ',').append(to);
    return text;
}

std::optional<std::pair<std::string, std::string>> ParseReplacementEntry(std::string_view text) {
    const std::size_t comma = text.find(',');
    if (comma == std::string_view::npos) {
        return std::nullopt;
    }
    return std::make_pair(ReplaceAll(text.substr(0, comma), kCommaEscape, ","),
                          std::string(text.substr(comma + 1)));
}

std::optional<std::string> FromTextProblem(std::string_view from) {
    if (from.find(kCommaEscape) == std::string_view::npos) {
        return std::nullopt;
    }
    return FillIn(Translate("Document",
                            "the text to replace cannot hold the characters %1: a document stores "
                            "a comma that way, so they would read back as a comma"),
                  {kCommaEscape});
}

std::string UnloadedEntriesWarning(std::string_view section, std::string_view key) {
    return FillIn(Translate("Document",
                            "The replacement entries from \"%1\" on in section [%2] were not "
                            "loaded: the field table holds at most %3 rows."),
                  {key, section, std::to_string(FieldCatalog::kCapacity)});
}

std::size_t ReplacementRoom(std::size_t catalogueRows) {
    const std::size_t table =
        FieldCatalog::kCapacity - std::min<std::size_t>(catalogueRows, FieldCatalog::kCapacity);
    return std::min<std::size_t>(DocumentTable::kMaxReplacements, table);
}

}  // namespace tav
