// Output to a Windows console. The core writes UTF-8, and a console shows what it is given in its
// own code page, so bytes written to it would show as the wrong characters: this buffer turns the
// UTF-8 it is given into UTF-16 and writes that with WriteConsoleW. Output that goes to a pipe or
// a file does not use it and stays byte for byte as the program wrote it.
#pragma once

#include <streambuf>
#include <string>
#include <string_view>

namespace tav::cli {

// How many bytes at the start of `utf8` end on a whole character: all of them, less a multi-byte
// sequence cut off at the end (which waits for the rest). A byte that cannot start or continue a
// sequence counts as whole (it is shown as U+FFFD).
std::size_t CompleteUtf8Length(std::string_view utf8);

class ConsoleBuffer final : public std::streambuf {
public:
    // Writes to the console output handle `console` (a HANDLE, which the caller keeps open).
    explicit ConsoleBuffer(void* console);
    ~ConsoleBuffer() override;
    ConsoleBuffer(const ConsoleBuffer&) = delete;
    ConsoleBuffer& operator=(const ConsoleBuffer&) = delete;

    // Whether `handle` is a console (and not a pipe, a file or a device).
    static bool IsConsole(void* handle);

protected:
    int_type overflow(int_type c) override;
    std::streamsize xsputn(const char* text, std::streamsize count) override;
    // Writes every whole character held; -1 when the console refused them.
    int sync() override;

private:
    bool WriteWhole();

    void* m_console = nullptr;
    std::string m_pending;  // UTF-8 not yet written: a line being built, or a cut-off character
};

}  // namespace tav::cli
