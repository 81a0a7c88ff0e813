// tacconf set: changes values of a document, writing only the keys it changes.
#include <array>
#include <chrono>
#include <filesystem>
#include <iterator>
#include <memory>
#include <sstream>

#include "base/translation.h"
#include "cli/commands.h"
#include "cli/fieldaddress.h"
#include "cli/jsontext.h"
#include "cli/linediff.h"
#include "document/documentrules.h"
#include "document/documentstorage.h"
#include "storage/filelock.h"

namespace tav::cli {

namespace {

constexpr std::string_view kName = "set";
constexpr std::string_view kHelp = TAV_TRANSLATE_NOOP(
    "tacconf", R"(Usage: tacconf set [OPTIONS] FILE SECTION.KEY VALUE [SECTION.KEY VALUE]...
       tacconf set [OPTIONS] --files FILE... -- SECTION.KEY VALUE...
       tacconf set [OPTIONS] - SECTION.KEY VALUE...

Changes values of the document FILE and writes it back in one step, holding a
lock on it from reading to writing; the file keeps its owner, group, mode,
ACL, attributes and hard links. Only the keys named change; every other byte
of the file stays as it is. Unlike a save in the editor, set does not stamp the
Version and Updated keys. When a value is refused, nothing is written.

The word after SECTION.KEY is always its VALUE, even when it looks like an
option: "tacconf set f.tac Printing.Header -h" sets the value "-h". Options
stand before FILE or a SECTION.KEY; after "--" every word is FILE, a key or a
value.

With --files, the same pairs are applied to each FILE listed up to "--" (with
"--files - --", to each file named on a line of standard input). Each file is
changed all or nothing, as above; a file that fails does not stop the others.
One summary line follows: "N changed, M unchanged, K failed".

With FILE "-", the document is read from standard input and the result is
written to standard output; nothing is written to disk.

A file is changed when its bytes are: setting a value it already has writes
nothing and leaves the file as it was, time stamps included. --dry-run does
everything but the write. --diff prints the unified diff of the lines the
write changes (nothing when nothing changes). --json prints the result as one
JSON object instead of text (see "JSON" below); with --diff it holds the diff.

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
The list holds at most 13 entries (r0 to r<; r10, r11 and r12 name r:, r;
and r<). After a change the whole list is
written back with the empty key that ends it, as the editor writes it.

JSON (--json): {"format": 1, "file": FILE, "changed": true or false,
"created": true or false, "dry_run": true or false, "settings": [...]} and,
with --diff, "diff": the diff text; a file that failed has "failed": true
and no "changed" (the reason goes to standard error). Each item of
"settings" is {"key": SECTION.KEY as given, "before": TEXT, "after": TEXT},
the value as get prints it before and after, or null for an entry that does
not exist. With --files: {"format": 1, "files": [one object per file, as
above], "changed": N, "unchanged": M, "failed": K}.

Options:
  --files FILE... --
                    change each FILE (- : the files named on standard input)
  --dry-run         change nothing: read, edit and report only
  --diff            print the diff of the lines the write changes
  --json            print the result as JSON
  --create          make FILE when it does not exist (without it, a missing
                    FILE is an error); the new document holds only the keys
                    set, with the mode --mode gives or 0666 less the umask
  --mode MODE       the permission bits, in octal, of a file --create makes
  --catalogues DIR  read Sections.txt and Fields.txt from DIR instead of
                    searching for them (see tacconf --help)
  --encoding NAME   read the document as utf-8 or windows-1252 instead of the
                    encoding its bytes show (see "tacconf --help")
  --wait SECONDS    wait up to SECONDS (default 5) for a lock another program
                    holds on a document, then fail naming that program
  --recover         when an earlier save of a document did not finish (it was
                    killed while writing the file in place), first restore the
                    complete content that save kept in its copy, then apply the
                    pairs (none are needed); without it set refuses such a file
  --help            show this text

Exit status: 0 done; 2 usage error, refused value, a file that could not be
read or written, or a lock that was not released in time (with --files: in any
of the files). A failure says what state the file is in: "nothing was
written", "the new content is saved, but ...", or that the file is incomplete
and where the complete new content is.
)");

// FILE, then the pairs; with --files the pairs follow its "--" and are operands anyway.
const CommandSyntax kSyntax{{"--recover", "--dry-run", "--diff", "--json", "--create"},
                            1,
                            CommandSyntax::kAnyNumber,
                            1,
                            true,
                            true,
                            true};

// How long set waits, after the first attempt, before it says it is waiting for a lock.
constexpr std::chrono::milliseconds kSayWaitingAfter{1000};

std::string SecondsText(std::chrono::milliseconds time) {
    std::ostringstream text;
    text << static_cast<double>(time.count()) / 1000.0;
    return text.str();
}

// Waits for a lock as long as --wait allows (kDefaultLockWait without it), saying once on the
// error stream whom it waits for.
LockWaitSink WaitForLock(const Arguments& args, const Environment& env) {
    const auto limit = args.wait
                           ? std::chrono::milliseconds(static_cast<long long>(*args.wait * 1000))
                           : std::chrono::milliseconds(kDefaultLockWait);
    auto told = std::make_shared<std::string>();
    return [limit, told, &env](const std::string& file, const LockHolder& holder,
                               std::chrono::milliseconds waited) {
        if (waited >= limit) {
            return false;
        }
        if (waited >= kSayWaitingAfter && *told != file) {
            *told = file;
            ReportWarning(env, FillIn(Translate("tacconf",
                                                "waiting for %1 to release %2 (up to "
                                                "%3 s; --wait SECONDS changes that)"),
                                      {holder.Describe(), file, SecondsText(limit)}));
        }
        return true;
    };
}

enum class Outcome { kChanged, kUnchanged, kFailed };

// What one SECTION.KEY VALUE pair found and left.
struct PairChange {
    std::string key;                    // as given
    std::optional<std::string> before;  // as get prints it; nothing: no such entry
    std::optional<std::string> after;
};

// What set did to one file.
struct FileResult {
    Outcome outcome = Outcome::kFailed;
    bool created = false;
    std::vector<PairChange> pairs;
    std::string diff;  // with --diff: the unified diff of the write
};

// The value `addressText` addresses in `document`, as get prints it; nothing for an entry the
// document does not have or an address that names nothing.
std::optional<std::string> ValueAt(const ConfigDocument& document, const std::string& addressText) {
    const Expected<FieldAddress> address = ResolveAddress(document.Defs(), addressText);
    if (!address) {
        return std::nullopt;
    }
    if (address->field) {
        return document.Value(*address->field);
    }
    if (address->entry >= document.EntryCount()) {
        return std::nullopt;
    }
    return EntryPart(document.Entry(address->entry), address->part);
}

// `message` (with %1 for the key) followed by how many entries the document has.
std::string WithEntryCount(const char* message, const std::string& key, std::size_t count) {
    return FillIn(Translate("tacconf", message), {key, std::to_string(count)});
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
            return WithEntryCount(TAV_TRANSLATE_NOOP("tacconf",
                                                     "there is no entry %1 to delete "
                                                     "(the document has %2 replacement "
                                                     "entries)"),
                                  key, count);
        }
        return RefusalOf(document.RemoveEntry(row));
    }
    const auto entry = ParseReplacementEntry(value);
    if (!entry) {
        return Translate("tacconf",
                         "an entry takes FROM,TO (a comma in FROM written as \\044), or \"\" to "
                         "delete it");
    }
    if (n > count) {
        return FillIn(Translate("tacconf", "%1 would leave a gap; the next entry is %2"),
                      {key, ReplacementKey(count)});
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
        return Translate("tacconf",
                         "the replacement list could not be read whole, so it is not changed");
    }
    if (address.part == FieldAddress::Part::kWhole) {
        return SetWholeEntry(document, address.entry, value);
    }
    if (address.entry >= document.EntryCount()) {
        return WithEntryCount(TAV_TRANSLATE_NOOP("tacconf",
                                                 "there is no entry %1 (the document "
                                                 "has %2 replacement entries)"),
                              ReplacementKey(address.entry), document.EntryCount());
    }
    ReplacementEntry entry = document.Entry(address.entry);
    (address.part == FieldAddress::Part::kFrom ? entry.from : entry.to) = value;
    const auto row = static_cast<std::uint16_t>(document.CatalogueRows() + address.entry);
    return RefusalOf(document.ModifyEntry(row, entry.from, entry.to));
}

