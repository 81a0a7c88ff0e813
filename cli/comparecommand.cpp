// tacconf compare: the catalogued settings of several documents side by side.
#include <algorithm>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "base/translation.h"
#include "cli/commands.h"
#include "cli/jsontext.h"
#include "document/documentrules.h"

namespace tav::cli {

namespace {

constexpr std::string_view kName = "compare";
constexpr std::string_view kHelp =
    TAV_TRANSLATE_NOOP("tacconf", R"(Usage: tacconf compare [--all] [--json | --csv] FILE FILE...

Shows the catalogued settings of the documents side by side, as the editor
shows them: a row per setting (SECTION.KEY, in catalogue order), a column per
document. By default only the rows whose values differ; with --all, every row.
Besides the fields, each ordered section has a row SECTION.Order (its fields
in display order, as a comma-separated list), and the replacement list gives
rows SECTION.rN.from and SECTION.rN.to up to the longest list; an entry a
document does not have is empty in the text and CSV outputs and null in JSON.

Text output: a header line "SETTING", then each FILE; then a line per row;
columns separated by tabs, with tab, CR, LF and backslash in values printed
as \t, \r, \n and \\ (as dump prints them).
With --csv: the same table as CSV (RFC 4180: every field quoted, quotes
doubled), for a spreadsheet.
With --json: {"format": 1, "files": [FILE, ...], "settings": [{"key":
SECTION.KEY, "values": [VALUE or null, ...], "differs": true or false}]},
booleans as JSON true and false.

Options:
  --all             show every setting, not only those that differ
  --csv             print CSV
  --json            print JSON
  --catalogues DIR  read Sections.txt and Fields.txt from DIR instead of
                    searching for them (see tacconf --help)
  --encoding NAME   read the documents as utf-8 or windows-1252 instead of the
                    encoding their bytes show (see "tacconf --help")
  --help            show this text

Exit status: 0 the documents hold the same settings; 1 some differ; 2 usage
error or a file that could not be read (nothing is printed then).
)");

const CommandSyntax kSyntax{{"--all", "--json", "--csv"}, 2, CommandSyntax::kAnyNumber};

// One row of the table: a setting and its value in each document.
struct SettingRow {
    std::string key;
    bool boolean = false;
    std::vector<std::optional<std::string>> values;  // nothing: the document has no such entry

