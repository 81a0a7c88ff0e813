// tacconf: the command-line companion of TAV Configuration Manager.
#include "cli/main.h"

#include "base/translation.h"
#include "catalog/rememberedfolder.h"
#include "cli/tacconf.h"
#include "document/documentio.h"
#ifdef TAV_TRANSLATIONS
#include "translations/programtranslations.h"
#endif

namespace tav::cli {

int TacconfMain(const std::vector<std::string>& arguments, std::ostream& out, std::ostream& err,
                std::istream& in) {
    std::string folderError;
    std::string folder = ExecutableFolder(folderError);
    CatalogueEnvironment catalogueEnvironment = ProcessCatalogueEnvironment(folder);
#ifdef TAV_TRANSLATIONS
    // Messages and help in the user's language (LC_ALL, LC_MESSAGES, LANG); output meant for
    // scripts (values, JSON, diffs, exit codes) is never translated.
    const ProgramTranslations translations(ProgramTranslations::Use::CoreTexts,
                                           catalogueEnvironment.dataFolder);
#endif
    // The folder chosen in the editor is searched too (see CatalogueSearchFolders); settings that
    // cannot be read cost only that folder.
    const Expected<std::string> remembered =
        ReadEditorCatalogueFolder(catalogueEnvironment.configHome);
    if (remembered) {
        catalogueEnvironment.remembered = *remembered;
    } else {
        err << FillIn(Translate("tacconf",
                                "tacconf: warning: %1 (the catalogue folder "
                                "chosen in the editor is not searched)"),
                      {remembered.Error().Message()})
            << '\n';
    }
    const Environment env{out,
                          err,
                          std::move(folder),
                          folderError,
                          CurrentTimeText,
                          &in,
                          std::move(catalogueEnvironment)};
    const ExitCode exit = RunTacconf(arguments, env);
    if (!out.flush()) {
        err << Translate("tacconf", "tacconf: the output could not be written") << '\n';
        return static_cast<int>(ExitCode::kFailure);
    }
    return static_cast<int>(exit);
}

}  // namespace tav::cli
