// Runs one program and reports what it cost: `bench-run RESULT PROGRAM [ARGS...]` starts PROGRAM,
// waits for it and writes "SECONDS PEAK_KIB EXIT_STATUS" to the file RESULT (an exit status of
// 128 + N for a program ended by signal N). The measuring scripts start programs through it because
// Linux counts the memory of the process that forks into a child's peak (ru_maxrss keeps the
// high-water mark of the memory a process had before exec): started from Python directly, every
// program would show at least the interpreter's 10-15 MiB. This program is a few hundred KiB.
// Exit status 0 once the result is written, 2 with a message when nothing could be measured.
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <ctime>

int main(int argc, char** argv) {
    if (argc < 3) {
        std::fprintf(stderr, "Usage: bench-run RESULT PROGRAM [ARGS...]\n");
        return 2;
    }
    timespec start{}, end{};
    ::clock_gettime(CLOCK_MONOTONIC, &start);
    const pid_t child = ::fork();
    if (child < 0) {
        std::fprintf(stderr, "bench-run: cannot start %s: %s\n", argv[2], std::strerror(errno));
        return 2;
    }
    if (child == 0) {
        ::execvp(argv[2], argv + 2);
        std::fprintf(stderr, "bench-run: cannot run %s: %s\n", argv[2], std::strerror(errno));
        ::_exit(127);
    }
    int status = 0;
    rusage usage{};
    while (::wait4(child, &status, 0, &usage) < 0) {
        if (errno != EINTR) {
            std::fprintf(stderr, "bench-run: cannot wait for %s: %s\n", argv[2],
                         std::strerror(errno));
            return 2;
        }
    }
    ::clock_gettime(CLOCK_MONOTONIC, &end);
    const double seconds =
        static_cast<double>(end.tv_sec - start.tv_sec) + (end.tv_nsec - start.tv_nsec) * 1e-9;
    const int code = WIFEXITED(status) ? WEXITSTATUS(status) : 128 + WTERMSIG(status);
    std::FILE* result = std::fopen(argv[1], "w");
    if (result == nullptr ||
        std::fprintf(result, "%.9f %ld %d\n", seconds, usage.ru_maxrss, code) < 0 ||
        std::fclose(result) != 0) {
        std::fprintf(stderr, "bench-run: cannot write %s: %s\n", argv[1], std::strerror(errno));
        return 2;
    }
    return 0;
}
