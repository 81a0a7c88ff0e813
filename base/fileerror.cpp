#include "base/fileerror.h"

#include <cerrno>
#include <cstring>
#include <utility>

namespace tav {

FileError SystemError(std::string file, int code, const std::string& what, WriteState state) {
    return FileError{std::move(file), what + std::strerror(code), code, state};
}

std::string FileError::Message() const {
    const std::string prefix = file.empty() ? std::string() : file + ": ";
    switch (state) {
        case WriteState::NotAWrite:
            break;
        case WriteState::Untouched:
            return prefix + reason + "; nothing was written";
        case WriteState::Saved:
            return prefix + "the new content is saved, but " + reason;
        case WriteState::Incomplete:
            return prefix + reason + "; the file is incomplete: the complete new content is in " +
                   copy + " (tacconf set --recover " + (file.empty() ? "FILE" : file) +
                   " restores it, as does opening the file in the editor)";
    }
    return prefix + reason;
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
