// tacconf get: values of a document as the editor shows them.
#include "base/translation.h"
#include "cli/commands.h"
#include "cli/fieldaddress.h"
#include "cli/jsontext.h"
#include "document/documentrules.h"
#include "document/valuelookup.h"
#include "storage/filesource.h"

namespace tav::cli {

namespace {

constexpr std::string_view kName = "get";
constexpr std::string_view kHelp =
    TAV_TRANSLATE_NOOP("tacconf", R"(Usage: tacconf get [--json] FILE SECTION.KEY...
       tacconf get [--json] FILE --all

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

With --json, prints one object: {"format": 1, "file": FILE, "values":
[{"key": SECTION.KEY, "value": VALUE}, ...]}, in the order asked (with --all,
the keys of the text output); the value of a True/False field is the JSON
true or false, every other value a string.

FILE "-" reads the document from standard input.

Options:
  --all             print every value
  --json            print JSON
  --catalogues DIR  read Sections.txt and Fields.txt from DIR instead of
                    searching for them (see tacconf --help)
  --encoding NAME   read the document as utf-8 or windows-1252 instead of the
                    encoding its bytes show (see "tacconf --help")
  --help            show this text

Exit status: 0 done; 2 usage error, unknown key, missing entry or unreadable
file.
)");

const CommandSyntax kSyntax{{"--all", "--json"}, 1, CommandSyntax::kAnyNumber};

// What get prints: a value a line, or SECTION.KEY and value pairs of one JSON object.
class ValuePrinter final {
public:
    ValuePrinter(const std::string& path, bool json, std::ostream& out) : m_json(json), m_out(out) {
        if (m_json) {
            m_out << "{\"format\": " << kJsonFormat << ", \"file\": " << JsonString(path)
                  << ", \"values\": [";
        }
    }
    // `key` is left out of the text output unless `keyed` (--all prints SECTION.KEY=VALUE).
    void Print(const std::string& key, std::string_view value, bool boolean, bool keyed) {
        if (!m_json) {
            m_out << (keyed ? key + "=" : std::string()) << value << '\n';
            return;
        }
        m_out << (m_first ? "" : ", ") << "{\"key\": " << JsonString(key)
              << ", \"value\": " << (boolean ? JsonBoolean(value) : JsonString(value)) << '}';
        m_first = false;
    }
    void End() {
        if (m_json) {
            m_out << "]}\n";
        }
    }

private:
    bool m_json = false;
    bool m_first = true;
    std::ostream& m_out;
};

void PrintAll(const ConfigDocument& document, ValuePrinter& printer) {
    const Catalogues& catalogues = document.Defs();
    const DisplayOrder& order = document.Order();
    std::string decoded;
    for (std::size_t s = 0; s < order.size(); ++s) {
        const std::string prefix = catalogues.sections[s].iniName + ".";
        for (const std::uint16_t row : order[s]) {
            if (!document.IsEntryRow(row)) {
                const DocumentRow& field = document.Row(row);
                printer.Print(prefix + field.key, document.ValueText(row, decoded),
                              field.type == FieldType::Boolean, true);
                continue;
            }
            const std::size_t n = row - document.CatalogueRows();
            const ReplacementEntry entry = document.Entry(n);
            const std::string key = prefix + ReplacementKey(n);
            printer.Print(key + ".from", entry.from, false, true);
            printer.Print(key + ".to", entry.to, false, true);
        }
    }
    printer.End();
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
    // A file is read only as far as the values need; standard input is read whole.
    std::optional<FileSource> file;
    FileBytes input;
    std::size_t taken = 0;
    if (path == "-") {
        Expected<FileBytes> bytes = ReadDocumentBytes(path, env);
        if (!bytes) {
            ReportError(env, bytes.Error().Message());
            return ExitCode::kFailure;
        }
        input = std::move(*bytes);
    } else if (Expected<FileSource> opened = FileSource::Open(path); opened) {
        file.emplace(std::move(*opened));
    } else {
        ReportError(env, opened.Error().Message());
        return ExitCode::kFailure;
    }
    ValueQuery query;
    const std::vector<Expected<FieldAddress>> resolved =
        ResolveAddresses(catalogues, addresses, query);
    const ByteSource source = [&](char* into, std::size_t room) -> Expected<std::size_t> {
        if (file) {
            return file->Read(into, room);
        }
        const std::string_view rest = input.View().substr(taken);
        const std::size_t count = std::min(room, rest.size());
        std::copy_n(rest.data(), count, into);
        taken += count;
        return count;
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
    ValuePrinter printer(path, args.Has("--json"), env.out);
    for (std::size_t i = 0; i < texts->size(); ++i) {
        const std::optional<std::uint16_t> field = resolved[i]->field;
        printer.Print(addresses[i], (*texts)[i],
                      field && catalogues.fields[*field].type == FieldType::Boolean, false);
    }
    printer.End();
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
    ValuePrinter printer(path, args->Has("--json"), env.out);
    PrintAll(document, printer);
    return ExitCode::kOk;
}

}  // namespace tav::cli
