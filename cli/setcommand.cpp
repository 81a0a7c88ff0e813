// tacconf set: changes values of a document, writing only the keys it changes.
#include "commands.h"
#include "document/documentrules.h"
#include "fieldaddress.h"

namespace tav::cli {

namespace {

constexpr std::string_view kName = "set";
constexpr std::string_view kHelp =
    R"(Usage: tacconf set FILE SECTION.KEY VALUE [SECTION.KEY VALUE]...

Changes values of the document FILE and writes it back in one step, holding a
lock on it from reading to writing; the file keeps its owner, group, mode,
ACL, attributes and hard links. Only the keys named change; every other byte
of the file stays as it is. Unlike a save in the editor, set does not stamp the
Version and Updated keys. When a value is refused, nothing is written.

SECTION.KEY addresses a field as in "tacconf get": a key the catalogues do not
describe is refused. A True/False field takes exactly True or False (written
as 1 or 0). Text values may hold anything but line breaks. Values are given in
UTF-8 and stored in the document's encoding; a character that encoding cannot
hold (in windows-1252: anything outside its 256 characters) is refused.

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
  --encoding NAME   read the document as utf-8 or windows-1252 instead of the
                    encoding its bytes show (see "tacconf --help")
  --help            show this text

Exit status: 0 done; 2 usage error, refused value, or a file that could not be
read or written.
)";

const CommandSyntax kSyntax{{}, 3, CommandSyntax::kAnyNumber};

std::string EntryCountText(std::size_t count) {
    return " (the document has " + std::to_string(count) + " replacement entries)";
}

// The reason of a refused model edit, or "" when it was made.
std::string RefusalOf(const Status& status) {
    return status ? std::string() : status.Error().reason;
}

// Deletes, replaces or appends entry `n` by the whole-entry notation.
std::string SetWholeEntry(ConfigDocument& document, std::size_t n, const std::string& value) {
    const std::string key = ReplacementKey(n);
    const std::size_t count = document.EntryCount();
    const auto row = static_cast<std::uint16_t>(document.CatalogueRows() + n);
    if (value.empty()) {
        if (n >= count) {
            return "there is no entry " + key + " to delete" + EntryCountText(count);
        }
        return RefusalOf(document.RemoveEntry(row));
    }
    const auto entry = ParseReplacementEntry(value);
    if (!entry) {
        return "an entry takes FROM,TO (a comma in FROM written as \\044), or \"\" to delete it";
    }
    if (n > count) {
        return key + " would leave a gap; the next entry is " + ReplacementKey(count);
    }
    if (n == count) {
        const Expected<std::uint16_t> added = document.AddEntry(entry->first, entry->second);
        return added ? std::string() : added.Error().reason;
    }
    return RefusalOf(document.ModifyEntry(row, entry->first, entry->second));
}

// Sets entry `address.entry`, or one of its texts, in `document`.
std::string SetEntry(ConfigDocument& document, const FieldAddress& address,
                     const std::string& value, bool listReadWhole) {
    if (!listReadWhole) {
        return "the replacement list could not be read whole, so it is not changed";
    }
    if (address.part == FieldAddress::Part::kWhole) {
        return SetWholeEntry(document, address.entry, value);
    }
    if (address.entry >= document.EntryCount()) {
        return "there is no entry " + ReplacementKey(address.entry) +
               EntryCountText(document.EntryCount());
    }
    ReplacementEntry entry = document.Entry(address.entry);
    (address.part == FieldAddress::Part::kFrom ? entry.from : entry.to) = value;
    const auto row = static_cast<std::uint16_t>(document.CatalogueRows() + address.entry);
    return RefusalOf(document.ModifyEntry(row, entry.from, entry.to));
}

// Makes the edit of one SECTION.KEY VALUE pair; returns why it is refused, or "".
std::string Edit(ConfigDocument& document, const std::string& addressText, const std::string& value,
                 bool listReadWhole) {
    const ResolvedAddress resolved = ResolveAddress(document.Defs(), addressText);
    if (!resolved.address) {
        return resolved.error;
    }
    const FieldAddress& address = *resolved.address;
    const std::string refused = address.field ? RefusalOf(document.SetValue(*address.field, value))
                                              : SetEntry(document, address, value, listReadWhole);
    return refused.empty() ? refused : "\"" + addressText + "\": " + refused;
}

// Makes the edit of every pair; reports the first refused one and returns false.
bool EditAll(ConfigDocument& document, const Words& operands, bool listReadWhole,
             const Environment& env) {
    for (std::size_t i = 1; i + 1 < operands.size(); i += 2) {
        if (const std::string refused = Edit(document, operands[i], operands[i + 1], listReadWhole);
            !refused.empty()) {
            ReportError(env, document.Path() + ": " + refused + "; nothing was written");
            return false;
        }
    }
    return true;
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
    const std::shared_ptr<const Catalogues> catalogues = OpenCatalogues(*args, env);
    if (!catalogues) {
        return ExitCode::kFailure;
    }
    ConfigDocument document(catalogues);
    const std::optional<OpenedFile> file = OpenDocument(args->operands.at(0), *args, env, document);
    // A read warns only about entries that did not fit: the list in memory is then not the file's.
    if (!file || !EditAll(document, args->operands, file->warnings.empty(), env)) {
        return ExitCode::kFailure;
    }
    // The edits are made in memory only; the save writes them all in one step, or nothing.
    if (const Status saved = document.SaveEditedKeys(); !saved) {
        ReportError(env, saved.Error().Message() + "; nothing was written");
        return ExitCode::kFailure;
    }
    return ExitCode::kOk;
}

}  // namespace tav::cli
