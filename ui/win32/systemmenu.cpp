// The About entry in the main window's system menu, and its routing to the About box.
// Windows only: the system menu (the window icon's menu, whose commands arrive as WM_SYSCOMMAND)
// is a Win32 feature. X11 and Wayland leave the window menu to the window manager and give a
// program no way to extend it, so there About is reached through the Help menu alone. CMake
// compiles this file only for WIN32; the declarations it defines are under Q_OS_WIN.
#include <windows.h>

#include <QByteArray>
#include <string>

#include "ui/aboutdialog.h"
#include "ui/maindialog.h"

namespace tav {

void MainDialog::AppendAboutToSystemMenu() {
    // winId() creates the native window now, so that it has a system menu to extend.
    HMENU menu = GetSystemMenu(reinterpret_cast<HWND>(winId()), FALSE);
    if (menu == nullptr) {
        return;
    }
    AppendMenuW(menu, MF_SEPARATOR, 0, nullptr);
    // The Help menu's own text, in the user's language.
    const std::wstring about = tr("&About TAV Configuration Manager...").toStdWString();
    AppendMenuW(menu, MF_STRING, kAboutSysCommand, about.c_str());
}

bool MainDialog::nativeEvent(const QByteArray& eventType, void* message, qintptr* result) {
    if (eventType == "windows_generic_MSG") {
        const auto* msg = static_cast<const MSG*>(message);
        if (msg->message == WM_SYSCOMMAND &&
            IsAboutSysCommand(static_cast<unsigned>(msg->wParam))) {
            OnAbout();
            *result = 0;
            return true;
        }
    }
    return QDialog::nativeEvent(eventType, message, result);
}

}  // namespace tav
