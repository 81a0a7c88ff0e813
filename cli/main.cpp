// tacconf: the command-line companion of TAV Configuration Manager.
#include <iostream>

#include "catalog/rememberedfolder.h"
#include "cli/tacconf.h"
#include "document/documentio.h"

int main(int argc, char** argv) {
    std::string folderError;
    std::string folder = tav::cli::ExecutableFolder(folderError);
    tav::CatalogueEnvironment catalogueEnvironment = tav::ProcessCatalogueEnvironment(folder);
    // The folder chosen in the editor is searched too (see CatalogueSearchFolders); a settings
    // file that cannot be read costs only that folder.
    const tav::Expected<std::string> remembered = tav::ReadRememberedCatalogueFolder(
        tav::EditorSettingsFile(catalogueEnvironment.configHome));
    if (remembered) {
        catalogueEnvironment.remembered = *remembered;
    } else {
        std::cerr << "tacconf: warning: " << remembered.Error().Message()
                  << " (the catalogue folder chosen in the editor is not searched)\n";
    }
    const tav::cli::Environment env{std::cout,
                                    std::cerr,
                                    std::move(folder),
                                    folderError,
                                    tav::CurrentTimeText,
                                    &std::cin,
                                    std::move(catalogueEnvironment)};
    const tav::cli::ExitCode exit = tav::cli::RunTacconf({argv + 1, argv + argc}, env);
    if (!std::cout.flush()) {
        std::cerr << "tacconf: the output could not be written\n";
        return static_cast<int>(tav::cli::ExitCode::kFailure);
    }
    return static_cast<int>(exit);
}
