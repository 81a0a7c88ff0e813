// tacconf check: where the catalogues and documents disagree or would misbehave.
#include <algorithm>

#include "base/fileaccess.h"
#include "base/translation.h"
#include "check/cataloguecheck.h"
#include "check/documentcheck.h"
#include "cli/commands.h"
#include "cli/jsontext.h"
#include "storage/leftovers.h"

namespace tav::cli {

namespace {

constexpr std::string_view kName = "check";
constexpr std::string_view kHelp =
    TAV_TRANSLATE_NOOP("tacconf", R"(Usage: tacconf check [--json] [FILE]...

Checks the catalogues, then each document FILE against them, and prints one
line per problem: PATH:LINE: MESSAGE (PATH: MESSAGE when it concerns the whole
file). A summary goes to the error stream.

In Sections.txt and Fields.txt: lines the editor will not load (past 64
sections or 128 fields), wrong column counts, section ids out of file order,
order flags other than one Y or N, repeated section labels or names, a second
replacement section, keys a document cannot hold or that hold blanks, fields
of sections that do not exist, repeated keys, unknown types.

In a document: sections and keys the catalogues do not describe, repeated
sections and keys, lines no reader takes, values the editor shows differently
(booleans other than 1 and 0, quotes that are not part of a value, a NUL byte
that ends a value early), Order lists that name unknown keys or miss ordered
ones, replacement entries that are never read (after the end of the list,
after a gap, past 13 entries), and texts that mix UTF-8 with bytes that are
not UTF-8 (some of them cannot show right; one finding, at the first line
that does not). Beside a document: the copy of a save that did not finish
(the file may be incomplete; tacconf set --recover restores it) and the
temporary files of saves that were stopped. A document lists at most 1000
problems of each kind; a line at its end says how many more there were (they
count in the summary and in "problems").

With --json, prints one object instead: {"format": 1, "findings": [{"file":
PATH, "line": LINE or null, "message": MESSAGE}, ...], "problems": N,
"documents": M, "unreadable": [PATH, ...]} (the reasons of the unreadable
files go to the error stream, as without --json).

FILE "-" reads a document from standard input.

Options:
  --json            print JSON
  --catalogues DIR  check the catalogues in DIR instead of searching for them
  --encoding NAME   check the documents as read in utf-8 or windows-1252
                    instead of the encoding their bytes show
  --help            show this text

Exit status: 0 no problems; 1 problems found; 2 usage error or unreadable file
(the other files are still checked).
)");

const CommandSyntax kSyntax{{"--json"}, 0, CommandSyntax::kAnyNumber};

using check::Finding;
using check::Findings;

// Prints the findings as they come: a line each, or the items of one JSON object.
class FindingPrinter final {
public:
    FindingPrinter(bool json, std::ostream& out) : m_json(json), m_out(out) {
        if (m_json) {
            m_out << "{\"format\": " << kJsonFormat << ", \"findings\": [";
        }
    }
    void Print(const Findings& findings) {
        for (const Finding& finding : findings) {
            Print(finding);
        }
    }
    void Print(const Finding& finding) {
        {
            if (m_json) {
                m_out << (m_printed == 0 ? "\n  " : ",\n  ")
                      << "{\"file\": " << JsonString(finding.file) << ", \"line\": "
                      << (finding.line > 0 ? std::to_string(finding.line) : "null")
                      << ", \"message\": " << JsonString(finding.message) << '}';
            } else {
                m_out << finding.file << ':';
                if (finding.line > 0) {
                    m_out << finding.line << ':';
                }
                m_out << ' ' << finding.message << '\n';
            }
            ++m_printed;
        }
    }
    // Counts problems a check found but did not list, one line saying how many standing for
    // them.
    void Unlisted(std::size_t problems) { m_unlisted += problems; }
    void Unreadable(const std::string& path) { m_unreadable.push_back(path); }
    void End(std::size_t documents) {
        if (!m_json) {
            return;
        }
        m_out << (m_printed == 0 ? "]" : "\n]") << ", \"problems\": " << Problems()
              << ", \"documents\": " << documents << ", \"unreadable\": [";
        for (std::size_t i = 0; i < m_unreadable.size(); ++i) {
            m_out << (i == 0 ? "" : ", ") << JsonString(m_unreadable[i]);
        }
        m_out << "]}\n";
    }
    std::size_t Problems() const { return m_printed + m_unlisted; }

private:
    bool m_json = false;
    std::ostream& m_out;
    std::size_t m_printed = 0;
    std::size_t m_unlisted = 0;  // found, less the lines that said so
    std::vector<std::string> m_unreadable;
};

void PrintSummary(const Environment& env, std::size_t problems, std::size_t files) {
    const std::string count = std::to_string(problems);
    const std::string found = problems == 0 ? Translate("tacconf", "no problems")
                              : problems == 1
                                  ? Translate("tacconf", "1 problem")
                                  : FillIn(Translate("tacconf", "%1 problems"), {count});
    const std::string documents =
        files == 1 ? Translate("tacconf", "1 document")
                   : FillIn(Translate("tacconf", "%1 documents"), {std::to_string(files)});
    env.err << FillIn(Translate("tacconf", "tacconf: %1 found in the catalogues and %2"),
                      {found, documents})
            << '\n';
}

// What saves that did not finish left for the document `path`, as findings of the whole file.
void AddLeftovers(const std::string& path, Findings& findings) {
    const Expected<Leftovers> left = FindLeftovers(path);
    if (!left) {
        return;  // the document itself was read: what keeps this from looking is reported there
    }
    if (left->Unfinished()) {
        findings.push_back({path, 0,
                            FillIn(Translate("tacconf",
                                             "an earlier save of this file did not finish: the "
                                             "file may be incomplete; the complete content of "
                                             "that save is in %1 (tacconf set --recover restores "
                                             "it)"),
                                   {left->copy})});
    } else if (!left->copy.empty()) {
        findings.push_back({path, 0,
                            FillIn(Translate("tacconf",
                                             "a finished save left its copy %1 (the "
                                             "file holds the same content; the next "
                                             "save removes it)"),
                                   {left->copy})});
    }
    for (const std::string& temp : left->temps) {
        findings.push_back({path, 0,
                            FillIn(Translate("tacconf",
                                             "a save that was stopped left its "
                                             "temporary file %1 (the next save "
                                             "removes it)"),
                                   {temp})});
    }
}

// Checks every document of `paths`, printing their findings. Returns false when a document
// could not be read (the others are still checked).
bool CheckDocuments(const Catalogues& catalogues, const Arguments& args, const Environment& env,
                    FindingPrinter& printer) {
    bool allRead = true;
    for (const std::string& path : args.operands) {
        const Expected<FileBytes> file = ReadDocumentBytes(path, env);
        if (!file) {
            ReportError(env, file.Error().Message());
            printer.Unreadable(path);
            allRead = false;
            continue;
        }
        std::size_t lines = 0;
        const std::size_t problems = check::CheckDocument(
            catalogues, path, file->View(), args.encoding, [&printer, &lines](const Finding& f) {
                printer.Print(f);
                ++lines;
            });
        printer.Unlisted(problems - std::min(problems, lines));
        if (path != "-") {
            Findings left;
            AddLeftovers(path, left);
            printer.Print(left);
        }
    }
    return allRead;
}

}  // namespace

ExitCode RunCheck(const Words& words, const Environment& env) {
    ExitCode exit = ExitCode::kOk;
    const std::optional<Arguments> args = StartCommand(words, kSyntax, kName, kHelp, env, exit);
    if (!args) {
        return exit;
    }
    const std::shared_ptr<const Catalogues> catalogues = OpenCatalogues(*args, env);
    if (!catalogues) {
        return ExitCode::kFailure;
    }
    FindingPrinter printer(args->Has("--json"), env.out);
    printer.Print(check::CheckCatalogues(*catalogues));
    const bool failed = !CheckDocuments(*catalogues, *args, env, printer);
    printer.End(args->operands.size());
    const std::size_t problems = printer.Problems();
    PrintSummary(env, problems, args->operands.size());
    if (failed) {
        return ExitCode::kFailure;
    }
    return problems == 0 ? ExitCode::kOk : ExitCode::kProblems;
}

}  // namespace tav::cli
