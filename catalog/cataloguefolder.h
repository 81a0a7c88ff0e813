// Where the catalogues of an installation are: the one folder both programs read Sections.txt and
// Fields.txt from, found by the same search in the editor and in tacconf.
#pragma once

#include <functional>
#include <string>
#include <vector>

namespace tav {

// What the search depends on besides the files themselves, with the XDG defaults already applied
// (see CatalogueEnvironmentFrom); an empty text adds no folder. By hand in tests.
struct CatalogueEnvironment {
    std::string configHome;  // the user's configuration folder: $XDG_CONFIG_HOME or ~/.config;
                             // %APPDATA% on Windows
    std::string configDirs;  // the system's: $XDG_CONFIG_DIRS or /etc/xdg, separated by ':';
                             // %PROGRAMDATA% on Windows (where ';' would separate)
    std::string dataFolder;  // the installation's own folder (see InstalledDataFolder)
    // The folder the user chose in the editor, as its settings remember it (see
    // catalog/rememberedfolder.h); not an XDG default, so CatalogueEnvironmentFrom leaves it empty.
    std::string remembered{};
};

// The folders looked in, in this order:
//   1. `given` (--catalogues DIR) when it is not empty, and then no other: an explicit choice is
//      never quietly replaced by another installation's catalogues;
//   2. `env.remembered`, the folder the user chose in the editor: before the places below,
//      because a choice made with File > Catalogue Folder... must take effect at the next start
//      even when one of them holds catalogues too (placed after them, it could only ever fill a
//      gap, and the menu item would silently undo itself at the next start);
//   3. `programFolder`, the executable's folder (a build tree or a copied folder);
//   4. `env.configHome`/tavmanager;
//   5. each `env.configDirs` entry + /tavmanager, in their order (separated by
//      PathListSeparator());
//   6. `env.dataFolder`.
// The installation's example catalogues are never among them: they are used only when the user
// chooses them, and then as the remembered folder.
// Empty and relative folders (the XDG rule for these variables; base/pathrules.h says which are
// full) are left out, and so is any folder
// already in the list. Reads no file.
std::vector<std::string> CatalogueSearchFolders(const std::string& given,
                                                const std::string& programFolder,
                                                const CatalogueEnvironment& env);

// The outcome of a search: the folder chosen (empty when none holds both files) and every folder
// looked in, in order.
struct CatalogueSearch {
    std::string folder;
    std::vector<std::string> searched;

    bool Found() const { return !folder.empty(); }
};

// The first folder of CatalogueSearchFolders that holds both Sections.txt and Fields.txt as files
// (following symbolic links). Whether they can be read is left to the loader, which names the
// file and the reason; a folder with only one of them is passed over.
CatalogueSearch FindCatalogueFolder(const std::string& given, const std::string& programFolder,
                                    const CatalogueEnvironment& env);

// The names of the catalogue files ("Sections.txt", "Fields.txt", in that order) that `folder`
// does not hold as files (following symbolic links); empty when it holds both.
std::vector<std::string> MissingCatalogueFiles(const std::string& folder);

// "Sections.txt and Fields.txt were found in none of these folders: A, B, C" (or "... in no
// folder" when `searched` is empty), for the error both programs show when the search fails.
std::string CatalogueSearchFailure(const std::vector<std::string>& searched);

// The installation's data folder of a program in `programFolder`: `<prefix>/share/tavmanager` for
// a program in `<prefix>/bin`, as the install rules lay them out (a relative path, so that an
// installation under any prefix finds its own). Empty when `programFolder` is empty.
std::string InstalledDataFolder(const std::string& programFolder);

// The environment the search sees when `variable` gives the environment variables (null: unset):
// configHome is $XDG_CONFIG_HOME, or $HOME/.config when that is unset, empty or relative (the XDG
// rule; empty without HOME); configDirs is $XDG_CONFIG_DIRS, or /etc/xdg when that is unset or
// empty; dataFolder is the data folder of a program in `programFolder`.
CatalogueEnvironment CatalogueEnvironmentFrom(
    const std::function<const char*(const char*)>& variable, const std::string& programFolder);

// The environment the search sees on Windows: configHome is %APPDATA%, configDirs is
// %PROGRAMDATA% (each only when it is a full path); no data folder, since a Windows installation
// keeps its catalogues beside the program.
CatalogueEnvironment WindowsCatalogueEnvironmentFrom(
    const std::function<const char*(const char*)>& variable, const std::string& programFolder);

// The environment of this process as this platform names it: CatalogueEnvironmentFrom on POSIX,
// WindowsCatalogueEnvironmentFrom on Windows (the variables read as UTF-16 there). Defined in
// catalog/posix/ and catalog/win32/.
CatalogueEnvironment ProcessCatalogueEnvironment(const std::string& programFolder);

}  // namespace tav
