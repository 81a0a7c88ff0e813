// tacconf diff: what a save of the document, as the editor reads it, would change.
#include "commands.h"
#include "linediff.h"

namespace tav::cli {

namespace {

constexpr std::string_view kName = "diff";
constexpr std::string_view kHelp = R"(Usage: tacconf diff FILE

Shows, as a unified diff, the lines a save of the document FILE would change
if it were opened in the editor and saved at once: the Version and Updated
stamps, booleans written as 1 or 0, Order lists written from the display
order, replacement entries numbered afresh and the empty key that ends them,
keys the document lacks. Nothing is written.

Lines are compared with their endings; a CR LF file gives CR LF lines in the
diff, byte for byte (in the document's own encoding), so that patch can apply
it.

Options:
  --catalogues DIR  read Sections.txt and Fields.txt from DIR instead of the
                    program's folder
  --encoding NAME   read the document as utf-8 or windows-1252 instead of the
                    encoding its bytes show; a save keeps the bytes either way
  --help            show this text

Exit status: 0 a save would change nothing; 1 it would change the lines
shown; 2 usage error, unreadable file, or a save that would fail.
)";

const CommandSyntax kSyntax{{}, 1, 1};

}  // namespace

ExitCode RunDiff(const Words& words, const Environment& env) {
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
    const std::optional<OpenedFile> file = OpenDocument(args->operands.at(0), *args, env, document);
    if (!file) {
        return ExitCode::kFailure;
    }
    const Expected<std::string> saved = document.SavedBytes(file->bytes, env.clock());
    if (!saved) {
        ReportError(env, document.Path() + ": a save would fail: " + saved.Error().reason);
        return ExitCode::kFailure;
    }
    const std::string diff = UnifiedDiff(file->bytes, *saved, document.Path() + "\tas read",
                                         document.Path() + "\tas saved");
    env.out << diff;
    return diff.empty() ? ExitCode::kOk : ExitCode::kProblems;
}

}  // namespace tav::cli
