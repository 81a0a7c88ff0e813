#include "cli/win32/consolebuffer.h"

#include <windows.h>

#include "base/win32/widepath.h"

namespace tav::cli {

namespace {

// Above this much held output the buffer writes even without a line end, so that a long line
// costs no unbounded memory.
constexpr std::size_t kWriteAbove = 4096;

// The length of the UTF-8 sequence that `lead` starts; 0 for a continuation byte, 1 for a byte
// that starts nothing valid (it stands alone).
std::size_t SequenceLength(unsigned char lead) {
    if (lead < 0x80) {
        return 1;
    }
    if (lead < 0xC0) {
        return 0;
    }
    if (lead < 0xE0) {
        return 2;
    }
    if (lead < 0xF0) {
        return 3;
    }
    return lead < 0xF8 ? 4 : 1;
}

}  // namespace

std::size_t CompleteUtf8Length(std::string_view utf8) {
    // Only the last three bytes can belong to a sequence still waiting for its end.
    const std::size_t earliest = utf8.size() > 3 ? utf8.size() - 3 : 0;
    for (std::size_t at = utf8.size(); at > earliest; --at) {
        const std::size_t length = SequenceLength(static_cast<unsigned char>(utf8[at - 1]));
        if (length != 0) {
            return at - 1 + length > utf8.size() ? at - 1 : utf8.size();
        }
    }
    return utf8.size();
}

ConsoleBuffer::ConsoleBuffer(void* console) : m_console(console) {}

ConsoleBuffer::~ConsoleBuffer() {
    WriteWhole();
    if (!m_pending.empty()) {  // a character cut off for good: shown as U+FFFD
        const std::wstring rest = Widen(m_pending);
        DWORD written = 0;
        ::WriteConsoleW(m_console, rest.data(), static_cast<DWORD>(rest.size()), &written, nullptr);
    }
}

bool ConsoleBuffer::IsConsole(void* handle) {
    DWORD mode = 0;
    return handle != nullptr && handle != INVALID_HANDLE_VALUE &&
           ::GetFileType(handle) == FILE_TYPE_CHAR && ::GetConsoleMode(handle, &mode) != 0;
}

ConsoleBuffer::int_type ConsoleBuffer::overflow(int_type c) {
    if (traits_type::eq_int_type(c, traits_type::eof())) {
        return traits_type::not_eof(c);
    }
    m_pending += traits_type::to_char_type(c);
    if ((m_pending.back() == '\n' || m_pending.size() > kWriteAbove) && !WriteWhole()) {
        return traits_type::eof();
    }
    return c;
}

std::streamsize ConsoleBuffer::xsputn(const char* text, std::streamsize count) {
    const std::string_view added(text, static_cast<std::size_t>(count));
    m_pending += added;
    // Whole lines go out at once, as a terminal shows them, so that results and messages on the
    // two streams appear in the order they were written.
    if ((m_pending.size() > kWriteAbove || added.find('\n') != std::string_view::npos) &&
        !WriteWhole()) {
        return 0;
    }
    return count;
}

int ConsoleBuffer::sync() {
    return WriteWhole() ? 0 : -1;
}

bool ConsoleBuffer::WriteWhole() {
    const std::size_t whole = CompleteUtf8Length(m_pending);
    const std::wstring wide = Widen(std::string_view(m_pending).substr(0, whole));
    m_pending.erase(0, whole);
    for (std::size_t done = 0; done < wide.size();) {
        DWORD written = 0;
        if (::WriteConsoleW(m_console, wide.data() + done, static_cast<DWORD>(wide.size() - done),
                            &written, nullptr) == 0 ||
            written == 0) {
            return false;
        }
        done += written;
    }
    return true;
}

}  // namespace tav::cli
