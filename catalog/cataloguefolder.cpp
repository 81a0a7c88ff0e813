#include "catalog/cataloguefolder.h"
#include "base/fileaccess.h"
#include "base/pathrules.h"
#include "base/translation.h"

#include <algorithm>
#include <filesystem>
#include <system_error>

// The data folder relative to the programs' folder, from the install rules (GNUInstallDirs).
#ifndef TAV_DATA_FROM_BIN
#define TAV_DATA_FROM_BIN "../share/tavmanager"
#endif

namespace tav {

namespace {

constexpr const char* kProgramFolderName = "tavmanager";
constexpr const char* kDefaultConfigDirs = "/etc/xdg";

void AddFolder(std::vector<std::string>& folders, const std::string& folder) {
    if (!IsAbsolutePath(folder)) {
        return;
    }
    if (std::find(folders.begin(), folders.end(), folder) == folders.end()) {
        folders.push_back(folder);
    }
}

// `base`/tavmanager, or nothing for a base the XDG rules ignore (empty or relative).
std::string ProgramSubfolder(const std::string& base) {
    if (!IsAbsolutePath(base)) {
        return {};
    }
    return NormalPath(JoinPath(base, kProgramFolderName));
}

bool IsFile(const std::filesystem::path& path) {
    std::error_code error;
    return std::filesystem::is_regular_file(path, error);
}

bool IsAbsolute(const char* folder) {
    return folder != nullptr && IsAbsolutePath(folder);
}

}  // namespace

std::vector<std::string> CatalogueSearchFolders(const std::string& given,
                                                const std::string& programFolder,
                                                const CatalogueEnvironment& env) {
    if (!given.empty()) {
        return {given};
    }
    std::vector<std::string> folders;
    AddFolder(folders, env.remembered);
    AddFolder(folders, programFolder);
    AddFolder(folders, ProgramSubfolder(env.configHome));
    const std::string& dirs = env.configDirs;
    for (std::size_t start = 0; start < dirs.size();) {
        const std::size_t colon = std::min(dirs.find(PathListSeparator(), start), dirs.size());
        AddFolder(folders, ProgramSubfolder(dirs.substr(start, colon - start)));
        start = colon + 1;
    }
    AddFolder(folders, env.dataFolder);
    return folders;
}

CatalogueSearch FindCatalogueFolder(const std::string& given, const std::string& programFolder,
                                    const CatalogueEnvironment& env) {
    CatalogueSearch search;
    for (const std::string& folder : CatalogueSearchFolders(given, programFolder, env)) {
        search.searched.push_back(folder);
        if (MissingCatalogueFiles(folder).empty()) {
            search.folder = folder;
            break;
        }
    }
    return search;
}

std::vector<std::string> MissingCatalogueFiles(const std::string& folder) {
    std::vector<std::string> missing;
    for (const char* name : {"Sections.txt", "Fields.txt"}) {
        if (!IsFile(FileSystemPath(JoinPath(folder, name)))) {
            missing.emplace_back(name);
        }
    }
    return missing;
}

std::string CatalogueSearchFailure(const std::vector<std::string>& searched) {
    if (searched.empty()) {
        return Translate("Catalogue", "Sections.txt and Fields.txt were found in no folder");
    }
    std::string folders;
    for (std::size_t i = 0; i < searched.size(); ++i) {
        folders += (i == 0 ? "" : ", ") + searched[i];
    }
    return FillIn(Translate("Catalogue",
                            "Sections.txt and Fields.txt were found in none of these folders: %1"),
                  {folders});
}

std::string InstalledDataFolder(const std::string& programFolder) {
    if (programFolder.empty()) {
        return {};
    }
    return NormalPath(JoinPath(programFolder, TAV_DATA_FROM_BIN));
}

CatalogueEnvironment CatalogueEnvironmentFrom(
    const std::function<const char*(const char*)>& variable, const std::string& programFolder) {
    CatalogueEnvironment env;
    const char* configHome = variable("XDG_CONFIG_HOME");
    const char* home = variable("HOME");
    if (IsAbsolute(configHome)) {
        env.configHome = configHome;
    } else if (home != nullptr && home[0] != '\0') {
        env.configHome = std::string(home) + "/.config";
    }
    const char* configDirs = variable("XDG_CONFIG_DIRS");
    env.configDirs =
        configDirs != nullptr && configDirs[0] != '\0' ? configDirs : kDefaultConfigDirs;
    env.dataFolder = InstalledDataFolder(programFolder);
    return env;
}

CatalogueEnvironment WindowsCatalogueEnvironmentFrom(
    const std::function<const char*(const char*)>& variable, const std::string&) {
    CatalogueEnvironment env;
    if (const char* appData = variable("APPDATA"); IsAbsolute(appData)) {
        env.configHome = appData;
    }
    if (const char* programData = variable("PROGRAMDATA"); IsAbsolute(programData)) {
        env.configDirs = programData;
    }
    return env;
}

}  // namespace tav
