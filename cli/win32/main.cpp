// tacconf's entry point on Windows. The command line comes as UTF-16 (wmain) and is handed on as
// UTF-8, so that any argument reaches the core whatever the ANSI code page; the standard streams
// are switched to binary, so that bytes go out as the core wrote them (a text-mode stream would
// turn every "\r\n" of a CR LF document into "\r\r\n"); and output to a console goes through
// ConsoleBuffer, so that the console shows the characters the UTF-8 means.
#include <fcntl.h>
#include <io.h>
#include <windows.h>

#include <cstdio>
#include <iostream>
#include <memory>

#include "base/translation.h"
#include "base/win32/widepath.h"
#include "cli/main.h"
#include "cli/win32/consolebuffer.h"

namespace {

// Sets `stream` to binary; false when it exists and cannot be (a stream that is not there, as
// for a program started without one, has nothing to set).
bool SetBinary(std::FILE* stream) {
    const int descriptor = _fileno(stream);
    return descriptor < 0 || _setmode(descriptor, _O_BINARY) != -1;
}

// While it lives, `stream` writes to the console through a ConsoleBuffer when `handle` is a
// console; otherwise it is left as it is.
class ConsoleStream final {
public:
    ConsoleStream(std::ostream& stream, DWORD handle) : m_stream(stream) {
        void* const console = ::GetStdHandle(handle);
        if (tav::cli::ConsoleBuffer::IsConsole(console)) {
            m_buffer = std::make_unique<tav::cli::ConsoleBuffer>(console);
            m_previous = m_stream.rdbuf(m_buffer.get());
        }
    }
    ~ConsoleStream() {
        if (m_buffer) {
            m_stream.flush();
            m_stream.rdbuf(m_previous);
        }
    }
    ConsoleStream(const ConsoleStream&) = delete;
    ConsoleStream& operator=(const ConsoleStream&) = delete;

private:
    std::ostream& m_stream;
    std::unique_ptr<tav::cli::ConsoleBuffer> m_buffer;
    std::streambuf* m_previous = nullptr;
};

}  // namespace

int wmain(int argc, wchar_t** argv) {
    const bool binary = SetBinary(stdin) && SetBinary(stdout) && SetBinary(stderr);
    const ConsoleStream out(std::cout, STD_OUTPUT_HANDLE);
    const ConsoleStream err(std::cerr, STD_ERROR_HANDLE);
    if (!binary) {
        std::cerr << tav::Translate("tacconf",
                                    "tacconf: warning: the standard streams cannot be switched "
                                    "to binary; line ends may change on the way out")
                  << '\n';
    }
    std::vector<std::string> arguments;
    for (int i = 1; i < argc; ++i) {
        arguments.push_back(tav::Narrow(argv[i]));
    }
    return tav::cli::TacconfMain(arguments, std::cout, std::cerr, std::cin);
}
