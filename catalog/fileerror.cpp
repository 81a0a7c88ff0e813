#include "fileerror.h"

#include <cerrno>

namespace tav {

std::string FileError::Message() const {
    if (file.empty()) {
        return reason;
    }
    return file + ": " + reason;
}

bool FileError::Missing() const {
    return code == ENOENT;
}

}  // namespace tav
