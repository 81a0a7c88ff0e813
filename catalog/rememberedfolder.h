// The catalogue folder the user chose in the editor, as the editor's settings remember it: the
// editor reads and writes it through QSettings, tacconf (which has no Qt) reads the same file
// with RememberedFolderInSettings (on Windows, the same registry value; ReadEditorCatalogueFolder).
// The names below are the one place both take them from.
#pragma once

#include <string>
#include <string_view>

#include "base/expected.h"

namespace tav {

// The editor's settings store as QSettings names it: organisation, and application (the
// editor's executable name).
inline constexpr const char* kSettingsOrganisation = "Wrn.Applications";
inline constexpr const char* kEditorSettingsName = "tavmanager";
// The key of the remembered catalogue folder: group "Catalogues", key "Folder".
inline constexpr const char* kCatalogueFolderKey = "Catalogues/Folder";

// `configHome`/Wrn.Applications/tavmanager.conf, where QSettings keeps the editor's per-user
// settings on Linux ($XDG_CONFIG_HOME, else ~/.config; see CatalogueEnvironment::configHome).
// Empty when `configHome` is empty.
std::string EditorSettingsFile(const std::string& configHome);

// The value of kCatalogueFolderKey in `text`, the bytes of a settings file in the INI form
// QSettings writes: "[Catalogues]" then "Folder=VALUE", where VALUE may be in double quotes and
// uses QSettings' escapes (\\, \", \t, \n, \r, \0 and \xHHHH for a UTF-16 unit, written out as
// UTF-8). Empty when the key is missing or its value is not a single text (a list, a variant).
std::string RememberedFolderInSettings(std::string_view text);

// RememberedFolderInSettings of the file `settingsFile`: empty when it (or `settingsFile`) does
// not exist; an error naming the file and the reason when it cannot be read.
Expected<std::string> ReadRememberedCatalogueFolder(const std::string& settingsFile);

// The remembered folder where this platform's QSettings keeps it: on POSIX the file
// EditorSettingsFile(`configHome`); on Windows the registry value "Folder" of the key
// Software\Wrn.Applications\tavmanager\Catalogues under HKEY_CURRENT_USER (a text;
// `configHome` is not used). Empty when it is not there or is no single text; an error naming the
// file or the registry value and the reason when it cannot be read. Defined in catalog/posix/ and
// catalog/win32/.
Expected<std::string> ReadEditorCatalogueFolder(const std::string& configHome);

}  // namespace tav
