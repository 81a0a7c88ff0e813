#include "base/readonlyfile.h"
#include "base/posix/identity.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>

namespace tav {

const bool kHeldFileSurvivesRemoval = true;

FileIdentity IdentityOf(const struct stat& info) {
    using Kind = FileIdentity::Kind;
    return FileIdentity{static_cast<std::uint64_t>(info.st_dev),
                        static_cast<std::uint64_t>(info.st_ino),
                        static_cast<std::uint64_t>(info.st_size),
                        S_ISREG(info.st_mode)   ? Kind::Regular
                        : S_ISDIR(info.st_mode) ? Kind::Folder
                                                : Kind::Other};
}

Expected<ReadOnlyFile> ReadOnlyFile::Open(const std::string& path) {
    const int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK | O_NOCTTY);
    if (fd < 0) {
        return SystemError(path, errno);
    }
    return ReadOnlyFile(fd, path, true);
}

void ReadOnlyFile::Close() {
    if (m_owned && m_handle >= 0) {
        ::close(static_cast<int>(m_handle));
    }
    m_handle = -1;
}

Expected<FileIdentity> ReadOnlyFile::Identify() const {
    struct stat info {};
    if (::fstat(static_cast<int>(m_handle), &info) != 0) {
        return SystemError(m_path, errno);
    }
    return IdentityOf(info);
}

Expected<std::size_t> ReadOnlyFile::ReadAt(char* into, std::size_t room,
                                           std::uint64_t offset) const {
    for (;;) {
        const ssize_t got =
            ::pread(static_cast<int>(m_handle), into, room, static_cast<off_t>(offset));
        if (got >= 0) {
            return static_cast<std::size_t>(got);
        }
        if (errno != EINTR) {
            return SystemError(m_path, errno);
        }
    }
}

}  // namespace tav
