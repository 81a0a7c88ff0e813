// Running tacconf inside a test: the subcommands get string streams, a fixed clock and a program
// folder that holds the example catalogues.
#pragma once

#include <string>
#include <vector>

#include "catalog/cataloguefolder.h"
#include "testutil.h"

namespace tavtest {

// The time text every save stamps in these tests.
inline constexpr const char* kCliTime = "01/02/2026 (03:04:05)";

struct CliRun {
    int exit = -1;
    std::string out;
    std::string err;
};

// Runs the command line `words` with the catalogues of `programFolder` (the example catalogues
// unless given), searching the places of `env` after it (none unless given).
CliRun RunCli(const std::vector<std::string>& words,
              const std::string& programFolder = TAV_EXAMPLES_DIR,
              const tav::CatalogueEnvironment& env = {});

// Runs `words` as RunCli does, with `input` as standard input.
CliRun RunCliWithInput(const std::vector<std::string>& words, const std::string& input);

// The lines of `text`, without their LF.
std::vector<std::string> OutputLines(const std::string& text);

// A temporary folder holding copies of the example documents (and, when `sections` or `fields`
// are given, catalogues of its own with that text).
class CliFolder final {
public:
    explicit CliFolder(const std::string& sections = {}, const std::string& fields = {});

    // The path of the copy of example document `name`, or of another file in the folder.
    std::string File(const std::string& name) const { return m_dir.File(name); }
    const std::string& Path() const { return m_dir.Path(); }

private:
    TempDir m_dir;
};

}  // namespace tavtest
