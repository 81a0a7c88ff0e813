#include "cli/environment.h"

#include <algorithm>

#include "base/filepath.h"
#include "base/pathrules.h"
#include "base/system.h"
#include "base/translation.h"

namespace tav::cli {

std::string ExecutableFolder(std::string& error) {
    const std::string exe = ExecutablePath(error);
    if (exe.empty()) {
        return {};
    }
    if (std::none_of(exe.begin(), exe.end(), IsPathSeparator)) {
        error = FillIn(Translate("tacconf", "the program's path names no folder (%1)"), {exe});
        return {};
    }
    return FolderOf(exe);
}

void ReportError(const Environment& env, const std::string& message) {
    env.err << "tacconf: " << message << '\n';
}

void ReportWarning(const Environment& env, const std::string& message) {
    env.err << FillIn(Translate("tacconf", "tacconf: warning: %1"), {message}) << '\n';
}

std::optional<std::string> CatalogueFolder(const Arguments& args, const Environment& env) {
    if (args.catalogueFolder) {
        return args.catalogueFolder;
    }
    const CatalogueSearch search =
        FindCatalogueFolder({}, env.programFolder, env.catalogueEnvironment);
    if (search.Found()) {
        return search.folder;
    }
    const std::string failure = CatalogueSearchFailure(search.searched);
    ReportError(env, env.programFolder.empty()
                         ? FillIn(Translate("tacconf",
                                            "%1 (the program's own folder is unknown: "
                                            "%2); give --catalogues DIR"),
                                  {failure, env.programFolderError})
                         : FillIn(Translate("tacconf", "%1; give --catalogues DIR"), {failure}));

    return std::nullopt;
}

}  // namespace tav::cli
