#include "catalogueset.h"

namespace tav::cli {

namespace {

char LowerAscii(char c) {
    return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c;
}

std::optional<FileError> ReadCatalogueFile(const std::string& folder, const char* name,
                                           CatalogueFile& file) {
    file.path = JoinPath(folder, name);
    FileBytes read = ReadFileBytes(file.path);
    if (read.error) {
        return read.error;
    }
    file.bytes = std::move(read.bytes);
    return std::nullopt;
}

void WarnDropped(const Environment& env, const CatalogueFile& file, const char* what,
                 std::size_t capacity) {
    if (file.droppedLines > 0) {
        ReportWarning(env, file.path + ": " + std::to_string(file.droppedLines) +
                               " line(s) past the limit of " + std::to_string(capacity) + " " +
                               what + " were not loaded");
    }
}

}  // namespace

bool SameName(std::string_view a, std::string_view b) {
    if (a.size() != b.size()) {
        return false;
    }
    for (std::size_t i = 0; i < a.size(); ++i) {
        if (LowerAscii(a[i]) != LowerAscii(b[i])) {
            return false;
        }
    }
    return true;
}

std::string FoldedName(std::string_view name) {
    std::string folded(name);
    for (char& c : folded) {
        c = LowerAscii(c);
    }
    return folded;
}

std::optional<std::size_t> CatalogueSet::FindSection(std::string_view name) const {
    for (std::size_t s = 0; s < sections.Count(); ++s) {
        if (SameName(sections[s].iniName, name)) {
            return s;
        }
    }
    return std::nullopt;
}

const SectionDef* CatalogueSet::ReplacementSection() const {
    const int index = sections.ReplacementSectionIndex();
    return index < 0 ? nullptr : &sections[static_cast<std::size_t>(index)];
}

bool CatalogueSet::FieldInSection(std::uint16_t index, std::size_t sectionIndex) const {
    return sections.RowForId(fields[index].sectionId) == &sections[sectionIndex];
}

std::optional<std::uint16_t> CatalogueSet::FindField(std::size_t sectionIndex,
                                                     std::string_view key) const {
    for (std::uint16_t f = 0; f < fields.Count(); ++f) {
        if (FieldInSection(f, sectionIndex) && SameName(fields[f].key, key)) {
            return f;
        }
    }
    return std::nullopt;
}

std::optional<FileError> LoadCatalogueSet(const std::string& folder, CatalogueSet& set) {
    if (auto error = ReadCatalogueFile(folder, SectionCatalog::kFileName, set.sectionFile)) {
        return error;
    }
    if (auto error = ReadCatalogueFile(folder, FieldCatalog::kFileName, set.fieldFile)) {
        return error;
    }
    set.sectionFile.droppedLines = set.sections.LoadText(set.sectionFile.bytes);
    set.fieldFile.droppedLines = set.fields.LoadText(set.fieldFile.bytes);
    return std::nullopt;
}

bool OpenCatalogues(const Arguments& args, const Environment& env, CatalogueSet& set) {
    const std::optional<std::string> folder = CatalogueFolder(args, env);
    if (!folder) {
        return false;
    }
    if (auto error = LoadCatalogueSet(*folder, set)) {
        const char* hint = args.catalogueFolder ? ""
                                                : " (the catalogues are read from the "
                                                  "program's folder unless --catalogues DIR "
                                                  "names another)";
        ReportError(env, error->Message() + hint);
        return false;
    }
    WarnDropped(env, set.sectionFile, "sections", SectionCatalog::kCapacity);
    WarnDropped(env, set.fieldFile, "fields", FieldCatalog::kCapacity);
    return true;
}

}  // namespace tav::cli
