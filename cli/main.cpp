// tacconf: the command-line companion of TAV Configuration Manager.
#include <iostream>

#include "cli/tacconf.h"
#include "document/documentio.h"

int main(int argc, char** argv) {
    std::string folderError;
    std::string folder = tav::cli::ExecutableFolder(folderError);
    tav::CatalogueEnvironment catalogueEnvironment = tav::ProcessCatalogueEnvironment(folder);
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
