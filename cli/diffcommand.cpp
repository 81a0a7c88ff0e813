// tacconf diff: what a save of the document, as the editor reads it, would change.
#include <algorithm>
#include <array>
#include <cctype>
#include <map>
#include <string>
#include <vector>

#include "base/translation.h"
#include "cli/commands.h"
#include "cli/linediff.h"
#include "document/documentstorage.h"
#include "profile/profilelines.h"

namespace tav::cli {

namespace {

constexpr std::string_view kName = "diff";
constexpr std::string_view kHelp =
    TAV_TRANSLATE_NOOP("tacconf", R"(Usage: tacconf diff FILE [--ignore-stamps]

Shows, as a unified diff, the lines a save of the document FILE would change
if it were opened in the editor and saved at once: the Version and Updated
stamps, booleans written as 1 or 0, Order lists written from the display
order, replacement entries numbered afresh and the empty key that ends them,
keys the document lacks. Nothing is written.

Lines are compared with their endings; a CR LF file gives CR LF lines in the
diff, byte for byte (in the document's own encoding), so that patch can apply
it.

With --ignore-stamps, the Version and Updated lines of section TACInfo are
left out: the diff shows them as the file holds them (and leaves out those a
save would add), so a document just saved in the editor shows no change.

Options:
  --ignore-stamps   leave the Version and Updated stamps out of the diff
  --catalogues DIR  read Sections.txt and Fields.txt from DIR instead of
                    searching for them (see tacconf --help)
  --encoding NAME   read the document as utf-8 or windows-1252 instead of the
                    encoding its bytes show; a save keeps the bytes either way
  --help            show this text

Exit status: 0 a save would change nothing; 1 it would change the lines
shown; 2 usage error, unreadable file, or a save that would fail.
)");

const CommandSyntax kSyntax{{"--ignore-stamps"}, 1, 1};

constexpr std::string_view kInfoSection = "TACInfo";
constexpr std::array<std::string_view, 2> kStampKeys = {"Version", "Updated"};

bool SameName(std::string_view a, std::string_view b) {
    return a.size() == b.size() && std::equal(a.begin(), a.end(), b.begin(), [](char x, char y) {
               return std::tolower(static_cast<unsigned char>(x)) ==
                      std::tolower(static_cast<unsigned char>(y));
           });
}

// The lines of the stamp keys in `bytes`, by key: the first of each key in the first TACInfo
// section, as a reader of the document finds them.
std::map<std::string_view, ProfileLine> StampLines(std::string_view bytes) {
    std::map<std::string_view, ProfileLine> found;
    const ProfileLines lines(bytes);
    enum class Where { kBefore, kInside, kAfter } where = Where::kBefore;
    for (std::size_t at = lines.BomSize(); at < bytes.size() && where != Where::kAfter;) {
        const ProfileLine line = lines.At(at);
        at = line.next;
        if (const auto header = ProfileHeaderName(lines.Text(line))) {
            where = SameName(*header, kInfoSection) ? Where::kInside
                    : where == Where::kInside       ? Where::kAfter
                                                    : where;
            continue;
        }
        const auto parts =
            where == Where::kInside ? ProfileKeyLineParts(lines.Text(line)) : std::nullopt;
        for (const std::string_view key : kStampKeys) {
            if (parts && SameName(parts->key, key)) {
                found.emplace(key, line);
            }
        }
    }
    return found;
}

// `saved` with its stamp lines as `read` holds them: their text taken from `read`, or the line
// left out when `read` has no such key.
std::string WithStampsOf(std::string saved, std::string_view read) {
    const auto readLines = StampLines(read);
    std::vector<std::pair<ProfileLine, std::string_view>> savedLines;
    for (const auto& [key, line] : StampLines(saved)) {
        savedLines.emplace_back(line, key);
    }
    // From the end of the text backwards, so that the earlier lines stay where they are.
    std::sort(savedLines.begin(), savedLines.end(),
              [](const auto& a, const auto& b) { return a.first.begin > b.first.begin; });
    for (const auto& [line, key] : savedLines) {
        if (const auto readLine = readLines.find(key); readLine != readLines.end()) {
            const ProfileLine& old = readLine->second;
            saved.replace(line.begin, line.textEnd - line.begin,
                          read.substr(old.begin, old.textEnd - old.begin));
        } else {
            saved.erase(line.begin, line.next - line.begin);
        }
    }
    return saved;
}

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
    Expected<std::string> saved =
        DocumentStorage(document, env.clock).SavedBytes(file->bytes.View());
    if (!saved) {
        ReportError(env, FillIn(Translate("tacconf", "%1: a save would fail: %2"),
                                {document.Path(), saved.Error().reason}));

        return ExitCode::kFailure;
    }
    if (args->Has("--ignore-stamps")) {
        *saved = WithStampsOf(std::move(*saved), file->bytes.View());
    }
    const std::string diff = UnifiedDiff(file->bytes.View(), *saved, document.Path() + "\tas read",
                                         document.Path() + "\tas saved");
    env.out << diff;
    return diff.empty() ? ExitCode::kOk : ExitCode::kProblems;
}

}  // namespace tav::cli
