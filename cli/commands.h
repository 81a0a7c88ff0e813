// The subcommands of tacconf. Each takes the words that follow its name on the command line,
// writes its results to env.out and its errors to env.err, and returns the exit code.
#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "arguments.h"
#include "environment.h"

namespace tav::cli {

using Words = std::vector<std::string>;

ExitCode RunGet(const Words& words, const Environment& env);
ExitCode RunSet(const Words& words, const Environment& env);
ExitCode RunDump(const Words& words, const Environment& env);
ExitCode RunCheck(const Words& words, const Environment& env);
ExitCode RunDiff(const Words& words, const Environment& env);

// The common start of every subcommand: parses `words` by `syntax`. With --help, prints `help`
// and returns nothing with `exit` set to kOk; on a usage error, reports it and returns nothing
// with `exit` set to kFailure.
std::optional<Arguments> StartCommand(const Words& words, const CommandSyntax& syntax,
                                      std::string_view name, std::string_view help,
                                      const Environment& env, ExitCode& exit);

// Reports a usage error of subcommand `name` with a pointer to its --help; returns kFailure.
ExitCode UsageError(const Environment& env, std::string_view name, const std::string& message);

}  // namespace tav::cli
