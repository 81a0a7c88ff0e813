// chmlib, the library that reads compiled HTML help files, taken from its shared object when a
// help file is first opened rather than when the program starts: the editor's first window, and
// any run that never shows help, do without it.
#pragma once

#include <chm_lib.h>

#include <string>

#include "base/expected.h"

namespace tav {

// The chmlib functions the help file reader calls.
struct ChmLibrary {
    decltype(&chm_open) open = nullptr;
    decltype(&chm_close) close = nullptr;
    decltype(&chm_resolve_object) resolveObject = nullptr;
    decltype(&chm_retrieve_object) retrieveObject = nullptr;
    decltype(&chm_enumerate) enumerate = nullptr;
};

// Loads the shared object `name` (a file name the dynamic loader searches for, such as
// "libchm.so.1", or a path) and takes its functions; it stays loaded. The error names `name` and
// says why it cannot be used: the loader's message, or the function it lacks.
Expected<ChmLibrary> LoadChmLibrary(const std::string& name);

// The chmlib the program was built with, loaded by the first call; every later call gives the
// same result.
const Expected<ChmLibrary>& ProgramChmLibrary();

}  // namespace tav
