// The files the subcommands open: the catalogues, once per run, and the document they work on.
#include <algorithm>
#include <iterator>
#include <memory>

#include "base/fileaccess.h"
#include "cli/commands.h"

namespace tav::cli {

std::shared_ptr<const Catalogues> OpenCatalogues(const Arguments& args, const Environment& env) {
    const std::optional<std::string> folder = CatalogueFolder(args, env);
    if (!folder) {
        return nullptr;
    }
    std::vector<FileError> problems;
    auto catalogues =
        LoadCatalogues(*folder, [&](const FileError& problem) { problems.push_back(problem); });
    if (const std::optional<FileError> error = catalogues->ReadError()) {
        const char* hint = args.catalogueFolder ? ""
                                                : " (the first folder of the catalogue search "
                                                  "that has both files; --catalogues DIR names "
                                                  "another)";
        ReportError(env, error->Message() + hint);
        return nullptr;
    }
    // With both files read, what is left to report is lines past a table's capacity.
    for (const FileError& problem : problems) {
        ReportWarning(env, problem.Message());
    }
    return catalogues;
}

Expected<FileBytes> ReadDocumentBytes(const std::string& path, const Environment& env) {
    if (path != "-") {
        return ReadFileBuffer(path);
    }
    if (env.in == nullptr) {
        return FileError{"standard input", "there is none to read the document from"};
    }
    const std::string input{std::istreambuf_iterator<char>(*env.in),
                            std::istreambuf_iterator<char>()};
    if (env.in->bad()) {
        return FileError{"standard input", "it could not be read"};
    }
    auto data = std::make_unique<char[]>(input.size());
    std::copy(input.begin(), input.end(), data.get());
    return FileBytes(std::move(data), input.size());
}

std::optional<OpenedFile> OpenDocument(const std::string& path, const Arguments& args,
                                       const Environment& env, ConfigDocument& document) {
    // Read here rather than by DocumentStorage::Open: diff compares a save with these bytes.
    Expected<FileBytes> file = ReadDocumentBytes(path, env);
    if (!file) {
        ReportError(env, file.Error().Message());
        return std::nullopt;
    }
    OpenedFile opened;
    opened.bytes = std::move(*file);
    opened.warnings = document.OpenBytes(path, path, opened.bytes.View(), args.encoding);
    for (const std::string& warning : opened.warnings) {
        ReportWarning(env, path + ": " + warning);
    }
    return opened;
}

}  // namespace tav::cli
