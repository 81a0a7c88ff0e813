#include "cli/environment.h"
#include "base/translation.h"

#include <unistd.h>
#include <cerrno>
#include <climits>
#include <cstring>

namespace tav::cli {

std::string ExecutableFolder(std::string& error) {
    char path[PATH_MAX];
    const ssize_t size = ::readlink("/proc/self/exe", path, sizeof path - 1);
    if (size <= 0) {
        error = std::string("/proc/self/exe: ") + std::strerror(errno);
        return {};
    }
    const std::string exe(path, static_cast<std::size_t>(size));
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
