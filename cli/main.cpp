// tacconf: the command-line companion of TAV Configuration Manager.
#include <iostream>

#include "base/translation.h"
#include "catalog/rememberedfolder.h"
#include "cli/tacconf.h"
#include "document/documentio.h"
#ifdef TAV_TRANSLATIONS
#include "translations/programtranslations.h"
#endif

int main(int argc, char** argv) {
    std::string folderError;
    std::string folder = tav::cli::ExecutableFolder(folderError);
    tav::CatalogueEnvironment catalogueEnvironment = tav::ProcessCatalogueEnvironment(folder);
#ifdef TAV_TRANSLATIONS
    // Messages and help in the user's language (LC_ALL, LC_MESSAGES, LANG); output meant for
    // scripts (values, JSON, diffs, exit codes) is never translated.
    const tav::ProgramTranslations translations(tav::ProgramTranslations::Use::CoreTexts,
                                                catalogueEnvironment.dataFolder);
#endif
    // The folder chosen in the editor is searched too (see CatalogueSearchFolders); a settings
    // file that cannot be read costs only that folder.
    const tav::Expected<std::string> remembered = tav::ReadRememberedCatalogueFolder(
        tav::EditorSettingsFile(catalogueEnvironment.configHome));
    if (remembered) {
        catalogueEnvironment.remembered = *remembered;
    } else {
        std::cerr << tav::FillIn(tav::Translate("tacconf",
                                                "tacconf: warning: %1 (the catalogue folder "
                                                "chosen in the editor is not searched)"),
                                 {remembered.Error().Message()})
                  << '\n';
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
        std::cerr << tav::Translate("tacconf", "tacconf: the output could not be written") << '\n';
        return static_cast<int>(tav::cli::ExitCode::kFailure);
    }
    return static_cast<int>(exit);
}
