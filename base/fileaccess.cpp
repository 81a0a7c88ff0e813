#include "base/fileaccess.h"

#include "base/progress.h"
#include "base/translation.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>
#include <algorithm>
#include <cerrno>
#include <cstring>

namespace tav {

namespace {

constexpr std::size_t kReadStep = std::size_t{16} << 20;

class FdCloser final {
public:
    explicit FdCloser(int fd) : m_fd(fd) {}
    ~FdCloser() { ::close(m_fd); }
    FdCloser(const FdCloser&) = delete;
    FdCloser& operator=(const FdCloser&) = delete;

private:
    int m_fd;
};

// Opens `path` for reading without blocking on a FIFO (which ReadOpenFile refuses anyway).
Expected<int> OpenForReading(const std::string& path) {
    const int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK);
    if (fd < 0) {
        return SystemError(path, errno);
    }
    return fd;
}

// Reads the regular file open as `fd` from its start (with pread, leaving its offset) into storage
// that `grow(capacity)` makes room for, keeping the bytes read so far, and returns its address;
// tells `eachPiece` (if set) each piece read and gives the number of bytes read. The size from
// fstat is a hint, the file may still change: one byte more than it tells whether the file grew,
// and a file that did is read on in more room.
template <typename Grow>
Expected<std::size_t> ReadWhole(int fd, const std::string& path, Grow grow,
                                const ReadPieceSink& eachPiece = {}) {
    const Expected<std::size_t> expected = RegularFileSize(fd, path);
    if (!expected) {
        return expected.Error();
    }
    std::size_t capacity = *expected + 1;
    char* data = grow(capacity);
    std::size_t size = 0;
    for (;;) {
        if (size == capacity) {
            capacity = capacity * 2 + 4096;
            data = grow(capacity);
        }
        // In steps, so that a window can tell how far a large read is.
        const std::size_t step = std::min(capacity - size, kReadStep);
        const ssize_t got = ::pread(fd, data + size, step, static_cast<off_t>(size));
        if (got < 0) {
            if (errno == EINTR) {
                continue;
            }
            return SystemError(path, errno);
        }
        if (got == 0) {
            return size;
        }
        if (eachPiece) {
            eachPiece(std::string_view(data + size, static_cast<std::size_t>(got)));
        }
        size += static_cast<std::size_t>(got);
        ReportProgress(size, *expected);
    }
}

}  // namespace

Expected<std::string> ReadFileBytes(const std::string& path) {
    const Expected<int> fd = OpenForReading(path);
    if (!fd) {
        return fd.Error();
    }
    FdCloser closer(*fd);
    std::string bytes;
    Expected<std::size_t> size = ReadWhole(*fd, path, [&bytes](std::size_t capacity) {
        bytes.resize(capacity);
        return bytes.data();
    });
    if (!size) {
        return size.Error();
    }
    bytes.resize(*size);
    return bytes;
}

Expected<FileBytes> ReadFileBuffer(const std::string& path) {
    const Expected<int> fd = OpenForReading(path);
    if (!fd) {
        return fd.Error();
    }
    FdCloser closer(*fd);
    return ReadOpenFile(*fd, path);
}

Expected<FileBytes> ReadOpenFile(int fd, const std::string& path, const ReadPieceSink& eachPiece) {
    std::unique_ptr<char[]> buffer;
    std::size_t previous = 0;  // the room before, all of it read when it grows
    Expected<std::size_t> size = ReadWhole(
        fd, path,
        [&](std::size_t capacity) {
            std::unique_ptr<char[]> larger(new char[capacity]);  // not zeroed: the read fills it
            if (buffer) {
                std::memcpy(larger.get(), buffer.get(), previous);
            }
            buffer = std::move(larger);
            previous = capacity;
            return buffer.get();
        },
        eachPiece);
    if (!size) {
        return size.Error();
    }
    return FileBytes(std::move(buffer), *size);
}

Expected<std::size_t> RegularFileSize(int fd, const std::string& path) {
    struct stat info {};
    if (::fstat(fd, &info) != 0) {
        return SystemError(path, errno);
    }
    if (S_ISDIR(info.st_mode)) {
        return FileError{path, Translate("FileError", "is a folder, not a file")};
    }
    if (!S_ISREG(info.st_mode)) {
        return FileError{path, Translate("FileError", "is not a regular file")};
    }
    return static_cast<std::size_t>(info.st_size);
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
