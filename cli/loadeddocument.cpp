#include "loadeddocument.h"

#include "document/configdocument.h"
#include "document/profiletext.h"

namespace tav::cli {

std::optional<FileError> LoadDocument(const CatalogueSet& catalogues, const std::string& path,
                                      LoadedDocument& document) {
    FileBytes file = ReadFileBytes(path);
    if (file.error) {
        return file.error;
    }
    document.path = path;
    document.bytes = std::move(file.bytes);
    document.fields = catalogues.fields;
    document.catalogueRows = catalogues.fields.Count();
    document.warnings =
        ReadDocumentValues(catalogues.sections, document.fields, ProfileText(document.bytes));
    document.replacements.clear();
    for (std::uint16_t f = document.catalogueRows; f < document.fields.Count(); ++f) {
        document.replacements.push_back(
            Replacement{document.fields[f].label, document.fields[f].value});
    }
    return std::nullopt;
}

bool OpenDocument(const CatalogueSet& catalogues, const std::string& path, const Environment& env,
                  LoadedDocument& document) {
    if (auto error = LoadDocument(catalogues, path, document)) {
        ReportError(env, error->Message());
        return false;
    }
    for (const std::string& warning : document.warnings) {
        ReportWarning(env, path + ": " + warning);
    }
    return true;
}

bool OpenCataloguesAndDocument(const Arguments& args, const Environment& env,
                               CatalogueSet& catalogues, LoadedDocument& document) {
    return OpenCatalogues(args, env, catalogues) &&
           OpenDocument(catalogues, args.operands.at(0), env, document);
}

std::string ReplacementEntryText(const Replacement& entry) {
    return tav::ReplacementEntryText(entry.from, entry.to);
}

std::optional<Replacement> ParseReplacementEntry(std::string_view text) {
    if (auto entry = tav::ParseReplacementEntry(text)) {
        return Replacement{std::move(entry->first), std::move(entry->second)};
    }
    return std::nullopt;
}

}  // namespace tav::cli
