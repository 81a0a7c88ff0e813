// Where the editor's settings and the process's catalogue folders are on Windows: QSettings keeps
// the editor's per-user settings in the registry, and the folders come from %APPDATA% and
// %PROGRAMDATA%.
#include <windows.h>

#include <cstdlib>
#include <map>

#include "base/translation.h"
#include "base/win32/widepath.h"
#include "catalog/cataloguefolder.h"
#include "catalog/rememberedfolder.h"

namespace tav {

namespace {

// The registry key QSettings keeps the group of kCatalogueFolderKey in, under HKEY_CURRENT_USER,
// and the value's name: "Software\Wrn.Applications\tavmanager\Catalogues", "Folder".
std::wstring SettingsKey() {
    const std::string key(kCatalogueFolderKey);
    return Widen(std::string("Software\\") + kSettingsOrganisation + '\\' + kEditorSettingsName +
                 '\\' + key.substr(0, key.find('/')));
}

std::wstring SettingsValueName() {
    const std::string key(kCatalogueFolderKey);
    return Widen(key.substr(key.find('/') + 1));
}

}  // namespace

Expected<std::string> ReadEditorCatalogueFolder(const std::string&) {
    const std::wstring key = SettingsKey();
    const std::wstring name = SettingsValueName();
    const std::string shown = "HKEY_CURRENT_USER\\" + Narrow(key) + " (" + Narrow(name) + ")";
    DWORD size = 0;
    LSTATUS status = ::RegGetValueW(HKEY_CURRENT_USER, key.c_str(), name.c_str(), RRF_RT_REG_SZ,
                                    nullptr, nullptr, &size);
    std::wstring value;
    // The value may grow between asking its size and reading it: ask again then.
    while (status == ERROR_SUCCESS || status == ERROR_MORE_DATA) {
        value.assign(size / sizeof(wchar_t) + 1, L'\0');
        size = static_cast<DWORD>(value.size() * sizeof(wchar_t));
        status = ::RegGetValueW(HKEY_CURRENT_USER, key.c_str(), name.c_str(), RRF_RT_REG_SZ,
                                nullptr, value.data(), &size);
        if (status == ERROR_SUCCESS) {
            value.resize(size / sizeof(wchar_t));
            while (!value.empty() && value.back() == L'\0') {
                value.pop_back();
            }
            // QSettings writes a text that starts with "@" as "@@"; "@" alone starts a variant.
            if (!value.empty() && value.front() == L'@') {
                return value.rfind(L"@@", 0) == 0 ? Narrow(value.substr(1)) : std::string();
            }
            return Narrow(value);
        }
    }
    if (status == ERROR_FILE_NOT_FOUND || status == ERROR_PATH_NOT_FOUND) {
        return std::string();
    }
    // A value of another type (not a text) is no folder, as for the INI file.
    if (status == ERROR_UNSUPPORTED_TYPE) {
        return std::string();
    }
    return WindowsError(shown, static_cast<unsigned long>(status),
                        Translate("Catalogue", "the registry value cannot be read: "));
}

CatalogueEnvironment ProcessCatalogueEnvironment(const std::string& programFolder) {
    // getenv would give the ANSI code page: the variables are read as UTF-16 and kept here as
    // UTF-8 while the environment is made.
    std::map<std::string, std::string> values;
    const auto variable = [&values](const char* name) -> const char* {
        const wchar_t* wide = ::_wgetenv(Widen(name).c_str());
        if (wide == nullptr) {
            return nullptr;
        }
        return values.insert_or_assign(name, Narrow(wide)).first->second.c_str();
    };
    return WindowsCatalogueEnvironmentFrom(variable, programFolder);
}

}  // namespace tav
