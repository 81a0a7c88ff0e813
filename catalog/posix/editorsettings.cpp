// Where the editor's settings and the process's catalogue folders are on POSIX systems: QSettings'
// INI file under the XDG configuration folder, and the XDG variables.
#include <cstdlib>

#include "catalog/cataloguefolder.h"
#include "catalog/rememberedfolder.h"

namespace tav {

Expected<std::string> ReadEditorCatalogueFolder(const std::string& configHome) {
    return ReadRememberedCatalogueFolder(EditorSettingsFile(configHome));
}

CatalogueEnvironment ProcessCatalogueEnvironment(const std::string& programFolder) {
    return CatalogueEnvironmentFrom([](const char* name) { return std::getenv(name); },
                                    programFolder);
}

}  // namespace tav
