// tacconf dump: the whole document as the editor shows it.
#include "base/translation.h"
#include "cli/commands.h"
#include "cli/jsontext.h"
#include "document/documentrules.h"

namespace tav::cli {

namespace {

constexpr std::string_view kName = "dump";
constexpr std::string_view kHelp =
    TAV_TRANSLATE_NOOP("tacconf", R"(Usage: tacconf dump FILE [--json]

Prints the document FILE as the editor shows it: every section of the
catalogue in catalogue order, its fields in display order (ordered fields by
the document's Order list), and the replacement entries.

Text output, one line per item, columns separated by tabs; in labels and
values a tab, CR, LF and backslash print as \t, \r, \n and \\, so every
line splits at its tabs unambiguously:
  [NAME]  KIND  ORDERED  LABEL        a section: its name in the document, its
                                      kind, Y when it has an Order list, label
  KEY  TYPE  POSITION  LABEL  VALUE   a field; POSITION is its place in the
                                      Order list, or - for unordered fields
  rN  RFS  -  FROM  TO                a replacement entry
The last column runs to the end of the line.

With --json, prints one object: {"format", "file", "sections": [{"name",
"label", "kind", "ordered", "fields": [{"key", "label", "type", "order",
"value"}]}]}; the replacement section also has "replacements": [{"key",
"from", "to"}]. "format" is 1 (a change that is not a pure addition raises
it). "order" is the field's place in the Order list, or null for a field
that has none. The value of a True/False field (type B) is the JSON true or
false.

Labels and values print in UTF-8, decoded from the encoding of the catalogue
file or the document that holds them; keys and section names as they are
stored (in JSON, a byte that is not UTF-8 shows as U+FFFD).

Options:
  --json            print JSON
  --catalogues DIR  read Sections.txt and Fields.txt from DIR instead of
                    searching for them (see tacconf --help)
  --encoding NAME   read the document as utf-8 or windows-1252 instead of the
                    encoding its bytes show (see "tacconf --help")
  --help            show this text

FILE "-" reads the document from standard input.

Exit status: 0 done; 2 usage error or unreadable file.
)");

const CommandSyntax kSyntax{{"--json"}, 1, 1};

// What the dump shows, for both layouts.
struct DumpView {
    const ConfigDocument& document;
    const Catalogues& catalogues = document.Defs();
    const DisplayOrder& order = document.Order();

    bool IsEntry(std::uint16_t row) const { return document.IsEntryRow(row); }
    std::size_t EntryNumber(std::uint16_t row) const { return row - document.CatalogueRows(); }
    bool HoldsEntries(std::size_t s) const { return s == catalogues.ReplacementSectionIndex(); }
};

std::string PositionText(const DocumentRow& field) {
    return field.orderPos == 0 ? "-" : std::to_string(field.orderPos);
}

void PrintText(const DumpView& view, std::ostream& out) {
    std::string decoded;
    for (std::size_t s = 0; s < view.order.size(); ++s) {
        const SectionDef& section = view.catalogues.sections[s];
        out << '[' << section.iniName << "]\t" << section.kindCode << '\t'
            << (section.ordered ? 'Y' : 'N') << '\t' << TabField(view.catalogues.SectionLabel(s))
            << '\n';
        for (const std::uint16_t row : view.order[s]) {
            const DocumentRow& field = view.document.Row(row);
            const std::string key =
                view.IsEntry(row) ? ReplacementKey(view.EntryNumber(row)) : field.key;
            out << key << '\t' << field.typeCode << '\t' << PositionText(field) << '\t'
                << TabField(view.document.Label(row)) << '\t'
                << TabField(view.document.ValueText(row, decoded)) << '\n';
        }
    }
}

void PrintJsonField(const ConfigDocument& document, std::uint16_t row, std::ostream& out) {
    const DocumentRow& field = document.Row(row);
    out << "{\"key\": " << JsonString(field.key)
        << ", \"label\": " << JsonString(document.Label(row))
        << ", \"type\": " << JsonString(field.typeCode) << ", \"order\": "
        << (field.orderPos == 0 ? std::string("null") : std::to_string(field.orderPos))
        << ", \"value\": "
        << (field.type == FieldType::Boolean ? JsonBoolean(document.Value(row))
                                             : JsonString(document.Value(row)))
        << '}';
}

void PrintJsonEntry(std::size_t n, const ReplacementEntry& entry, std::ostream& out) {
    out << "{\"key\": " << JsonString(ReplacementKey(n)) << ", \"from\": " << JsonString(entry.from)
        << ", \"to\": " << JsonString(entry.to) << '}';
}

// `items` as a JSON array, one element a line, each written by `print`.
template <typename Print>
void PrintJsonArray(const std::vector<std::uint16_t>& items, Print print, std::ostream& out) {
    if (items.empty()) {
        out << "[]";
        return;
    }
    for (std::size_t i = 0; i < items.size(); ++i) {
        out << (i == 0 ? "[\n        " : ",\n        ");
        print(items[i]);
    }
    out << "\n      ]";
}

void PrintJsonSection(const DumpView& view, std::size_t s, std::ostream& out) {
    const SectionDef& section = view.catalogues.sections[s];
    std::vector<std::uint16_t> fieldRows;
    std::vector<std::uint16_t> entryRows;
    for (const std::uint16_t row : view.order[s]) {
        (view.IsEntry(row) ? entryRows : fieldRows).push_back(row);
    }
    out << "    {\n      \"name\": " << JsonString(section.iniName)
        << ",\n      \"label\": " << JsonString(view.catalogues.SectionLabel(s))
        << ",\n      \"kind\": " << JsonString(section.kindCode)
        << ",\n      \"ordered\": " << (section.ordered ? "true" : "false")
        << ",\n      \"fields\": ";
    PrintJsonArray(
        fieldRows, [&](std::uint16_t row) { PrintJsonField(view.document, row, out); }, out);
    if (view.HoldsEntries(s)) {
        out << ",\n      \"replacements\": ";
        PrintJsonArray(
            entryRows,
            [&](std::uint16_t row) {
                const std::size_t n = view.EntryNumber(row);
                PrintJsonEntry(n, view.document.Entry(n), out);
            },
            out);
    }
    out << "\n    }";
}

void PrintJson(const DumpView& view, std::ostream& out) {
    out << "{\n  \"format\": " << kJsonFormat
        << ",\n  \"file\": " << JsonString(view.document.Path()) << ",\n  \"sections\": [";
    for (std::size_t s = 0; s < view.order.size(); ++s) {
        out << (s == 0 ? "\n" : ",\n");
        PrintJsonSection(view, s, out);
    }
    out << (view.order.empty() ? "]\n}\n" : "\n  ]\n}\n");
}

}  // namespace

ExitCode RunDump(const Words& words, const Environment& env) {
    ExitCode exit = ExitCode::kOk;
    const std::optional<Arguments> args = StartCommand(words, kSyntax, kName, kHelp, env, exit);
    if (!args) {
        return exit;
    }
    const std::shared_ptr<const Catalogues> catalogues = OpenCatalogues(*args, env);
    if (!catalogues) {
        return ExitCode::kFailure;
    }
    ConfigDocument document(catalogues);
    if (!OpenDocument(args->operands.at(0), *args, env, document)) {
        return ExitCode::kFailure;
    }
    const DumpView view{document};
    if (args->Has("--json")) {
        PrintJson(view, env.out);
    } else {
        PrintText(view, env.out);
    }
    return ExitCode::kOk;
}

}  // namespace tav::cli