// Makes the edit of one SECTION.KEY VALUE pair; returns why it is refused, or "".
std::string Edit(ConfigDocument& document, const std::string& addressText, const std::string& value,
                 bool listReadWhole) {
    const Expected<FieldAddress> resolved = ResolveAddress(document.Defs(), addressText);
    if (!resolved) {
        return resolved.Error().reason;
    }
    const FieldAddress& address = *resolved;
    const std::string refused = address.field ? RefusalOf(document.SetValue(*address.field, value))
                                              : SetEntry(document, address, value, listReadWhole);
    return refused.empty() ? refused : "\"" + addressText + "\": " + refused;
}

// Makes the edit of every pair; reports the first refused one and returns false.
bool EditAll(ConfigDocument& document, const Words& pairs, bool listReadWhole,
             const Environment& env) {
    for (std::size_t i = 0; i + 1 < pairs.size(); i += 2) {
        if (const std::string refused = Edit(document, pairs[i], pairs[i + 1], listReadWhole);
            !refused.empty()) {
            ReportError(env, FillIn(Translate("tacconf", "%1: %2; nothing was written"),
                                    {document.Path(), refused}));
            return false;
        }
    }
    return true;
}

// Applies `pairs` to the document at `path` and writes it, all or nothing (with --dry-run: only
// what it would write); reports a failure. With `given`, the document is those bytes (standard
// input), and the result goes to `env.out` instead of a file.
FileResult SetInFile(const std::string& path, const Words& pairs, const Arguments& args,
                     const std::shared_ptr<const Catalogues>& catalogues, const Environment& env,
                     std::optional<std::string_view> given = std::nullopt) {
    ConfigDocument document(catalogues);
    DocumentStorage storage(document, env.clock);
    FileResult result;
    bool changed = false;
    std::string output;
    SaveRequest request;
    request.scope = SaveRequest::Scope::EditedKeys;
    request.path = path;
    request.name = path;
    request.encoding = args.encoding;
    request.leftover = args.Has("--recover") ? LeftoverChoice::Restore : LeftoverChoice::Refuse;
    request.dryRun = args.Has("--dry-run") || given.has_value();
    request.given = given;
    request.create = args.Has("--create");
    request.createMode = args.mode;
    // Read, edited and written in one step under the file's lock; the edits are made again on
    // the new content if someone else changes the file meanwhile.
    request.edit = [&](ConfigDocument& read, const std::vector<std::string>& warnings) {
        for (const std::string& warning : warnings) {
            ReportWarning(env, path + ": " + warning);
        }
        result.pairs.clear();
        for (std::size_t i = 0; i + 1 < pairs.size(); i += 2) {
            result.pairs.push_back({pairs[i], ValueAt(read, pairs[i]), std::nullopt});
        }
        // A read warns only about entries that did not fit: the list in memory is then not
        // the file's.
        if (!EditAll(read, pairs, warnings.empty(), env)) {
            return false;
        }
        for (PairChange& pair : result.pairs) {
            pair.after = ValueAt(read, pair.key);
        }
        return true;
    };
    request.preview = [&](std::string_view before, const SplicedBytes& after) {
        // Told once more when the file changed meanwhile: the last telling is what is written.
        changed = !after.Equals(before);
        result.diff.clear();
        output.clear();
        if (args.Has("--diff") && changed) {
            result.diff = UnifiedDiff(before, after.Join(), path + "\tbefore", path + "\tafter");
        }
        if (given) {
            output = after.Join();
        }
    };
    // Whether the file is there before: --create makes it when not.
    std::error_code unknown;
    result.created = request.create && !given &&
                     !std::filesystem::exists(std::filesystem::symlink_status(path, unknown));
    const Expected<SaveOutcome> saved = storage.Save(request);
    if (!saved) {
        const bool missing = saved.Error().Missing() && !request.create;
        ReportError(env, missing ? FillIn(Translate("tacconf", "%1 (--create makes it)"),
                                          {saved.Error().Message()})
                                 : saved.Error().Message());
        return result;
    }
    if (*saved != SaveOutcome::Saved && *saved != SaveOutcome::Previewed) {
        return result;
    }
    env.out << output;
    // A restored copy changes the file even when no pair does.
    changed = changed || args.Has("--recover") || result.created;
    result.outcome = changed ? Outcome::kChanged : Outcome::kUnchanged;
    return result;
}

