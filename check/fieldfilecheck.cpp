#include <map>

#include "base/names.h"
#include "base/translation.h"
#include "catalog/catalogtext.h"
#include "check/cataloguecheck.h"
#include "check/cataloguelines.h"
#include "document/documentrules.h"
#include "document/documenttable.h"
#include "profile/profiletext.h"

namespace tav::check {

namespace {

constexpr std::size_t kFieldColumns = 5;

std::optional<std::string> KeyProblem(std::string_view key) {
    if (key.empty() || key.find('=') != std::string_view::npos || key.front() == '[') {
        return FillIn(Translate("Check",
                                "the key %1 cannot stand in a document (it is empty, holds "
                                "\"=\" or starts with \"[\"): every save in the editor "
                                "fails"),
                      {Quote(key)});
    }
    if (TrimBlanks(key) != key) {
        return FillIn(
            Translate("Check",
                      "the key %1 has blanks at its ends: documents store it without them"),
            {Quote(key)});
    }
    if (key.find_first_of(" \t\v\f") != std::string_view::npos) {
        return FillIn(Translate("Check",
                                "the key %1 holds a blank: other readers of the document "
                                "may not accept it"),
                      {Quote(key)});
    }
    return std::nullopt;
}

std::optional<std::string> TypeProblem(std::string_view type) {
    const FieldType parsed = ParseFieldType(type);
    if (parsed == FieldType::Boolean || parsed == FieldType::Text) {
        return std::nullopt;
    }
    if (parsed == FieldType::Replacement) {
        return Translate("Check",
                         "the type RFS belongs to replacement entries: a save writes this "
                         "field as an entry of the replacement list, not under its key");
    }
    return FillIn(Translate("Check",
                            "the type %1 is neither B nor C: the field is read and saved "
                            "as text, but the editor offers no way to change it"),
                  {Quote(type)});
}

void CheckFieldLine(const NumberedLine& line, const FileFindings& out) {
    const std::vector<std::string_view> columns = AllColumns(line.text);
    out.AddIf(
        line.number,
        ColumnCountProblem(columns, kFieldColumns,
                           Translate("Check", "label, key, type, order flag, section id").c_str()));
    if (columns.size() > 1) {
        out.AddIf(line.number, KeyProblem(columns[1]));
    }
    if (columns.size() > 2) {
        out.AddIf(line.number, TypeProblem(columns[2]));
    }
    if (columns.size() > 3) {
        out.AddIf(line.number, FlagProblem(columns[3], Translate("Check", "the field")));
    }
    if (columns.size() > 4) {
        out.AddIf(line.number, NumberProblem(columns[4], Translate("Check", "section id")));
    }
}

// What is wrong with loaded row `f` in its section, or nothing.
std::optional<std::string> SectionProblem(const Catalogues& catalogues, std::uint16_t f) {
    const FieldDef& field = catalogues.fields[f];
    const SectionDef* section = catalogues.sections.RowForId(field.sectionId);
    if (section == nullptr) {
        return FillIn(Translate("Check",
                                "the field names section %1, which the section catalogue "
                                "does not have: it is neither read nor saved"),
                      {std::to_string(field.sectionId)});
    }
    const std::string& where = section->iniName;
    if (field.ordered && !section->ordered) {
        return FillIn(
            Translate("Check",
                      "the field is marked ordered, but its section [%1] has no Order list"),
            {where});
    }
    if (section->ordered && SameName(field.key, kOrderKey)) {
        return FillIn(Translate("Check",
                                "the key Order is the Order list of section [%1]: the field "
                                "and the list overwrite each other"),
                      {where});
    }
    const std::optional<std::size_t> r = catalogues.ReplacementSectionIndex();
    if (r && section == &catalogues.sections[*r] && ReplacementEntryNumber(field.key)) {
        return FillIn(Translate("Check",
                                "the key %1 is an entry key of the replacement list in "
                                "[%2]: the field and the entry overwrite each other"),
                      {Quote(field.key), where});
    }
    return std::nullopt;
}

void CheckFieldRows(const Catalogues& catalogues, const std::vector<NumberedLine>& lines,
                    const FileFindings& out) {
    std::map<std::pair<const SectionDef*, std::string>, std::size_t> keys;
    for (std::uint16_t f = 0; f < catalogues.fields.Count(); ++f) {
        const FieldDef& field = catalogues.fields[f];
        out.AddIf(lines[f].number, SectionProblem(catalogues, f));
        const SectionDef* section = catalogues.sections.RowForId(field.sectionId);
        const auto [first, fresh] =
            keys.emplace(std::pair(section, FoldName(field.key)), lines[f].number);
        if (section != nullptr && !fresh) {
            out.Add(lines[f].number,
                    FillIn(Translate("Check",
                                     "the key %1 of section [%2] is also on line %3: both "
                                     "fields read and write one key"),
                           {Quote(field.key), section->iniName, std::to_string(first->second)}));
        }
    }
}

void CheckReplacementRoom(const Catalogues& catalogues, const FileFindings& out) {
    const std::size_t room = ReplacementRoom(catalogues.fields.Count());
    if (room < DocumentTable::kMaxReplacements) {
        out.Add(0, FillIn(Translate("Check",
                                    "%1 fields leave room for only %2 of the %3 "
                                    "replacement entries in the editor's table of 128 rows"),
                          {std::to_string(catalogues.fields.Count()), std::to_string(room),
                           std::to_string(DocumentTable::kMaxReplacements)}));
    }
}

}  // namespace

Findings CheckFieldFile(const Catalogues& catalogues) {
    Findings findings;
    const FileFindings out{catalogues.fieldFile.path, findings};
    const std::vector<NumberedLine> lines = NumberedCatalogLines(catalogues.fieldFile.bytes);
    for (std::size_t row = 0; row < lines.size(); ++row) {
        if (row >= FieldCatalog::kCapacity) {
            out.Add(
                lines[row].number,
                Translate("Check", "the line is past the 128 fields the editor loads: ignored"));

        } else {
            CheckFieldLine(lines[row], out);
        }
    }
    CheckFieldRows(catalogues, lines, out);
    CheckReplacementRoom(catalogues, out);
    SortByLine(findings);
    return findings;
}

}  // namespace tav::check
