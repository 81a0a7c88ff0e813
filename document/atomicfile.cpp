#include "atomicfile.h"

#include <algorithm>
#include <cerrno>
#include <climits>
#include <cstdlib>
#include <cstring>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace tav {

namespace {

SaveFaultHook g_faultHook;

// True when the test hook lets `step` go on; otherwise errno holds the injected error.
bool StepAllowed(SaveStep step, std::size_t bytesSoFar = 0) {
    if (!g_faultHook) {
        return true;
    }
    if (const int error = g_faultHook(step, bytesSoFar); error != 0) {
        errno = error;
        return false;
    }
    return true;
}

// The file a save really replaces: the target of a symbolic link (followed to the end), else the
// path itself.
std::string ResolveTarget(const std::string& path) {
    std::string current = path;
    for (int depth = 0; depth < 40; ++depth) {
        char target[PATH_MAX];
        const ssize_t size = ::readlink(current.c_str(), target, sizeof target - 1);
        if (size < 0) {
            return current;
        }
        std::string next(target, static_cast<std::size_t>(size));
        if (next.front() != '/') {
            const std::size_t slash = current.rfind('/');
            next = (slash == std::string::npos ? std::string() : current.substr(0, slash + 1)) +
                   next;
        }
        current = std::move(next);
    }
    return current;
}

std::string FolderOf(const std::string& path) {
    const std::size_t slash = path.rfind('/');
    if (slash == std::string::npos) {
        return ".";
    }
    return slash == 0 ? "/" : path.substr(0, slash);
}

mode_t NewFileMode() {
    const mode_t mask = ::umask(0);
    ::umask(mask);
    return 0666 & ~mask;
}

bool WriteAll(int fd, std::string_view bytes) {
    std::size_t done = 0;
    while (done < bytes.size()) {
        const std::size_t chunk = std::min<std::size_t>(bytes.size() - done, 1 << 20);
        if (!StepAllowed(SaveStep::Write, done)) {
            return false;
        }
        const ssize_t wrote = ::write(fd, bytes.data() + done, chunk);
        if (wrote < 0) {
            if (errno == EINTR) {
                continue;
            }
            return false;
        }
        done += static_cast<std::size_t>(wrote);
    }
    return true;
}

}  // namespace

void SetSaveFaultHookForTesting(SaveFaultHook hook) {
    g_faultHook = std::move(hook);
}

Status WriteFileAtomically(const std::string& path, std::string_view bytes) {
    const std::string target = ResolveTarget(path);
    struct stat info {};
    mode_t mode = NewFileMode();
    if (::stat(target.c_str(), &info) == 0) {
        if (S_ISDIR(info.st_mode)) {
            return FileError{path, "is a folder, not a file"};
        }
        if (!S_ISREG(info.st_mode)) {
            return FileError{path, "is not a regular file"};
        }
        mode = info.st_mode & 07777;
        // Renaming over a file needs no write permission on the file itself, so a read-only file
        // is refused here, as a direct write would be (also for root, who passes access()).
        if ((mode & 0222) == 0) {
            return FileError{path, "the file is read-only"};
        }
        if (::access(target.c_str(), W_OK) != 0) {
            const int err = errno;
            return FileError{path, std::string("cannot write: ") + std::strerror(err), err};
        }
    }

    const std::size_t slash = target.rfind('/');
    const std::string base = slash == std::string::npos ? target : target.substr(slash + 1);
    std::string temp = FolderOf(target) + "/." + base + ".XXXXXX";
    const int fd = StepAllowed(SaveStep::CreateTemp) ? ::mkstemp(temp.data()) : -1;
    if (fd < 0) {
        const int err = errno;
        return FileError{
            path, std::string("cannot create a file in its folder: ") + std::strerror(err), err};
    }
    auto fail = [&](const char* what) {
        const int err = errno;
        ::close(fd);
        ::unlink(temp.c_str());
        return FileError{path, std::string(what) + std::strerror(err), err};
    };
    if (!WriteAll(fd, bytes)) {
        return fail("cannot write: ");
    }
    if (::fchmod(fd, mode) != 0) {
        return fail("cannot set permissions: ");
    }
    if (!StepAllowed(SaveStep::Sync) || ::fsync(fd) != 0) {
        return fail("cannot flush to disk: ");
    }
    if (::close(fd) != 0) {
        const int err = errno;
        ::unlink(temp.c_str());
        return FileError{path, std::string("cannot write: ") + std::strerror(err), err};
    }
    if (!StepAllowed(SaveStep::Rename) || ::rename(temp.c_str(), target.c_str()) != 0) {
        const int err = errno;
        ::unlink(temp.c_str());
        return FileError{path, std::string("cannot replace the file: ") + std::strerror(err), err};
    }
    return {};
}

}  // namespace tav