std::string JsonOptional(const std::optional<std::string>& text) {
    return text ? JsonString(*text) : "null";
}

// One file's result as a JSON object.
std::string FileJson(const std::string& path, const FileResult& result, const Arguments& args) {
    std::string json =
        "{\"format\": " + std::to_string(kJsonFormat) + ", \"file\": " + JsonString(path);
    if (result.outcome == Outcome::kFailed) {
        return json + ", \"failed\": true}";
    }
    const auto boolean = [](bool value) { return value ? "true" : "false"; };
    json += std::string(", \"changed\": ") + boolean(result.outcome == Outcome::kChanged) +
            ", \"created\": " + boolean(result.created) +
            ", \"dry_run\": " + boolean(args.Has("--dry-run")) + ", \"settings\": [";
    for (std::size_t i = 0; i < result.pairs.size(); ++i) {
        const PairChange& pair = result.pairs[i];
        json += std::string(i == 0 ? "" : ", ") + "{\"key\": " + JsonString(pair.key) +
                ", \"before\": " + JsonOptional(pair.before) +
                ", \"after\": " + JsonOptional(pair.after) + "}";
    }
    json += "]";
    if (args.Has("--diff")) {
        json += ", \"diff\": " + JsonString(result.diff);
    }
    return json + "}";
}

