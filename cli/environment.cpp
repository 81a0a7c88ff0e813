#include "cli/environment.h"
#include "base/system.h"
#include "base/translation.h"

namespace tav::cli {

std::string ExecutableFolder(std::string& error) {
    const std::string exe = ExecutablePath(error);
    if (exe.empty()) {
        return {};
    }
    const std::size_t slash = exe.rfind('/');
    if (slash == std::string::npos) {
        error = FillIn(Translate("tacconf", "/proc/self/exe: names no folder (%1)"), {exe});
        return {};
    }
    return slash == 0 ? "/" : exe.substr(0, slash);
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
