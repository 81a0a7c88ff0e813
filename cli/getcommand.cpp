// tacconf get: values of a document as the editor shows them.
#include "base/translation.h"
#include "cli/commands.h"
#include "cli/fieldaddress.h"
#include "document/documentrules.h"
#include "document/valuelookup.h"
#include "storage/filesource.h"

namespace tav::cli {

namespace {

constexpr std::string_view kName = "get";
constexpr std::string_view kHelp =
    TAV_TRANSLATE_NOOP("tacconf", R"(Usage: tacconf get FILE SECTION.KEY...
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
)");

const CommandSyntax kSyntax{{"--all"}, 1, CommandSyntax::kAnyNumber};

// The text of `entry` that `part` addresses.
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

// Resolves the addresses up to the first that addresses nothing (the later ones are not reached)
// and adds what they address to `query`.
std::vector<Expected<FieldAddress>> ResolveAddresses(const Catalogues& catalogues,
                                                     const Words& addresses, ValueQuery& query) {
    std::vector<Expected<FieldAddress>> resolved;
    for (const std::string& text : addresses) {
        resolved.push_back(ResolveAddress(catalogues, text));
        const Expected<FieldAddress>& address = resolved.back();
        if (!address) {
            break;
        }
        if (address->field) {
            query.fields.push_back(*address->field);
        } else {
            query.entries.push_back(address->entry);
        }
    }
    return resolved;
}

// The text of every address, or nothing, with the first error reported, when one of them is
// wrong.
std::optional<std::vector<std::string>> TextsAt(const std::vector<Expected<FieldAddress>>& resolved,
                                                const QueriedValues& values,
                                                const std::string& path, const Environment& env) {
    std::vector<std::string> texts;
    std::size_t field = 0;
    std::size_t entry = 0;
    for (const Expected<FieldAddress>& at : resolved) {
        if (!at) {
            ReportError(env, path + ": " + at.Error().reason);
            return std::nullopt;
        }
        if (at->field) {
            texts.push_back(values.fields[field++]);
            continue;
        }
        const std::optional<ReplacementEntry>& found = values.entries[entry++];
        if (!found) {
            ReportError(
                env, FillIn(Translate("tacconf",
                                      "%1: the document has no replacement "
                                      "entry %2 (it has %3)"),
                            {path, ReplacementKey(at->entry), std::to_string(values.entriesRead)}));
            return std::nullopt;
        }
        texts.push_back(EntryPart(*found, at->part));
    }
    return texts;
}

// Prints the value of every address, read from the file at `path` only as far as they need, or
// nothing when one of them is wrong.
ExitCode PrintValues(const Catalogues& catalogues, const std::string& path, const Words& addresses,
                     const Arguments& args, const Environment& env) {
    Expected<FileSource> file = FileSource::Open(path);
    if (!file) {
        ReportError(env, file.Error().Message());
        return ExitCode::kFailure;
    }
    ValueQuery query;
    const std::vector<Expected<FieldAddress>> resolved =
        ResolveAddresses(catalogues, addresses, query);
    const ByteSource source = [&file](char* into, std::size_t room) {
        return file->Read(into, room);
    };
    const Expected<QueriedValues> values = LookUpValues(catalogues, query, source, args.encoding);
    if (!values) {
        ReportError(env, values.Error().Message());
        return ExitCode::kFailure;
    }
    for (const std::string& warning : values->warnings) {
        ReportWarning(env, path + ": " + warning);
    }
    const std::optional<std::vector<std::string>> texts = TextsAt(resolved, *values, path, env);
    if (!texts) {
        return ExitCode::kFailure;
    }
    for (const std::string& text : *texts) {
        env.out << text << '\n';
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
        return UsageError(env, kName,
                          all ? Translate("tacconf", "--all takes no SECTION.KEY")
                              : Translate("tacconf", "missing SECTION.KEY"));
    }
    const std::shared_ptr<const Catalogues> catalogues = OpenCatalogues(*args, env);
    if (!catalogues) {
        return ExitCode::kFailure;
    }
    const std::string& path = args->operands.at(0);
    if (!all) {
        const Words addresses(args->operands.begin() + 1, args->operands.end());
        return PrintValues(*catalogues, path, addresses, *args, env);
    }
    ConfigDocument document(catalogues);
    if (!OpenDocument(path, *args, env, document)) {
        return ExitCode::kFailure;
    }
    PrintAll(document, env.out);
    return ExitCode::kOk;
}

}  // namespace tav::cli
