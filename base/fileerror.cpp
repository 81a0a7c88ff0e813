#include "base/fileerror.h"

#include <cerrno>
#include <cstring>
#include <utility>

#include "base/translation.h"

namespace tav {

FileError SystemError(std::string file, int code, const std::string& what, WriteState state) {
    return FileError{std::move(file), what + std::strerror(code), code, state};
}

std::string FileError::Message() const {
    // Each state is one sentence with the reason in it, so that a translation may order the parts.
    std::string text;
    switch (state) {
        case WriteState::NotAWrite:
            text = reason;
            break;
        case WriteState::Untouched:
            text = FillIn(Translate("FileError", "%1; nothing was written"), {reason});
            break;
        case WriteState::Saved:
            text = FillIn(Translate("FileError", "the new content is saved, but %1"), {reason});
            break;
        case WriteState::Incomplete:
            text = FillIn(Translate("FileError",
                                    "%1; the file is incomplete: the complete new content is in %2 "
                                    "(tacconf set --recover %3 restores it, as does opening the "
                                    "file in the editor)"),
                          {reason, copy, file.empty() ? "FILE" : file});
            break;
    }
    return file.empty() ? text : FillIn(Translate("FileError", "%1: %2"), {file, text});
}

bool FileError::Missing() const {
    return code == ENOENT;
}

FileError NothingWritten(FileError error) {
    if (error.state == WriteState::NotAWrite) {
        error.state = WriteState::Untouched;
    }
    return error;
}

}  // namespace tav
