#include "check/cataloguelines.h"

#include <algorithm>

#include "catalog/catalogtext.h"

namespace tav::check {

void FileFindings::Add(std::size_t line, std::string message) const {
    findings.push_back({file, line, std::move(message)});
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
    return "the line has " + std::to_string(columns.size()) + " columns where " +
           std::to_string(expected) + " are expected (" + names + ")";
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
        return "the order column " + Quote(column) +
               " is not one character: the editor takes the character after the flag for the "
               "comma, so the later columns shift";
    }
    if (column == "y") {
        return "the order flag is a lower-case y: the " + std::string(what) +
               " is not ordered (write Y)";
    }
    if (column != "Y" && column != "N") {
        return "the order flag " + Quote(column) + " is neither Y nor N: the " + std::string(what) +
               " is not ordered";
    }
    return std::nullopt;
}

std::optional<std::string> NumberProblem(std::string_view column, std::string_view what) {
    const bool digits = !column.empty() && std::all_of(column.begin(), column.end(),
                                                       [](char c) { return c >= '0' && c <= '9'; });
    if (digits) {
        return std::nullopt;
    }
    return "the " + std::string(what) + " column " + Quote(column) +
           " is not a plain number: the editor reads " + std::to_string(LeadingNumber16(column));
}

std::string Quote(std::string_view text) {
    std::string quoted;
    quoted.reserve(text.size() + 2);
    quoted.append(1, '"').append(text).append(1, '"');
    return quoted;
}

}  // namespace tav::check
