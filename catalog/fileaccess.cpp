#include "fileaccess.h"

#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace tav {

namespace {

// The failure of a system call on `path`, which left its errno in `code`.
FileError SystemFailure(const std::string& path, int code) {
    return FileError{path, std::strerror(code), code};
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

Expected<std::string> ReadFileBytes(const std::string& path) {
    // O_NONBLOCK: opening a FIFO must not wait for a writer; it is refused below anyway.
    const int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK);
    if (fd < 0) {
        return SystemFailure(path, errno);
    }
    FdCloser closer(fd);
    return ReadOpenFile(fd, path);
}

Expected<std::string> ReadOpenFile(int fd, const std::string& path) {
    struct stat info {};
    if (::fstat(fd, &info) != 0) {
        return SystemFailure(path, errno);
    }
    if (S_ISDIR(info.st_mode)) {
        return FileError{path, "is a folder, not a file"};
    }
    if (!S_ISREG(info.st_mode)) {
        return FileError{path, "is not a regular file"};
    }
    // Read straight into the result: the size from fstat is a hint, the file may still change.
    std::string bytes;
    std::size_t size = 0;
    bytes.resize(static_cast<std::size_t>(info.st_size) + 1);
    for (;;) {
        if (size == bytes.size()) {
            bytes.resize(bytes.size() * 2 + 4096);
        }
        const ssize_t got =
            ::pread(fd, bytes.data() + size, bytes.size() - size, static_cast<off_t>(size));
        if (got < 0) {
            if (errno == EINTR) {
                continue;
            }
            return SystemFailure(path, errno);
        }
        if (got == 0) {
            break;
        }
        size += static_cast<std::size_t>(got);
    }
    bytes.resize(size);
    return bytes;
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
