// tacconf set: changes values of a document, writing only the keys it changes.
#include "commands.h"
#include "document/atomicfile.h"
#include "document/configdocument.h"
#include "document/profiletext.h"
#include "fieldaddress.h"
#include "loadeddocument.h"

namespace tav::cli {

namespace {

constexpr std::string_view kName = "set";
constexpr std::string_view kHelp =
    R"(Usage: tacconf set FILE SECTION.KEY VALUE [SECTION.KEY VALUE]...

Changes values of the document FILE and writes it back in one step (a new file
renamed over the old one). Only the keys named change; every other byte of the
file stays as it is. Unlike a save in the editor, set does not stamp the
Version and Updated keys. When a value is refused, nothing is written.

SECTION.KEY addresses a field as in "tacconf get": a key the catalogues do not
describe is refused. A True/False field takes exactly True or False (written
as 1 or 0). Text values may hold anything but line breaks.

Replacement entries, in the replacement section:
  SECTION.rN FROM,TO  sets entry N (a comma in FROM written as \044); with
                      N one past the last entry, appends an entry
  SECTION.rN ""       deletes entry N; the later entries move up
  SECTION.rN.from TEXT, SECTION.rN.to TEXT
                      set one text of an existing entry (commas as they are)
The list holds at most 13 entries (r0 to r<). After a change the whole list is
written back with the empty key that ends it, as the editor writes it.

Options:
  --catalogues DIR  read Sections.txt and Fields.txt from DIR instead of the
                    program's folder
  --help            show this text

Exit status: 0 done; 2 usage error, refused value, or a file that could not be
read or written.
)";

const CommandSyntax kSyntax{{}, 3, CommandSyntax::kAnyNumber};

struct Edits {
    std::vector<std::pair<std::uint16_t, std::string>> fieldValues;  // row, value as shown
    std::vector<Replacement> entries;                                // the list after the edits
};

std::string EntryCountText(std::size_t count) {
    return " (the document has " + std::to_string(count) + " replacement entries)";
}

// Deletes, replaces or appends entry `n` by the whole-entry notation.
std::string SetWholeEntry(std::vector<Replacement>& entries, std::size_t n,
                          const std::string& value, std::size_t room) {
    const std::string key = ReplacementKey(n);
    if (value.empty()) {
        if (n >= entries.size()) {
            return "there is no entry " + key + " to delete" + EntryCountText(entries.size());
        }
        entries.erase(entries.begin() + static_cast<std::ptrdiff_t>(n));
        return {};
    }
    const std::optional<Replacement> entry = ParseReplacementEntry(value);
    if (!entry) {
        return "an entry takes FROM,TO (a comma in FROM written as \\044), or \"\" to delete it";
    }
    if (n > entries.size()) {
        return key + " would leave a gap; the next entry is " + ReplacementKey(entries.size());
    }
    if (n == entries.size() && n >= room) {
        return "no room for " + key + ": with this catalogue the editor holds " +
               std::to_string(room) + " replacement entries";
    }
    if (n == entries.size()) {
        entries.push_back(*entry);
    } else {
        entries[n] = *entry;
    }
    return {};
}

std::string SetEntry(const LoadedDocument& document, const FieldAddress& address,
                     const std::string& value, Edits& edits) {
    if (!document.warnings.empty()) {
        return "the replacement list could not be read whole, so it is not changed";
    }
    if (address.part == FieldAddress::Part::kWhole) {
        const std::size_t room = std::min<std::size_t>(
            FieldCatalog::kMaxReplacements, FieldCatalog::kCapacity - document.catalogueRows);
        return SetWholeEntry(edits.entries, address.entry, value, room);
    }
    if (address.entry >= edits.entries.size()) {
        return "there is no entry " + ReplacementKey(address.entry) +
               EntryCountText(edits.entries.size());
    }
    Replacement& entry = edits.entries[address.entry];
    (address.part == FieldAddress::Part::kFrom ? entry.from : entry.to) = value;
    return {};
}

// Checks one SECTION.KEY VALUE pair and adds it to `edits`; returns why it is refused, or "".
std::string AddEdit(const CatalogueSet& catalogues, const LoadedDocument& document,
                    const std::string& addressText, const std::string& value, Edits& edits) {
    const ResolvedAddress resolved = ResolveAddress(catalogues, addressText);
    if (!resolved.address) {
        return resolved.error;
    }
    const FieldAddress& address = *resolved.address;
    std::string refused;
    if (!address.field) {
        refused = SetEntry(document, address, value, edits);
    } else if (document.fields[*address.field].type == "B" && value != "True" && value != "False") {
        refused = "a True/False field takes True or False, not \"" + value + "\"";
    } else {
        edits.fieldValues.emplace_back(*address.field, value);
    }
    return refused.empty() ? refused : "\"" + addressText + "\": " + refused;
}

// Applies `edits` to `text`, key by key; returns the first write the profile store refuses.
std::optional<std::string> WriteEdits(const CatalogueSet& catalogues,
                                      const LoadedDocument& document, const Edits& edits,
                                      ProfileText& text) {
    for (const auto& [row, value] : edits.fieldValues) {
        const FieldDef& field = document.fields[row];
        const std::string& section = catalogues.sections.RowForId(field.sectionId)->iniName;
        const std::string stored = field.type != "B" ? value : value == "True" ? "1" : "0";
        if (auto refused = text.Set(section, field.key, stored)) {
            return refused;
        }
    }
    if (edits.entries == document.replacements) {
        return std::nullopt;
    }
    const auto r = static_cast<std::size_t>(catalogues.sections.ReplacementSectionIndex());
    const std::string& section = catalogues.sections[r].iniName;
    for (std::size_t n = 0; n < edits.entries.size(); ++n) {
        const std::string entry = ReplacementEntryText(edits.entries[n]);
        if (auto refused = text.Set(section, ReplacementKey(n), entry)) {
            return refused;
        }
    }
    if (edits.entries.size() < FieldCatalog::kMaxReplacements) {
        return text.Set(section, ReplacementKey(edits.entries.size()), "");
    }
    return std::nullopt;
}

// Collects every pair; reports the first refused one and returns nothing.
std::optional<Edits> CollectEdits(const CatalogueSet& catalogues, const LoadedDocument& document,
                                  const Words& operands, const Environment& env) {
    Edits edits;
    edits.entries = document.replacements;
    for (std::size_t i = 1; i + 1 < operands.size(); i += 2) {
        if (std::string refused =
                AddEdit(catalogues, document, operands[i], operands[i + 1], edits);
            !refused.empty()) {
            ReportError(env, document.path + ": " + refused + "; nothing was written");
            return std::nullopt;
        }
    }
    return edits;
}

// Writes `edits` into the document's file, which is left alone when they change nothing.
ExitCode Save(const CatalogueSet& catalogues, const LoadedDocument& document, const Edits& edits,
              const Environment& env) {
    ProfileText text(document.bytes);
    if (auto refused = WriteEdits(catalogues, document, edits, text)) {
        ReportError(env, document.path + ": " + *refused + "; nothing was written");
        return ExitCode::kFailure;
    }
    if (text.Unchanged()) {
        return ExitCode::kOk;
    }
    if (auto error = WriteFileAtomically(document.path, text.Bytes())) {
        ReportError(env, error->Message());
        return ExitCode::kFailure;
    }
    return ExitCode::kOk;
}

}  // namespace

ExitCode RunSet(const Words& words, const Environment& env) {
    ExitCode exit = ExitCode::kOk;
    const std::optional<Arguments> args = StartCommand(words, kSyntax, kName, kHelp, env, exit);
    if (!args) {
        return exit;
    }
    if (args->operands.size() % 2 == 0) {
        return UsageError(env, kName, "\"" + args->operands.back() + "\" has no VALUE");
    }
    CatalogueSet catalogues;
    LoadedDocument document;
    if (!OpenCataloguesAndDocument(*args, env, catalogues, document)) {
        return ExitCode::kFailure;
    }
    const std::optional<Edits> edits = CollectEdits(catalogues, document, args->operands, env);
    if (!edits) {
        return ExitCode::kFailure;
    }
    return Save(catalogues, document, *edits, env);
}

}  // namespace tav::cli
