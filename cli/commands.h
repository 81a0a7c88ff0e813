// The subcommands of tacconf. Each takes the words that follow its name on the command line,
// writes its results to env.out and its errors to env.err, and returns the exit code.
#pragma once

#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "base/fileaccess.h"
#include "catalog/catalogues.h"
#include "cli/arguments.h"
#include "cli/environment.h"
#include "document/configdocument.h"

namespace tav::cli {

using Words = std::vector<std::string>;

ExitCode RunGet(const Words& words, const Environment& env);
ExitCode RunSet(const Words& words, const Environment& env);
ExitCode RunDump(const Words& words, const Environment& env);
ExitCode RunCheck(const Words& words, const Environment& env);
ExitCode RunDiff(const Words& words, const Environment& env);
ExitCode RunCompare(const Words& words, const Environment& env);

// The common start of every subcommand: parses `words` by `syntax`. With --help, prints `help`
// and returns nothing with `exit` set to kOk; on a usage error, reports it and returns nothing
// with `exit` set to kFailure.
std::optional<Arguments> StartCommand(const Words& words, const CommandSyntax& syntax,
                                      std::string_view name, std::string_view help,
                                      const Environment& env, ExitCode& exit);

// Loads the catalogues of this run from --catalogues DIR or the program's folder. A file that
// cannot be read is reported as an error (with a hint about --catalogues when DIR was not given)
// and gives nullptr; lines past a table's capacity are reported as warnings.
std::shared_ptr<const Catalogues> OpenCatalogues(const Arguments& args, const Environment& env);

// The bytes of the document `path`: the file's, or for "-" standard input's (a failure names
// "standard input").
Expected<FileBytes> ReadDocumentBytes(const std::string& path, const Environment& env);

// A document file as a subcommand opened it.
struct OpenedFile {
    FileBytes bytes;                    // the file as read
    std::vector<std::string> warnings;  // what the read could not load (entries without room)
};

// Reads the existing file at `path` and opens it in `document` as the editor opens it, in the
// encoding of --encoding when `args` has one; unlike the editor, a missing file is an error, since
// a command line names files that exist. Reports a failure and returns nothing; otherwise reports
// the read's warnings and returns them with the bytes.
std::optional<OpenedFile> OpenDocument(const std::string& path, const Arguments& args,
                                       const Environment& env, ConfigDocument& document);

// Reports a usage error of subcommand `name` with a pointer to its --help; returns kFailure.
ExitCode UsageError(const Environment& env, std::string_view name, const std::string& message);

}  // namespace tav::cli
