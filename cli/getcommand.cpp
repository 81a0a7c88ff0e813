// tacconf get: values of a document as the editor shows them.
#include "commands.h"
#include "document/documentrules.h"
#include "fieldaddress.h"

namespace tav::cli {

namespace {

constexpr std::string_view kName = "get";
constexpr std::string_view kHelp = R"(Usage: tacconf get FILE SECTION.KEY...
       tacconf get FILE --all

Prints values of the document FILE as the editor shows them, one per line, in
UTF-8: booleans as True or False, a key the document lacks as the editor's
default (False, or empty text).

SECTION is a section's name in the document and KEY a field's key, as the
catalogues spell them (case does not matter). The replacement entries are
SECTION.r0 to SECTION.r< in the replacement section: the whole entry prints as
FROM,TO with each comma of FROM written as \044 (the form set takes), and
SECTION.rN.from or SECTION.rN.to print one text as it is.

With --all, prints every value as SECTION.KEY=VALUE, in display order; each
replacement entry gives two lines, SECTION.rN.from=FROM and SECTION.rN.to=TO.
Everything after the first "=" is the value.

Options:
  --all             print every value
  --catalogues DIR  read Sections.txt and Fields.txt from DIR instead of
                    searching for them (see tacconf --help)
  --encoding NAME   read the document as utf-8 or windows-1252 instead of the
                    encoding its bytes show (see "tacconf --help")
  --help            show this text

Exit status: 0 done; 2 usage error, unknown key, missing entry or unreadable
file.
)";

const CommandSyntax kSyntax{{"--all"}, 1, CommandSyntax::kAnyNumber};

// The text at `address`, or nothing with `error` set when the document has no such entry.
std::optional<std::string> ValueAt(const ConfigDocument& document, const FieldAddress& address,
                                   std::string& error) {
    if (address.field) {
        return document.Value(*address.field);
    }
    if (address.entry >= document.EntryCount()) {
        error = "the document has no replacement entry " + ReplacementKey(address.entry) +
                " (it has " + std::to_string(document.EntryCount()) + ")";
        return std::nullopt;
    }
    const ReplacementEntry entry = document.Entry(address.entry);
    switch (address.part) {
        case FieldAddress::Part::kFrom:
            return entry.from;
        case FieldAddress::Part::kTo:
            return entry.to;
        case FieldAddress::Part::kWhole:
            break;
    }
    return ReplacementEntryText(entry.from, entry.to);
}

void PrintAll(const ConfigDocument& document, std::ostream& out) {
    const Catalogues& catalogues = document.Defs();
    const DisplayOrder& order = document.Order();
    for (std::size_t s = 0; s < order.size(); ++s) {
        const std::string prefix = catalogues.sections[s].iniName + ".";
        for (const std::uint16_t row : order[s]) {
            if (!document.IsEntryRow(row)) {
                out << prefix << document.Row(row).key << '=' << document.Value(row) << '\n';
                continue;
            }
            const std::size_t n = row - document.CatalogueRows();
            const ReplacementEntry entry = document.Entry(n);
            const std::string key = prefix + ReplacementKey(n);
            out << key << ".from=" << entry.from << '\n';
            out << key << ".to=" << entry.to << '\n';
        }
    }
}

// Resolves every address first, so that nothing is printed when one of them is wrong.
std::optional<std::vector<std::string>> ValuesAt(const ConfigDocument& document,
                                                 const Words& addresses, const Environment& env) {
    std::vector<std::string> values;
    for (const std::string& text : addresses) {
        const ResolvedAddress resolved = ResolveAddress(document.Defs(), text);
        std::string error = resolved.error;
        const std::optional<std::string> value =
            resolved.address ? ValueAt(document, *resolved.address, error) : std::nullopt;
        if (!value) {
            ReportError(env, document.Path() + ": " + error);
            return std::nullopt;
        }
        values.push_back(*value);
    }
    return values;
}

// Prints the value of every address, or nothing when one of them is wrong.
ExitCode PrintValues(const ConfigDocument& document, const Words& addresses,
                     const Environment& env) {
    const auto values = ValuesAt(document, addresses, env);
    if (!values) {
        return ExitCode::kFailure;
    }
    for (const std::string& value : *values) {
        env.out << value << '\n';
    }
    return ExitCode::kOk;
}

}  // namespace

ExitCode RunGet(const Words& words, const Environment& env) {
    ExitCode exit = ExitCode::kOk;
    const std::optional<Arguments> args = StartCommand(words, kSyntax, kName, kHelp, env, exit);
    if (!args) {
        return exit;
    }
    const bool all = args->Has("--all");
    if (all != (args->operands.size() == 1)) {
        return UsageError(env, kName, all ? "--all takes no SECTION.KEY" : "missing SECTION.KEY");
    }
    const std::shared_ptr<const Catalogues> catalogues = OpenCatalogues(*args, env);
    if (!catalogues) {
        return ExitCode::kFailure;
    }
    ConfigDocument document(catalogues);
    if (!OpenDocument(args->operands.at(0), *args, env, document)) {
        return ExitCode::kFailure;
    }
    if (all) {
        PrintAll(document, env.out);
        return ExitCode::kOk;
    }
    const Words addresses(args->operands.begin() + 1, args->operands.end());
    return PrintValues(document, addresses, env);
}

}  // namespace tav::cli
