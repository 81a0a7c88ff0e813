#include "win32/winprocess.h"

#include <windows.h>

#include <stdexcept>
#include <thread>

#include "base/filepath.h"
#include "base/win32/widepath.h"

namespace tavtest {

namespace {

// `argument` quoted so that the C runtime's command-line split gives it back unchanged: in double
// quotes, backslashes doubled before a quote and at the end, quotes escaped.
std::wstring Quoted(const std::wstring& argument) {
    std::wstring out = L"\"";
    std::size_t backslashes = 0;
    for (const wchar_t c : argument) {
        if (c == L'\\') {
            ++backslashes;
            continue;
        }
        out.append(c == L'"' ? backslashes * 2 + 1 : backslashes, L'\\');
        backslashes = 0;
        out += c;
    }
    out.append(backslashes * 2, L'\\');
    return out + L"\"";
}

// The environment block of this process with `changes` applied.
std::wstring EnvironmentBlock(const std::map<std::string, std::string>& changes) {
    std::map<std::wstring, std::wstring> variables;
    wchar_t* const block = ::GetEnvironmentStringsW();
    for (const wchar_t* entry = block; *entry != L'\0'; entry += std::wcslen(entry) + 1) {
        const std::wstring text(entry);
        const std::size_t equals = text.find(L'=', 1);  // "=C:=C:\..." entries start with '='
        variables[text.substr(0, equals)] =
            equals == std::wstring::npos ? L"" : text.substr(equals + 1);
    }
    ::FreeEnvironmentStringsW(block);
    for (const auto& [name, value] : changes) {
        if (value.empty()) {
            variables.erase(tav::Widen(name));
        } else {
            variables[tav::Widen(name)] = tav::Widen(value);
        }
    }
    std::wstring out;
    for (const auto& [name, value] : variables) {
        out += name + L"=" + value + L'\0';
    }
    return out + L'\0';
}

void ReadAll(HANDLE pipe, std::string& into) {
    char buffer[4096];
    DWORD read = 0;
    while (::ReadFile(pipe, buffer, sizeof buffer, &read, nullptr) != 0 && read > 0) {
        into.append(buffer, read);
    }
}

// A pipe whose end `inherited` (0 read, 1 write) the child gets.
void MakePipe(HANDLE ends[2], int inherited) {
    SECURITY_ATTRIBUTES attributes{sizeof attributes, nullptr, TRUE};
    if (::CreatePipe(&ends[0], &ends[1], &attributes, 0) == 0 ||
        ::SetHandleInformation(ends[1 - inherited], HANDLE_FLAG_INHERIT, 0) == 0) {
        throw std::runtime_error("CreatePipe failed");
    }
}

}  // namespace

ExeRun RunExe(const std::string& program, const std::vector<std::string>& arguments,
              const ExeOptions& options) {
    std::wstring commandLine = Quoted(tav::Widen(program));
    for (const std::string& argument : arguments) {
        commandLine += L" " + Quoted(tav::Widen(argument));
    }
    HANDLE in[2];
    HANDLE out[2];
    HANDLE err[2];
    MakePipe(in, 0);
    MakePipe(out, 1);
    MakePipe(err, 1);
    STARTUPINFOW startup{};
    startup.cb = sizeof startup;
    startup.dwFlags = STARTF_USESTDHANDLES;
    startup.hStdInput = in[0];
    startup.hStdOutput = out[1];
    startup.hStdError = err[1];
    std::wstring environment = EnvironmentBlock(options.environment);
    const std::wstring folder = tav::Widen(options.folder);
    PROCESS_INFORMATION process{};
    const BOOL started = ::CreateProcessW(
        nullptr, commandLine.data(), nullptr, nullptr, TRUE, CREATE_UNICODE_ENVIRONMENT,
        environment.data(), folder.empty() ? nullptr : folder.c_str(), &startup, &process);
    for (HANDLE child : {in[0], out[1], err[1]}) {
        ::CloseHandle(child);
    }
    if (started == 0) {
        for (HANDLE own : {in[1], out[0], err[0]}) {
            ::CloseHandle(own);
        }
        throw std::runtime_error("cannot start " + program);
    }
    ExeRun run;
    std::thread errors([&] { ReadAll(err[0], run.err); });
    std::thread output([&] { ReadAll(out[0], run.out); });
    DWORD written = 0;
    ::WriteFile(in[1], options.input.data(), static_cast<DWORD>(options.input.size()), &written,
                nullptr);
    ::CloseHandle(in[1]);
    output.join();
    errors.join();
    ::WaitForSingleObject(process.hProcess, INFINITE);
    ::GetExitCodeProcess(process.hProcess, &run.exit);
    for (HANDLE own : {process.hProcess, process.hThread, out[0], err[0]}) {
        ::CloseHandle(own);
    }
    return run;
}

std::string TestProgramFolder() {
    wchar_t path[MAX_PATH];
    const DWORD size = ::GetModuleFileNameW(nullptr, path, MAX_PATH);
    return Backslashed(tav::FolderOf(tav::Narrow(std::wstring_view(path, size))));
}

std::string Backslashed(std::string path) {
    for (char& c : path) {
        c = c == '/' ? '\\' : c;
    }
    return path;
}

}  // namespace tavtest
