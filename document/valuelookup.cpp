#include "document/valuelookup.h"

#include <algorithm>
#include <utility>

#include "document/documentrules.h"

namespace tav {

namespace {

bool IsAscii(std::string_view text) {
    return std::all_of(text.begin(), text.end(),
                       [](char c) { return static_cast<unsigned char>(c) < 0x80; });
}

// How many entry keys, from r0 on, the answer depends on: up to the highest entry asked for, no
// further than the room the table has; and when that room is below the list's own limit, the
// entry past it too, whose presence Open warns about.
std::size_t EntryKeysNeeded(const std::vector<std::size_t>& entries, std::size_t room) {
    std::size_t needed = 0;
    if (!entries.empty()) {
        needed = std::min(*std::max_element(entries.begin(), entries.end()) + 1, room);
    }
    return room < DocumentTable::kMaxReplacements ? room + 1 : needed;
}

// The stored texts of the query, in the document's encoding, before decoding.
struct StoredValues {
    std::vector<std::string> fields;
    std::vector<std::optional<std::pair<std::string, std::string>>> entries;
};

}  // namespace

Expected<QueriedValues> LookUpValues(const Catalogues& catalogues, const ValueQuery& query,
                                     ByteSource source, std::optional<TextEncoding> encoding,
                                     std::size_t chunkSize) {
    const FieldCatalog& table = catalogues.fields;
    std::vector<ProfileKey> keys;
    std::vector<std::optional<std::size_t>> fieldKeys;  // where each field's key is in `keys`
    for (const std::uint16_t row : query.fields) {
        const SectionDef* section = catalogues.sections.RowForId(table[row].sectionId);
        fieldKeys.push_back(section != nullptr ? std::optional(keys.size()) : std::nullopt);
        if (section != nullptr) {
            keys.push_back(ProfileKey{section->iniName, table[row].key});
        }
    }
    const std::size_t firstEntryKey = keys.size();
    const std::size_t room = ReplacementRoom(table.Count());
    const std::optional<std::size_t> replacements = catalogues.ReplacementSectionIndex();
    const std::string replacementName =
        replacements ? catalogues.sections[*replacements].iniName : std::string();
    const std::size_t entryKeys = replacements ? EntryKeysNeeded(query.entries, room) : 0;
    for (std::size_t n = 0; n < entryKeys; ++n) {
        keys.push_back(ProfileKey{replacementName, ReplacementKey(n)});
    }

    EncodingScanner scanner;
    ProfileLookup lookup(std::move(source), encoding ? nullptr : &scanner, chunkSize);
    Expected<std::vector<std::optional<std::string>>> found = lookup.Find(keys);
    if (!found) {
        return found.Error();
    }

    QueriedValues values;
    StoredValues stored;
    for (std::size_t i = 0; i < query.fields.size(); ++i) {
        const FieldDef& field = table[query.fields[i]];
        if (!fieldKeys[i]) {
            stored.fields.push_back(DefaultValue(field));  // a field of no section is not read
            continue;
        }
        const std::string text = (*found)[*fieldKeys[i]].value_or("");
        stored.fields.push_back(field.type == FieldType::Boolean ? ShownBoolean(text) : text);
    }
    // The list is read up to the first entry without a comma, and as far as the table has room.
    std::vector<std::pair<std::string, std::string>> list;
    for (std::size_t n = 0; n < entryKeys; ++n) {
        auto entry = ParseReplacementEntry((*found)[firstEntryKey + n].value_or(""));
        if (!entry) {
            break;
        }
        if (n >= room) {
            values.warnings.push_back(UnloadedEntriesWarning(replacementName, ReplacementKey(n)));
            break;
        }
        list.push_back(std::move(*entry));
    }
    values.entriesRead = list.size();
    for (const std::size_t n : query.entries) {
        stored.entries.push_back(n < list.size() ? std::optional(list[n]) : std::nullopt);
    }

    // ASCII reads the same in both encodings: only other texts need the whole document's bytes.
    const bool allAscii =
        std::all_of(stored.fields.begin(), stored.fields.end(), IsAscii) &&
        std::all_of(stored.entries.begin(), stored.entries.end(), [](const auto& entry) {
            return !entry || (IsAscii(entry->first) && IsAscii(entry->second));
        });
    if (!encoding && !allAscii) {
        if (Status scanned = lookup.ScanRest(); !scanned) {
            return scanned.Error();
        }
    }
    const TextEncoding decided = encoding.value_or(scanner.Result());
    for (const std::string& text : stored.fields) {
        values.fields.push_back(DecodeText(text, decided));
    }
    for (const auto& entry : stored.entries) {
        values.entries.push_back(
            entry ? std::optional(ReplacementEntry{DecodeText(entry->first, decided),
                                                   DecodeText(entry->second, decided)})
                  : std::nullopt);
    }
    return values;
}

}  // namespace tav