    bool Differs() const {
        return std::adjacent_find(values.begin(), values.end(), std::not_equal_to<>()) !=
               values.end();
    }
};

// The fields of section `s` in display order, as a comma-separated list of keys.
std::string OrderText(const ConfigDocument& document, std::size_t s) {
    std::string text;
    for (const std::uint16_t row : document.Order()[s]) {
        if (!document.IsEntryRow(row) && document.Row(row).orderPos != 0) {
            text += (text.empty() ? "" : ",") + document.Row(row).key;
        }
    }
    return text;
}

// The rows of every setting of `documents` (all over the same catalogues), in catalogue order.
std::vector<SettingRow> SettingRows(const std::vector<std::unique_ptr<ConfigDocument>>& documents) {
    const Catalogues& catalogues = documents.front()->Defs();
    std::vector<SettingRow> rows;
    const auto add = [&](std::string key, bool boolean, auto valueOf) {
        SettingRow row{std::move(key), boolean, {}};
        for (const auto& document : documents) {
            row.values.push_back(valueOf(*document));
        }
        rows.push_back(std::move(row));
    };
    std::size_t longestList = 0;
    for (const auto& document : documents) {
        longestList = std::max(longestList, document->EntryCount());
    }
    for (std::size_t s = 0; s < catalogues.sections.Count(); ++s) {
        const SectionDef& section = catalogues.sections[s];
        const std::string prefix = section.iniName + ".";
        for (std::uint16_t f = 0; f < catalogues.fields.Count(); ++f) {
            const FieldDef& field = catalogues.fields[f];
            if (catalogues.sections.RowForId(field.sectionId) != &section) {
                continue;
            }
            add(prefix + field.key, field.type == FieldType::Boolean,
                [f](const ConfigDocument& d) { return std::optional<std::string>(d.Value(f)); });
        }
        if (section.ordered) {
            add(prefix + "Order", false, [s](const ConfigDocument& d) {
                return std::optional<std::string>(OrderText(d, s));
            });
        }
        if (catalogues.ReplacementSectionIndex() != s) {
            continue;
        }
        for (std::size_t n = 0; n < longestList; ++n) {
            for (const bool from : {true, false}) {
                add(prefix + ReplacementKey(n) + (from ? ".from" : ".to"), false,
                    [n, from](const ConfigDocument& d) -> std::optional<std::string> {
                        if (n >= d.EntryCount()) {
                            return std::nullopt;
                        }
                        const ReplacementEntry entry = d.Entry(n);
                        return from ? entry.from : entry.to;
                    });
            }
        }
    }
    return rows;
}

std::string CsvField(std::string_view text) {
    std::string out = "\"";
    for (const char c : text) {
        out += c == '"' ? std::string("\"\"") : std::string(1, c);
    }
    return out + "\"";
}

void PrintTable(const Words& files, const std::vector<const SettingRow*>& rows, bool csv,
                std::ostream& out) {
    const auto field = [csv](std::string_view text) {
        return csv ? CsvField(text) : TabField(text);
    };
    const char separator = csv ? ',' : '\t';
    const char* const end = csv ? "\r\n" : "\n";
    out << field("SETTING");
    for (const std::string& file : files) {
        out << separator << field(file);
    }
    out << end;
    for (const SettingRow* row : rows) {
        out << field(row->key);
        for (const std::optional<std::string>& value : row->values) {
            out << separator << field(value.value_or(""));
        }
        out << end;
    }
}

void PrintJson(const Words& files, const std::vector<const SettingRow*>& rows, std::ostream& out) {
    out << "{\"format\": " << kJsonFormat << ", \"files\": [";
    for (std::size_t i = 0; i < files.size(); ++i) {
        out << (i == 0 ? "" : ", ") << JsonString(files[i]);
    }
    out << "], \"settings\": [";
    for (std::size_t r = 0; r < rows.size(); ++r) {
        const SettingRow& row = *rows[r];
        out << (r == 0 ? "\n  " : ",\n  ") << "{\"key\": " << JsonString(row.key)
            << ", \"values\": [";
        for (std::size_t i = 0; i < row.values.size(); ++i) {
            const std::optional<std::string>& value = row.values[i];
            out << (i == 0 ? "" : ", ")
                << (!value        ? std::string("null")
                    : row.boolean ? std::string(JsonBoolean(*value))
                                  : JsonString(*value));
        }
        out << "], \"differs\": " << (row.Differs() ? "true" : "false") << '}';
    }
    out << (rows.empty() ? "]}\n" : "\n]}\n");
}

}  // namespace

ExitCode RunCompare(const Words& words, const Environment& env) {
    ExitCode exit = ExitCode::kOk;
    const std::optional<Arguments> args = StartCommand(words, kSyntax, kName, kHelp, env, exit);
    if (!args) {
        return exit;
    }
    if (args->Has("--json") && args->Has("--csv")) {
        return UsageError(env, kName, Translate("tacconf", "--json and --csv exclude each other"));
    }
    if (std::count(args->operands.begin(), args->operands.end(), "-") > 1) {
        return UsageError(env, kName,
                          Translate("tacconf", "standard input (-) can be read once only"));
    }
    const std::shared_ptr<const Catalogues> catalogues = OpenCatalogues(*args, env);
    if (!catalogues) {
        return ExitCode::kFailure;
    }
    std::vector<std::unique_ptr<ConfigDocument>> documents;
    bool allRead = true;
    for (const std::string& path : args->operands) {
        documents.push_back(std::make_unique<ConfigDocument>(catalogues));
        allRead = OpenDocument(path, *args, env, *documents.back()).has_value() && allRead;
    }
    if (!allRead) {
        return ExitCode::kFailure;
    }
    const std::vector<SettingRow> rows = SettingRows(documents);
    std::vector<const SettingRow*> shown;
    bool differ = false;
    for (const SettingRow& row : rows) {
        differ = differ || row.Differs();
        if (args->Has("--all") || row.Differs()) {
            shown.push_back(&row);
        }
    }
    if (args->Has("--json")) {
        PrintJson(args->operands, shown, env.out);
    } else {
        PrintTable(args->operands, shown, args->Has("--csv"), env.out);
    }
    return differ ? ExitCode::kProblems : ExitCode::kOk;
}

}  // namespace tav::cli
