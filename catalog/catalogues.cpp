#include "catalog/catalogues.h"

#include "base/fileaccess.h"
#include "base/names.h"
#include "base/translation.h"

namespace tav {

namespace {

// `dropped` is the message for lines past the limit: %1 the lines, %2 the limit.
void ReportProblems(const CatalogueFile& file, const char* dropped, std::size_t capacity,
                    const CatalogReporter& report) {
    if (!report) {
        return;
    }
    if (file.error) {
        report(*file.error);
    }
    if (file.droppedLines > 0) {
        report(FileError{file.path,
                         FillIn(Translate("Catalogue", dropped),
                                {std::to_string(file.droppedLines), std::to_string(capacity)})});
    }
}

CatalogueFile ReadCatalogueFile(const std::string& folder, const char* name) {
    CatalogueFile file;
    file.path = JoinPath(folder, name);
    if (Expected<std::string> read = ReadFileBytes(file.path)) {
        file.bytes = std::move(*read);
    } else {
        file.error = read.Error();
    }
    return file;
}

std::shared_ptr<const Catalogues> Build(CatalogueFile sectionFile, CatalogueFile fieldFile,
                                        const CatalogReporter& report) {
    auto set = std::make_shared<Catalogues>();
    set->sectionFile = std::move(sectionFile);
    set->fieldFile = std::move(fieldFile);
    set->sectionFile.droppedLines = set->sections.LoadText(set->sectionFile.bytes);
    set->fieldFile.droppedLines = set->fields.LoadText(set->fieldFile.bytes);
    set->sectionEncoding = DecideEncoding(set->sectionFile.bytes);
    set->fieldEncoding = DecideEncoding(set->fieldFile.bytes);
    ReportProblems(
        set->sectionFile,
        TAV_TRANSLATE_NOOP("Catalogue", "%1 line(s) past the limit of %2 sections were not loaded"),
        SectionCatalog::kCapacity, report);
    ReportProblems(
        set->fieldFile,
        TAV_TRANSLATE_NOOP("Catalogue", "%1 line(s) past the limit of %2 fields were not loaded"),
        FieldCatalog::kCapacity, report);

    return set;
}

}  // namespace

std::string Catalogues::SectionLabel(std::size_t sectionIndex) const {
    return DecodeText(sections[sectionIndex].label, sectionEncoding);
}

std::string Catalogues::FieldLabel(std::uint16_t row) const {
    return DecodeText(fields[row].label, fieldEncoding);
}

std::optional<FileError> Catalogues::ReadError() const {
    return sectionFile.error ? sectionFile.error : fieldFile.error;
}

std::optional<std::size_t> Catalogues::FindSection(std::string_view name) const {
    for (std::size_t s = 0; s < sections.Count(); ++s) {
        const std::string& iniName = sections[s].iniName;
        if (iniName.size() == name.size() && SameName(iniName, name)) {
            return s;
        }
    }
    return std::nullopt;
}

std::optional<std::uint16_t> Catalogues::FindField(std::size_t sectionIndex,
                                                   std::string_view key) const {
    return FindFieldAmong(FieldRows(sectionIndex), key);
}

std::vector<std::uint16_t> Catalogues::FieldRows(std::size_t sectionIndex) const {
    std::vector<std::uint16_t> rows;
    for (std::uint16_t f = 0; f < fields.Count(); ++f) {
        if (FieldInSection(f, sectionIndex)) {
            rows.push_back(f);
        }
    }
    return rows;
}

std::optional<std::uint16_t> Catalogues::FindFieldAmong(const std::vector<std::uint16_t>& rows,
                                                        std::string_view key) const {
    for (const std::uint16_t f : rows) {
        if (SameName(fields[f].key, key)) {
            return f;
        }
    }
    return std::nullopt;
}

std::optional<std::size_t> Catalogues::ReplacementSectionIndex() const {
    const int index = sections.ReplacementSectionIndex();
    return index < 0 ? std::nullopt : std::optional<std::size_t>(index);
}

bool Catalogues::FieldInSection(std::uint16_t row, std::size_t sectionIndex) const {
    return sections.RowForId(fields[row].sectionId) == &sections[sectionIndex];
}

std::vector<std::string> Catalogues::OrderedKeys(std::size_t sectionIndex) const {
    std::vector<std::string> keys;
    for (const std::uint16_t f : FieldRows(sectionIndex)) {
        if (fields[f].ordered) {
            keys.push_back(fields[f].key);
        }
    }
    return keys;
}

std::shared_ptr<const Catalogues> LoadCatalogues(const std::string& folder,
                                                 const CatalogReporter& report) {
    return Build(ReadCatalogueFile(folder, SectionCatalog::kFileName),
                 ReadCatalogueFile(folder, FieldCatalog::kFileName), report);
}

std::shared_ptr<const Catalogues> CataloguesFromText(const std::string& folder,
                                                     std::string sectionText, std::string fieldText,
                                                     const CatalogReporter& report) {
    CatalogueFile sectionFile{JoinPath(folder, SectionCatalog::kFileName), std::move(sectionText),
                              0, std::nullopt};
    CatalogueFile fieldFile{JoinPath(folder, FieldCatalog::kFileName), std::move(fieldText), 0,
                            std::nullopt};
    return Build(std::move(sectionFile), std::move(fieldFile), report);
}

}  // namespace tav
