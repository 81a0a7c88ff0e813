#include "base/system.h"

#include <windows.h>

#include "base/win32/widepath.h"

namespace tav {

std::tm LocalTime(std::time_t time) {
    std::tm local{};
    ::localtime_s(&local, &time);
    return local;
}

std::string ExecutablePath(std::string& error) {
    std::wstring path(MAX_PATH, L'\0');
    for (;;) {
        const DWORD size =
            ::GetModuleFileNameW(nullptr, path.data(), static_cast<DWORD>(path.size()));
        if (size == 0) {
            error = WindowsError("GetModuleFileNameW", ::GetLastError()).Message();
            return {};
        }
        if (size < path.size()) {
            path.resize(size);
            return Narrow(path);
        }
        path.resize(path.size() * 2);  // cut off: try again with more room
    }
}

}  // namespace tav