// The files of --files: as given, or the non-empty lines of standard input for "-".
std::optional<Words> FileList(const Words& files, const Environment& env) {
    if (files != Words{"-"}) {
        return files;
    }
    if (env.in == nullptr) {
        ReportError(env, Translate("tacconf",
                                   "set: --files - found no standard input to read the "
                                   "files from"));
        return std::nullopt;
    }
    Words list;
    for (std::string line; std::getline(*env.in, line);) {
        if (!line.empty() && line.back() == '\r') {
            line.pop_back();
        }
        if (!line.empty()) {
            list.push_back(std::move(line));
        }
    }
    return list;
}

// Applies `pairs` to each of `files` and prints the summary.
ExitCode SetInFiles(const Words& files, const Words& pairs, const Arguments& args,
                    const std::shared_ptr<const Catalogues>& catalogues, const Environment& env) {
    std::array<std::size_t, 3> counts{};
    const bool json = args.Has("--json");
    std::string objects;
    for (const std::string& path : files) {
        const FileResult result = SetInFile(path, pairs, args, catalogues, env);
        ++counts[static_cast<std::size_t>(result.outcome)];
        if (json) {
            objects += (objects.empty() ? "" : ", ") + FileJson(path, result, args);
        } else {
            env.out << result.diff;
        }
    }
    const std::size_t failed = counts[static_cast<std::size_t>(Outcome::kFailed)];
    const std::size_t changed = counts[static_cast<std::size_t>(Outcome::kChanged)];
    const std::size_t unchanged = counts[static_cast<std::size_t>(Outcome::kUnchanged)];
    if (json) {
        env.out << "{\"format\": " << kJsonFormat << ", \"files\": [" << objects
                << "], \"changed\": " << changed << ", \"unchanged\": " << unchanged
                << ", \"failed\": " << failed << "}\n";
    } else {
        env.out << changed << " changed, " << unchanged << " unchanged, " << failed << " failed\n";
    }
    return failed == 0 ? ExitCode::kOk : ExitCode::kFailure;
}

// set - : the document from standard input, the result to standard output.
ExitCode SetFromInput(const Words& pairs, const Arguments& args,
                      const std::shared_ptr<const Catalogues>& catalogues, const Environment& env) {
    for (const char* option : {"--json", "--diff", "--create", "--recover"}) {
        if (args.Has(option)) {
            return UsageError(
                env, kName,
                FillIn(Translate("tacconf",
                                 "%1 is not taken with -: the document goes to standard output"),
                       {option}));
        }
    }
    if (env.in == nullptr) {
        ReportError(
            env, Translate("tacconf", "set: - found no standard input to read the document from"));
        return ExitCode::kFailure;
    }
    const std::string input{std::istreambuf_iterator<char>(*env.in),
                            std::istreambuf_iterator<char>()};
    if (env.in->bad()) {
        ReportError(env, Translate("tacconf", "set: standard input could not be read"));

        return ExitCode::kFailure;
    }
    const FileResult result = SetInFile("-", pairs, args, catalogues, env, input);
    return result.outcome == Outcome::kFailed ? ExitCode::kFailure : ExitCode::kOk;
}

}  // namespace

ExitCode RunSet(const Words& words, const Environment& env) {
    ExitCode exit = ExitCode::kOk;
    const std::optional<Arguments> args = StartCommand(words, kSyntax, kName, kHelp, env, exit);
    if (!args) {
        return exit;
    }
    // FILE comes first unless --files names the files.
    const bool oneFile = !args->files;
    // --recover may restore a copy without changing anything else.
    const std::size_t least = (oneFile ? 1 : 0) + (args->Has("--recover") ? 0 : 2);
    if (args->operands.size() < least) {
        return UsageError(env, kName, Translate("tacconf", "missing operand"));
    }
    const Words pairs(args->operands.begin() + (oneFile ? 1 : 0), args->operands.end());
    if (pairs.size() % 2 != 0) {
        return UsageError(env, kName,
                          FillIn(Translate("tacconf", "\"%1\" has no VALUE"), {pairs.back()}));
    }
    const std::optional<Words> files =
        oneFile ? Words{args->operands.front()} : FileList(*args->files, env);
    if (!files) {
        return ExitCode::kFailure;
    }
    const std::shared_ptr<const Catalogues> catalogues = OpenCatalogues(*args, env);
    if (!catalogues) {
        return ExitCode::kFailure;
    }
    const LockWaitReport waiting(WaitForLock(*args, env));
    if (oneFile && files->front() == "-") {
        return SetFromInput(pairs, *args, catalogues, env);
    }
    if (oneFile) {
        const FileResult result = SetInFile(files->front(), pairs, *args, catalogues, env);
        if (args->Has("--json")) {
            env.out << FileJson(files->front(), result, *args) << '\n';
        } else {
            env.out << result.diff;
        }
        return result.outcome == Outcome::kFailed ? ExitCode::kFailure : ExitCode::kOk;
    }
    return SetInFiles(*files, pairs, *args, catalogues, env);
}

}  // namespace tav::cli
