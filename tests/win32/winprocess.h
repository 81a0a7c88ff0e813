// Starting tacconf.exe from a Windows test as a user's shell would: a UTF-16 command line,
// standard streams on pipes, a working folder and an environment of the test's choosing.
#pragma once

#include <map>
#include <string>
#include <vector>

namespace tavtest {

struct ExeRun {
    unsigned long exit = 0;
    std::string out;  // the bytes the program wrote to its standard output pipe
    std::string err;
};

// What a run may change besides the arguments.
struct ExeOptions {
    std::string input;                               // sent to standard input, which is then closed
    std::string folder;                              // working folder (UTF-8); empty: the test's
    std::map<std::string, std::string> environment;  // variables set (an empty value removes one)
};

// Runs `program` (UTF-8 path) with `arguments` (UTF-8, each quoted as the C runtime splits them)
// and waits for it. Throws std::runtime_error when it cannot be started.
ExeRun RunExe(const std::string& program, const std::vector<std::string>& arguments,
              const ExeOptions& options = {});

// The folder this test program runs from, with '\\' between components (tacconf.exe and the
// example catalogues are built into it).
std::string TestProgramFolder();

// `path` with every '/' turned into '\\'.
std::string Backslashed(std::string path);

}  // namespace tavtest
