// What went wrong, as the core reports it: the file concerned and the reason.
#pragma once

#include <string>

namespace tav {

// A failed operation: the file concerned and the reason, in words a user can act on. A refusal
// made in memory (a write the profile store will not make) has no file: `file` stays empty until
// a caller that knows the file fills it in.
struct FileError {
    std::string file;
    std::string reason;
    int code = 0;  // the errno value of the failed system call, 0 when there was none

    // "<file>: <reason>" for messages and logs; just the reason when `file` is empty.
    std::string Message() const;

    // True when the failure was that the file, or a folder on its path, does not exist.
    bool Missing() const;
};

}  // namespace tav
