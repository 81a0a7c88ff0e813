#include "fileaccess.h"

#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace tav {

namespace {

FileBytes Failure(const std::string& path, const std::string& reason, bool missing = false) {
    FileBytes result;
    result.error = FileError{path, reason};
    result.missing = missing;
    return result;
}

class FdCloser {
public:
    explicit FdCloser(int fd) : m_fd(fd) {}
    ~FdCloser() { ::close(m_fd); }
    FdCloser(const FdCloser&) = delete;
    FdCloser& operator=(const FdCloser&) = delete;

private:
    int m_fd;
};

}  // namespace

FileBytes ReadFileBytes(const std::string& path) {
    // O_NONBLOCK: opening a FIFO must not wait for a writer; it is refused below anyway.
    const int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK);
    if (fd < 0) {
        const int err = errno;
        return Failure(path, std::strerror(err), err == ENOENT);
    }
    FdCloser closer(fd);
    struct stat info {};
    if (::fstat(fd, &info) != 0) {
        return Failure(path, std::strerror(errno));
    }
    if (S_ISDIR(info.st_mode)) {
        return Failure(path, "is a folder, not a file");
    }
    if (!S_ISREG(info.st_mode)) {
        return Failure(path, "is not a regular file");
    }
    // Read straight into the result: the size from fstat is a hint, the file may still change.
    FileBytes result;
    std::size_t size = 0;
    result.bytes.resize(static_cast<std::size_t>(info.st_size) + 1);
    for (;;) {
        if (size == result.bytes.size()) {
            result.bytes.resize(result.bytes.size() * 2 + 4096);
        }
        const ssize_t got = ::read(fd, result.bytes.data() + size, result.bytes.size() - size);
        if (got < 0) {
            if (errno == EINTR) {
                continue;
            }
            return Failure(path, std::strerror(errno));
        }
        if (got == 0) {
            break;
        }
        size += static_cast<std::size_t>(got);
    }
    result.bytes.resize(size);
    return result;
}

std::string JoinPath(const std::string& folder, const std::string& name) {
    if (folder.empty()) {
        return name;
    }
    if (folder.back() == '/') {
        return folder + name;
    }
    return folder + '/' + name;
}

}  // namespace tav
