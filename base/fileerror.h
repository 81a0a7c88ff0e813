// What went wrong, as the core reports it: the file concerned, the reason, and for a failed write
// the state the write left the file in.
#pragma once

#include <string>

namespace tav {

// Where a failed write left its file; Message() words it, so callers never add their own suffix.
enum class WriteState {
    NotAWrite,   // the failure was not a write (a read, a refusal in memory): nothing to say
    Untouched,   // nothing was written: the file is as it was
    Saved,       // the file holds the complete new content; something after that failed
    Incomplete,  // an in-place write stopped part-way: the file is a mix of old and new, and
                 // `copy` holds the complete new content
};

// A failed operation: the file concerned and the reason, in words a user can act on. A refusal
// made in memory (a write the profile store will not make) has no file: `file` stays empty until
// a caller that knows the file fills it in.
struct FileError {
    std::string file;
    std::string reason;
    int code = 0;  // the errno value of the failed system call, 0 when there was none
    WriteState state = WriteState::NotAWrite;
    std::string copy{};  // with WriteState::Incomplete: the file holding the complete new content

    // "<file>: <reason>" for messages and logs (just the reason when `file` is empty), with what
    // `state` says of the file: "; nothing was written", "the new content is saved, but …", or
    // that the file is incomplete, where the complete content is and how to restore it.
    std::string Message() const;

    // True when the failure was that the file, or a folder on its path, does not exist.
    bool Missing() const;
};

// The failure of a system call on `file` that left `code` in errno: the reason is `what` (which
// says what was being done, ending in ": ", or is empty) followed by the system's text for `code`.
FileError SystemError(std::string file, int code, const std::string& what = {},
                      WriteState state = WriteState::NotAWrite);

// `error` as the failure of a write that wrote nothing, unless it already says what it wrote.
FileError NothingWritten(FileError error);

}  // namespace tav
