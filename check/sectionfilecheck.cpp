#include "check/cataloguecheck.h"

#include <map>

#include "base/names.h"
#include "base/translation.h"
#include "catalog/catalogtext.h"
#include "check/cataloguelines.h"

namespace tav::check {

namespace {

constexpr std::size_t kSectionColumns = 6;

void CheckSectionLine(const NumberedLine& line, std::size_t row, const FileFindings& out) {
    const std::vector<std::string_view> columns = AllColumns(line.text);
    out.AddIf(
        line.number,
        ColumnCountProblem(columns, kSectionColumns,
                           Translate("Check", "id, name, order flag, label, kind, icon").c_str()));
    if (const auto problem = NumberProblem(columns[0], Translate("Check", "id"))) {
        out.AddIf(line.number, problem);
    } else if (LeadingNumber16(columns[0]) != row + 1) {
        out.Add(line.number,
                FillIn(Translate("Check",
                                 "the section id is %1 on section line %2: ids must run "
                                 "1, 2, 3... in file order, since documents find a "
                                 "section by its position"),
                       {columns[0], std::to_string(row + 1)}));
    }
    if (columns.size() > 1 && columns[1].empty()) {
        out.Add(line.number, Translate("Check", "the section name is empty"));
    }
    if (columns.size() > 2) {
        out.AddIf(line.number, FlagProblem(columns[2], Translate("Check", "the section")));
    }
    if (columns.size() == kSectionColumns) {
        out.AddIf(line.number, NumberProblem(columns[5], Translate("Check", "icon")));
    }
}

// Repeated labels and names, and a second replacement section, among the loaded rows.
void CheckSectionRows(const SectionCatalog& sections, const std::vector<NumberedLine>& lines,
                      const FileFindings& out) {
    std::map<std::string, std::size_t> labels;
    std::map<std::string, std::size_t> names;
    const int replacementSection = sections.ReplacementSectionIndex();
    for (std::uint16_t s = 0; s < sections.Count(); ++s) {
        const SectionDef& row = sections[s];
        const std::size_t number = lines[s].number;
        if (const auto [first, fresh] = labels.emplace(row.label, number); !fresh) {
            out.Add(number, FillIn(Translate("Check",
                                             "the label %1 is also on line %2: the editor "
                                             "cannot tell the two sections apart"),
                                   {Quote(row.label), std::to_string(first->second)}));
        }
        if (const auto [first, fresh] = names.emplace(FoldName(row.iniName), number); !fresh) {
            out.Add(number, FillIn(Translate("Check",
                                             "the section name %1 is also on line %2: both "
                                             "sections read and write one section of a document"),
                                   {Quote(row.iniName), std::to_string(first->second)}));
        }
        if (row.kind == SectionKind::Replacements && s != replacementSection) {
            out.Add(
                number,
                FillIn(
                    Translate("Check",
                              "a second section of kind SR: only the first (line "
                              "%1) holds the replacement list"),
                    {std::to_string(lines[static_cast<std::size_t>(replacementSection)].number)}));
        }
    }
}

}  // namespace

Findings CheckSectionFile(const Catalogues& catalogues) {
    Findings findings;
    const FileFindings out{catalogues.sectionFile.path, findings};
    const std::vector<NumberedLine> lines = NumberedCatalogLines(catalogues.sectionFile.bytes);
    for (std::size_t row = 0; row < lines.size(); ++row) {
        if (row >= SectionCatalog::kCapacity) {
            out.Add(
                lines[row].number,
                Translate("Check", "the line is past the 64 sections the editor loads: ignored"));

        } else {
            CheckSectionLine(lines[row], row, out);
        }
    }
    CheckSectionRows(catalogues.sections, lines, out);
    SortByLine(findings);
    return findings;
}

Findings CheckCatalogues(const Catalogues& catalogues) {
    Findings findings = CheckSectionFile(catalogues);
    const Findings fieldFindings = CheckFieldFile(catalogues);
    findings.insert(findings.end(), fieldFindings.begin(), fieldFindings.end());
    return findings;
}

}  // namespace tav::check
