// The floor of tacconf's reading and writing, as a process of its own: `bench-floor read FILE`
// reads the file with plain read(2) calls into an uninitialised buffer; `bench-floor rewrite FILE`
// reads it the same way and writes the same bytes durably as a save must (a new file in the same
// folder, flushed to disk, renamed over FILE, the folder flushed). Exit status 0, or 2 with a message naming the file
// and the reason.
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>
#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <memory>
#include <string>

namespace {

[[noreturn]] void Fail(const std::string& what, const std::string& path) {
    std::fprintf(stderr, "bench-floor: %s %s: %s\n", what.c_str(), path.c_str(),
                 std::strerror(errno));
    std::exit(2);
}

// The bytes of `path` into `buffer`; returns their count.
std::size_t Read(const std::string& path, std::unique_ptr<char[]>& buffer) {
    const int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
    struct stat info {};
    if (fd < 0 || ::fstat(fd, &info) != 0) {
        Fail("cannot read", path);
    }
    const auto capacity = static_cast<std::size_t>(info.st_size) + 1;  // sees a file that grew
    buffer.reset(new char[capacity]);
    std::size_t done = 0;
    while (done < capacity) {
        const ssize_t n = ::read(fd, buffer.get() + done, capacity - done);
        if (n < 0 && errno != EINTR) {
            Fail("cannot read", path);
        }
        if (n == 0) {
            break;
        }
        done += n > 0 ? static_cast<std::size_t>(n) : 0;
    }
    ::close(fd);
    return done;
}

void WriteDurably(const std::string& path, const char* bytes, std::size_t size) {
    std::string temp = path + ".floor-XXXXXX";
    const int fd = ::mkstemp(temp.data());
    if (fd < 0) {
        Fail("cannot create", temp);
    }
    for (std::size_t done = 0; done < size;) {
        const ssize_t n = ::write(fd, bytes + done, size - done);
        if (n < 0 && errno != EINTR) {
            ::unlink(temp.c_str());
            Fail("cannot write", temp);
        }
        done += n > 0 ? static_cast<std::size_t>(n) : 0;
    }
    if (::fsync(fd) != 0 || ::close(fd) != 0 || ::rename(temp.c_str(), path.c_str()) != 0) {
        ::unlink(temp.c_str());
        Fail("cannot write", path);
    }
    // The rename is durable once the folder is flushed too, as a save's is.
    const std::size_t slash = path.rfind('/');
    const std::string folder = slash == std::string::npos ? "." : path.substr(0, slash + 1);
    const int dir = ::open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (dir < 0 || ::fsync(dir) != 0 || ::close(dir) != 0) {
        Fail("cannot flush the folder of", path);
    }
}

}  // namespace

int main(int argc, char** argv) {
    const std::string mode = argc == 3 ? argv[1] : "";
    if (mode != "read" && mode != "rewrite") {
        std::fprintf(stderr, "Usage: bench-floor read|rewrite FILE\n");
        return 2;
    }
    std::unique_ptr<char[]> buffer;
    const std::size_t size = Read(argv[2], buffer);
    if (mode == "rewrite") {
        WriteDurably(argv[2], buffer.get(), size);
    }
    return 0;
}
