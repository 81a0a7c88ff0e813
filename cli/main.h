// The part of tacconf's main that every platform shares. Each platform's entry point
// (cli/posix/main.cpp, cli/win32/main.cpp) turns its command line into UTF-8 arguments and its
// standard streams into the streams below, then calls TacconfMain.
#pragma once

#include <istream>
#include <ostream>
#include <string>
#include <vector>

namespace tav::cli {

// Runs tacconf with `arguments` (UTF-8, without the program's name) on the given streams: finds
// the program's folder and the catalogue folders to search, reads the folder remembered by the
// editor (a failure costs only that folder, with a warning), runs the command and flushes `out`.
// Returns the process's exit status (kFailure when `out` could not be written).
int TacconfMain(const std::vector<std::string>& arguments, std::ostream& out, std::ostream& err,
                std::istream& in);

}  // namespace tav::cli
