#include "storage/filesource.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>
#include <cerrno>
#include <cstring>
#include <utility>

#include "base/fileaccess.h"

namespace tav {

namespace {}  // namespace

Expected<FileSource> FileSource::Open(const std::string& path) {
    // O_NONBLOCK: opening a FIFO must not wait for a writer; it is refused below anyway.
    const int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK);
    if (fd < 0) {
        return SystemError(path, errno);
    }
    FileSource file(fd, path);
    // Refused in the same words as by the readers that read the whole file.
    if (const Expected<std::size_t> size = RegularFileSize(fd, path); !size) {
        return size.Error();
    }
    return file;
}

FileSource::FileSource(FileSource&& other) noexcept
    : m_fd(std::exchange(other.m_fd, -1)), m_path(std::move(other.m_path)) {}

FileSource& FileSource::operator=(FileSource&& other) noexcept {
    if (this != &other) {
        if (m_fd >= 0) {
            ::close(m_fd);
        }
        m_fd = std::exchange(other.m_fd, -1);
        m_path = std::move(other.m_path);
    }
    return *this;
}

FileSource::~FileSource() {
    if (m_fd >= 0) {
        ::close(m_fd);  // read only: nothing a failed close could lose
    }
}

Expected<std::size_t> FileSource::Read(char* into, std::size_t room) {
    for (;;) {
        const ssize_t got = ::read(m_fd, into, room);
        if (got >= 0) {
            return static_cast<std::size_t>(got);
        }
        if (errno != EINTR) {
            return SystemError(m_path, errno);
        }
    }
}

}  // namespace tav
