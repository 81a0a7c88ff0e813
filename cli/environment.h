// What a tacconf run gets from outside: its output streams, the folder it runs from and the clock.
// Passed in, so that every subcommand can run inside a test without a process of its own.
#pragma once

#include <functional>
#include <istream>
#include <optional>
#include <ostream>
#include <string>

#include "catalog/cataloguefolder.h"
#include "cli/arguments.h"

namespace tav::cli {

struct Environment {
    std::ostream& out;                   // results
    std::ostream& err;                   // errors and warnings, each line starting "tacconf: "
    std::string programFolder;           // the executable's folder; empty when unknown
    std::string programFolderError;      // why it is unknown
    std::function<std::string()> clock;  // the time text a save would stamp
    std::istream* in = nullptr;          // standard input ("set --files -"); null: none
    // Where the catalogues are looked for after the program's folder (XDG folders, the
    // installation's data folder); the default looks nowhere else.
    CatalogueEnvironment catalogueEnvironment = {};
};

// The folder of the running executable (ExecutablePath: /proc/self/exe, GetModuleFileNameW on
// Windows). Empty, with `error` set, when it is unknown.
std::string ExecutableFolder(std::string& error);

// Writes "tacconf: <message>" to the error stream.
void ReportError(const Environment& env, const std::string& message);

// Writes "tacconf: warning: <message>" to the error stream.
void ReportWarning(const Environment& env, const std::string& message);

// The folder the catalogues are read from: --catalogues when given, else the first folder of the
// search (FindCatalogueFolder: the program's folder, then env.catalogueEnvironment's) that holds
// both Sections.txt and Fields.txt. Reports where it looked and returns nothing when none does.
std::optional<std::string> CatalogueFolder(const Arguments& args, const Environment& env);

}  // namespace tav::cli
