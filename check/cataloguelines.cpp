#include "check/cataloguelines.h"

#include <algorithm>

#include "base/translation.h"
#include "catalog/catalogtext.h"

namespace tav::check {

void FileFindings::Add(std::size_t line, std::string message) const {
    findings.push_back({file, line, std::move(message)});
}

bool FindingCap::Wants(const char* kind, std::size_t line) {
    return Wants(kind, line, 1) == 1;
}

std::size_t FindingCap::Wants(const char* kind, std::size_t line, std::size_t count) {
    if (count == 0) {
        return 0;  // no finding: the kind is not counted as found
    }
    auto counted = std::find_if(m_counts.begin(), m_counts.end(),
                                [kind](const Count& c) { return c.kind == kind; });
    if (counted == m_counts.end()) {
        counted = m_counts.insert(m_counts.end(), Count{kind});
    }
    const std::size_t listed = std::min(count, kFindingsPerKind - counted->listed);
    counted->listed += listed;
    counted->unlisted += count - listed;
    if (listed > 0) {
        counted->lastLine = line + listed - 1;
    }
    return listed;
}

Findings FindingCap::Summary(const std::string& file) const {
    Findings summary;
    for (const Count& count : m_counts) {
        if (count.unlisted > 0) {
            summary.push_back(
                {file, 0,
                 FillIn(
                     Translate("Check", "%1 more findings like the one on line %2 are not listed"),
                     {std::to_string(count.unlisted), std::to_string(count.lastLine)})});
        }
    }
    return summary;
}

std::size_t FindingCap::Unlisted() const {
    std::size_t unlisted = 0;
    for (const Count& count : m_counts) {
        unlisted += count.unlisted;
    }
    return unlisted;
}

bool FileFindings::Wants(const char* kind, std::size_t line) const {
    return cap == nullptr || cap->Wants(kind, line);
}

std::size_t FileFindings::Wants(const char* kind, std::size_t line, std::size_t count) const {
    return cap == nullptr ? count : cap->Wants(kind, line, count);
}

void FileFindings::AddIf(std::size_t line, const std::optional<std::string>& message) const {
    if (message) {
        Add(line, *message);
    }
}

std::optional<std::string> ColumnCountProblem(const std::vector<std::string_view>& columns,
                                              std::size_t expected, const char* names) {
    if (columns.size() == expected) {
        return std::nullopt;
    }
    return FillIn(Translate("Check", "the line has %1 columns where %2 are expected (%3)"),
                  {std::to_string(columns.size()), std::to_string(expected), names});
}

void SortByLine(Findings& findings) {
    SortByLine(findings, 0);
}

void SortByLine(Findings& findings, std::size_t from) {
    std::stable_sort(findings.begin() + static_cast<std::ptrdiff_t>(from), findings.end(),
                     [](const Finding& a, const Finding& b) { return a.line < b.line; });
}

std::vector<NumberedLine> NumberedCatalogLines(std::string_view bytes) {
    std::vector<NumberedLine> lines;
    std::size_t number = 1;
    const char* counted = bytes.data();
    for (const std::string_view line : CatalogLines(bytes)) {
        number += static_cast<std::size_t>(std::count(counted, line.data(), '\n'));
        counted = line.data();
        lines.push_back({line, number});
    }
    return lines;
}

std::vector<std::string_view> AllColumns(std::string_view line) {
    std::vector<std::string_view> columns;
    for (;;) {
        const bool more = line.find(',') != std::string_view::npos;
        columns.push_back(TakeColumn(line));
        if (!more) {
            return columns;
        }
    }
}

std::optional<std::string> FlagProblem(std::string_view column, std::string_view what) {
    if (column.size() != 1) {
        return FillIn(Translate("Check",
                                "the order column %1 is not one character: the editor takes the "
                                "character after the flag for the comma, so the later columns "
                                "shift"),
                      {Quote(column)});
    }
    if (column == "y") {
        return FillIn(Translate("Check",
                                "the order flag is a lower-case y: %1 is not ordered "
                                "(write Y)"),
                      {what});
    }
    if (column != "Y" && column != "N") {
        return FillIn(Translate("Check", "the order flag %1 is neither Y nor N: %2 is not ordered"),
                      {Quote(column), what});
    }
    return std::nullopt;
}

std::optional<std::string> NumberProblem(std::string_view column, std::string_view what) {
    const bool digits = !column.empty() && std::all_of(column.begin(), column.end(),
                                                       [](char c) { return c >= '0' && c <= '9'; });
    if (digits) {
        return std::nullopt;
    }
    return FillIn(Translate("Check", "the %1 column %2 is not a plain number: the editor reads %3"),
                  {what, Quote(column), std::to_string(LeadingNumber16(column))});
}

std::string Quote(std::string_view text) {
    std::string quoted;
    quoted.reserve(text.size() + 2);
    quoted.append(1, '"').append(text).append(1, '"');
    return quoted;
}

}  // namespace tav::check
