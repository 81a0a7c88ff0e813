// tacconf: the command-line companion of the editor. Reads, changes, checks and compares .tac
// documents with the editor's own catalogues and its own reading and writing.
#pragma once

#include <string>
#include <vector>

#include "cli/arguments.h"
#include "cli/environment.h"

namespace tav::cli {

// Runs the command line `words` (without the program's name): picks the subcommand and runs it.
// Without a subcommand, --help prints the overview, --version "tacconf VERSION" (the project's
// version) and anything else is a usage error.
ExitCode RunTacconf(const std::vector<std::string>& words, const Environment& env);

}  // namespace tav::cli
